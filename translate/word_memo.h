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

    // What is kept of a word: its translation, that it stays as it is (unmarked, or marked
    // ambiguous), or the dictionary entry it is when its translation may depend on the class or
    // on what follows it.
    enum class Kind : std::uint8_t { kNone, kTranslated, kUnchanged, kAmbiguous, kEntry };
    struct Outcome {
        Kind kind = Kind::kNone;
        std::string_view text;  // kTranslated
        int entry = -1;         // kEntry
    };

    // The outcome kept for the word of `key` (kind kNone when there is none). The text is valid
    // until the next Add or Clear.
    Outcome Find(const Key& key) const {
        const std::uint32_t word = WordAt(key);
        if (word == 0) return {Kind::kNone, {}, -1};
        const Word& kept = words_[word - 1];
        if (kept.kind == Kind::kTranslated)
            return {kept.kind, std::string_view(texts_.data() + kept.value, kept.textSize), -1};
        return {kept.kind, {}, static_cast<int>(kept.value)};
    }

    // Keeps the outcome of the word of `key` (not yet kept); a translation is copied. Once the
    // table holds kMaxWords words, or for a translation of more than 65,535 bytes, nothing is
    // kept.
    void Add(const Key& key, const Outcome& outcome) {
        if (outcome.kind == Kind::kNone || words_.size() >= kMaxWords) return;
        // At most two thirds of the slots are used.
        if (3 * (words_.size() + 1) > 2 * slots_.size()) Grow();
        std::uint32_t value = static_cast<std::uint32_t>(outcome.entry);
        std::uint16_t textSize = 0;
        if (outcome.kind == Kind::kTranslated) {
            if (outcome.text.size() > 0xFFFF || texts_.size() > 0xFFFFFFFFu - outcome.text.size()) return;
            value = static_cast<std::uint32_t>(texts_.size());
            textSize = static_cast<std::uint16_t>(outcome.text.size());
            texts_.append(outcome.text);
        }
        words_.push_back({key.head, key.tail, value, textSize, static_cast<std::uint8_t>(key.size), outcome.kind});
        slots_[FreeSlot(key.hash)] = Fingerprint(key.hash) | static_cast<std::uint32_t>(words_.size());
    }

    // Forgets every word.
    void Clear() {
        slots_.assign(kInitialSlots, 0);
        shift_ = 64 - std::countr_zero(kInitialSlots);
        words_.clear();
        texts_.clear();
    }

    WordMemo() { Clear(); }

private:
    static constexpr std::size_t kInitialSlots = 8192;
    static constexpr int kNumberBits = 18;
    static constexpr std::uint32_t kNumberMask = (std::uint32_t{1} << kNumberBits) - 1;
    static constexpr std::size_t kMaxWords = kNumberMask;

    // A word kept, in the order words were first met: the words a text uses most are mostly
    // met early, so they share few cache lines.
    struct Word {
        std::uint64_t head;
        std::uint64_t tail;
        std::uint32_t value;  // kTranslated: the text's offset in texts_; kEntry: the entry
        std::uint16_t textSize;
        std::uint8_t size;
        Kind kind;
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

    // A slot holds the word's number in words_ (from 1) in its low kNumberBits bits and a
    // fingerprint of the word's hash above them; 0 is a free slot. Four bytes a slot keep the
    // table small enough to stay in cache, and a probe compares a word's bytes only when the
    // fingerprints agree.
    static std::uint32_t Fingerprint(std::uint64_t hash) {
        return static_cast<std::uint32_t>(hash >> 8) & ~kNumberMask;
    }

    // The number of the word of `key`, or 0.
    std::uint32_t WordAt(const Key& key) const {
        const std::size_t mask = slots_.size() - 1;
        const std::uint32_t fingerprint = Fingerprint(key.hash);
        for (std::size_t i = static_cast<std::size_t>(key.hash >> shift_);; i = (i + 1) & mask) {
            const std::uint32_t slot = slots_[i];
            if (slot == 0) return 0;
            if ((slot & ~kNumberMask) != fingerprint) continue;
            const std::uint32_t number = slot & kNumberMask;
            const Word& word = words_[number - 1];
            if (word.head == key.head && word.tail == key.tail && word.size == key.size) return number;
        }
    }

    std::size_t FreeSlot(std::uint64_t hash) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = static_cast<std::size_t>(hash >> shift_);
        while (slots_[i] != 0) i = (i + 1) & mask;
        return i;
    }

    void Grow() {
        slots_.assign(2 * slots_.size(), 0);
        shift_ -= 1;
        for (std::size_t n = 0; n < words_.size(); ++n) {
            const Word& word = words_[n];
            const std::uint64_t hash = Hash(word.head, word.tail, word.size);
            slots_[FreeSlot(hash)] = Fingerprint(hash) | static_cast<std::uint32_t>(n + 1);
        }
    }

    std::vector<std::uint32_t> slots_;
    std::vector<Word> words_;
    std::string texts_;  // the translations kept, one after another
    int shift_ = 64;
};

}  // namespace vlp
