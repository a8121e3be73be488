#include "language/dictionary.h"

#include <algorithm>

#include "language/byte_order.h"
#include "language/data_file.h"
#include "language/property_names.h"
#include "language/word_table_builder.h"
#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp {
namespace {

// The language tables are filled by appending and sorted once when the file is read: equal keys
// keep the order they were read in, as inserting each pair in its place would leave them.
void AppendPair(ttab& table, std::string_view key, std::string_view value) {
    table.pairs.emplace_back(AsciiLower(TrimView(key)), std::string(TrimView(value)));
}

// section + " " + identifier with its ASCII letters lowered, not trimmed: the key as FindPair
// looks it up.
std::string ItemKey(std::string_view section, std::string_view identifier) {
    std::string key;
    key.reserve(section.size() + 1 + identifier.size());
    key.append(section).append(1, ' ').append(identifier);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

// The key as the tables keep it: trimmed too.
std::string StoredKey(std::string key) {
    const std::string_view trimmed = TrimView(key);
    if (trimmed.size() == key.size()) return key;
    return std::string(trimmed);
}

// Room for one pair per line of a data file, so that filling a table never moves its pairs.
void ReserveForLines(ttab& table, std::string_view text) {
    table.pairs.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
}

void SortPairs(ttab& table) {
    auto& pairs = table.pairs;
    const auto order =
        StableByteOrder(pairs.size(), [&](std::size_t i) -> std::string_view { return pairs[i].first; });
    std::vector<std::pair<std::string, std::string>> sorted;
    sorted.reserve(pairs.size());
    for (std::size_t i : order) sorted.push_back(std::move(pairs[i]));
    pairs = std::move(sorted);
}

// FindPair for a key already lowered.
int FindLoweredPair(const ttab& table, std::string_view k) {
    if (k.empty() || table.empty()) return -1;
    // Halving exactly this way decides which of several equal keys is found.
    int lo = 0;
    int hi = static_cast<int>(table.size()) - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int order = CompareBytes(table.pairs[static_cast<std::size_t>(mid)].first, k);
        if (order > 0)
            hi = mid - 1;
        else if (order < 0)
            lo = mid + 1;
        else
            return mid;
    }
    return -1;
}

const std::string* ValueAt(const ttab& table, int index) {
    return index < 0 ? nullptr : &table.pairs[static_cast<std::size_t>(index)].second;
}

const std::string* FindValue(const ttab& table, std::string_view key) {
    return ValueAt(table, FindPair(table, key));
}

// "prefix*suffix"; a pattern without "*" is all prefix.
void SplitSetPattern(std::string_view pattern, std::string& prefix, std::string& suffix) {
    const auto star = pattern.find('*');
    prefix = std::string(pattern.substr(0, star));
    suffix = star == std::string_view::npos ? std::string() : std::string(pattern.substr(star + 1));
}

void LoadCompareTable(LanguageState& state) {
    state.CompareTable.pairs.clear();
    const std::string text = ReadDataFile(state.programDir + "compare.tab");
    ReserveForLines(state.CompareTable, text);
    DataLines lines(text);
    for (std::string_view line; lines.Next(line);) {
        const auto bar = line.find('|');
        if (bar == std::string_view::npos) continue;
        if (line.starts_with("text ") || line.starts_with("prefix ")) continue;
        const auto description = line.substr(bar + 1);
        if (AsciiLower(description.substr(0, 5)) == "email") continue;
        AppendPair(state.CompareTable, line.substr(0, bar), description);
    }
    SortPairs(state.CompareTable);
}

// The [system] keys of the source file; read before its entries because the folding of every
// entry depends on the ansi key, wherever in the file it stands.
void ReadSourceSettings(LanguageState& state, std::string_view text) {
    std::string section;
    std::string setPattern;
    DataLines lines(text);
    for (std::string_view raw; lines.Next(raw);) {
        // Only headers and [system] lines matter; the others need not be lowered.
        if (raw.front() != '[' && section != "system") continue;
        const std::string line = AsciiLower(TrimView(raw));
        if (line.starts_with('[')) {
            section = std::string(SectionName(line));
            continue;
        }
        const auto equals = line.find('=');
        const std::string_view name = std::string_view(line).substr(0, equals);
        const std::string_view value =
            equals == std::string::npos ? std::string_view() : std::string_view(line).substr(equals + 1);
        if (name == "ansi")
            state.upperCaseMode = value != "1";
        else if (name == "setfix")
            setPattern = std::string(value);
    }
    SplitSetPattern(setPattern, state.sourceSetPrefix, state.sourceSetSuffix);
}

// Only the items compare.tab lists are kept, except for the explicit set and get words.
void ReadSourceEntries(LanguageState& state, std::string_view text) {
    state.SourceDictionary.pairs.clear();
    ReserveForLines(state.SourceDictionary, text);
    std::string section;
    DataLines lines(text);
    for (std::string_view raw; lines.Next(raw);) {
        const std::string_view line = TrimView(raw);
        if (line.starts_with('[')) {
            section = std::string(SectionName(line));
            if (section == "text" || section == "prefix" || section == "system") section.clear();
            continue;
        }
        const auto equals = line.find('=');
        if (section.empty() || equals == std::string_view::npos) continue;
        // Lowered once for the search and the table: FindPair lowers the key without trimming it.
        std::string key = ItemKey(section, line.substr(0, equals));
        if (section != "set" && section != "get" && FindLoweredPair(state.CompareTable, key) < 0) continue;
        state.SourceDictionary.pairs.emplace_back(
            StoredKey(std::move(key)), Trim(FoldWord(line.substr(equals + 1), state.upperCaseMode)));
    }
    SortPairs(state.SourceDictionary);
}

void ReadTargetEntries(LanguageState& state, std::string_view text) {
    state.TargetDictionary.pairs.clear();
    ReserveForLines(state.TargetDictionary, text);
    std::string section;
    std::string setPattern;
    DataLines lines(text);
    for (std::string_view raw; lines.Next(raw);) {
        const std::string_view line = TrimView(raw);
        if (line.starts_with('[')) {
            section = std::string(SectionName(line));
            if (section == "text" || section == "prefix") section.clear();
            continue;
        }
        const auto equals = line.find('=');
        if (section.empty() || equals == std::string_view::npos) continue;
        const auto name = line.substr(0, equals);
        const auto value = line.substr(equals + 1);
        if (section == "system") {
            if (name == "setfix") setPattern = std::string(value);
            continue;
        }
        state.TargetDictionary.pairs.emplace_back(StoredKey(ItemKey(section, name)), Trim(value));
    }
    SortPairs(state.TargetDictionary);
    SplitSetPattern(setPattern, state.targetSetPrefix, state.targetSetSuffix);
}

// Adds the senses of one compare.tab item: its words, the numbered forms of a new colour word,
// and the set forms of a settable property or a name.
void MergeItem(const LanguageState& state, WordTableBuilder& builder, const std::string& key,
               const std::string& itemDescription, const std::string& srcWords, const std::string& tgtWords) {
    if (!state.useNet && itemDescription.starts_with("Net ")) return;
    if (!state.useMediaPlayer && itemDescription.starts_with("MediaPlayer ")) return;
    const auto blank = key.find(' ');
    const std::string kind = blank == std::string::npos ? std::string() : key.substr(0, blank);
    const bool isSetting = itemDescription.find(" setting") != std::string::npos;

    // A target with several words is translated by the first, and the description lists all.
    const bool listsTargets = tgtWords.find(' ') != std::string::npos;
    const std::string listed = listsTargets ? itemDescription + " (" + tgtWords + ")" : std::string();
    const std::string& description = listsTargets ? listed : itemDescription;
    const std::string tgt = listsTargets ? std::string(FirstWord(tgtWords)) : tgtWords;

    ForEachWord(srcWords, [&](std::string_view w) {
        const bool found = builder.AddSense(w, tgt, description, kind, key);
        if (found || kind != "colors") return;
        for (int n = 1; n <= 12; ++n) {
            const std::string number = std::to_string(n);
            builder.AddSense(std::string(w) + number, tgt + number, description, kind, key);
        }
    });

    if (!isSetting && kind != "name") return;
    // The set forms are made of all target words, and the list added above is taken off the
    // description again (the blank before it stays). Only that list: a parenthesis of the
    // item's own description stays.
    std::string setDescription = listsTargets ? itemDescription + " " : itemDescription;
    const std::string srcSet = MakeSetForms(srcWords, state.sourceSetPrefix, state.sourceSetSuffix);
    std::string tgtSet = MakeSetForms(tgtWords, state.targetSetPrefix, state.targetSetSuffix);
    if (tgtSet.find(' ') != std::string::npos) {
        setDescription += " (" + tgtSet + ")";
        tgtSet = std::string(FirstWord(tgtSet));
    }
    const std::string setKey = MakeSetKey(key);
    ForEachWord(srcSet,
                [&](std::string_view w) { builder.AddSense(w, tgtSet, setDescription, kind, setKey); });
}

// The source words of the [set] and [get] entries translate like the set form of the property
// and like the property itself.
void MergeExplicitSetAndGet(const LanguageState& state, WordTableBuilder& builder) {
    for (const auto& [key, value] : state.SourceDictionary.pairs) {
        const auto blank = key.find(' ');
        std::optional<Sense> owner;
        if (key.starts_with("set "))
            owner = builder.FindSenseOwner("dict set" + key.substr(blank + 1));
        else if (key.starts_with("get "))
            owner = builder.FindSenseOwner("dict " + key.substr(blank + 1));
        if (owner) builder.AddSense(value, owner->target, owner->description, owner->kind, owner->key);
    }
}

// Looks up the keys of CompareTable, which come in ascending order, in another sorted table by
// walking it alongside instead of searching it afresh for each key.
class SortedWalk {
public:
    explicit SortedWalk(const ttab& table) : table_(table) {}

