#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "container/io_error.h"
#include "language/byte_order.h"
#include "language/dictionary.h"
#include "support/language_folder.h"

namespace vlp {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;
using test::LanguageFolder;

TEST(InsertPair, KeepsKeysSortedAndEqualKeysInInsertionOrder) {
    ttab table;
    InsertPair(table, "dict b", "1");
    InsertPair(table, "  DICT A \t", "  2  ");
    InsertPair(table, "dict b", "3");
    InsertPair(table, "dict \xC1", "4");  // Á sorts after the ASCII letters, and stays a capital
    InsertPair(table, "dict", "5");
    InsertPair(table, "dict b", "6");
    EXPECT_EQ(table.pairs, (Pairs{{"dict", "5"},
                                  {"dict a", "2"},
                                  {"dict b", "1"},
                                  {"dict b", "3"},
                                  {"dict b", "6"},
                                  {"dict \xC1", "4"}}));
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// The tables are sorted with a word-at-a-time comparison; it must order as std::string does.
TEST(CompareBytes, OrdersAsStdString) {
    std::mt19937 random(7);
    const std::string alphabet = std::string("ab\x80\xFF\x00 z", 7);
    for (int i = 0; i < 20000; ++i) {
        std::string a, b;
        const auto common = random() % 20;
        for (std::size_t k = 0; k < common; ++k) a += alphabet[random() % alphabet.size()];
        b = a;
        for (auto k = random() % 3; k > 0; --k) a += alphabet[random() % alphabet.size()];
        for (auto k = random() % 3; k > 0; --k) b += alphabet[random() % alphabet.size()];
        ASSERT_EQ(Sign(CompareBytes(a, b)), Sign(a.compare(b))) << i;
    }
}

TEST(StableByteOrder, SortsAsStableSortOfStrings) {
    std::mt19937 random(11);
    // Long shared beginnings, NUL bytes and high bytes: the cases the sixteen-byte prefix misses.
    const std::string stems[] = {"",    "ab", std::string("ab\0", 3), "dict item", "dict itemmmmmmmmmmmmmm",
                                 "\xFF"};
    for (int round = 0; round < 50; ++round) {
        std::vector<std::string> keys;
        for (int i = 0; i < 200; ++i) {
            std::string key = stems[random() % std::size(stems)];
            for (auto k = random() % 3; k > 0; --k) key += static_cast<char>("a\0\x80z"[random() % 4]);
            keys.push_back(key);
        }
        std::vector<std::size_t> expected(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) expected[i] = i;
        std::stable_sort(expected.begin(), expected.end(), [&](auto a, auto b) { return keys[a] < keys[b]; });
        const auto order =
            StableByteOrder(keys.size(), [&](std::size_t i) -> std::string_view { return keys[i]; });
        ASSERT_EQ(order, expected) << round;
    }
}

TEST(FindPair, LowersButDoesNotTrimTheKey) {
    ttab table;
    for (const char* key : {"dict a", "dict b", "dict c", "other end"}) InsertPair(table, key, "v");
    const std::pair<const char*, int> rows[] = {
        {"dict a", 0},   {"DICT B", 1}, {"other end", 3}, {" dict a", -1},
        {"dict a ", -1}, {"", -1},      {"dict", -1},
    };
    for (const auto& [key, index] : rows) EXPECT_EQ(FindPair(table, key), index) << key;
    EXPECT_EQ(FindPair(ttab{}, "dict a"), -1);
}

// compare.tab is loaded with the source language; an empty source file is enough here.
Pairs LoadCompareTable(std::initializer_list<std::string_view> lines) {
    LanguageFolder folder;
    folder.compareTab(lines).file("src.ldi", {});
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    LoadSourceLanguage(state);
    return state.CompareTable.pairs;
}

struct CompareRow {
    const char* what;
    std::initializer_list<std::string_view> lines;
    Pairs expected;
};

TEST(CompareTable, ReadsKeyAndDescriptionAndSkipsWhatIsNotAnItem) {
    const CompareRow rows[] = {
        {"key and description trimmed, key lowered",
         {"  DICT Make  |  Make a variable  "},
         {{"dict make", "Make a variable"}}},
        {"the description may hold further bars", {"dict a|one|two"}, {{"dict a", "one|two"}}},
        {"a line without a bar", {"dict make Make a variable", "dict a|A"}, {{"dict a", "A"}}},
        {"text and prefix lines", {"text hello|Hello", "prefix re|Re", "dict a|A"}, {{"dict a", "A"}}},
        {"indented text line", {"    text hello|Hello", "\tprefix re|Re"}, {}},
        {"text and prefix only in lower case with the blank",
         {"Text hello|Hello", "textual x|X", "prefix|P"},
         {{"prefix", "P"}, {"text hello", "Hello"}, {"textual x", "X"}}},
        {"email descriptions in any case", {"dict a|email", "dict b|EMAIL address", "dict c|eMail"}, {}},
        {"email after a blank is loaded", {"dict a| email"}, {{"dict a", "email"}}},
        {"a key listed twice is loaded twice",
         {"dict a|first", "dict b|B", "dict a|second"},
         {{"dict a", "first"}, {"dict a", "second"}, {"dict b", "B"}}},
        {"byte order",
         {"dict \xE1|accented", "dict b|B", "dict a|A"},
         {{"dict a", "A"}, {"dict b", "B"}, {"dict \xE1", "accented"}}},
        {"blank lines, LF only lines", {"", "dict a|A\ndict b|B"}, {{"dict a", "A"}, {"dict b", "B"}}},
    };
    for (const auto& row : rows) EXPECT_EQ(LoadCompareTable(row.lines), row.expected) << row.what;
}

TEST(CompareTable, MissingFileIsAnIoErrorAndLeavesWordTableEmpty) {
    LanguageFolder folder;
    folder.file("src.ldi", {});
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    state.WordTable.push_back({"old", {{"t", "d", "dict", "dict old"}}, 0});
    try {
        LoadSourceLanguage(state);
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + folder.path("compare.tab"));
    }
    EXPECT_TRUE(state.WordTable.empty());
}

TEST(SourceDictionary, MissingSourceFileIsAnIoError) {
    LanguageFolder folder;
    folder.compareTab({"dict a|A"});
    auto state = folder.State();
    state.sourceLanguageFile = "none.ldi";
    EXPECT_THROW(LoadSourceLanguage(state), IoError);
    EXPECT_EQ(state.CompareTable.size(), 1u);
}

}  // namespace
}  // namespace vlp
