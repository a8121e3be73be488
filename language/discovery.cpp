#include "language/discovery.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "language/data_file.h"
#include "text/cp1250.h"

namespace vlp {
namespace {

bool HasLanguageExtension(std::string_view name) {
    constexpr std::string_view kExtension = ".ldi";
    return name.size() >= kExtension.size() &&
           AsciiLower(name.substr(name.size() - kExtension.size())) == kExtension;
}

// The bare names of the dictionary files in the folder, in byte order. Only regular files (or
// links to one) are dictionaries, whatever the others are called: a folder, a dangling link or
// a pipe named like one is passed over.
std::vector<std::string> ListLanguageFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (HasLanguageExtension(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::string ReadLanguageName(const LanguageState& state, const std::string& fileName) {
    const std::string text = ReadDataFile(state.programDir + fileName);
    constexpr std::string_view kLanguageKey = "language=";
    DataLines lines(text);
    bool inSystem = false;
    for (std::string_view line; lines.Next(line);) {
        if (line.front() == '[')
            inSystem = line == "[system]";
        else if (inSystem && line.starts_with(kLanguageKey))
            return AsciiLower(line.substr(kLanguageKey.size()));
    }
    return {};
}

void DiscoverLanguages(LanguageState& state, LanguageButtons& buttons) {
    state.LanguageList.clear();
    for (const std::string& fileName : ListLanguageFiles(state.programDir)) {
        // The list and the buttons have room for seven; further languages are ignored.
        if (state.LanguageList.size() == static_cast<std::size_t>(kLanguageButtonCount)) break;
        std::string name = ReadLanguageName(state, fileName);
        if (name.empty()) continue;
        const bool known = std::any_of(state.LanguageList.begin(), state.LanguageList.end(),
                                       [&](const LanguageInfo& info) { return info.name == name; });
        if (known) continue;
        auto& button = buttons.buttons[state.LanguageList.size()];
        button.visible = true;
        button.caption = name;
        state.LanguageList.push_back({std::move(name), fileName});
    }
}

}  // namespace vlp