    // The value FindPair gives for key; keys must be asked in ascending order.
    const std::string* Find(const std::string& key) {
        const auto& pairs = table_.pairs;
        while (next_ < pairs.size() && CompareBytes(pairs[next_].first, key) < 0) ++next_;
        if (next_ == pairs.size() || pairs[next_].first != key) return nullptr;
        // Which of several equal keys FindPair finds depends on its halving; ask it then.
        if (next_ + 1 < pairs.size() && pairs[next_ + 1].first == key)
            return ValueAt(table_, FindLoweredPair(table_, key));
        return &pairs[next_].second;
    }

private:
    const ttab& table_;
    std::size_t next_ = 0;
};

void MergeWordTable(LanguageState& state) {
    WordTableBuilder builder(std::move(state.WordTable));
    builder.Reserve(2 * state.CompareTable.size());
    // CompareTable's keys are stored lowered and trimmed, as FindPair would look them up.
    SortedWalk source(state.SourceDictionary);
    SortedWalk target(state.TargetDictionary);
    for (const auto& [key, description] : state.CompareTable.pairs) {
        const std::string* srcWords = source.Find(key);
        const std::string* tgtWords = target.Find(key);
        if (srcWords && tgtWords) MergeItem(state, builder, key, description, *srcWords, *tgtWords);
    }
    MergeExplicitSetAndGet(state, builder);
    state.WordTable = std::move(builder).Finish();
}

}  // namespace

