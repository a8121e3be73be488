#include "language/dictionary_dump.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "container/io_error.h"
#include "support/test_support.h"

namespace vlp {
namespace {

LanguageState StateWithWords(const std::string& programDir) {
    LanguageState state;
    state.programDir = programDir;
    state.WordTable = {
        {"fd", {{"vpred", "Move forward", "dict", "dict forward"}}, 0},
        {"set",
         {{"nastav", "Set it", "dict", "dict set"},
          {"daj", "Put it (daj d)", "param", "param set"},
          {"k", "Third", "other", "other set"}},
         2},
    };
    return state;
}

TEST(DictionaryDump, OneLinePerSenseTheWordOnlyOnTheFirst) {
    const auto state = StateWithWords("/nowhere/");
    EXPECT_EQ(DictionaryDumpText(state.WordTable),
              "fd\tvpred\tMove forward\tdict forward\r\n"
              "set\tnastav\tSet it\tdict set\r\n"
              "\tdaj\tPut it (daj d)\tparam set\r\n"
              "\tk\tThird\tother set\r\n");
}

TEST(DictionaryDump, WritesTheFileBesideTheProgram) {
    test::TempDir dir;
    const auto state = StateWithWords(dir.dirWithSeparator());
    const std::string fileName = DefaultDumpFileName(state);
    EXPECT_EQ(fileName, dir.file("dictionary.txt"));
    test::WriteFile(fileName, "an older, longer dump that is replaced whole");
    ASSERT_TRUE(DumpDictionary(state, fileName));
    EXPECT_EQ(test::ReadFile(fileName), DictionaryDumpText(state.WordTable));
    // Nothing else is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(DictionaryDump, AnEmptyWordTableWritesNothing) {
    test::TempDir dir;
    LanguageState state;
    state.programDir = dir.dirWithSeparator();
    EXPECT_FALSE(DumpDictionary(state, DefaultDumpFileName(state)));
    EXPECT_FALSE(std::filesystem::exists(DefaultDumpFileName(state)));
}

TEST(DictionaryDump, AFileThatCannotBeCreatedIsAnIoError) {
    test::TempDir dir;
    const auto state = StateWithWords(dir.dirWithSeparator());
    const std::string fileName = dir.file("missing/dictionary.txt");
    try {
        DumpDictionary(state, fileName);
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file " + fileName);
    }
}

}  // namespace
}  // namespace vlp
