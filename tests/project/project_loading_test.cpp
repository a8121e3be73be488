#include "project/project_loading.h"

#include <gtest/gtest.h>

#include "container/io_error.h"
#include "language/dictionary.h"
#include "project/test_language.h"
#include "support/test_support.h"

namespace vlp {
namespace {

using test::ContainerBuilder;

struct SplitCase {
    const char* name;
    std::string text;
    TArrayString blocks;
};

class Blocks : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Blocks, AreRunsOfNonEmptyLines) {
    EXPECT_EQ(SplitBlocks(GetParam().text), GetParam().blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Loading, Blocks,
    ::testing::Values(SplitCase{"SeveralEmptyLinesSeparateOnce", "a\r\n\r\n\r\nb", {"a", "b"}},
                      SplitCase{"BareCarriageReturnEndsALine", "a\rb\nc", {"a\r\nb\nc"}},
                      SplitCase{"BareLineFeedIsNoLineEnd", "a\n\nb", {"a\n\nb"}},
                      SplitCase{"MixedLineEnds", "a\r\nb\r\rc\r\n", {"a\r\nb", "c"}},
                      SplitCase{"LastLineWithoutLineEnd", "a\r\nb", {"a\r\nb"}},
                      SplitCase{"OnlyLineEnds", "\r\n\r\r\n\r", {}}, SplitCase{"Empty", "", {}},
                      SplitCase{"BlankLineDoesNotSeparate", "a\r\n \r\nb", {"a\r\n \r\nb"}},
                      SplitCase{"TabLineDoesNotSeparate", "a\r\n\t\r\nb", {"a\r\n\t\r\nb"}},
                      SplitCase{"LeadingEmptyLines", "\r\n\r\na\r\nb\r\n\r\n", {"a\r\nb"}},
                      SplitCase{"LineFeedBeforeLineEnd", "a\n\r\nb", {"a\n\r\nb"}}),
    [](const auto& info) { return std::string(info.param.name); });

std::string Project(std::string_view language, std::string_view text) {
    return ContainerBuilder("05").chunk("LA 1", language).chunk("TX 1", text).bytes();
}

class LoadProjectTest : public ::testing::Test {
protected:
    LoadProjectTest() {
        test::WriteFile(dir.file("compare.tab"), test::TestCompareTable());
        test::WriteFile(dir.file("english.ldi"), test::TestLanguageFile("english"));
        test::WriteFile(dir.file("testish.ldi"), test::TestLanguageFile("testish"));
        ws.language.programDir = dir.dirWithSeparator();
        ws.language.LanguageList = {{"english", "english.ldi"}, {"testish", "testish.ldi"}};
    }

    TArrayString Load(const std::string& bytes) {
        const std::string file = dir.file("project.vlp");
        test::WriteFile(file, bytes);
        return LoadProject(ws, file, reporter);
    }

