#include "language/word_table_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "language/dictionary.h"

namespace vlp {
namespace {

// The loader builds WordTable through WordTableBuilder; it must give exactly what AddSense and
// FindSenseOwner give on the sorted table, including the answers along the way.
TEST(WordTableBuilder, MatchesTheSortedTableOperations) {
    const char* words[] = {"a",    "b",      "B",   "ab", "\xC8\x41S", "\xE8\x61s",
                           "zeta", " a  b ", "b a", "",   "x y z"};
    // Enough keys for a word to collect more senses than the builder checks one by one.
    const char* keys[] = {"dict a", "dict b", "param a", "colors c", "dict seta", "dict f", "dict g",
                          "dict h", "dict i", "dict j",  "dict k",   "dict l",    "dict m"};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        LanguageState state;
        state.WordTable.push_back({"m", {{"t", "d", "dict", "dict b"}}, 1});  // a table that is not empty
        WordTableBuilder builder(state.WordTable);
        for (int step = 0; step < 600; ++step) {
            const std::string key = keys[random() % std::size(keys)];
            if (random() % 4 == 0) {
                const int owner = FindSenseOwner(state, key);
                const auto sense = builder.FindSenseOwner(key);
                ASSERT_EQ(owner >= 0, sense.has_value()) << seed << " " << step;
                if (sense) {
                    EXPECT_EQ(sense->target,
                              state.WordTable[static_cast<std::size_t>(owner)].senses[0].target);
                }
                continue;
            }
            const std::string w = words[random() % std::size(words)];
            const std::string target = "t" + std::to_string(step);
            ASSERT_EQ(AddSense(state, w, target, "d", "dict", key),
                      builder.AddSense(w, target, "d", "dict", key))
                << seed << " " << step;
        }
        const auto built = std::move(builder).Finish();
        std::size_t mostSenses = 0;
        for (const auto& entry : built) mostSenses = std::max(mostSenses, entry.senses.size());
        EXPECT_GT(mostSenses, 8u);
        ASSERT_EQ(built.size(), state.WordTable.size());
        for (std::size_t i = 0; i < built.size(); ++i) {
            EXPECT_EQ(built[i].word, state.WordTable[i].word);
            EXPECT_EQ(built[i].chosenSense, state.WordTable[i].chosenSense);
            ASSERT_EQ(built[i].senses.size(), state.WordTable[i].senses.size());
            for (std::size_t s = 0; s < built[i].senses.size(); ++s) {
                EXPECT_EQ(built[i].senses[s].target, state.WordTable[i].senses[s].target);
                EXPECT_EQ(built[i].senses[s].key, state.WordTable[i].senses[s].key);
            }
        }
    }
}

TEST(AddSense, StopsAtAWordThatAlreadyHasTheKey) {
    LanguageState state;
    EXPECT_FALSE(AddSense(state, "Alpha", "alfa", "A", "dict", "dict a"));
    EXPECT_TRUE(AddSense(state, "beta ALPHA gamma", "x", "X", "dict", "dict a"));
    // beta was added before alpha stopped the walk; gamma was not.
    ASSERT_EQ(state.WordTable.size(), 2u);
    EXPECT_EQ(state.WordTable[0].word, "alpha");
    EXPECT_EQ(state.WordTable[0].senses.size(), 1u);
    EXPECT_EQ(state.WordTable[1].word, "beta");
    EXPECT_FALSE(AddSense(state, "   ", "x", "X", "dict", "dict z"));
    EXPECT_EQ(state.WordTable.size(), 2u);
}

TEST(FindSenseOwner, TheLastEntryWhoseFirstSenseHasTheKey) {
    LanguageState state;
    AddSense(state, "a", "1", "", "dict", "dict p");
    AddSense(state, "c", "2", "", "dict", "dict p");
    AddSense(state, "b", "3", "", "dict", "dict q");
    AddSense(state, "b", "4", "", "dict", "dict p");  // a second sense does not count
    EXPECT_EQ(FindSenseOwner(state, "DICT P"), 2);
    EXPECT_EQ(FindSenseOwner(state, "dict q"), 1);
    EXPECT_EQ(FindSenseOwner(state, "dict r"), -1);
}

}  // namespace
}  // namespace vlp
