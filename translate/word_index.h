#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"
#include "translate/word_lookup.h"

// Hash indexes over WordTable and the names table, so that translating a part costs one hash
// lookup per word instead of a search. They give the answers of FindWord and FindName.
namespace vlp {

// A word mapped byte by byte (SearchKeyTable) into zero-padded eight-byte chunks, with its
// hash: one mapping serves lookups in several indexes.
class WordKey {
public:
    WordKey(const unsigned char* map, std::string_view word) : size_(word.size()) {
        char* bytes = inline_;
        if (word.size() > kInlineBytes) {
            heap_ = std::make_unique<char[]>((word.size() + 7) & ~std::size_t{7});  // zeroed
            bytes = heap_.get();
        } else {
            const std::uint64_t zero = 0;
            std::memcpy(inline_ + (word.size() & ~std::size_t{7}), &zero, sizeof zero);
        }
        for (std::size_t i = 0; i < word.size(); ++i)
            bytes[i] = static_cast<char>(map[static_cast<unsigned char>(word[i])]);
        data_ = bytes;
        hash_ = Hash(bytes, size_);
    }
    WordKey(const WordKey&) = delete;
    WordKey& operator=(const WordKey&) = delete;

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::uint64_t hash() const { return hash_; }

private:
    // Eight bytes at a time over the zero padding.
    static std::uint64_t Hash(const char* data, std::size_t size) {
        std::uint64_t hash = size * 0x9E3779B97F4A7C15ull;
        for (std::size_t c = 0; c < size; c += 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, data + c, sizeof chunk);
            hash = (hash ^ chunk) * 0xBF58476D1CE4E5B9ull;
            hash ^= hash >> 31;
        }
        // Words that differ only late (name1, name2) must still spread over the low bits.
        hash ^= hash >> 33;
        hash *= 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 33;
        return hash;
    }

    static constexpr std::size_t kInlineBytes = 64;
    alignas(8) char inline_[kInlineBytes + 8];
    std::unique_ptr<char[]> heap_;  // for the rare longer word
    const char* data_;
    std::size_t size_;
    std::uint64_t hash_;
};

// An open-addressing table of mapped words, each with a value (its position in the list the
// table was built from); a lookup touches one slot and the arena.
class WordKeyIndex {
public:
    // Later values replace earlier ones of the same key when lastWins, else the first stays.
    void Build(const unsigned char* map, const std::vector<std::string_view>& words, bool lastWins);
    // The value of the key, or -1.
    int Lookup(const WordKey& key) const {
        if (slots_.empty()) return -1;
        return slots_[Slot(key)].value;
    }
    const unsigned char* map() const { return map_; }

private:
    struct Record {
        std::uint32_t offset = 0;  // of the padded key in arena_
        std::uint32_t length = 0;
        std::int32_t value = -1;  // -1: a free slot
    };
    static std::size_t PaddedSize(std::size_t size) { return (size + 7) & ~std::size_t{7}; }
    static std::uint64_t Chunk(const char* data) {
        std::uint64_t chunk;
        std::memcpy(&chunk, data, sizeof chunk);
        return chunk;
    }
    // The slot holding the key, or the free slot where it belongs.
    std::size_t Slot(const WordKey& key) const {
        std::size_t slot = static_cast<std::size_t>(key.hash()) & mask_;
        for (;;) {
            const Record& record = slots_[slot];
            if (record.value < 0 || (record.length == key.size() && SameKey(record, key))) return slot;
            slot = (slot + 1) & mask_;
        }
    }
    bool SameKey(const Record& record, const WordKey& key) const {
        const char* stored = arena_.data() + record.offset;
        for (std::size_t c = 0; c < PaddedSize(key.size()); c += 8)
            if (Chunk(stored + c) != Chunk(key.data() + c)) return false;
        return true;
    }

    const unsigned char* map_ = nullptr;
    std::string arena_;
    std::vector<Record> slots_;
    std::size_t mask_ = 0;
};

// FindWord through a hash index. Valid while WordTable and the comparison mode stay as they
// were when it was built (Matches tells). Finds every entry that compares equal, also where
// the table's byte order and the comparison's order disagree. The index holds the words only;
// what an entry translates to is worked out when the entry is first found, so that building
// the index reads no more of the table than its words. Not for use by several threads at once.
class WordIndex {
public:
    struct Hit {
        int entry = -1;
        bool single = false;      // the entry has one translation whatever the context
        std::string_view target;  // that translation
    };
    explicit WordIndex(const Workspace& ws) { Build(ws); }
    void Build(const Workspace& ws);
    bool Matches(const Workspace& ws) const;
    const unsigned char* KeyMap() const { return index_.map(); }

