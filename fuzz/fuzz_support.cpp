#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "language/discovery.h"

namespace vlp::fuzz {

const std::string& WorkDir() {
    static const std::string dir = [] {
        auto path = std::filesystem::temp_directory_path() / ("vlpfuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return dir;
}

std::string WorkFile(std::string_view name) { return WorkDir() + "/" + std::string(name); }

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

std::string LanguageDir() { return std::string(VLP_SOURCE_DIR) + "/data/"; }

void PrepareWorkspace(Workspace& ws, const std::string& programDir) {
    ws.language.programDir = programDir;
    DiscoverLanguages(ws.language, ws.buttons);
}

}  // namespace vlp::fuzz
