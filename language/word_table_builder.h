#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "language/language_state.h"

namespace vlp {

// Builds WordTable with the results of AddSense and FindSenseOwner on the sorted table, but in
// O(n log n): words are found through a hash index while senses are added, and the entries are
// sorted once at the end. Senses keep the order in which they were added.
class WordTableBuilder {
public:
    // Starts from the entries already in a table (sorted, one entry per word).
    explicit WordTableBuilder(std::vector<WordEntry> table = {});

    // Room for about this many words.
    void Reserve(std::size_t words);

    // As AddSense on the table: adds the sense to every word of the list, stopping at a word
    // that already has a sense with this key; returns whether the last word handled was known.
    bool AddSense(std::string_view words, const std::string& target, const std::string& description,
                  const std::string& kind, const std::string& key);
    // The first sense of the entry FindSenseOwner would give: the greatest word whose first
    // sense has the key (ASCII-lowered).
    std::optional<Sense> FindSenseOwner(std::string_view key) const;

    // The table, sorted ascending by word.
    std::vector<WordEntry> Finish() &&;

private:
    // An open-addressing hash index of entry positions. The keys stay in the entries, so
    // indexing a word allocates nothing of its own.
    class PositionIndex {
    public:
        static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

        void Reserve(std::size_t count);
        // The position stored under key, or kNone; keyOf(position) gives a stored position's key.
        template <typename KeyOf>
        std::size_t Find(std::string_view key, std::size_t hash, KeyOf keyOf) const;
        // The slot for key, to be filled with a position when it holds kNone.
        template <typename KeyOf>
        std::size_t& Slot(std::string_view key, std::size_t hash, KeyOf keyOf);

    private:
        struct Entry {
            std::size_t position = kNone;
            std::size_t hash = 0;
        };
        std::size_t Probe(std::size_t hash, std::size_t step) const {
            return (hash + step) & (slots_.size() - 1);
        }
        void Grow(std::size_t capacity);

        std::vector<Entry> slots_;  // a power of two long, at most three quarters full
        std::size_t used_ = 0;
    };

    // Most words have a sense or two; only a word with many senses gets a set of their keys.
    static constexpr std::size_t kLinearSenseLimit = 8;

    std::size_t WordPosition(std::string word, bool& created);
    bool HasSenseKey(std::size_t position, const std::string& key) const;
    void AppendSense(std::size_t position, const std::string& target, const std::string& description,
                     const std::string& kind, const std::string& key);
    void NoteFirstSense(std::size_t position);

    std::vector<WordEntry> entries_;  // in order of creation
    PositionIndex byWord_;
    // For every key, the entry with the greatest word whose first sense has it.
    PositionIndex ownerByKey_;
    std::unordered_map<std::size_t, std::unordered_set<std::string>> keysOfManySenses_;
};

}  // namespace vlp
