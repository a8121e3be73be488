#include "support/language_folder.h"

namespace vlp::test {

LanguageFolder& LanguageFolder::file(std::string_view name, std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    WriteFile(dir_.file(name), text);
    return *this;
}

LanguageState LanguageFolder::State() const {
    LanguageState state;
    state.programDir = programDir();
    return state;
}

}  // namespace vlp::test
