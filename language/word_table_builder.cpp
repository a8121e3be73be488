#include "language/word_table_builder.h"

#include <algorithm>
#include <functional>

#include "text/cp1250.h"

namespace vlp {

std::size_t WordTableBuilder::KeyHash::operator()(const std::pair<std::size_t, std::string>& item) const noexcept {
    const std::size_t h = std::hash<std::string>{}(item.second);
    return h ^ (item.first + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2));
}

WordTableBuilder::WordTableBuilder(std::vector<WordEntry> table) : entries_(std::move(table)) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        indexByWord_.emplace(entries_[i].word, i);
        for (const Sense& sense : entries_[i].senses) senseKeys_.emplace(i, sense.key);
        NoteFirstSense(i);
    }
}

void WordTableBuilder::NoteFirstSense(std::size_t index) {
    const WordEntry& entry = entries_[index];
    if (entry.senses.empty()) return;
    auto [owner, added] = ownerByKey_.try_emplace(entry.senses.front().key, entry.word);
    if (!added && owner->second < entry.word) owner->second = entry.word;
}

bool WordTableBuilder::AddSense(std::string_view words, const std::string& target,
                                const std::string& description, const std::string& kind,
                                const std::string& key) {
    const std::string lowered = AnsiLower(words);
    std::string_view rest = TrimView(lowered);
    bool found = false;
    while (!rest.empty()) {
        const auto blank = rest.find(' ');
        const std::string word(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : TrimView(rest.substr(blank + 1));

        auto [slot, created] = indexByWord_.try_emplace(word, entries_.size());
        found = !created;
        const std::size_t index = slot->second;
        if (created) entries_.push_back(WordEntry{word, {}, 0});
        if (!senseKeys_.emplace(index, key).second) return true;
        entries_[index].senses.push_back(Sense{target, description, kind, key});
        if (created) NoteFirstSense(index);
    }
    return found;
}

std::optional<Sense> WordTableBuilder::FindSenseOwner(std::string_view key) const {
    const auto owner = ownerByKey_.find(AsciiLower(key));
    if (owner == ownerByKey_.end()) return std::nullopt;
    return entries_[indexByWord_.at(owner->second)].senses.front();
}

std::vector<WordEntry> WordTableBuilder::Finish() && {
    std::sort(entries_.begin(), entries_.end(),
              [](const WordEntry& a, const WordEntry& b) { return a.word < b.word; });
    return std::move(entries_);
}

}  // namespace vlp
