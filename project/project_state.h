#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "container/project_file.h"
#include "language/language_state.h"

namespace vlp {

// The section record the parser makes of one block.
struct TStruct {
    int kind = 0;
    std::string caption;
    std::string className;
    std::string headText;
    std::string propertyText;
    std::string variableText;
    std::string eventText;
    std::vector<std::string> defineTexts;
};

inline constexpr int kDefinePartKind = 10;

// Pairs (tags, name), sorted by name in byte order.
using T2ArrayString = std::vector<std::pair<std::string, std::string>>;
// Pairs (word, replacement) in insertion order.
using NameTranslationRow = std::vector<std::pair<std::string, std::string>>;

// Shared by all sections of one project; reset once per open.
struct ParseState {
    std::vector<std::pair<std::string, std::string>> ClassTable;  // (word, class name)
    int objectCounter = 0;
    std::array<T2ArrayString, 2> NameList;                // rows 1 and 2 at indexes 0 and 1
    std::array<NameTranslationRow, 2> NameTranslations;  // rows 1 and 2 at indexes 0 and 1
};

// The names grid: rows of (tags, name, translation). Starts at 100 rows and only grows.
struct NamesGrid {
    static constexpr std::size_t kInitialRows = 100;
    std::vector<std::array<std::string, 3>> rows = std::vector<std::array<std::string, 3>>(kInitialRows);
};

// All process-wide state of the system, owned by one front end and passed down by reference.
struct Workspace {
    ProjectLanguageState project;
    LanguageState language;
    LanguageButtons buttons;
    ParseState parse;
    NamesGrid namesGrid;
};

}  // namespace vlp
