#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "container/io_error.h"

// The .vlp container: "LGF", two version digits, a chunk count and the chunks (tag, length,
// data), all integers little-endian.
namespace vlp {

// The language of the loaded project as the file names it, and the language written into the
// next saved file.
struct ProjectLanguageState {
    std::string projectLanguage;
    std::string saveLanguage;
};

inline constexpr std::uint32_t MakeChunkTag(const char (&tag)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(tag[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(tag[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(tag[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(tag[3])) << 24;
}
inline constexpr std::uint32_t kTextChunkTag = MakeChunkTag("TX 1");
inline constexpr std::uint32_t kLanguageChunkTag = MakeChunkTag("LA 1");

// Stream-level operations; they throw IoError(kStreamReadError) on a damaged container.
int ReadVersion(std::istream& stream);
int ReadChunkCount(std::istream& stream);
std::int32_t FindTextChunk(std::istream& stream, int index);
std::string ReadLanguageChunk(std::istream& stream);

// Returns the project's source text byte for byte and sets projectLanguage ("*" for a file
// that is not a container).
std::string LoadProjectFile(const std::string& fileName, ProjectLanguageState& state);

// Writes targetFileName from sourceFileName with a new text and language; every other chunk
// of the source is copied. Written to a temporary file in the target folder and renamed into
// place, so a failure leaves no partial file and an existing target keeps its bytes.
void SaveProjectFile(const std::string& sourceFileName, const std::string& targetFileName,
                     std::string_view text, const std::string& saveLanguage);

// A description of a file's container structure, for inspection tools.
struct ChunkInfo {
    std::uint32_t tag = 0;
    std::int32_t length = 0;
};
struct ContainerInfo {
    bool container = false;  // a header with an accepted version and a non-zero chunk count
    int version = -1;        // 4 or 5 when the header is accepted, else -1
    std::vector<ChunkInfo> chunks;
};
ContainerInfo InspectProjectFile(const std::string& fileName);
std::string ChunkTagText(std::uint32_t tag);

}  // namespace vlp
