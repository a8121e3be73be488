#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"

namespace vlp {

void ParseSection(Workspace& ws, std::string_view block, TStruct& section);
// ParseSection over the blocks of a project, in order. Gives the same sections and parse state
// as calling it once per block, but keeps NameList in order once at the end rather than after
// every name, so the time grows linearly with the number of names.
std::vector<TStruct> ParseSections(Workspace& ws, const std::vector<std::string>& blocks);

bool MatchesKeyPhrase(const Workspace& ws, std::string_view text, std::string_view key,
                      std::string_view suffix, bool numbered);
std::string ResolveClassName(Workspace& ws, std::string_view text);
// row is 1 or 2.
void AddName(Workspace& ws, int row, std::string_view tag, std::string_view name);
void SetNameTranslation(Workspace& ws, int row, std::string_view word, std::string_view replacement);
// Makes room for `more` pairs in a row of NameTranslations (1 or 2) and its index, so that
// adding many does not move them again and again.
void ReserveNameTranslations(Workspace& ws, int row, std::size_t more);
std::string FirstWord(std::string_view line);
std::string SecondWord(std::string_view line);
bool IsPropertyName(const Workspace& ws, std::string_view word);
bool IsPrimitiveWord(const Workspace& ws, std::string_view word);

}  // namespace vlp
