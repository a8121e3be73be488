#include "language/word_table_builder.h"

#include <algorithm>

#include "language/byte_order.h"
#include "text/cp1250.h"

namespace vlp {
namespace {

std::size_t HashOf(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

}  // namespace

void WordTableBuilder::PositionIndex::Reserve(std::size_t count) {
    std::size_t capacity = 16;
    while (capacity * 3 < count * 4) capacity *= 2;
    if (capacity > slots_.size()) Grow(capacity);
}

void WordTableBuilder::PositionIndex::Grow(std::size_t capacity) {
    std::vector<Entry> old(capacity);
    old.swap(slots_);
    for (const Entry& entry : old) {
        if (entry.position == kNone) continue;
        std::size_t step = 0;
        while (slots_[Probe(entry.hash, step)].position != kNone) ++step;
        slots_[Probe(entry.hash, step)] = entry;
    }
}

template <typename KeyOf>
std::size_t WordTableBuilder::PositionIndex::Find(std::string_view key, std::size_t hash, KeyOf keyOf) const {
    if (slots_.empty()) return kNone;
    for (std::size_t step = 0;; ++step) {
        const Entry& entry = slots_[Probe(hash, step)];
        if (entry.position == kNone) return kNone;
        if (entry.hash == hash && keyOf(entry.position) == key) return entry.position;
    }
}

template <typename KeyOf>
std::size_t& WordTableBuilder::PositionIndex::Slot(std::string_view key, std::size_t hash, KeyOf keyOf) {
    if ((used_ + 1) * 4 > slots_.size() * 3) Grow(slots_.empty() ? 16 : slots_.size() * 2);
    for (std::size_t step = 0;; ++step) {
        Entry& entry = slots_[Probe(hash, step)];
        if (entry.position == kNone) {
            // Counted as used now: the caller fills it.
            ++used_;
            entry.hash = hash;
            return entry.position;
        }
        if (entry.hash == hash && keyOf(entry.position) == key) return entry.position;
    }
}

WordTableBuilder::WordTableBuilder(std::vector<WordEntry> table) : entries_(std::move(table)) {
    byWord_.Reserve(entries_.size());
    ownerByKey_.Reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::string_view word = entries_[i].word;
        byWord_.Slot(word, HashOf(word),
                     [&](std::size_t p) -> std::string_view { return entries_[p].word; }) = i;
        if (entries_[i].senses.size() > kLinearSenseLimit)
            for (const Sense& sense : entries_[i].senses) keysOfManySenses_[i].insert(sense.key);
        NoteFirstSense(i);
    }
}

void WordTableBuilder::Reserve(std::size_t words) {
    entries_.reserve(words);
    byWord_.Reserve(words);
    ownerByKey_.Reserve(words);
}

std::size_t WordTableBuilder::WordPosition(std::string word, bool& created) {
    std::size_t& position =
        byWord_.Slot(word, HashOf(word), [&](std::size_t p) -> std::string_view { return entries_[p].word; });
    created = position == PositionIndex::kNone;
    if (created) {
        position = entries_.size();
        entries_.push_back(WordEntry{std::move(word), {}, 0});
    }
    return position;
}

bool WordTableBuilder::HasSenseKey(std::size_t position, const std::string& key) const {
    const auto& senses = entries_[position].senses;
    if (senses.size() <= kLinearSenseLimit)
        return std::any_of(senses.begin(), senses.end(),
                           [&](const Sense& sense) { return sense.key == key; });
    return keysOfManySenses_.at(position).contains(key);
}

void WordTableBuilder::AppendSense(std::size_t position, const std::string& target,
                                   const std::string& description, const std::string& kind,
                                   const std::string& key) {
    auto& senses = entries_[position].senses;
    // Filled in place: the strings are copied once, not into a temporary first.
    Sense& sense = senses.emplace_back();
    sense.target = target;
    sense.description = description;
    sense.kind = kind;
    sense.key = key;
    if (senses.size() == kLinearSenseLimit + 1) {
        auto& keys = keysOfManySenses_[position];
        for (const Sense& each : senses) keys.insert(each.key);
    } else if (senses.size() > kLinearSenseLimit + 1) {
        keysOfManySenses_[position].insert(key);
    }
}

void WordTableBuilder::NoteFirstSense(std::size_t position) {
    const WordEntry& entry = entries_[position];
    if (entry.senses.empty()) return;
    const std::string_view key = entry.senses.front().key;
    std::size_t& owner = ownerByKey_.Slot(
        key, HashOf(key), [&](std::size_t p) -> std::string_view { return entries_[p].senses.front().key; });
    if (owner == PositionIndex::kNone || entries_[owner].word < entry.word) owner = position;
}

bool WordTableBuilder::AddSense(std::string_view words, const std::string& target,
                                const std::string& description, const std::string& kind,
                                const std::string& key) {
    const std::string lowered = AnsiLower(words);
    std::string_view rest = TrimView(lowered);
    bool found = false;
    while (!rest.empty()) {
        const auto blank = rest.find(' ');
        const std::string_view word = rest.substr(0, blank);
        rest = blank == std::string_view::npos ? std::string_view() : TrimView(rest.substr(blank + 1));

        bool created = false;
        const std::size_t position = WordPosition(std::string(word), created);
        found = !created;
        if (found && HasSenseKey(position, key)) return true;
        AppendSense(position, target, description, kind, key);
        if (created) NoteFirstSense(position);
    }
    return found;
}

std::optional<Sense> WordTableBuilder::FindSenseOwner(std::string_view key) const {
    const std::string k = AsciiLower(key);
    const std::size_t owner = ownerByKey_.Find(
        k, HashOf(k), [&](std::size_t p) -> std::string_view { return entries_[p].senses.front().key; });
    if (owner == PositionIndex::kNone) return std::nullopt;
    return entries_[owner].senses.front();
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
