#pragma once

#include <string>
#include <string_view>

#include "language/language_state.h"

// The language tables in memory: compare.tab, the source and the target dictionary, and the
// merged WordTable with senses, set forms and numbered colour forms.
namespace vlp {

void InsertPair(ttab& table, std::string_view key, std::string_view value);
// Index of a pair with the key (ASCII-lowered), or -1.
int FindPair(const ttab& table, std::string_view key);

bool AddSense(LanguageState& state, std::string_view words, const std::string& target,
              const std::string& description, const std::string& kind, const std::string& key);
int FindSenseOwner(const LanguageState& state, std::string_view key);
std::string MakeSetForms(std::string_view words, std::string_view prefix, std::string_view suffix);
std::string MakeSetKey(std::string_view key);

// Throw IoError when a file cannot be opened or read.
void LoadSourceLanguage(LanguageState& state);
void LoadTargetLanguage(LanguageState& state);

std::string SourceWord(const LanguageState& state, std::string_view key);
std::string TargetWord(const LanguageState& state, std::string_view key);

}  // namespace vlp
