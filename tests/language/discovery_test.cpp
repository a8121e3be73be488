#include "language/discovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "container/io_error.h"
#include "support/language_folder.h"

namespace vlp {
namespace {

using test::LanguageFolder;

struct NameRow {
    const char* what;
    std::initializer_list<std::string_view> lines;
    const char* expected;
};

TEST(ReadLanguageName, RecognisesOnlyTheExactSystemHeaderAndKey) {
    const NameRow rows[] = {
        {"plain", {"[system]", "language=english"}, "english"},
        {"header with a capital", {"[System]", "language=english"}, ""},
        {"header followed by a blank", {"[system] ", "language=english"}, ""},
        {"key with a capital", {"[system]", "Language=english"}, ""},
        {"key with a blank before =", {"[system]", "language =english"}, ""},
        {"name lowered, ASCII only", {"[system]", "language=SLOVEN\xC8INA"}, "sloven\xC8ina"},
        {"trailing blanks kept", {"[system]", "language=english  "}, "english  "},
        {"indented, blank lines between", {"   [system]", "", "\t  language=english"}, "english"},
        {"before [system]", {"language=english", "[system]"}, ""},
        {"in another section", {"[system]", "[dict]", "language=english"}, ""},
        {"after a later [system]", {"[dict]", "language=x", "[system]", "language=english"}, "english"},
        {"back in [system] after another",
         {"[system]", "[dict]", "language=x", "[system]", "language=y"},
         "y"},
        {"first key wins", {"[system]", "language=one", "language=two"}, "one"},
        {"empty name", {"[system]", "language="}, ""},
        {"only the text after the first =", {"[system]", "language=a=b"}, "a=b"},
        {"no system section", {"[dict]", "make=make"}, ""},
    };
    for (const auto& row : rows) {
        LanguageFolder folder;
        folder.file("x.ldi", row.lines);
        EXPECT_EQ(ReadLanguageName(folder.State(), "x.ldi"), row.expected) << row.what;
    }
}

TEST(ReadLanguageName, LineEndsAreLfOrCrLfOnly) {
    LanguageFolder folder;
    test::WriteFile(folder.path("lf.ldi"), "[system]\nlanguage=lf\n");
    test::WriteFile(folder.path("cr.ldi"), "[system]\rlanguage=cr\r");
    test::WriteFile(folder.path("end.ldi"), "[system]\r\nlanguage=end\r");
    const auto state = folder.State();
    EXPECT_EQ(ReadLanguageName(state, "lf.ldi"), "lf");
    // A lone CR does not end a line: "[system]\rlanguage=cr" is no header.
    EXPECT_EQ(ReadLanguageName(state, "cr.ldi"), "");
    EXPECT_EQ(ReadLanguageName(state, "end.ldi"), "end");
}

TEST(ReadLanguageName, MissingFileIsAnIoError) {
    LanguageFolder folder;
    try {
        ReadLanguageName(folder.State(), "none.ldi");
        FAIL() << "no error";
    } catch (const IoError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + folder.path("none.ldi"));
    }
}

struct DiscoveredFile {
    const char* fileName;
    const char* language;  // nullptr: a file naming no language
};

struct DiscoveryRow {
    const char* what;
    std::vector<DiscoveredFile> files;
    std::vector<LanguageInfo> expected;
};

void WriteLanguageFile(LanguageFolder& folder, const DiscoveredFile& file) {
    if (file.language)
        folder.file(file.fileName, {"[system]", std::string("language=") + file.language});
    else
        folder.file(file.fileName, {"[dict]", "make=make"});
}

TEST(DiscoverLanguages, ListsLanguagesInByteOrderOfFileNames) {
    const DiscoveryRow rows[] = {
        {"byte order, not case-insensitive order",
         {{"b.ldi", "bee"}, {"a.ldi", "aa"}, {"B.ldi", "capital"}, {"_u.ldi", "underscore"}},
         {{"capital", "B.ldi"}, {"underscore", "_u.ldi"}, {"aa", "a.ldi"}, {"bee", "b.ldi"}}},
        {"the file listed first keeps a name", {{"z.ldi", "same"}, {"m.ldi", "same"}}, {{"same", "m.ldi"}}},
        {"names compared exactly after lowering",
         {{"a.ldi", "Same"}, {"b.ldi", "same "}},
         {{"same", "a.ldi"}, {"same ", "b.ldi"}}},
        {"files naming no language are skipped", {{"a.ldi", nullptr}, {"b.ldi", "bee"}}, {{"bee", "b.ldi"}}},
        {"other extensions are not dictionaries",
         {{"a.txt", "aa"}, {"b.ldi.bak", "bb"}, {"c.ldi", "cc"}},
         {{"cc", "c.ldi"}}},
        {"the extension in capitals counts", {{"A.LDI", "aa"}}, {{"aa", "A.LDI"}}},
        {"no dictionary at all", {{"compare.tab", nullptr}}, {}},
    };
    for (const auto& row : rows) {
        LanguageFolder folder;
        for (const auto& file : row.files) WriteLanguageFile(folder, file);
        auto state = folder.State();
        LanguageButtons buttons;
        DiscoverLanguages(state, buttons);
        ASSERT_EQ(state.LanguageList.size(), row.expected.size()) << row.what;
        for (std::size_t k = 0; k < row.expected.size(); ++k) {
            EXPECT_EQ(state.LanguageList[k].name, row.expected[k].name) << row.what;
            EXPECT_EQ(state.LanguageList[k].fileName, row.expected[k].fileName) << row.what;
        }
    }
}

TEST(DiscoverLanguages, ShowsAndCaptionsTheButtonOfEachLanguage) {
    LanguageFolder folder;
    WriteLanguageFile(folder, {"a.ldi", "english"});
    WriteLanguageFile(folder, {"b.ldi", "slovak"});
    auto state = folder.State();
    LanguageButtons buttons;
    DiscoverLanguages(state, buttons);
    EXPECT_EQ(buttons.buttons[0].caption, "english");
    EXPECT_EQ(buttons.buttons[1].caption, "slovak");
    EXPECT_TRUE(buttons.buttons[1].visible);
    // Buttons beyond the languages stay as the window laid them out.
    EXPECT_EQ(buttons.buttons[2].caption, "...");
    EXPECT_TRUE(buttons.buttons[4].visible);
    EXPECT_FALSE(buttons.buttons[5].visible);
}

TEST(DiscoverLanguages, WithoutDictionariesTouchesNoButton) {
    LanguageFolder folder;
    auto state = folder.State();
    LanguageButtons buttons;
    const LanguageButtons before = buttons;
    DiscoverLanguages(state, buttons);
    EXPECT_TRUE(state.LanguageList.empty());
    for (int k = 0; k < kLanguageButtonCount; ++k) {
        EXPECT_EQ(buttons.buttons[k].caption, before.buttons[k].caption);
        EXPECT_EQ(buttons.buttons[k].visible, before.buttons[k].visible);
    }
}

TEST(DiscoverLanguages, AnEighthLanguageIsIgnored) {
    LanguageFolder folder;
    const char* names[] = {"l1", "l2", "l3", "l4", "l5", "l6", "l7", "l8"};
    for (const char* name : names) WriteLanguageFile(folder, {(std::string(name) + ".ldi").c_str(), name});
    auto state = folder.State();
    LanguageButtons buttons;
    DiscoverLanguages(state, buttons);
    ASSERT_EQ(state.LanguageList.size(), 7u);
    EXPECT_EQ(state.LanguageList.back().name, "l7");
    EXPECT_TRUE(buttons.buttons[6].visible);
    EXPECT_EQ(buttons.buttons[6].caption, "l7");
}

TEST(DiscoverLanguages, AFolderNamedLikeADictionaryIsSkipped) {
    LanguageFolder folder;
    std::filesystem::create_directory(folder.path("a.ldi"));
    WriteLanguageFile(folder, {"b.ldi", "bee"});
    auto state = folder.State();
    LanguageButtons buttons;
    DiscoverLanguages(state, buttons);
    ASSERT_EQ(state.LanguageList.size(), 1u);
    EXPECT_EQ(state.LanguageList[0].fileName, "b.ldi");
}

TEST(DiscoverLanguages, ALinkToNothingOrAPipeNamedLikeADictionaryIsSkipped) {
    LanguageFolder folder;
    std::filesystem::create_symlink(folder.path("missing"), folder.path("a.ldi"));
    ASSERT_EQ(mkfifo(folder.path("c.ldi").c_str(), 0600), 0);  // opening it for reading would block
    WriteLanguageFile(folder, {"b.ldi", "bee"});
    std::filesystem::create_symlink(folder.path("b.ldi"), folder.path("d.ldi"));
    auto state = folder.State();
    LanguageButtons buttons;
    DiscoverLanguages(state, buttons);
    ASSERT_EQ(state.LanguageList.size(), 1u);
    EXPECT_EQ(state.LanguageList[0].fileName, "b.ldi");  // d.ldi names the same language
}

}  // namespace
}  // namespace vlp