    Hit Lookup(const WordKey& key) const {
        if (key.size() == 0) return {};
        const int entry = index_.Lookup(key);
        if (entry < 0) return {};
        const EntryInfo& info = Info(entry);
        return {entry, info.single, info.target};
    }
    int Find(std::string_view word) const;

    // The entries found so far whose translation the section's class may choose (several
    // differing translations) are numbered 0 to ContextualCount() - 1 in the order found;
    // Contextual gives an entry's number, or -1.
    int Contextual(int entry) const { return Info(entry).contextual; }
    int ContextualCount() const { return static_cast<int>(unchosen_.size()); }
    // FindUnchosenSense of the entry of a Contextual number.
    const UnchosenSense& Unchosen(int number) const { return unchosen_[static_cast<std::size_t>(number)]; }

private:
    struct EntryInfo {
        std::string_view target;  // the single translation
        int contextual = -1;
        bool known = false;  // the fields above are worked out
        bool single = false;
    };
    const EntryInfo& Info(int entry) const {
        EntryInfo& info = info_[static_cast<std::size_t>(entry)];
        if (!info.known) Classify(entry, info);
        return info;
    }
    void Classify(int entry, EntryInfo& info) const;

    const Workspace* ws_ = nullptr;
    const WordEntry* table_ = nullptr;
    std::size_t size_ = 0;
    bool upperCaseMode_ = true;
    mutable std::vector<EntryInfo> info_;  // by entry
    mutable std::vector<UnchosenSense> unchosen_;  // by Contextual number
    WordKeyIndex index_;
};

// FindName through a hash index over row 1 of NameTranslations; valid while the row and the
// comparison mode stay unchanged.
class NameIndex {
public:
    explicit NameIndex(const Workspace& ws);
    int Find(const WordKey& key) const {
        // Most words are no name; their first byte alone tells so, without touching the table.
        if (key.size() != 0 && !firstBytes_[static_cast<unsigned char>(key.data()[0])]) return -1;
        return index_.Lookup(key);
    }
    int Find(std::string_view name) const;

private:
    std::array<bool, 256> firstBytes_{};  // first mapped bytes of the names
    WordKeyIndex index_;
};

// Whether a word that is no dictionary entry may be a set form: false when it is too short
// or its first byte differs from the set prefix's (then IsSetForm is false too).
inline bool MayBeSetForm(const Workspace& ws, const unsigned char* map, const WordKey& key) {
    const std::string& prefix = ws.language.sourceSetPrefix;
    if (prefix.size() + ws.language.sourceSetSuffix.size() >= key.size()) return false;
    return prefix.empty() ||
           map[static_cast<unsigned char>(prefix.front())] == static_cast<unsigned char>(key.data()[0]);
}

// A word that is neither a dictionary word nor a set form: a name, or left as it is.
inline WordResult TranslateNameWord(const Workspace& ws, const NameIndex& names, const WordKey& key,
                                    std::string_view word) {
    const int n = names.Find(key);
    if (n < 0) return {word, NotFound};
    const auto& pair = ws.parse.NameTranslations[0][static_cast<std::size_t>(n)];
    return {pair.second == "*" ? std::string_view(pair.first) : std::string_view(pair.second), Translated};
}

// TranslateWordView for a word that is no entry with a single translation.
WordResult TranslateIndexedWord(const Workspace& ws, const WordIndex& words, const NameIndex& names,
                                int entry, const WordKey& key, std::string_view word, char nextChar,
                                std::string_view context, std::string& scratch);

// TranslateWord through the indexes, without allocating (see TranslateWordView); the text may
// also view the word index, so it is valid only while the index lives.
inline WordResult TranslateWordView(const Workspace& ws, const WordIndex& words, const NameIndex& names,
                                    std::string_view word, char nextChar, std::string_view context,
                                    std::string& scratch) {
    const WordKey key(words.KeyMap(), word);
    const WordIndex::Hit hit = words.Lookup(key);
    // Most dictionary words have one translation whatever follows them: the index holds it.
    if (hit.single) return {hit.target, Translated};
    if (hit.entry < 0 && !MayBeSetForm(ws, words.KeyMap(), key))
        return TranslateNameWord(ws, names, key, word);
    return TranslateIndexedWord(ws, words, names, hit.entry, key, word, nextChar, context, scratch);
}

}  // namespace vlp
