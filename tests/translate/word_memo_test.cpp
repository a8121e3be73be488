#include "translate/word_memo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vlp {
namespace {

using Kind = WordMemo::Kind;

WordMemo::Key KeyOf(std::string_view word) {
    WordMemo::Key key;
    EXPECT_TRUE(WordMemo::MakeKey(word, word.data() + word.size(), key)) << word;
    return key;
}

// A word of every size the memo keeps, read from buffers where different bytes follow it and
// where it ends the readable memory: the key depends on the word's bytes alone.
TEST(WordMemo, KeyDependsOnTheWordsBytesAlone) {
    for (std::size_t size = 1; size <= WordMemo::kMaxWordSize; ++size) {
        const std::string word = std::string("abcdefghijklmnop").substr(0, size);
        const std::string followedByX = word + std::string(20, 'X');
        const std::string followedByY = word + std::string(20, '\xFF');
        // Exactly as large as the word, so that reading past it would be caught by the sanitizer.
        const auto alone = std::make_unique<char[]>(size);
        std::copy(word.begin(), word.end(), alone.get());
        WordMemo::Key a;
        WordMemo::Key b;
        WordMemo::Key c;
        ASSERT_TRUE(WordMemo::MakeKey({followedByX.data(), size}, followedByX.data() + followedByX.size(), a));
        ASSERT_TRUE(WordMemo::MakeKey({followedByY.data(), size}, followedByY.data() + followedByY.size(), b));
        ASSERT_TRUE(WordMemo::MakeKey({alone.get(), size}, alone.get() + size, c));
        for (const WordMemo::Key* other : {&b, &c}) {
            EXPECT_EQ(a.head, other->head) << size;
            EXPECT_EQ(a.tail, other->tail) << size;
            EXPECT_EQ(a.hash, other->hash) << size;
            EXPECT_EQ(a.size, other->size) << size;
        }
    }
    WordMemo::Key key;
    EXPECT_FALSE(WordMemo::MakeKey("", nullptr, key));
    const std::string tooLong(WordMemo::kMaxWordSize + 1, 'a');
    EXPECT_FALSE(WordMemo::MakeKey(tooLong, tooLong.data() + tooLong.size(), key));
}

// Words that differ in one byte anywhere, or only in their size (a prefix, trailing zero
// bytes), are kept apart.
TEST(WordMemo, WordsThatDifferAnywhereAreKeptApart) {
    std::vector<std::string> words;
    for (std::size_t size = 1; size <= WordMemo::kMaxWordSize; ++size) {
        const std::string base = std::string("0123456789abcdef").substr(0, size);
        words.push_back(base);
        for (std::size_t at = 0; at < size; ++at) {
            std::string other = base;
            other[at] = static_cast<char>(0xE1);  // a byte above 0x7F
            words.push_back(other);
        }
        if (size < WordMemo::kMaxWordSize) words.push_back(base + std::string(1, '\0'));
    }
    WordMemo memo;
    for (std::size_t i = 0; i < words.size(); ++i)
        memo.Add(KeyOf(words[i]), {Kind::kTranslated, "t" + std::to_string(i), -1});
    for (std::size_t i = 0; i < words.size(); ++i) {
        const WordMemo::Outcome found = memo.Find(KeyOf(words[i]));
        ASSERT_EQ(found.kind, Kind::kTranslated) << i;
        EXPECT_EQ(found.text, "t" + std::to_string(i)) << i;
    }
}

TEST(WordMemo, KeepsEachKindOfOutcome) {
    struct Case {
        std::string word;
        WordMemo::Outcome outcome;
    };
    std::string translation = "vpred";
    const std::vector<Case> cases = {
        {"forward", {Kind::kTranslated, translation, -1}},
        {"count", {Kind::kTranslated, "", -1}},  // an empty translation is a translation
        {"42", {Kind::kUnchanged, {}, -1}},
        {"setcolour", {Kind::kAmbiguous, {}, -1}},
        {"colour", {Kind::kEntry, {}, 7}},
    };
    WordMemo memo;
    for (const Case& c : cases) memo.Add(KeyOf(c.word), c.outcome);
    translation = "XXXXX";  // the translation was copied
    memo.Add(KeyOf("ignored"), {Kind::kNone, {}, -1});
    EXPECT_EQ(memo.Find(KeyOf("ignored")).kind, Kind::kNone);
    EXPECT_EQ(memo.Find(KeyOf("Forward")).kind, Kind::kNone);  // other bytes, another word
    for (const Case& c : cases) {
        const WordMemo::Outcome found = memo.Find(KeyOf(c.word));
        EXPECT_EQ(found.kind, c.outcome.kind) << c.word;
        if (c.outcome.kind == Kind::kTranslated) {
            EXPECT_EQ(found.text, c.word == "forward" ? "vpred" : "");
        }
        if (c.outcome.kind == Kind::kEntry) {
            EXPECT_EQ(found.entry, c.outcome.entry) << c.word;
        }
    }
    memo.Clear();
    for (const Case& c : cases) EXPECT_EQ(memo.Find(KeyOf(c.word)).kind, Kind::kNone) << c.word;
}

// The table grows as words come and stops taking words at its limit, keeping what it has;
// words that share their first eight bytes share probe chains too.
TEST(WordMemo, GrowsAndStopsAtItsLimit) {
    WordMemo memo;
    const int count = 300000;
    for (int i = 0; i < count; ++i)
        memo.Add(KeyOf("sameHead" + std::to_string(i)), {Kind::kEntry, {}, i});
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        const WordMemo::Outcome found = memo.Find(KeyOf("sameHead" + std::to_string(i)));
        if (found.kind == Kind::kNone) continue;
        EXPECT_EQ(found.entry, i);
        ++kept;
    }
    EXPECT_GE(kept, 200000);
    EXPECT_LT(kept, count);
    EXPECT_EQ(memo.Find(KeyOf("sameHead0")).entry, 0);
}

}  // namespace
}  // namespace vlp
