#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

    bool operator==(const TStruct&) const = default;
};

inline constexpr int kDefinePartKind = 10;

// Pairs (tags, name), sorted by name in byte order.
using T2ArrayString = std::vector<std::pair<std::string, std::string>>;
// Pairs (word, replacement) in insertion order.
using NameTranslationRow = std::vector<std::pair<std::string, std::string>>;

// Folded word -> position in one of the parse tables, so that a word is found without a scan.
// Valid while the comparison mode and the table's size are those it was built for; a hit is
// checked against the table before it is trusted.
struct FoldedWordIndex {
    bool built = false;
    bool upperCaseMode = true;
    std::size_t tableSize = 0;
    std::unordered_map<std::string, std::size_t> positions;
};

// Folded name -> the name as NameList holds it (NameList stays sorted, so positions move).
struct FoldedNameIndex {
    bool built = false;
    bool upperCaseMode = true;
    std::size_t tableSize = 0;
    std::unordered_map<std::string, std::string> names;
};

// The words of the source language tables, folded, for IsPrimitiveWord and IsPropertyName.
// Built on first use after ResetNameState (or when the comparison mode or the dictionary's size
// changed); change SourceDictionary or SourcePropertyNames only before ResetNameState.
struct SourceWordIndex {
    bool built = false;
    bool upperCaseMode = true;
    std::size_t dictionarySize = 0;
    std::unordered_set<std::string> primitiveWords;
    std::unordered_set<std::string> propertyNames;  // empty entries included: they match ""
};

// Folded TargetPropertyNames -> lowest code, for turning property names back into codes when a
// project is saved. Rebuilt whenever the names or the comparison mode differ from those it was
// built from.
struct PropertyCodeIndex {
    bool built = false;
    bool upperCaseMode = true;
    PropertyNames names;
    std::unordered_map<std::string, int> codes;
};

// Shared by all sections of one project; reset once per open.
struct ParseState {
    std::vector<std::pair<std::string, std::string>> ClassTable;  // (word, class name)
    int objectCounter = 0;
    std::array<T2ArrayString, 2> NameList;               // rows 1 and 2 at indexes 0 and 1
    std::array<NameTranslationRow, 2> NameTranslations;  // rows 1 and 2 at indexes 0 and 1

    // Lookup indexes over the tables above and the source language tables.
    FoldedWordIndex classIndex;                       // first ClassTable pair of a word
    std::array<FoldedNameIndex, 2> nameIndex;         // NameList pair of a name
    // While ParseSections runs, new names are appended to NameList and the rows are put in order
    // once at the end; appendedNames then maps each folded name to its position in its row.
    bool namesAppended = false;
    std::array<std::unordered_map<std::string, std::size_t>, 2> appendedNames;
    std::array<FoldedWordIndex, 2> translationIndex;  // last NameTranslations pair of a word
    mutable SourceWordIndex sourceWords;
    mutable PropertyCodeIndex targetPropertyCodes;
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
