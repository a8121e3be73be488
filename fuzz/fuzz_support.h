#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "project/project_state.h"
#include "project/reporter.h"

namespace vlp::fuzz {

// A folder of this process's own, made once, for the files a target writes.
const std::string& WorkDir();
std::string WorkFile(std::string_view name);
void WriteBytes(const std::string& fileName, std::string_view bytes);
std::string ReadBytes(const std::string& fileName);

// The repository's language folder, as programDir.
std::string LanguageDir();
// A workspace with the repository's languages discovered.
void PrepareWorkspace(Workspace& ws, const std::string& programDir);

class SilentReporter : public Reporter {
public:
    void Message(const std::string&) override {}
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace vlp::fuzz
