#include "container/project_file.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

#include "container/replacement_file.h"

namespace vlp {
namespace {

constexpr std::int64_t kHeaderSize = 9;  // "LGF", two version digits, the chunk count
constexpr std::int64_t kCountOffset = 5;
constexpr std::int64_t kChunkHeaderSize = 8;  // tag, length

[[noreturn]] void ThrowReadError() {
    throw IoError(kStreamReadError);
}

void SeekTo(std::istream& stream, std::int64_t position) {
    stream.clear();
    stream.seekg(position);
    if (!stream) ThrowReadError();
}

std::int64_t StreamSize(std::istream& stream) {
    stream.clear();
    stream.seekg(0, std::ios::end);
    const std::int64_t size = stream.tellg();
    if (!stream || size < 0) ThrowReadError();
    return size;
}

void ReadExact(std::istream& stream, char* data, std::size_t size) {
    stream.read(data, static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(stream.gcount()) != size) {
        stream.clear();
        ThrowReadError();
    }
}

std::uint32_t DecodeUint32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

std::array<char, 4> EncodeUint32(std::uint32_t value) {
    std::array<char, 4> bytes{};
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

std::int32_t ReadInt32(std::istream& stream) {
    char bytes[4];
    ReadExact(stream, bytes, sizeof bytes);
    return static_cast<std::int32_t>(DecodeUint32(bytes));
}

struct ChunkHeader {
    std::uint32_t tag = 0;
    std::int32_t length = 0;  // as stored
    std::int64_t dataStart = 0;
    std::int64_t dataLength = 0;  // what the chunk really occupies after its header
};

// Walks the counted chunks from offset 9, calling visit(header) with the stream at the chunk's
// data; visit returns true to stop the walk there. Every step is checked against the size of
// the stream, so a damaged container fails with "Stream read error" instead of reading,
// allocating or seeking beyond the file: a negative count, a count more chunk headers than
// the file can hold, a chunk running past the end, or a negative length (a language chunk
// with a negative length is an empty language and occupies no data).
template <typename Visit>
void WalkChunks(std::istream& stream, Visit&& visit) {
    const auto size = StreamSize(stream);
    SeekTo(stream, kCountOffset);
    const auto count = ReadInt32(stream);
    if (count == 0) return;
    if (count < 0 || count > (size - kHeaderSize) / kChunkHeaderSize) ThrowReadError();

    std::int64_t position = kHeaderSize;
    for (std::int32_t i = 0; i < count; ++i) {
        SeekTo(stream, position);
        char bytes[kChunkHeaderSize];
        ReadExact(stream, bytes, sizeof bytes);
        ChunkHeader chunk;
        chunk.tag = DecodeUint32(bytes);
        chunk.length = static_cast<std::int32_t>(DecodeUint32(bytes + 4));
        chunk.dataStart = position + kChunkHeaderSize;
        if (chunk.length < 0 && chunk.tag != kLanguageChunkTag) ThrowReadError();
        chunk.dataLength = chunk.length < 0 ? 0 : chunk.length;
        if (chunk.dataStart + chunk.dataLength > size) ThrowReadError();
        if (visit(chunk)) return;
        position = chunk.dataStart + chunk.dataLength;
    }
}

// Opens a regular file for reading; anything else (missing, a folder, a device) cannot be a
// project and would have no meaningful size.
std::ifstream OpenForReading(const std::string& fileName) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) throw IoError(CannotOpenFileMessage(fileName));
    std::ifstream stream(fileName, std::ios::binary);
    if (!stream) throw IoError(CannotOpenFileMessage(fileName));
    return stream;
}

std::string ReadText(std::istream& stream, std::int64_t size) {
    std::string text(static_cast<std::size_t>(size), '\0');
    if (size > 0) ReadExact(stream, text.data(), text.size());
    return text;
}

void WriteUint32(ReplacementFile& target, std::uint32_t value) {
    const auto bytes = EncodeUint32(value);
    target.Write(bytes.data(), bytes.size());
}

std::uint32_t ChunkLength(std::int64_t length) {
    if (length < 0 || length > std::numeric_limits<std::int32_t>::max()) throw IoError(kStreamWriteError);
    return static_cast<std::uint32_t>(length);
}

void IncrementChunkCount(ReplacementFile& target) {
    const auto back = target.Position();
    char bytes[4];
    target.ReadAt(kCountOffset, bytes, sizeof bytes);
    target.Seek(kCountOffset);
    WriteUint32(target, DecodeUint32(bytes) + 1);
    target.Seek(back);
}

void WriteLanguageChunk(ReplacementFile& target, const std::string& language) {
    WriteUint32(target, kLanguageChunkTag);
    WriteUint32(target, ChunkLength(static_cast<std::int64_t>(language.size())));
    target.Write(language.data(), language.size());
    IncrementChunkCount(target);
}

// Writes the header and, except for English, the language chunk, then leaves room for the
// text chunk's header; returns the position where the text starts.
std::int64_t WriteHeader(ReplacementFile& target, const std::string& language) {
    const bool withLanguage = !language.empty() && language != "english";
    target.Write(withLanguage ? "LGF05" : "LGF04", 5);
    WriteUint32(target, 0);
    if (withLanguage) WriteLanguageChunk(target, language);
    target.Seek(target.Position() + kChunkHeaderSize);
    return target.Position();
}

void FinishChunk(ReplacementFile& target, std::int64_t dataStart) {
    const auto end = target.Position();
    target.Seek(dataStart - kChunkHeaderSize);
    WriteUint32(target, kTextChunkTag);
    WriteUint32(target, ChunkLength(end - dataStart));
    IncrementChunkCount(target);
    target.Seek(end);
}

void CopyChunk(std::istream& source, ReplacementFile& target, std::uint32_t tag, std::int64_t length) {
    const auto dataStart = target.Position() + kChunkHeaderSize;
    target.Seek(dataStart);
    std::array<char, 64 * 1024> buffer;
    for (auto left = length; left > 0;) {
        const auto piece = static_cast<std::size_t>(std::min<std::int64_t>(left, buffer.size()));
        ReadExact(source, buffer.data(), piece);
        target.Write(buffer.data(), piece);
        left -= static_cast<std::int64_t>(piece);
    }
    const auto end = target.Position();
    target.Seek(dataStart - kChunkHeaderSize);
    WriteUint32(target, tag);
    WriteUint32(target, ChunkLength(end - dataStart));
    IncrementChunkCount(target);
    target.Seek(end);
}

// The new language and text come first; the old language chunks and the old first text chunk
// are dropped, every other chunk is copied in its old order.
void WriteContainer(std::istream& source, ReplacementFile& target, std::string_view text,
                    const std::string& saveLanguage) {
    const auto textStart = WriteHeader(target, saveLanguage);
    target.Write(text.data(), text.size());
    FinishChunk(target, textStart);

    bool oldTextSeen = false;
    WalkChunks(source, [&](const ChunkHeader& chunk) {
        if (chunk.tag == kLanguageChunkTag) return false;
        if (chunk.tag == kTextChunkTag && !oldTextSeen) {
            oldTextSeen = true;
            return false;
        }
        CopyChunk(source, target, chunk.tag, chunk.dataLength);
        return false;
    });
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

int ReadVersion(std::istream& stream) {
    stream.clear();
    stream.seekg(0);
    char header[5];
    stream.read(header, sizeof header);
    const auto got = stream.gcount();
    stream.clear();
    if (got < 5) return -1;
    if (header[0] != 'L' || header[1] != 'G' || header[2] != 'F') return -1;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (!isDigit(header[3]) || !isDigit(header[4])) return -1;
    int version = (header[3] - '0') * 10 + (header[4] - '0');
    if (version == 7) version = 5;
    return version == 4 || version == 5 ? version : -1;
}

int ReadChunkCount(std::istream& stream) {
    if (ReadVersion(stream) <= 0) return 0;
    SeekTo(stream, kCountOffset);
    return ReadInt32(stream);
}

std::int32_t FindTextChunk(std::istream& stream, int index) {
    std::int32_t length = 0;
    WalkChunks(stream, [&](const ChunkHeader& chunk) {
        if (chunk.tag != kTextChunkTag) return false;
        if (index > 0) {
            --index;
            return false;
        }
        length = chunk.length;
        return true;
    });
    return length;
}

std::string ReadLanguageChunk(std::istream& stream) {
    std::string language;
    WalkChunks(stream, [&](const ChunkHeader& chunk) {
        if (chunk.tag != kLanguageChunkTag) return false;
        language = ReadText(stream, chunk.dataLength);
        return true;
    });
    return language;
}

std::string LoadProjectFile(const std::string& fileName, ProjectLanguageState& state) {
    state.projectLanguage = "*";
    auto stream = OpenForReading(fileName);
    const auto count = ReadChunkCount(stream);
    if (count == 0) {
        // Not a container: the whole file, header bytes included, is the text.
        const auto size = StreamSize(stream);
        SeekTo(stream, 0);
        return ReadText(stream, size);
    }

    auto language = ReadLanguageChunk(stream);
    const auto size = FindTextChunk(stream, 0);
    auto text = ReadText(stream, size);
    state.projectLanguage = std::move(language);
    return text;
}

void SaveProjectFile(const std::string& sourceFileName, const std::string& targetFileName,
                     std::string_view text, const std::string& saveLanguage) {
    auto source = OpenForReading(sourceFileName);
    // Replacing the source would destroy the very chunks being copied.
    if (SameFile(sourceFileName, targetFileName)) throw IoError(CannotCreateFileMessage(targetFileName));

    ReplacementFile target(targetFileName);
    if (ReadChunkCount(source) == 0)
        target.Write(text.data(), text.size());
    else
        WriteContainer(source, target, text, saveLanguage);
    target.Commit();
}

ContainerInfo InspectProjectFile(const std::string& fileName) {
    auto stream = OpenForReading(fileName);
    ContainerInfo info;
    info.version = ReadVersion(stream);
    if (info.version < 0) return info;
    info.container = ReadChunkCount(stream) != 0;
    if (!info.container) return info;
    WalkChunks(stream, [&](const ChunkHeader& chunk) {
        info.chunks.push_back({chunk.tag, chunk.length});
        return false;
    });
    return info;
}

std::string ChunkTagText(std::uint32_t tag) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const auto c = static_cast<unsigned char>(tag >> (8 * i) & 0xFF);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            text += static_cast<char>(c);
        } else {
            text += "\\x";
            text += kDigits[c >> 4];
            text += kDigits[c & 0xF];
        }
    }
    return text;
}

}  // namespace vlp