void InsertPair(ttab& table, std::string_view key, std::string_view value) {
    std::string k = AsciiLower(TrimView(key));
    const auto place =
        std::upper_bound(table.pairs.begin(), table.pairs.end(), k,
                         [](const std::string& k, const auto& pair) { return k < pair.first; });
    table.pairs.emplace(place, std::move(k), std::string(TrimView(value)));
}

int FindPair(const ttab& table, std::string_view key) {
    if (key.empty()) return -1;
    return FindLoweredPair(table, AsciiLower(key));
}

bool AddSense(LanguageState& state, std::string_view words, const std::string& target,
              const std::string& description, const std::string& kind, const std::string& key) {
    auto& table = state.WordTable;
    const std::string lowered = AnsiLower(words);
    std::string_view rest = TrimView(lowered);
    bool found = false;
    while (!rest.empty()) {
        const auto blank = rest.find(' ');
        const std::string w(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : TrimView(rest.substr(blank + 1));

        auto place =
            std::lower_bound(table.begin(), table.end(), w,
                             [](const WordEntry& entry, const std::string& w) { return entry.word < w; });
        found = place != table.end() && place->word == w;
        if (!found) place = table.insert(place, WordEntry{w, {}, 0});
        const bool hasKey = std::any_of(place->senses.begin(), place->senses.end(),
                                        [&](const Sense& sense) { return sense.key == key; });
        if (hasKey) return true;
        place->senses.push_back(Sense{target, description, kind, key});
    }
    return found;
}

int FindSenseOwner(const LanguageState& state, std::string_view key) {
    const std::string k = AsciiLower(key);
    for (int i = static_cast<int>(state.WordTable.size()) - 1; i >= 0; --i) {
        const auto& senses = state.WordTable[static_cast<std::size_t>(i)].senses;
        if (!senses.empty() && senses.front().key == k) return i;
    }
    return -1;
}

std::string MakeSetForms(std::string_view words, std::string_view prefix, std::string_view suffix) {
    std::string forms;
    ForEachWord(words, [&](std::string_view w) {
        if (!forms.empty()) forms += ' ';
        forms += prefix;
        forms += static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(w.front())));
        forms += w.substr(1);
        forms += suffix;
    });
    return forms;
}

std::string MakeSetKey(std::string_view key) {
    const auto blank = key.find(' ');
    if (blank == std::string_view::npos) return "set" + std::string(key);
    return std::string(key.substr(0, blank + 1)) + "set" + std::string(key.substr(blank + 1));
}

void LoadSourceLanguage(LanguageState& state) {
    state.WordTable.clear();
    LoadCompareTable(state);
    const std::string text = ReadDataFile(state.programDir + state.sourceLanguageFile);
    ReadSourceSettings(state, text);
    ReadSourceEntries(state, text);
    const std::string* endWord = FindValue(state.SourceDictionary, "other end");
    state.sourceEndWord = endWord ? *endWord : std::string();
    BuildSourcePropertyNames(state);
}

void LoadTargetLanguage(LanguageState& state) {
    state.TargetDictionary.pairs.clear();
    const std::string text = ReadDataFile(state.programDir + state.targetLanguageFile);
    ReadTargetEntries(state, text);
    const std::string* endWord = FindValue(state.TargetDictionary, "other end");
    state.targetEndWord = endWord ? *endWord : std::string();
    MergeWordTable(state);
}

std::string SourceWord(const LanguageState& state, std::string_view key) {
    const std::string* value = FindValue(state.SourceDictionary, key);
    return value ? std::string(FirstWord(*value)) : std::string();
}

std::string TargetWord(const LanguageState& state, std::string_view key) {
    if (state.TargetDictionary.empty()) return AsciiLower(SourceWord(state, key));
    const std::string* value = FindValue(state.TargetDictionary, key);
    return value ? std::string(FirstWord(*value)) : std::string();
}

}  // namespace vlp
