#include "translate/word_index.h"

#include <cstring>

namespace vlp {
void WordKeyIndex::Build(const unsigned char* map, const std::vector<std::string_view>& words, bool lastWins) {
    map_ = map;
    std::size_t slots = 16;
    while (slots < 2 * words.size()) slots *= 2;
    slots_.assign(slots, Record{});
    mask_ = slots - 1;
    // The arena is sized for every key up front (each padded to eight bytes with zeros) and cut
    // to what was used at the end.
    std::size_t capacity = 0;
    for (const std::string_view word : words) capacity += PaddedSize(word.size());
    arena_.assign(capacity, '\0');
    std::size_t used = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const WordKey key(map, words[i]);
        Record& record = slots_[Slot(key)];
        if (record.value >= 0) {
            if (lastWins) record.value = static_cast<int>(i);
            continue;
        }
        record.offset = static_cast<std::uint32_t>(used);
        record.length = static_cast<std::uint32_t>(key.size());
        record.value = static_cast<int>(i);
        const std::size_t keyBytes = PaddedSize(key.size());
        if (keyBytes != 0) std::memcpy(arena_.data() + used, key.data(), keyBytes);
        used += keyBytes;
    }
    arena_.resize(used);
}

void WordIndex::Build(const Workspace& ws) {
    const auto& table = ws.language.WordTable;
    table_ = table.data();
    size_ = table.size();
    upperCaseMode_ = ws.language.upperCaseMode;
    ws_ = &ws;
    std::vector<std::string_view> words;
    words.reserve(table.size());
    for (const WordEntry& entry : table) words.push_back(entry.word);
    info_.assign(table.size(), EntryInfo{});
    unchosen_.clear();
    index_.Build(SearchKeyTable(upperCaseMode_), words, false);
}

void WordIndex::Classify(int entry, EntryInfo& info) const {
    const WordEntry& found = table_[entry];
    const auto single = SingleTranslation(*ws_, found);
    info.single = single.has_value();
    info.target = single.value_or(std::string_view());
    if (!single && !found.senses.empty()) {
        info.contextual = static_cast<int>(unchosen_.size());
        unchosen_.push_back(FindUnchosenSense(*ws_, found));
    }
    info.known = true;
}

bool WordIndex::Matches(const Workspace& ws) const {
    return table_ == ws.language.WordTable.data() && size_ == ws.language.WordTable.size() &&
           upperCaseMode_ == ws.language.upperCaseMode;
}

int WordIndex::Find(std::string_view word) const {
    return Lookup(WordKey(KeyMap(), word)).entry;
}

NameIndex::NameIndex(const Workspace& ws) {
    const auto& row = ws.parse.NameTranslations[0];
    std::vector<std::string_view> words;
    words.reserve(row.size());
    const unsigned char* map = SearchKeyTable(ws.language.upperCaseMode);
    for (const auto& pair : row) {
        words.push_back(pair.first);
        if (!pair.first.empty()) firstBytes_[map[static_cast<unsigned char>(pair.first.front())]] = true;
    }
    // The search keys are equal exactly when the words compare equal.
    index_.Build(map, words, true);
}

int NameIndex::Find(std::string_view name) const {
    return Find(WordKey(index_.map(), name));
}

namespace {

// Finders for the slow paths; the word being translated is looked up as a name through the
// key already made for it.
struct IndexedFinders {
    const WordIndex& words;
    const NameIndex& names;
    std::string_view word;
    const WordKey& key;

    static int FindWordIn(const void* self, std::string_view w) {
        return static_cast<const IndexedFinders*>(self)->words.Find(w);
    }
    static int FindNameIn(const void* self, std::string_view name) {
        const auto& finders = *static_cast<const IndexedFinders*>(self);
        if (name.data() == finders.word.data() && name.size() == finders.word.size())
            return finders.names.Find(finders.key);
        return finders.names.Find(name);
    }
};

}  // namespace

WordResult TranslateIndexedWord(const Workspace& ws, const WordIndex& words, const NameIndex& names,
                                int entry, const WordKey& key, std::string_view word, char nextChar,
                                std::string_view context, std::string& scratch) {
    if (entry < 0 && !IsSetForm(ws, word)) return TranslateNameWord(ws, names, key, word);
    const IndexedFinders finders{words, names, word, key};
    return TranslateFoundWord(ws, entry, {&finders, &IndexedFinders::FindWordIn, &IndexedFinders::FindNameIn},
                              word, nextChar, context, scratch);
}

}  // namespace vlp