    Workspace ws;
    test::TempDir dir;
    test::RecordingReporter reporter;
};

TEST_F(LoadProjectTest, LoadsTheProjectLanguageAndCutsTheText) {
    ws.language.targetLanguageFile = "english.ldi";
    const TArrayString blocks = Load(Project("testish", "new \"korytnacka k [\r\n\t40 90\r\n\r\n; end\r\n"));
    EXPECT_EQ(blocks, (TArrayString{"new \"korytnacka k [\r\n\t40 90", "; end"}));
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(ws.project.projectLanguage, "testish");
    EXPECT_EQ(ws.project.saveLanguage, "testish");
    EXPECT_EQ(ws.language.sourceLanguageFile, "testish.ldi");
    EXPECT_EQ(ws.language.targetLanguageFile, "");
    EXPECT_EQ(SourceWord(ws.language, "class turtle"), "KORYTNACKA");
    EXPECT_EQ(ws.language.SourcePropertyNames[132], "objname");
    EXPECT_TRUE(ws.buttons.buttons[0].enabled);
    EXPECT_FALSE(ws.buttons.buttons[1].enabled) << "the project's own language is no target";
}

TEST_F(LoadProjectTest, ContainerWithoutLanguageIsEnglish) {
    const TArrayString blocks = Load(ContainerBuilder("04").chunk("TX 1", "print 1").bytes());
    EXPECT_EQ(blocks, (TArrayString{"print 1"}));
    EXPECT_EQ(ws.project.projectLanguage, "english");
    EXPECT_EQ(ws.language.sourceLanguageFile, "english.ldi");
    EXPECT_FALSE(ws.buttons.buttons[0].enabled);
}

struct RefusedCase {
    const char* name;
    std::string bytes;
    std::string message;
};

class RefusedProjects : public LoadProjectTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedProjects, ReportAndLoadNothing) {
    ws.language.LanguageList = {{"testish", "testish.ldi"}};
    ws.project.saveLanguage = "before";
    EXPECT_TRUE(Load(GetParam().bytes).empty());
    EXPECT_EQ(reporter.messages, (std::vector<std::string>{GetParam().message}));
    EXPECT_TRUE(ws.language.SourceDictionary.empty()) << "no dictionary is loaded";
    EXPECT_EQ(ws.project.saveLanguage, "before");
    EXPECT_EQ(ws.language.sourceLanguageFile, "");
}

INSTANTIATE_TEST_SUITE_P(
    Loading, RefusedProjects,
    ::testing::Values(
        RefusedCase{"PlainText", "new \"korytnacka k [\r\n", "wrong VLP file"},
        RefusedCase{"ShortFile", "LGF", "wrong VLP file"},
        RefusedCase{"UnknownLanguage", Project("klingon", "print 1"), "unknown language <klingon>"},
        RefusedCase{"LanguageInOtherCase", Project("Testish", "print 1"), "unknown language <Testish>"},
        RefusedCase{"NoLanguageAndNoEnglish", ContainerBuilder("04").chunk("TX 1", "x").bytes(),
                    "unknown language <english>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadProjectTest, EmptyTextLoadsNothingWithoutAMessage) {
    ws.project.saveLanguage = "before";
    EXPECT_TRUE(Load(Project("testish", "")).empty());
    EXPECT_TRUE(Load(ContainerBuilder("05").chunk("LA 1", "testish").bytes()).empty());
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(ws.language.SourceDictionary.empty());
    EXPECT_EQ(ws.project.saveLanguage, "before");
    EXPECT_TRUE(ws.buttons.buttons[1].enabled);
}

TEST_F(LoadProjectTest, ALaterProjectResetsTheButtons) {
    Load(Project("testish", "print 1"));
    ws.buttons.buttons[0].down = true;
    ws.buttons.buttons[0].visible = false;
    ws.buttons.buttons[5].down = true;  // beyond the languages: left as it is
    Load(Project("english", "print 1"));
    EXPECT_TRUE(ws.buttons.buttons[1].enabled);
    EXPECT_TRUE(ws.buttons.buttons[1].visible);
    EXPECT_FALSE(ws.buttons.buttons[0].enabled);
    EXPECT_TRUE(ws.buttons.buttons[0].visible);
    EXPECT_FALSE(ws.buttons.buttons[0].down);
    EXPECT_TRUE(ws.buttons.buttons[5].down);
}

TEST_F(LoadProjectTest, TheLastEntryOfALanguageWins) {
    test::WriteFile(dir.file("testish2.ldi"), test::TestLanguageFile("testish"));
    ws.language.LanguageList.push_back({"testish", "testish2.ldi"});
    Load(Project("testish", "print 1"));
    EXPECT_EQ(ws.language.sourceLanguageFile, "testish2.ldi");
    EXPECT_TRUE(ws.buttons.buttons[1].enabled);
    EXPECT_FALSE(ws.buttons.buttons[2].enabled);
}

TEST_F(LoadProjectTest, MissingFileRaisesTheOpenErrorAfterResettingTheButtons) {
    ws.buttons.buttons[1].enabled = false;
    const std::string file = dir.file("none.vlp");
    try {
        LoadProject(ws, file, reporter);
        FAIL() << "no error";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + file);
    }
    EXPECT_TRUE(ws.buttons.buttons[1].enabled);
    EXPECT_EQ(ws.project.projectLanguage, "*");
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(LoadProjectTest, DamagedContainerRaisesTheReadError) {
    const std::string bytes = ContainerBuilder("05").rawChunk("TX 1", 1000, "short").bytes();
    EXPECT_THROW(Load(bytes), IoError);
}

TEST_F(LoadProjectTest, MissingDictionaryRaisesItsError) {
    ws.language.LanguageList.push_back({"ghost", "ghost.ldi"});
    ws.project.saveLanguage = "before";
    EXPECT_THROW(Load(Project("ghost", "print 1")), IoError);
    EXPECT_EQ(ws.project.saveLanguage, "before");
}

}  // namespace
}  // namespace vlp
