#include "translate/word_lookup.h"

#include <array>

#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp {
namespace {

constexpr std::string_view kKeepName = "*";
constexpr std::string_view kParamKind = "param";
constexpr std::string_view kSetStateDescription = "Main - setstate";

// WordTable holds its words lowered and is sorted by their bytes, while words compare folded
// (upper-cased, or reduced to plain capitals in table mode). Searching with the folded bytes
// lowered again keeps the equality of the comparison rule and follows the table's own order,
// so the halving never walks past an entry that the table holds.
std::array<unsigned char, 256> MakeSearchKeyTable(bool upperCaseMode) {
    const unsigned char* fold = FoldTable(upperCaseMode);
    std::array<unsigned char, 256> table{};
    for (unsigned c = 0; c < 256; ++c) table[c] = AnsiLowerChar(fold[c]);
    return table;
}

bool SameWord(const Workspace& ws, std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareWords(a, b, ws.language.upperCaseMode) == 0;
}

// Whether `context` occurs in `description` once the description's ASCII capitals are lowered.
bool DescriptionMentions(std::string_view description, std::string_view context) {
    if (context.size() > description.size()) return false;
    const std::size_t last = description.size() - context.size();
    for (std::size_t i = 0; i <= last; ++i) {
        std::size_t k = 0;
        while (k < context.size()) {
            char c = description[i + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != context[k]) break;
            ++k;
        }
        if (k == context.size()) return true;
    }
    return false;
}

void AppendTargetSetForm(const Workspace& ws, std::string_view name, std::string& out) {
    out += ws.language.targetSetPrefix;
    if (!name.empty()) {
        out += static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(name.front())));
        out += name.substr(1);
    }
    out += ws.language.targetSetSuffix;
}

std::string_view SetFormMiddle(const Workspace& ws, std::string_view word) {
    const std::size_t p = ws.language.sourceSetPrefix.size();
    const std::size_t s = ws.language.sourceSetSuffix.size();
    return word.substr(p, word.size() - p - s);
}

// TranslateSetForm writing the new form into `out`.
template <class WordFinder, class NameFinder>
WordStatus TranslateSetFormInto(const Workspace& ws, const WordFinder& findWord, const NameFinder& findName,
                                std::string_view word, std::string& out) {
    if (!IsSetForm(ws, word)) return NotFound;
    const int n = findName(SetFormMiddle(ws, word));
    if (n < 0) return Ambiguous;
    const auto& pair = ws.parse.NameTranslations[0][n];
    std::string_view name = pair.second;
    if (name == kKeepName) {
        name = pair.first;
        const int k = findWord(name);
        if (k >= 0) name = ws.language.WordTable[k].senses.front().target;
    }
    out.clear();
    AppendTargetSetForm(ws, name, out);
    return Translated;
}

// The highest sense whose target differs from the first sense's, or 0 when none does.
std::size_t LastDifferentSense(const Workspace& ws, const std::vector<Sense>& senses) {
    for (std::size_t h = senses.size() - 1; h > 0; --h)
        if (CompareWords(senses[h].target, senses[0].target, ws.language.upperCaseMode) != 0) return h;
    return 0;
}

// The sense the section's class picks among senses 0..h, or -1 when none or several differing.
int ContextChoice(const Workspace& ws, const std::vector<Sense>& senses, std::size_t h,
                  std::string_view context) {
    int choice = -1;
    for (std::size_t i = 0; i <= h; ++i) {
        if (!DescriptionMentions(senses[i].description, context)) continue;
        if (choice < 0) {
            choice = static_cast<int>(i);
        } else if (CompareWords(senses[i].target, senses[choice].target, ws.language.upperCaseMode) != 0) {
            return -1;
        }
    }
    return choice;
}

// TranslateWord for a word whose WordTable entry k (or -1) is already known.
template <class WordFinder, class NameFinder>
WordResult TranslateFoundWordWith(const Workspace& ws, int k, const WordFinder& findWord,
                                  const NameFinder& findName, std::string_view word, char nextChar,
                                  std::string_view context, std::string& scratch) {
    if (k < 0) {
        const WordStatus setForm = TranslateSetFormInto(ws, findWord, findName, word, scratch);
        if (setForm == Translated) return {scratch, Translated};
        if (setForm == Ambiguous) return {word, Ambiguous};
        const int n = findName(word);
        if (n < 0) return {word, NotFound};
        const auto& pair = ws.parse.NameTranslations[0][n];
        return {pair.second == kKeepName ? std::string_view(pair.first) : std::string_view(pair.second),
                Translated};
    }

    const WordEntry& entry = ws.language.WordTable[k];
    const std::vector<Sense>& senses = entry.senses;
    if (senses.empty()) return {word, NotFound};  // an entry without a translation
    if (senses.size() == 1) return {senses[0].target, Translated};
    const std::size_t h = LastDifferentSense(ws, senses);
    if (h == 0) return {senses[0].target, Translated};

    if (!context.empty()) {
        const int choice = ContextChoice(ws, senses, h, context);
        if (choice >= 0) return {senses[choice].target, Translated};
    }
    return UnchosenResult(ws, entry, FindUnchosenSense(ws, entry), word, nextChar);
}

