#include "language/word_table_builder.h"

#include <algorithm>

#include "language/byte_order.h"
#include "text/cp1250.h"

namespace vlp {

WordTableBuilder::WordTableBuilder(std::vector<WordEntry> table) : entries_(std::move(table)) {
    indexByWord_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        indexByWord_.emplace(entries_[i].word, i);
        if (entries_[i].senses.size() > kLinearSenseLimit)
            for (const Sense& sense : entries_[i].senses) keysOfManySenses_[i].insert(sense.key);
        NoteFirstSense(i);
    }
}

void WordTableBuilder::Reserve(std::size_t words) {
    entries_.reserve(words);
    indexByWord_.reserve(words);
    ownerByKey_.reserve(words);
}

bool WordTableBuilder::HasSenseKey(std::size_t index, const std::string& key) const {
    const auto& senses = entries_[index].senses;
    if (senses.size() <= kLinearSenseLimit)
        return std::any_of(senses.begin(), senses.end(),
                           [&](const Sense& sense) { return sense.key == key; });
    return keysOfManySenses_.at(index).contains(key);
}

void WordTableBuilder::AppendSense(std::size_t index, Sense sense) {
    auto& senses = entries_[index].senses;
    senses.push_back(std::move(sense));
    if (senses.size() == kLinearSenseLimit + 1) {
        auto& keys = keysOfManySenses_[index];
        for (const Sense& each : senses) keys.insert(each.key);
    } else if (senses.size() > kLinearSenseLimit + 1) {
        keysOfManySenses_[index].insert(senses.back().key);
    }
}

void WordTableBuilder::NoteFirstSense(std::size_t index) {
    const WordEntry& entry = entries_[index];
    if (entry.senses.empty()) return;
    auto [owner, added] = ownerByKey_.try_emplace(entry.senses.front().key, index);
    if (!added && entries_[owner->second].word < entry.word) owner->second = index;
}

bool WordTableBuilder::AddSense(std::string_view words, const std::string& target,
                                const std::string& description, const std::string& kind,
                                const std::string& key) {
    const std::string lowered = AnsiLower(words);
    std::string_view rest = TrimView(lowered);
    bool found = false;
    while (!rest.empty()) {
        const auto blank = rest.find(' ');
        std::string word(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : TrimView(rest.substr(blank + 1));

        const auto [slot, created] = indexByWord_.try_emplace(word, entries_.size());
        found = !created;
        const std::size_t index = slot->second;
        if (created) {
            entries_.push_back(WordEntry{std::move(word), {}, 0});
        } else if (HasSenseKey(index, key)) {
            return true;
        }
        AppendSense(index, Sense{target, description, kind, key});
        if (created) NoteFirstSense(index);
    }
    return found;
}

std::optional<Sense> WordTableBuilder::FindSenseOwner(std::string_view key) const {
    const auto owner = ownerByKey_.find(AsciiLower(key));
    if (owner == ownerByKey_.end()) return std::nullopt;
    return entries_[owner->second].senses.front();
}

std::vector<WordEntry> WordTableBuilder::Finish() && {
    const auto order =
        StableByteOrder(entries_.size(), [&](std::size_t i) -> std::string_view { return entries_[i].word; });
    std::vector<WordEntry> table;
    table.reserve(entries_.size());
    for (std::size_t i : order) table.push_back(std::move(entries_[i]));
    return table;
}

}  // namespace vlp
