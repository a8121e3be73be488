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
    struct KeyHash {
        std::size_t operator()(const std::pair<std::size_t, std::string>& item) const noexcept;
    };

    void NoteFirstSense(std::size_t index);

    std::vector<WordEntry> entries_;  // in order of creation
    std::unordered_map<std::string, std::size_t> indexByWord_;
    std::unordered_set<std::pair<std::size_t, std::string>, KeyHash> senseKeys_;  // (entry, key)
    // For every key, the greatest word whose first sense has it.
    std::unordered_map<std::string, std::string> ownerByKey_;
};

}  // namespace vlp