auto SearchingWordFinder(const Workspace& ws) {
    return [&ws](std::string_view word) { return FindWord(ws, word); };
}

auto LinearNameFinder(const Workspace& ws) {
    return [&ws](std::string_view name) { return FindName(ws, name); };
}

}  // namespace

// Built on first use: the fold tables belong to another translation unit.
const unsigned char* SearchKeyTable(bool upperCaseMode) {
    static const std::array<unsigned char, 256> upperCaseKeys = MakeSearchKeyTable(true);
    static const std::array<unsigned char, 256> tableModeKeys = MakeSearchKeyTable(false);
    return upperCaseMode ? upperCaseKeys.data() : tableModeKeys.data();
}

UnchosenSense FindUnchosenSense(const Workspace& ws, const WordEntry& entry) {
    UnchosenSense unchosen;
    unchosen.endWord = CompareWords(ws.language.sourceEndWord, entry.word, ws.language.upperCaseMode) == 0;
    const std::vector<Sense>& senses = entry.senses;
    for (std::size_t i = senses.size(); i-- > 0;) {
        if (senses[i].kind == kParamKind && senses[i].description.starts_with(kSetStateDescription)) {
            unchosen.setStateSense = static_cast<int>(i);
            break;
        }
    }
    return unchosen;
}

WordResult UnchosenResult(const Workspace& ws, const WordEntry& entry, const UnchosenSense& unchosen,
                          std::string_view word, char nextChar) {
    if (nextChar == '|' && unchosen.endWord) return {ws.language.targetEndWord, Translated};
    if (nextChar == '\'' && unchosen.setStateSense >= 0)
        return {entry.senses[static_cast<std::size_t>(unchosen.setStateSense)].target, Translated};
    return {word, Ambiguous};
}

std::optional<std::string_view> SingleTranslation(const Workspace& ws, const WordEntry& entry) {
    if (entry.senses.empty()) return std::nullopt;
    if (entry.senses.size() == 1 || LastDifferentSense(ws, entry.senses) == 0)
        return std::string_view(entry.senses[0].target);
    return std::nullopt;
}

int ContextSense(const Workspace& ws, const WordEntry& entry, std::string_view context) {
    const std::vector<Sense>& senses = entry.senses;
    if (senses.size() == 1) return 0;
    const std::size_t h = LastDifferentSense(ws, senses);
    if (h == 0) return 0;
    if (context.empty()) return -1;
    return ContextChoice(ws, senses, h, context);
}

WordResult TranslateFoundWord(const Workspace& ws, int entry, const WordFinders& finders,
                              std::string_view word, char nextChar, std::string_view context,
                              std::string& scratch) {
    return TranslateFoundWordWith(
        ws, entry, [&](std::string_view w) { return finders.findWord(finders.context, w); },
        [&](std::string_view n) { return finders.findName(finders.context, n); }, word, nextChar, context,
        scratch);
}

int FindWord(const Workspace& ws, std::string_view word) {
    if (word.empty()) return -1;
    const auto& table = ws.language.WordTable;
    const unsigned char* key = SearchKeyTable(ws.language.upperCaseMode);
    int low = 0;
    int high = static_cast<int>(table.size()) - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int c = CompareMapped(table[middle].word, word, key);
        if (c > 0) {
            high = middle - 1;
        } else if (c < 0) {
            low = middle + 1;
        } else {
            return middle;
        }
    }
    return -1;
}

int FindName(const Workspace& ws, std::string_view name) {
    const auto& row = ws.parse.NameTranslations[0];
    for (std::size_t i = row.size(); i-- > 0;)
        if (SameWord(ws, row[i].first, name)) return static_cast<int>(i);
    return -1;
}

bool IsSetForm(const Workspace& ws, std::string_view word) {
    const std::string& prefix = ws.language.sourceSetPrefix;
    const std::string& suffix = ws.language.sourceSetSuffix;
    if (prefix.size() + suffix.size() >= word.size()) return false;
    const bool mode = ws.language.upperCaseMode;
    return CompareWords(word.substr(0, prefix.size()), prefix, mode) == 0 &&
           CompareWords(word.substr(word.size() - suffix.size()), suffix, mode) == 0;
}

std::string MakeTargetSetForm(const Workspace& ws, std::string_view name) {
    std::string out;
    AppendTargetSetForm(ws, name, out);
    return out;
}

WordStatus TranslateSetForm(const Workspace& ws, std::string& word) {
    std::string out;
    const WordStatus status =
        TranslateSetFormInto(ws, SearchingWordFinder(ws), LinearNameFinder(ws), word, out);
    if (status == Translated) word = std::move(out);
    return status;
}

WordTranslation TranslateWord(const Workspace& ws, std::string_view word, char nextChar,
                              std::string_view context) {
    std::string scratch;
    const WordResult result = TranslateWordView(ws, word, nextChar, context, scratch);
    return {std::string(result.text), result.status};
}

WordResult TranslateWordView(const Workspace& ws, std::string_view word, char nextChar,
                             std::string_view context, std::string& scratch) {
    const auto findWord = SearchingWordFinder(ws);
    return TranslateFoundWordWith(ws, findWord(word), findWord, LinearNameFinder(ws), word, nextChar, context,
                                  scratch);
}

}  // namespace vlp
