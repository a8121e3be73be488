#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>


namespace vlp {

// What words translated to, by their exact bytes. A project uses a few thousand distinct words
// many times over: finding one again costs two loads and one probe in a compact table that
// holds only the words met, instead of mapping every byte and probing the dictionary's much
// larger index. Words longer than kMaxWordSize are not kept.
class WordMemo {
public:
    static constexpr std::size_t kMaxWordSize = 16;

    // A word's bytes zero-padded to sixteen, its size and hash.
    struct Key {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::uint64_t hash = 0;
        std::uint32_t size = 0;
    };

    // Makes the key of a word of 1 to kMaxWordSize bytes; false for any other word. The word's
    // memory must stay readable up to `readableEnd` (at or after the word's end): sixteen bytes
    // are read at once where they are there to read.
    static bool MakeKey(std::string_view word, const char* readableEnd, Key& key) {
        const std::size_t n = word.size();
        if (n == 0 || n > kMaxWordSize) return false;
        const char* p = word.data();
        if (readableEnd - p >= static_cast<std::ptrdiff_t>(kMaxWordSize)) {
            key.head = Load(p);
            key.tail = Load(p + 8);
        } else {
            char bytes[kMaxWordSize] = {};
            std::memcpy(bytes, p, n);
            key.head = Load(bytes);
            key.tail = Load(bytes + 8);
        }
        if (n < 8) {
            key.head &= FirstBytes(n);
            key.tail = 0;
        } else {
            key.tail &= FirstBytes(n - 8);
        }
        key.size = static_cast<std::uint32_t>(n);
        key.hash = Hash(key.head, key.tail, n);
        return true;
    }

    // What is kept of a word: its translation, that it stays as it is, or the dictionary entry
    // it is (-1: none) when its translation may depend on the class or on what follows it.
    enum class Kind : std::uint8_t { kNone, kTranslated, kUnchanged, kEntry };
    struct Outcome {
        Kind kind = Kind::kNone;
        std::string_view text;  // kTranslated
        int entry = -1;         // kEntry
    };

    // The outcome kept for the word of `key` (kind kNone when there is none). The text is valid
    // until the next Add or Clear.
    Outcome Find(const Key& key) const {
        const Slot& slot = slots_[SlotOf(key)];
        switch (slot.kind) {
        case Kind::kTranslated:
            return {slot.kind, std::string_view(texts_.data() + slot.value, slot.textSize)};
        case Kind::kEntry:
            return {slot.kind, {}, static_cast<int>(slot.value)};
        default:
            return {slot.kind, {}, -1};
        }
    }

    // Keeps the outcome of the word of `key` (not yet kept); a translation is copied. Once the
    // table holds kMaxWords words, or for a translation of more than 65,535 bytes, nothing is
    // kept.
    void Add(const Key& key, const Outcome& outcome) {
        if (outcome.kind == Kind::kNone) return;
        if (2 * (count_ + 1) > slots_.size()) {
            if (slots_.size() >= 2 * kMaxWords) return;
            Grow();
        }
        std::uint32_t value = static_cast<std::uint32_t>(outcome.entry);
        std::uint16_t textSize = 0;
        if (outcome.kind == Kind::kTranslated) {
            if (outcome.text.size() > 0xFFFF || texts_.size() > 0xFFFFFFFFu - outcome.text.size()) return;
            value = static_cast<std::uint32_t>(texts_.size());
            textSize = static_cast<std::uint16_t>(outcome.text.size());
            texts_.append(outcome.text);
        }
        Slot& slot = slots_[SlotOf(key)];
        slot.head = key.head;
        slot.tail = key.tail;
        slot.value = value;
        slot.textSize = textSize;
        slot.size = static_cast<std::uint8_t>(key.size);
        slot.kind = outcome.kind;
        ++count_;
    }

    // Forgets every word.
    void Clear() {
        slots_.assign(kInitialSlots, Slot{});
        shift_ = 64 - std::countr_zero(kInitialSlots);
        count_ = 0;
        texts_.clear();
    }

    WordMemo() { Clear(); }

private:
    static constexpr std::size_t kInitialSlots = 8192;
    static constexpr std::size_t kMaxWords = std::size_t{1} << 18;

    // Twenty-four bytes: a probe mostly touches one cache line.
    struct Slot {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::uint32_t value = 0;  // kTranslated: the text's offset in texts_; kEntry: the entry
        std::uint16_t textSize = 0;
        std::uint8_t size = 0;
        Kind kind = Kind::kNone;  // kNone: a free slot
    };

    static std::uint64_t Load(const char* p) {
        std::uint64_t value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }
    // The top bits pick the slot; a multiplication carries every bit of its input there.
    static std::uint64_t Hash(std::uint64_t head, std::uint64_t tail, std::size_t size) {
        return (head ^ std::rotl(tail * 0xC2B2AE3D27D4EB4Full + size, 31)) * 0x9E3779B97F4A7C15ull;
    }
    // The bits of the first n (0 to 8) bytes of a loaded eight-byte value.
    static constexpr std::uint64_t FirstBytes(std::size_t n) {
        if (n >= 8) return ~std::uint64_t{0};
        const std::uint64_t low = (std::uint64_t{1} << (8 * n)) - 1;
        return std::endian::native == std::endian::little ? low : ~(~std::uint64_t{0} >> (8 * n));
    }

    // The slot holding the key, or the free slot where it belongs.
    std::size_t SlotOf(const Key& key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = static_cast<std::size_t>(key.hash >> shift_);
        for (;;) {
            const Slot& slot = slots_[i];
            if (slot.kind == Kind::kNone || (slot.head == key.head && slot.tail == key.tail && slot.size == key.size))
                return i;
            i = (i + 1) & mask;
        }
    }

    void Grow() {
        std::vector<Slot> old(2 * slots_.size());
        old.swap(slots_);
        shift_ -= 1;
        for (const Slot& slot : old) {
            if (slot.kind == Kind::kNone) continue;
            Key key;
            key.head = slot.head;
            key.tail = slot.tail;
            key.size = slot.size;
            key.hash = Hash(key.head, key.tail, key.size);
            slots_[SlotOf(key)] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::string texts_;  // the translations kept, one after another
    int shift_ = 64;
    std::size_t count_ = 0;
};

}  // namespace vlp
