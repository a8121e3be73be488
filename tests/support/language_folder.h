#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "language/language_state.h"
#include "support/test_support.h"

namespace vlp::test {

// A program folder holding language data (compare.tab, *.ldi) written from literals, each line
// ended with CR LF as the data files are written.
class LanguageFolder {
public:
    LanguageFolder& file(std::string_view name, std::initializer_list<std::string_view> lines);
    LanguageFolder& compareTab(std::initializer_list<std::string_view> lines) {
        return file("compare.tab", lines);
    }

    // With a trailing separator, as LanguageState keeps it.
    std::string programDir() const { return dir_.dirWithSeparator(); }
    std::string path(std::string_view name) const { return dir_.file(name); }
    // A fresh language state that reads from this folder.
    LanguageState State() const;

private:
    TempDir dir_;
};

}  // namespace vlp::test
