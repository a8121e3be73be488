#include "project/names_table.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <streambuf>

#include "container/io_error.h"
#include "project/section_parser.h"
#include "project/test_language.h"
#include "support/test_support.h"

namespace vlp {
namespace {

using Row = std::array<std::string, 3>;

class NamesTableTest : public ::testing::Test {
protected:
    void SetRows(std::initializer_list<Row> rows) {
        std::size_t i = 0;
        for (const Row& row : rows) ws.namesGrid.rows[i++] = row;
    }
    const std::string& Translation(std::size_t row) const { return ws.namesGrid.rows[row][2]; }

    Workspace ws = test::MakeParseWorkspace();
    test::TempDir dir;
};

TEST_F(NamesTableTest, ResetRebuildsTheClassTableAndEmptiesTheParseState) {
    TStruct s;
    ParseSection(ws, "newclass \"robot [", s);
    ParseSection(ws, "new \"net n [\r\n\tcounter 1\r\n\tfd 1", s);
    ws.language.useMediaPlayer = true;
    ws.parse.NameList[1] = {{"s", "x"}};
    ws.parse.NameTranslations[1] = {{"x", "y"}};
    ASSERT_TRUE(ws.language.useNet);

    ResetNameState(ws);
    ASSERT_EQ(ws.parse.ClassTable.size(), 24u);
    EXPECT_EQ(ws.parse.ClassTable.front(), (std::pair<std::string, std::string>{"BUTTON", "button"}));
    EXPECT_EQ(ws.parse.ClassTable[20], (std::pair<std::string, std::string>{"KORYTNACKA", "turtle"}));
    EXPECT_EQ(ws.parse.ClassTable.back(), (std::pair<std::string, std::string>{"WINDOW", "window"}));
    EXPECT_EQ(ws.parse.objectCounter, 0);
    EXPECT_TRUE(ws.parse.NameList[0].empty());
    EXPECT_TRUE(ws.parse.NameList[1].empty());
    EXPECT_TRUE(ws.parse.NameTranslations[0].empty());
    EXPECT_FALSE(ws.language.useNet);
    EXPECT_FALSE(ws.language.useMediaPlayer);
    EXPECT_EQ(ResolveClassName(ws, "robot"), "robot") << "user classes are gone";
}

TEST_F(NamesTableTest, GridStartsWithAHundredRowsAndOnlyGrows) {
    EXPECT_EQ(Workspace{}.namesGrid.rows.size(), 100u);
    for (int i = 0; i < 200; ++i) AddName(ws, 1, "s", "name" + std::to_string(1000 + i));
    FillNamesGrid(ws);
    EXPECT_EQ(ws.namesGrid.rows.size(), 205u);
    EXPECT_EQ(ws.namesGrid.rows[199], (Row{"s", "name1199", ""}));
    ws.namesGrid.rows[204][2] = "typed";

    ResetNameState(ws);
    for (const char* name : {"a", "b", "c"}) AddName(ws, 1, "g", name);
    FillNamesGrid(ws);
    ASSERT_EQ(ws.namesGrid.rows.size(), 205u);
    EXPECT_EQ(ws.namesGrid.rows[2], (Row{"g", "c", ""}));
    for (std::size_t i = 3; i < 205; ++i) EXPECT_EQ(ws.namesGrid.rows[i], Row{}) << i;
}

TEST_F(NamesTableTest, SmallProjectKeepsAHundredRows) {
    AddName(ws, 1, "s", "x");
    FillNamesGrid(ws);
    EXPECT_EQ(ws.namesGrid.rows.size(), 100u);
}

TEST_F(NamesTableTest, ApplyTakesTheGridOver) {
    SetNameTranslation(ws, 1, "FD", "*");
    SetNameTranslation(ws, 1, "keep", "*");
    SetRows({{"s", " speed ", " tempo "}, {"s", "fd", ""}, {"", "", "orphan"}, {"s", "size", ""}});
    ApplyNamesGrid(ws);
    EXPECT_EQ(ws.parse.NameTranslations[0],
              (NameTranslationRow{{"fd", "fd"}, {"keep", "*"}, {"speed", "tempo"}, {"size", "size"}}));
}

TEST_F(NamesTableTest, EqualNamesInTheGridGiveOnePairFromTheLowerRow) {
    SetRows({{"s", "Speed", "tempo"}, {"s", "SPEED", ""}});
    ApplyNamesGrid(ws);
    EXPECT_EQ(ws.parse.NameTranslations[0], (NameTranslationRow{{"SPEED", "SPEED"}}));
}

TEST_F(NamesTableTest, ApplyWithAnEmptyGridChangesNothing) {
    SetNameTranslation(ws, 1, "fd", "*");
    ApplyNamesGrid(ws);
    EXPECT_EQ(ws.parse.NameTranslations[0], (NameTranslationRow{{"fd", "*"}}));
}

TEST_F(NamesTableTest, SaveWritesRowsWithBothNameAndTranslation) {
    SetRows({{"s", "alpha", "beta"}, {"s", "only", ""}, {"", "", "orphan"}, {"g", " gamma\t", " delta "}});
    const std::string file = dir.file("names.txt");
    test::WriteFile(file, "old content that is longer than the new one\r\n");
    SaveNamesFile(ws, file);
    EXPECT_EQ(test::ReadFile(file), "alpha=beta\r\ngamma=delta\r\n");
}

TEST_F(NamesTableTest, SaveIntoAMissingFolderFailsAndLeavesNoFile) {
    SetRows({{"s", "alpha", "beta"}});
    const std::string file = dir.file("missing/names.txt");
    try {
        SaveNamesFile(ws, file);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + file);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST_F(NamesTableTest, SaveLeavesNoTemporaryFileBehind) {
    SetRows({{"s", "alpha", "beta"}});
    SaveNamesFile(ws, dir.file("names.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(NamesTableTest, SavedFileReadsBack) {
    SetRows({{"s", "alpha", "beta gamma"}, {"s", "x", "a=b"}});
    const std::string file = dir.file("names.txt");
    SaveNamesFile(ws, file);
    SetRows({{"s", "alpha", ""}, {"s", "x", ""}});
    LoadNamesFile(ws, file);
    EXPECT_EQ(Translation(0), "beta gamma");
    EXPECT_EQ(Translation(1), "a=b");
}

struct LoadCase {
    const char* name;
    std::string file;
    std::string alpha, beta;  // the translations of rows alpha and beta afterwards
};

class NamesFiles : public NamesTableTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(NamesFiles, SetTranslationsOfNamedRows) {
    SetRows({{"s", "alpha", "old"}, {"s", " beta ", ""}});
    const std::string file = dir.file("names.txt");
    test::WriteFile(file, GetParam().file);
    LoadNamesFile(ws, file);
    EXPECT_EQ(Translation(0), GetParam().alpha);
    EXPECT_EQ(Translation(1), GetParam().beta);
    EXPECT_EQ(ws.namesGrid.rows.size(), 100u) << "reading never adds rows";
    EXPECT_EQ(ws.namesGrid.rows[2], Row{});
}

INSTANTIATE_TEST_SUITE_P(
    NamesTable, NamesFiles,
    ::testing::Values(LoadCase{"Plain", "alpha=one\r\nbeta=two\r\n", "one", "two"},
                      LoadCase{"BlanksAround", "  alpha \t=  beta gamma  \r\n", "beta gamma", ""},
                      LoadCase{"FirstEqualsSplits", "alpha=b=c", "b=c", ""},
                      LoadCase{"AnyCase", "ALPHA=one", "one", ""},
                      LoadCase{"LaterLineWins", "alpha=one\r\nalpha=two\r\n", "two", ""},
                      LoadCase{"NoEquals", "alpha one\r\n", "old", ""},
                      LoadCase{"EmptyKey", "=one\r\n", "old", ""},
                      LoadCase{"EmptyValue", "alpha=  \r\n", "old", ""},
                      LoadCase{"EmptyLinesAndUnknownNames", "\r\n\r\ngamma=x\r\n\r\n", "old", ""},
                      LoadCase{"LineFeedEnds", "alpha=one\nbeta=two\n", "one", "two"},
                      LoadCase{"CarriageReturnEnds", "alpha=one\rbeta=two\r", "one", "two"},
                      LoadCase{"MixedEndsAndNoFinalEnd", "alpha=one\r\rbeta=two", "one", "two"},
                      LoadCase{"EmptyFile", "", "old", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NamesTableTest, EqualNamesInTheGridGetTheFileTranslationInTheLowerRowOnly) {
    SetRows({{"s", "alpha", ""}, {"s", "ALPHA", ""}});
    const std::string file = dir.file("names.txt");
    test::WriteFile(file, "Alpha=one\r\n");
    LoadNamesFile(ws, file);
    EXPECT_EQ(Translation(0), "");
    EXPECT_EQ(Translation(1), "one");
}

TEST_F(NamesTableTest, MissingFileReportsTheOpenError) {
    const std::string file = dir.file("none.txt");
    try {
        LoadNamesFile(ws, file);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + file);
    }
}

TEST_F(NamesTableTest, AFolderOrAPipeCannotBeOpenedAndChangesNothing) {
    SetRows({{"s", "alpha", "old"}});
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);  // opening it for reading would block
    for (const std::string& path : {dir.path().string(), dir.file("pipe")}) {
        try {
            LoadNamesFile(ws, path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
        }
        EXPECT_EQ(Translation(0), "old");
    }
}

// A stream that gives its text and then fails.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::string text) : text_(std::move(text)) {
        setg(text_.data(), text_.data(), text_.data() + text_.size());
    }

protected:
    int_type underflow() override { throw std::ios_base::failure("device error"); }

private:
    std::string text_;
};

TEST_F(NamesTableTest, ReadErrorKeepsTheRowsAlreadyChanged) {
    SetRows({{"s", "alpha", ""}, {"s", "beta", "old"}});
    FailingBuffer buffer("alpha=one\r\nbeta=t");
    std::istream stream(&buffer);
    try {
        LoadNamesStream(ws, stream);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Stream read error");
    }
    EXPECT_EQ(Translation(0), "one");
    EXPECT_EQ(Translation(1), "old") << "a line cut short by the error is not applied";
}

}  // namespace
}  // namespace vlp
