#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "project/project_state.h"

namespace vlp {

enum WordStatus : int { NotFound = 0, Translated = 1, Ambiguous = 2 };

struct WordTranslation {
    std::string text;
    WordStatus status = NotFound;
};

// Index of the WordTable entry that compares equal to the word, or -1.
int FindWord(const Workspace& ws, std::string_view word);
// Index of the last pair of row 1 of NameTranslations whose word compares equal, or -1.
int FindName(const Workspace& ws, std::string_view name);
bool IsSetForm(const Workspace& ws, std::string_view word);
std::string MakeTargetSetForm(const Workspace& ws, std::string_view name);
WordStatus TranslateSetForm(const Workspace& ws, std::string& word);
WordTranslation TranslateWord(const Workspace& ws, std::string_view word, char nextChar,
                              std::string_view context);

// TranslateWord without allocating: the text views the word itself, WordTable,
// NameTranslations, or `scratch` (for a built set form). Valid until those change.
struct WordResult {
    std::string_view text;
    WordStatus status = NotFound;
};
WordResult TranslateWordView(const Workspace& ws, std::string_view word, char nextChar,
                             std::string_view context, std::string& scratch);

// How TranslateFoundWord looks further words and names up (FindWord and FindName, or faster
// equivalents); `context` is handed back to both.
struct WordFinders {
    const void* context;
    int (*findWord)(const void* context, std::string_view word);
    int (*findName)(const void* context, std::string_view name);
};
// TranslateWordView for a word whose WordTable entry (or -1) is already known.
WordResult TranslateFoundWord(const Workspace& ws, int entry, const WordFinders& finders,
                              std::string_view word, char nextChar, std::string_view context,
                              std::string& scratch);

// The sense of an entry that the section's class `context` picks: 0 for an entry with one
// translation, -1 when the context picks none (no context, no sense mentions it, or senses with
// differing targets do). Depends only on the entry and the context, so callers may keep it.
int ContextSense(const Workspace& ws, const WordEntry& entry, std::string_view context);

// What a word of an entry of several differing translations becomes when the section's class
// picks none of them: before a bar, the end keyword becomes the target's; before a quote, the
// last set-state parameter sense is taken; otherwise the word stays, marked ambiguous. The
// first two depend only on the entry and are worked out once.
struct UnchosenSense {
    bool endWord = false;   // the entry is the end keyword
    int setStateSense = -1;  // the last set-state parameter sense, or -1
};
UnchosenSense FindUnchosenSense(const Workspace& ws, const WordEntry& entry);
WordResult UnchosenResult(const Workspace& ws, const WordEntry& entry, const UnchosenSense& unchosen,
                          std::string_view word, char nextChar);

// The map from a byte to the byte a word is searched by: the comparison rule's folding, then
// lowered as WordTable holds its words. Two words compare equal exactly when their mapped
// bytes are equal.
const unsigned char* SearchKeyTable(bool upperCaseMode);
// The one translation of an entry whatever follows it or where it stands (one sense, or
// senses that all have one target), or nothing.
std::optional<std::string_view> SingleTranslation(const Workspace& ws, const WordEntry& entry);

}  // namespace vlp
