#pragma once

#include <string>
#include <string_view>

// The one rule by which two words of the scripting language are compared. Upper-case mode
// folds with the Windows-1250 upper-casing; table mode (upperCaseMode false) also drops the
// accents of the Central European letters.
namespace vlp {

// The byte map FoldWord applies in the given mode.
const unsigned char* FoldTable(bool upperCaseMode);

std::string FoldWord(std::string_view word, bool upperCaseMode);

// Negative, zero or positive as a comes before, equals or comes after b once both are folded.
int CompareWords(std::string_view a, std::string_view b, bool upperCaseMode);

// Compares a and b byte by byte after mapping every byte through `map` (256 entries); the
// shorter of two words of which one begins the other comes first.
int CompareMapped(std::string_view a, std::string_view b, const unsigned char* map);

}  // namespace vlp
