#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "language/discovery.h"

namespace vlp::fuzz {

namespace {

// Made on first use and removed with its files when the process ends normally; after a crash
// it stays, holding the files of the input that crashed.
struct ScratchFolder {
    ScratchFolder() {
        const auto folder = std::filesystem::temp_directory_path() / ("vlpfuzz-" + std::to_string(getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path = folder.string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

}  // namespace

const std::string& WorkDir() {
    static const ScratchFolder folder;
    return folder.path;
}

std::string WorkFile(std::string_view name) {
    return WorkDir() + "/" + std::string(name);
}

void WriteBytes(const std::string& fileName, std::string_view bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::string LanguageDir() {
    return std::string(VLP_SOURCE_DIR) + "/data/";
}

void PrepareWorkspace(Workspace& ws, const std::string& programDir) {
    ws.language.programDir = programDir;
    DiscoverLanguages(ws.language, ws.buttons);
}

}  // namespace vlp::fuzz
