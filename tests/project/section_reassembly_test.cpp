#include "project/section_reassembly.h"

#include <gtest/gtest.h>

#include "language/dictionary.h"
#include "language/property_names.h"
#include "project/project_loading.h"
#include "project/section_parts.h"
#include "project/test_language.h"
#include "support/test_support.h"

namespace vlp {
namespace {

using test::CrLf;

class ReassemblyTest : public ::testing::Test {
protected:
    ReassemblyTest() { BuildTargetPropertyNames(ws.language); }
    std::string Frame(std::vector<PartText> parts) const { return FrameSaveText(ws, parts); }

    Workspace ws = test::MakeParseWorkspace();
};

TEST(EscapeSeparators, EscapesEachSeparatorAndNothingElse) {
    for (char c : std::string_view("[] /*+-|\"\\()<>=;\xB6"))
        EXPECT_EQ(EscapeSeparators(std::string(1, c)), std::string("\\") + c)
            << int(static_cast<unsigned char>(c));
    const std::string others = "az09.,:!?'#%&{}\t\r\n\x01\xE8\xFF";
    EXPECT_EQ(EscapeSeparators(others), others);
    EXPECT_EQ(EscapeSeparators("a b|c"), "a\\ b\\|c");
    EXPECT_EQ(EscapeSeparators(""), "");
}

struct RecordCase {
    const char* name;
    std::string text;    // the definition part's text
    std::string record;  // the frame's only line, or empty for none
};

class DefinitionRecords : public ReassemblyTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(DefinitionRecords, FoldIntoOneLine) {
    const RecordCase& c = GetParam();
    const std::string expected = c.record.empty() ? "\r\n" : c.record + "\r\n\r\n";
    EXPECT_EQ(Frame({{kDefinePartKind, "turtle", c.text}}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reassembly, DefinitionRecords,
    ::testing::Values(
        RecordCase{"BarQuoted", "head square :n\r\nbody line\r\ntail",
                   "\tdefine'square |head square :n\xB6"
                   "body line\xB6tail|"},
        RecordCase{"EditorLineEndsRemoved", "to sq\r\nfd 1\r\n\r\n\r\n",
                   "\tdefine'sq |to sq\xB6"
                   "fd 1|"},
        RecordCase{"LeadingSpacesRemoved", "   to  sq\r\n  fd 1", "\tdefine'sq |to  sq\xB6  fd 1|"},
        RecordCase{"NameEndsTheText", "to square", "\tdefine'square |to square|"},
        RecordCase{"NameEndsAtLineBreak", "to sq\r\nfd 1",
                   "\tdefine'sq |to sq\xB6"
                   "fd 1|"},
        RecordCase{"NameAfterRunOfSpaces", "to    sq :n", "\tdefine'sq |to    sq :n|"},
        RecordCase{"BarInTextIsEscaped", "to a\r\nprint \"x|y", "\tdefine'a to\\ a\xB6print\\ \\\"x\\|y"},
        RecordCase{"PilcrowInTextIsEscaped", "to a [\xB6]", "\tdefine'a to\\ a\\ \\[\\\xB6\\]"},
        RecordCase{"LoneLineFeedStays", "to a b\nc", "\tdefine'a |to a b\nc|"},
        RecordCase{"NameEndsOnlyAtSpaceOrCarriageReturn", "to a\nb|c d", "\tdefine'a\nb|c to\\ a\nb\\|c\\ d"},
        RecordCase{"SingleWord", "square", ""}, RecordCase{"SingleWordAndLines", "square\r\nfd", ""},
        RecordCase{"Empty", "", ""}, RecordCase{"OnlySpaces", "     ", ""},
        RecordCase{"TrailingSpacesOfTheRecordTrimmed", "to sq x|  ", "\tdefine'sq to\\ sq\\ x\\|\\ \\"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DefiningKeyword, WithoutTargetLanguageIsTheSourceWordInLowerCase) {
    Workspace ws = test::MakeParseWorkspace();
    ws.language.SourceDictionary.pairs[FindPair(ws.language.SourceDictionary, "param define")].second =
        "ELJ\xC1R\xC1S";
    EXPECT_EQ(FrameSaveText(ws, {{kDefinePartKind, "", "to sq"}}), "\telj\xE1r\xE1s'sq |to sq|\r\n\r\n");
}

TEST_F(ReassemblyTest, DefiningKeywordComesFromTheTargetLanguageOnceOneIsLoaded) {
    InsertPair(ws.language.TargetDictionary, "param define", "Definuj urob");
    EXPECT_EQ(Frame({{kDefinePartKind, "", "to sq"}}), "\tDefinuj'sq |to sq|\r\n\r\n");
    ws.language.TargetDictionary = {};
    InsertPair(ws.language.TargetDictionary, "other end", "koniec");
    EXPECT_EQ(Frame({{kDefinePartKind, "", "to sq"}}), "\t'sq |to sq|\r\n\r\n")
        << "a target language without the entry gives an empty keyword";
}

TEST_F(ReassemblyTest, LinesLoseTrailingBlanksAndEmptyLinesVanish) {
    EXPECT_EQ(Frame({{6, "", "print 1  \t\r\n\r\n   \r\n\tprint 2\x01\r\n"}}),
              "print 1\r\n\tprint 2\r\n\r\n");
}

TEST_F(ReassemblyTest, PartsFollowEachOtherInOrder) {
    const std::string text = Frame({{1, "turtle", "new \"korytnacka k [\r\n\tcounter 1\r\n"},
                                    {1, "turtle", "\tevent'click [fd 1]\r\n"},
                                    {kDefinePartKind, "turtle", "to a\r\nfd 1"},
                                    {kDefinePartKind, "turtle", "to b"}});
    EXPECT_EQ(text, CrLf({"new \"korytnacka k [", "\tcounter 1", "\tevent'click [fd 1]",
                          "\tdefine'a |to a\xB6"
                          "fd 1|",
                          "\tdefine'b |to b|", "", ""}));
}

TEST_F(ReassemblyTest, FramesWithoutLinesGiveOneLineEnd) {
    EXPECT_EQ(Frame({}), "\r\n");
    EXPECT_EQ(Frame({{1, "", "   \r\n"}, {kDefinePartKind, "", "x"}}), "\r\n");
}

struct ObjectLineCase {
    const char* name;
    int kind;  // of the frame's first part
    std::string line;
    std::string saved;  // the saved line; a picture index line follows when expected
    std::string pictureIndex;
};

class ObjectLines : public ReassemblyTest, public ::testing::WithParamInterface<ObjectLineCase> {};

TEST_P(ObjectLines, AreRestored) {
    const ObjectLineCase& c = GetParam();
    std::string expected = "new \"korytnacka k [\r\n" + c.saved + "\r\n";
    if (!c.pictureIndex.empty()) expected += c.pictureIndex + "\r\n";
    expected += "\r\n";
    EXPECT_EQ(Frame({{c.kind, "turtle", "new \"korytnacka k [\r\n" + c.line + "\r\n"}}), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reassembly, ObjectLines,
    ::testing::Values(
        ObjectLineCase{"NameBecomesCode", 1, "\theading 90", "\t40 90", ""},
        ObjectLineCase{"AnyCase", 1, "  HEADING\t90", "  40\t90", ""},
        ObjectLineCase{"OnlyTheFirstWord", 1, "\theading heading", "\t40 heading", ""},
        ObjectLineCase{"EntryZero", 1, "\tname x", "\t0 x", ""},
        ObjectLineCase{"SharedNameTakesTheLowestCode", 1, "\txCor 5", "\t2 5", ""},
        ObjectLineCase{"NotAPropertyStays", 1, "\tcounter 5", "\tcounter 5", ""},
        ObjectLineCase{"NotObjectLike", 6, "\theading 90", "\theading 90", ""},
        ObjectLineCase{"PictureCutOut", 1, "\tpicture {image%3%}", "\t28 []", "\t[[3 0]]"},
        ObjectLineCase{"PictureRestDropped", 1, "\tpicture {image%3%} rest", "\t28 []", "\t[[3 0]]"},
        ObjectLineCase{"PictureNumberNotANumber", 1, "\tpicture {image%x%}", "\t28 []", "\t[[1 0]]"},
        ObjectLineCase{"PictureNumberTooBig", 1, "\tpicture {image%99999999999%}", "\t28 []", "\t[[1 0]]"},
        ObjectLineCase{"PictureNumberEmpty", 1, "\tpicture {image%%}", "\t28 {image%%}", ""},
        ObjectLineCase{"PictureUnclosed", 1, "\tpicture {image%3", "\t28 {image%3", ""},
        ObjectLineCase{"PictureNeedsBlankBefore", 1, "\tpicture{image%3%}", "\tpicture{image%3%}", ""},
        ObjectLineCase{"PictureInOtherSectionsStays", 6, "\tpicture {image%3%}", "\tpicture {image%3%}", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReassemblyTest, PicturesAreIndexedByTheirLineInTheFrame) {
    const std::string text =
        Frame({{1, "turtle",
                "new \"korytnacka k {image%4%}\r\n\theading 90\r\n\tpicture {image%5%}\r\n"
                "\tshown true\r\n\tbgPicture {image%7%}\r\n"}});
    EXPECT_EQ(text, CrLf({"new \"korytnacka k []", "\t40 90", "\t28 []", "\t10 true", "\t37 []",
                          "\t[[4 -1][5 1][7 3]]", "", ""}));
}

TEST_F(ReassemblyTest, EmptyTargetEntriesNameNoCode) {
    ws.language.TargetPropertyNames[40].clear();
    EXPECT_EQ(Frame({{1, "", "new \"k [\r\n\theading 90\r\n\t 5\r\n"}}),
              "new \"k [\r\n\theading 90\r\n\t 5\r\n\r\n");
}

TEST_F(ReassemblyTest, ProjectSaveTextJoinsFramesIntoBlocks) {
    std::vector<std::vector<PartText>> frames = {
        {{2, "", "; first\r\n"}}, {}, {{1, "turtle", "new \"korytnacka k [\r\n\theading 90\r\n"}}};
    const std::string text = ProjectSaveText(ws, frames);
    EXPECT_EQ(text, CrLf({"; first", "", "", "new \"korytnacka k [", "\t40 90", "", ""}));
    EXPECT_EQ(SplitBlocks(text).size(), 2u);
    EXPECT_EQ(ProjectSaveText(ws, frames), text) << "saving twice gives the same text";
}

TEST_F(ReassemblyTest, ProjectSaveTextUsesTheTargetLanguagePropertyNames) {
    InsertPair(ws.language.TargetDictionary, "dict heading", "Smer");
    InsertPair(ws.language.TargetDictionary, "param define", "definuj");
    const std::string text = ProjectSaveText(
        ws, {{{1, "turtle", "new \"korytnacka k [\r\n\tsmer 90\r\n\theading 5\r\n\tx 1\r\n"}}});
    EXPECT_EQ(text, CrLf({"new \"korytnacka k [", "\t40 90", "\theading 5", "\tx 1", "", ""}))
        << "the codes the target table leaves out stay names";
    EXPECT_EQ(ws.language.TargetPropertyNames[40], "smer");
}

TEST(SectionParts, CaptionNamesTheClass) {
    TStruct object;
    object.caption = "top object \"korytnacka k ";
    object.className = "turtle";
    EXPECT_EQ(SectionCaption(object), "top object \"korytnacka k   (turtle)");
    TStruct globals;
    globals.caption = "globals";
    globals.className = "mainwindow";
    EXPECT_EQ(SectionCaption(globals), "globals  (mainwindow)");
    TStruct comment;
    comment.caption = "comment";
    EXPECT_EQ(SectionCaption(comment), "comment");
    EXPECT_EQ(SectionCaption(TStruct{}), "");
}

TEST(SectionParts, OnePartPerNonEmptyText) {
    TStruct s;
    s.kind = 1;
    s.className = "turtle";
    s.headText = "new \"k [\r\n";
    s.propertyText = "\theading 90\r\n";
    s.variableText = "\tx 1\r\n";
    s.eventText = "\tevent'click []\r\n";
    s.defineTexts = {"to a", "", "to b"};
    const auto parts = SectionParts(s);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].text, "new \"k [\r\n\theading 90\r\n\tx 1\r\n");
    EXPECT_EQ(parts[1].text, "\tevent'click []\r\n");
    EXPECT_EQ(parts[2].text, "to a");
    EXPECT_EQ(parts[3].text, "to b");
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].kind, i < 2 ? 1 : kDefinePartKind);
        EXPECT_EQ(parts[i].className, "turtle");
    }
    s.eventText.clear();
    s.defineTexts.clear();
    EXPECT_EQ(SectionParts(s).size(), 1u);
    EXPECT_TRUE(SectionParts(TStruct{}).empty());
}

}  // namespace
}  // namespace vlp
