#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "language/language_state.h"

namespace vlp {

// Builds WordTable with the results of AddSense and FindSenseOwner on the sorted table, but in
// O(n log n): words are found through a hash map while senses are added, and the entries are
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
    // Most words have a sense or two; only a word with many senses gets a set of their keys.
    static constexpr std::size_t kLinearSenseLimit = 8;

    bool HasSenseKey(std::size_t index, const std::string& key) const;
    void AppendSense(std::size_t index, Sense sense);
    void NoteFirstSense(std::size_t index);

    std::vector<WordEntry> entries_;  // in order of creation
    std::unordered_map<std::string, std::size_t> indexByWord_;
    std::unordered_map<std::size_t, std::unordered_set<std::string>> keysOfManySenses_;
    // For every key, the entry with the greatest word whose first sense has it.
    std::unordered_map<std::string, std::size_t> ownerByKey_;
};

}  // namespace vlp
