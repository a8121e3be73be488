// The container reader and writer on arbitrary bytes: reading either succeeds or throws
// IoError, never yielding more text than the file holds; writing a new file from the input
// either succeeds with exactly the expected chunks or fails leaving the old target, and never
// changes the input file.
#include <filesystem>

#include "container/project_file.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace vlp;

const std::string kNewText = "print 1\r\n";
const std::string kNewLanguage = "slovak";

// The chunks the writer must produce from a container: the new language and text, then every
// chunk of the source but its language chunks and its first text chunk.
std::vector<ChunkInfo> ExpectedChunks(const ContainerInfo& source) {
    std::vector<ChunkInfo> chunks = {{kLanguageChunkTag, static_cast<std::int32_t>(kNewLanguage.size())},
                                     {kTextChunkTag, static_cast<std::int32_t>(kNewText.size())}};
    bool oldTextSeen = false;
    for (const ChunkInfo& chunk : source.chunks) {
        if (chunk.tag == kLanguageChunkTag) continue;
        if (chunk.tag == kTextChunkTag && !oldTextSeen) {
            oldTextSeen = true;
            continue;
        }
        chunks.push_back(chunk);
    }
    return chunks;
}

bool SameChunks(const std::vector<ChunkInfo>& a, const std::vector<ChunkInfo>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].tag != b[i].tag || a[i].length != b[i].length) return false;
    return true;
}

void CheckRead(const std::string& file, std::size_t size) {
    try {
        ProjectLanguageState state;
        const std::string text = LoadProjectFile(file, state);
        if (text.size() > size) __builtin_trap();  // never more text than the file holds
        InspectProjectFile(file);
    } catch (const IoError&) {
    }
}

void CheckWrite(const std::string& file) {
    const std::string target = fuzz::WorkFile("output.vlp");
    const std::string_view oldTarget = "an older file of the same name";
    fuzz::WriteBytes(target, oldTarget);
    ContainerInfo source;
    bool damaged = false;
    try {
        source = InspectProjectFile(file);
    } catch (const IoError&) {
        damaged = true;
    }
    try {
        SaveProjectFile(file, target, kNewText, kNewLanguage);
    } catch (const IoError&) {
        if (fuzz::ReadBytes(target) != oldTarget) __builtin_trap();  // a failed save keeps it
        return;
    }
    if (damaged) __builtin_trap();  // the writer copied chunks the reader refuses
    ProjectLanguageState written;
    if (LoadProjectFile(target, written) != kNewText) __builtin_trap();
    if (source.container) {
        if (written.projectLanguage != kNewLanguage) __builtin_trap();
        if (!SameChunks(InspectProjectFile(target).chunks, ExpectedChunks(source))) __builtin_trap();
    } else if (fuzz::ReadBytes(target) != kNewText) {
        __builtin_trap();  // a plain file is written as plain text
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::AsText(data, size);
    const std::string file = fuzz::WorkFile("input.vlp");
    fuzz::WriteBytes(file, input);
    CheckRead(file, size);
    CheckWrite(file);
    if (fuzz::ReadBytes(file) != input) __builtin_trap();  // the project is never touched
    for (const auto& entry : std::filesystem::directory_iterator(fuzz::WorkDir())) {
        const auto name = entry.path().filename();
        if (name != "input.vlp" && name != "output.vlp") __builtin_trap();  // a temporary file
    }
    return 0;
}
