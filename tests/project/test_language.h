#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "project/project_loading.h"
#include "project/project_state.h"
#include "project/section_parts.h"

// A small source language built in code, and helpers that run the text model over it.
namespace vlp::test {

using Entry = std::pair<std::string_view, std::string_view>;

// The keywords the parser looks for, the 24 classes ("class turtle" is "korytnacka"), a few
// primitives and ".name" as "objname". Values are stored folded, as the loader stores them.
std::vector<Entry> TestLanguageEntries();

// Fills SourceDictionary (plus extra entries) and SourcePropertyNames; no target language.
void FillSourceLanguage(LanguageState& state, std::initializer_list<Entry> extra = {},
                        bool upperCaseMode = true);

// A workspace with the test language loaded and the parse state reset.
Workspace MakeParseWorkspace(std::initializer_list<Entry> extra = {}, bool upperCaseMode = true);

// The .ldi and compare.tab text of the test language, for the loading tests.
std::string TestLanguageFile(std::string_view languageName);
std::string TestCompareTable();

struct ParsedProject {
    std::vector<TStruct> sections;
    T2ArrayString names;
    NameTranslationRow translations;
};

// ResetNameState, then every block parsed in order.
ParsedProject ParseBlocks(Workspace& ws, const TArrayString& blocks);
ParsedProject ParseText(Workspace& ws, std::string_view text);
// The save text of parsed sections, each shown as its frame's parts.
std::string SaveSections(Workspace& ws, const std::vector<TStruct>& sections);

// The parts of a section as an editor gives them back: every line followed by CR LF.
std::vector<PartText> EditorParts(const TStruct& section);

}  // namespace vlp::test

namespace vlp {
void PrintTo(const TStruct& section, std::ostream* os);
}
