#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

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

// FindName through a hash index over row 1 of NameTranslations, for translating many words.
// Gives the same answers as FindName while the row and the comparison mode stay unchanged.
class NameIndex {
public:
    explicit NameIndex(const Workspace& ws);
    int Find(std::string_view name) const;

private:
    struct FoldedHash {
        const unsigned char* fold;
        using is_transparent = void;
        std::size_t operator()(std::string_view word) const;
    };
    struct FoldedEqual {
        const unsigned char* fold;
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::unordered_map<std::string_view, int, FoldedHash, FoldedEqual> last_;
};

// TranslateWord without allocating: the text views the word itself, WordTable,
// NameTranslations, or `scratch` (for a built set form). Valid until those change.
struct WordResult {
    std::string_view text;
    WordStatus status = NotFound;
};
WordResult TranslateWordView(const Workspace& ws, const NameIndex& names, std::string_view word, char nextChar,
                             std::string_view context, std::string& scratch);

}  // namespace vlp
