#include "project/section_parser.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "language/dictionary.h"
#include "project/names_table.h"
#include "project/test_language.h"
#include "support/test_support.h"

namespace vlp {
namespace {

using test::CrLf;

class ParserTest : public ::testing::Test {
protected:
    TStruct Parse(std::string_view block) {
        TStruct section;
        ParseSection(ws, block, section);
        return section;
    }
    const T2ArrayString& Names() const { return ws.parse.NameList[0]; }

    Workspace ws = test::MakeParseWorkspace();
};

struct KindCase {
    const char* name;
    std::string block;
    int kind;
    std::string caption;
    std::string className;
    int objectsCounted;
};

class SectionKinds : public ParserTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(SectionKinds, FirstLineDecidesKindCaptionAndClass) {
    const KindCase& c = GetParam();
    const TStruct s = Parse(c.block);
    EXPECT_EQ(s.kind, c.kind);
    EXPECT_EQ(s.caption, c.caption);
    EXPECT_EQ(s.className, c.className);
    EXPECT_EQ(ws.parse.objectCounter, c.objectsCounted);
}

INSTANTIATE_TEST_SUITE_P(
    Parser, SectionKinds,
    ::testing::Values(
        KindCase{"TopObject", "new \"korytnacka k1 [", 1, "top object \"korytnacka k1 ", "turtle", 1},
        KindCase{"TopObjectInCapitals", "NEW \"KORYTNACKA k1 [", 1, "top object \"KORYTNACKA k1 ", "turtle",
                 1},
        KindCase{"NumberedObject", "#12'new \"button b1 [", 1, "new object \"button b1 ", "button", 1},
        KindCase{"NumberedObjectNumberZero", "#0'new \"page p [", 1, "new object \"page p ", "page", 1},
        KindCase{"HashWithoutNumber", "#'new \"button b1 [", 6, "...", "", 0},
        KindCase{"HashWithLetters", "#a'new \"button b1 [", 6, "...", "", 0},
        KindCase{"HashWithHugeNumber", "#99999999999'new \"button b1 [", 6, "...", "", 0},
        KindCase{"KeywordWithoutBlankAndQuote", "new\"button b1 [", 6, "...", "", 0},
        KindCase{"Globals", "setstate [", 1, "globals", "mainwindow", 0},
        KindCase{"NewClass", "newclass \"shape korytnacka [", 1, "new class \"shape korytnacka ", "shape", 1},
        KindCase{"Comment", "; new \"korytnacka k [", 2, "comment", "", 0},
        KindCase{"SaveOptions", "setSaveOptions [1 2]", 3, "save options", "", 0},
        KindCase{"GlobalVariables", "make \"speed 10", 4, "global variables", "", 0},
        KindCase{"PropertyList", "setplist \"colours [red 1]", 5, "property \"colours", "", 0},
        KindCase{"PropertyListWithoutBlank", "setplist \"colours", 5, "property ", "", 0},
        KindCase{"Anything", "print \"hello", 6, "...", "", 0},
        KindCase{"UnknownClassIsItsOwnName", "new \"robot r [", 1, "top object \"robot r ", "robot", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserTest, HeaderWithoutBracketIsNotSplitAndCaptionDropsLastCharacter) {
    const TStruct s = Parse("new \"korytnacka k1");
    EXPECT_EQ(s.caption, "top object \"korytnacka k");
    EXPECT_EQ(s.headText, "new \"korytnacka k1\r\n");
    EXPECT_EQ(s.propertyText, "");
}

TEST_F(ParserTest, HeaderWithSettingsAfterBracketIsSplitIntoTwoLines) {
    const TStruct s = Parse(CrLf({"new \"korytnacka k1 [40 90", "\t10 true"}));
    EXPECT_EQ(s.caption, "top object \"korytnacka k1 ");
    EXPECT_EQ(s.headText, "new \"korytnacka k1 [\r\n");
    EXPECT_EQ(s.propertyText, "\theading 90\r\n\tshown true\r\n");
}

TEST_F(ParserTest, GlobalsHeaderIsNeverSplit) {
    const TStruct s = Parse("setstate [40 90");
    EXPECT_EQ(s.headText, "setstate [40 90\r\n");
    EXPECT_EQ(s.propertyText, "");
}

TEST_F(ParserTest, CommentKeepsEveryLineAndCollectsNoName) {
    const std::string block = CrLf({"; notes", "\t132 k1", "make \"x 1", "  trailing  "});
    const TStruct s = Parse(block);
    EXPECT_EQ(s.headText, block + "\r\n");
    EXPECT_TRUE(Names().empty());
}

TEST_F(ParserTest, EmptyPiecesOfTheBlockAreDropped) {
    const TStruct s = Parse("print 1\r\n\r\n\r\nprint 2\r\n");
    EXPECT_EQ(s.headText, "print 1\r\nprint 2\r\n");
}

TEST_F(ParserTest, SectionRecordIsFilledAfresh) {
    TStruct s;
    s.defineTexts = {"old"};
    s.eventText = "old\r\n";
    ParseSection(ws, "print 1", s);
    EXPECT_TRUE(s.defineTexts.empty());
    EXPECT_EQ(s.eventText, "");
}

TEST_F(ParserTest, GlobalVariablesCollectAGNameFromEveryLine) {
    Parse(CrLf({"make \"speed 10", "make \"size 2", "make \"nothing", "count 3"}));
    EXPECT_EQ(Names(), (T2ArrayString{{"g", "count"}, {"g", "size"}, {"g", "speed"}}));
}

struct ImageCase {
    const char* name;
    std::string imageList;
    std::string properties;  // the property text that results
};

class ImageLists : public ParserTest, public ::testing::WithParamInterface<ImageCase> {};

// Lines after the header: 0 heading, 1 pos, 2 picture, 3 shown, 4 bgPicture, then the list.
TEST_P(ImageLists, GroupsMarkTheLinesTheyPointTo) {
    const ImageCase& c = GetParam();
    const TStruct s = Parse(
        CrLf({"new \"korytnacka k [", "\t40 90", "\t4 0 0", "\t28 []", "\t10 true", "\t37 []", c.imageList}));
    EXPECT_EQ(s.propertyText, c.properties);
    EXPECT_EQ(s.headText, "new \"korytnacka k [\r\n");
    EXPECT_EQ(s.variableText, "") << "the image list line is always removed";
}

const std::string kUnmarked =
    "\theading 90\r\n\tpos 0 0\r\n\tpicture []\r\n\tshown true\r\n\tbgPicture []\r\n";

INSTANTIATE_TEST_SUITE_P(
    Parser, ImageLists,
    ::testing::Values(
        ImageCase{"TwoGroups", "\t[[7 2][9 4]]",
                  "\theading 90\r\n\tpos 0 0\r\n\tpicture {image%7%}\r\n\tshown true\r\n\tbgPicture "
                  "{image%9%}\r\n"},
        ImageCase{"BlanksInsideGroups", "  [[ 7  2 ] [9 4]]",
                  "\theading 90\r\n\tpos 0 0\r\n\tpicture {image%7%}\r\n\tshown true\r\n\tbgPicture "
                  "{image%9%}\r\n"},
        ImageCase{"FurtherNumbersIgnored", "\t[[7 2 5 6]]",
                  "\theading 90\r\n\tpos 0 0\r\n\tpicture {image%7%}\r\n\tshown true\r\n\tbgPicture []\r\n"},
        ImageCase{"ZeroIsTheFirstLineAfterTheHeader", "\t[[7 0]]",
                  "\theading {image%7%}\r\n\tpos 0 0\r\n\tpicture []\r\n\tshown true\r\n\tbgPicture []\r\n"},
        ImageCase{"PictureZero", "\t[[0 2]]",
                  "\theading 90\r\n\tpos 0 0\r\n\tpicture {image%0%}\r\n\tshown true\r\n\tbgPicture []\r\n"},
        ImageCase{"NegativeNumberEndsTheGroup", "\t[[7 -2]]", kUnmarked},
        ImageCase{"OneNumberMarksNothing", "\t[[7]]", kUnmarked},
        ImageCase{"LetterEndsTheGroup", "\t[[7 x 2]]", kUnmarked},
        ImageCase{"LinePastTheSection", "\t[[7 9]]", kUnmarked},
        ImageCase{"LineOfTheListItself", "\t[[7 5]]", kUnmarked},
        ImageCase{"LineNumberOverflowsInt", "\t[[7 4294967298]]", kUnmarked},
        ImageCase{"LineNumberJustPastInt", "\t[[7 2147483648]]", kUnmarked},
        ImageCase{"LineNumberIntMaxPointsPastTheSection", "\t[[7 2147483647]]", kUnmarked},
        ImageCase{"PictureNumberOverflowsInt", "\t[[99999999999999999999 2]]", kUnmarked},
        ImageCase{"OverflowSpoilsOnlyItsGroup", "\t[[99999999999 2][9 4]]",
                  "\theading 90\r\n\tpos 0 0\r\n\tpicture []\r\n\tshown true\r\n\tbgPicture {image%9%}\r\n"},
        ImageCase{"UnclosedGroup", "\t[[7 2",
                  "\theading 90\r\n\tpos 0 0\r\n\tpicture {image%7%}\r\n\tshown true\r\n\tbgPicture []\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserTest, MarkerReplacesEverythingAfterTheFirstWordAndItsBlank) {
    const TStruct s = Parse(CrLf({"new \"korytnacka k [", "\t  28 [] old rest", "\t[[3 1]]"}));
    EXPECT_EQ(s.propertyText, "\t  picture [] old rest\r\n") << "the list's own line is not marked";
    const TStruct t = Parse(CrLf({"new \"korytnacka k [", "\t10 true", "\t  28 [] old rest", "\t[[3 1]]"}));
    EXPECT_EQ(t.propertyText, "\tshown true\r\n\t  picture {image%3%}\r\n");
}

TEST_F(ParserTest, LineWithoutBlankAfterItsFirstWordIsNotMarked) {
    const TStruct s = Parse(CrLf({"new \"korytnacka k [", "\t10 true", "\tcounter", "\t[[3 1]]"}));
    EXPECT_EQ(s.variableText, "\tcounter\r\n");
}

TEST_F(ParserTest, SingleBracketLastLineIsNoImageList) {
    const TStruct s = Parse(CrLf({"new \"korytnacka k [", "\t10 true", "\t[7 1]"}));
    EXPECT_EQ(s.variableText, "\t[7 1]\r\n");
}

TEST_F(ParserTest, ImageListInAnySectionKindIsApplied) {
    const TStruct s = Parse(CrLf({"print 1", "show 2 3", "more 4 5", "[[5 1]]"}));
    EXPECT_EQ(s.headText, "print 1\r\nshow 2 3\r\nmore {image%5%}\r\n");
}

TEST_F(ParserTest, BlockThatIsOnlyAnImageListGivesAnEmptySection) {
    const TStruct s = Parse("[[1 2]]");
    EXPECT_EQ(s, TStruct{});
}

struct SettingsCase {
    const char* name;
    std::string line;
    std::string properties, variables, events;
    T2ArrayString names;
};

class SettingsLines : public ParserTest, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsLines, GoToTheirText) {
    const SettingsCase& c = GetParam();
    const TStruct s = Parse(CrLf({"new \"korytnacka k [", c.line}));
    EXPECT_EQ(s.propertyText, c.properties);
    EXPECT_EQ(s.variableText, c.variables);
    EXPECT_EQ(s.eventText, c.events);
    EXPECT_EQ(Names(), c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Parser, SettingsLines,
    ::testing::Values(
        SettingsCase{"CodeBecomesName", "\t40 90", "\theading 90\r\n", "", "", {}},
        SettingsCase{"CodeKeepsIndentAndRest", " \t 40\t90 x", " \t heading\t90 x\r\n", "", "", {}},
        SettingsCase{"CodeWithLeadingZeros", "\t040 90", "\theading 90\r\n", "", "", {}},
        SettingsCase{"NameCodeCollectsO", "\t132 k1", "\tobjname k1\r\n", "", "", {{"o", "k1"}}},
        SettingsCase{"LowestCode", "\t1 5", "\tapos 5\r\n", "", "", {}},
        SettingsCase{"HighestCode", "\t194 true", "\tconnected_serial true\r\n", "", "", {}},
        SettingsCase{"CodeZeroIsNoCode", "\t0 5", "", "\t0 5\r\n", "", {{"s", "0"}}},
        SettingsCase{"Code195IsNoCode", "\t195 5", "", "\t195 5\r\n", "", {{"s", "195"}}},
        SettingsCase{"CodeWithoutNameStaysACode", "\t29 5", "\t29 5\r\n", "", "", {}},
        SettingsCase{"PropertyName", "\tHeading 90", "\tHeading 90\r\n", "", "", {}},
        SettingsCase{
            "NamePropertyCollectsQuestionMark", "\tOBJNAME k2", "\tOBJNAME k2\r\n", "", "", {{"?", "k2"}}},
        SettingsCase{"Event", "\tevent'click [fd 10]", "", "", "\tevent'click [fd 10]\r\n", {}},
        SettingsCase{"EventInCapitals", "EVENT'click [fd 10]", "", "", "EVENT'click [fd 10]\r\n", {}},
        SettingsCase{"EventNeedsApostrophe", "\tevent click", "", "\tevent click\r\n", "", {}},
        SettingsCase{"StateVariable", "\tcounter 5", "", "\tcounter 5\r\n", "", {{"s", "counter"}}},
        SettingsCase{"StateVariableWithPrimitiveName", "\tFD 5", "", "\tFD 5\r\n", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserTest, PrimitiveStateVariableGetsAStarTranslation) {
    Parse(CrLf({"new \"korytnacka k [", "\tforward 5", "\tcounter 1", "\tFORWARD 6"}));
    EXPECT_EQ(ws.parse.NameTranslations[0], (NameTranslationRow{{"FORWARD", "*"}}));
}

struct DefineCase {
    const char* name;
    std::string record;  // after "define'"
    std::string text;
    T2ArrayString names;
};

class Definitions : public ParserTest, public ::testing::WithParamInterface<DefineCase> {};

TEST_P(Definitions, AreUnpacked) {
    const DefineCase& c = GetParam();
    const TStruct s = Parse(CrLf({"new \"korytnacka k [", "\tdefine'" + c.record}));
    ASSERT_EQ(s.defineTexts.size(), 1u);
    EXPECT_EQ(s.defineTexts[0], c.text);
    EXPECT_EQ(Names(), c.names);
    EXPECT_EQ(s.propertyText + s.variableText + s.eventText, "") << "the record line itself is not kept";
}

INSTANTIATE_TEST_SUITE_P(
    Parser, Definitions,
    ::testing::Values(DefineCase{"BarForm",
                                 "sq |to sq :n\xB6"
                                 "fd :n\xB6"
                                 "end|",
                                 "to sq :n\r\nfd :n\r\nend",
                                 {{"p", "sq"}}},
                      DefineCase{"BarFormKeepsBackslashes",
                                 "sq |to sq\xB6print \"a\\b\\9.c|",
                                 "to sq\r\nprint \"a\\b\\9.c",
                                 {{"p", "sq"}}},
                      DefineCase{"BarFormDropsOnlyTheClosingBar", "sq |to sq|x", "to sqx", {{"p", "sq"}}},
                      DefineCase{"PlainForm",
                                 "sq to\\ sq\xB6"
                                 "fd\\ 10\xB6"
                                 "end",
                                 "to sq\r\nfd 10\r\nend",
                                 {{"p", "sq"}}},
                      DefineCase{"PlainEscapes", "sq a\\|b\\\\c\\[d", "a|b\\c[d", {{"p", "sq"}}},
                      DefineCase{"PlainBackslashNineStop", "sq a\\9.b", "a  b", {{"p", "sq"}}},
                      DefineCase{"PlainEscapedPilcrowStays",
                                 "sq a\\\xB6"
                                 "b",
                                 "a\xB6"
                                 "b",
                                 {{"p", "sq"}}},
                      DefineCase{"PlainTrailingBackslashDropped", "sq ab\\", "ab", {{"p", "sq"}}},
                      DefineCase{"EmptyValue", "sq ", "", {{"p", "sq"}}},
                      DefineCase{"NoBlankKeepsNameAsText", "sq", "sq", {{"p", "sq"}}},
                      DefineCase{"PrimitiveNameNotCollected", "fd |to fd|", "to fd", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserTest, DefinitionsKeepTheirOrder) {
    const TStruct s =
        Parse(CrLf({"new \"korytnacka k [", "\tdefine'a |to a|", "\t10 true", "\tdefine'b |to b|"}));
    EXPECT_EQ(s.defineTexts, (std::vector<std::string>{"to a", "to b"}));
}

struct NameCase {
    const char* name;
    std::string added;
    T2ArrayString names;
};

class AddedNames : public ParserTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(AddedNames, AreCleanedUp) {
    AddName(ws, 1, "s", GetParam().added);
    EXPECT_EQ(Names(), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(Parser, AddedNames,
                         ::testing::Values(NameCase{"Trimmed", " \tspeed \r", {{"s", "speed"}}},
                                           NameCase{"SquareBrackets", "[ speed ]", {{"s", "speed"}}},
                                           NameCase{"Bars", "|my speed|", {{"s", "my speed"}}},
                                           NameCase{"SingleBar", "|", {{"s", "|"}}},
                                           NameCase{"AfterApostrophe", "obj'speed", {{"s", "speed"}}},
                                           NameCase{"PrimitiveWord", "Forward", {}},
                                           NameCase{"PrimitiveAfterApostrophe", "obj'fd", {}},
                                           NameCase{"Blank", "   ", {}},
                                           NameCase{"NothingAfterApostrophe", "obj'", {}},
                                           NameCase{"EmptyBrackets", "[  ]", {}},
                                           NameCase{"EmptyBars", "||", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserTest, NamesStayInByteOrderAndShareAPairWhenTheyCompareEqual) {
    for (const char* name : {"beta", "Zeta", "alpha",
                             "\xE8"
                             "apek",
                             "BETA", "gamma", "ALPHA"})
        AddName(ws, 1, "s", name);
    AddName(ws, 1, "o", "Beta");
    AddName(ws, 1, "s", "beta");
    EXPECT_EQ(Names(), (T2ArrayString{{"s", "Zeta"},
                                      {"s", "alpha"},
                                      {"so", "beta"},
                                      {"s", "gamma"},
                                      {"s",
                                       "\xE8"
                                       "apek"}}));
}

TEST_F(ParserTest, TagsKeepTheOrderFirstSeen) {
    Parse(CrLf({"make \"speed 1"}));
    Parse(CrLf({"new \"korytnacka k [", "\tspeed 5", "\t132 speed", "\tdefine'speed |to speed|"}));
    EXPECT_EQ(Names(), (T2ArrayString{{"gsop", "speed"}}));
}

TEST_F(ParserTest, SecondRowKeepsApostrophesAndPrimitives) {
    AddName(ws, 2, "s", "obj'fd");
    EXPECT_EQ(ws.parse.NameList[1], (T2ArrayString{{"s", "obj'fd"}}));
    EXPECT_TRUE(Names().empty());
}

TEST_F(ParserTest, TableModeFoldsAccentsWhenNamesAreCompared) {
    Workspace table = test::MakeParseWorkspace({}, false);
    AddName(table, 1, "s",
            "\xE8"
            "ap");  // čap
    AddName(table, 1, "o", "CAP");
    EXPECT_EQ(table.parse.NameList[0], (T2ArrayString{{"so",
                                                       "\xE8"
                                                       "ap"}}));
    AddName(ws, 1, "s",
            "\xE8"
            "ap");
    AddName(ws, 1, "o", "CAP");
    EXPECT_EQ(Names().size(), 2u) << "upper-case mode keeps the accent";
}

TEST_F(ParserTest, ManyNamesStaySortedAndUnique) {
    for (int i = 999; i >= 0; --i) AddName(ws, 1, "s", "n" + std::to_string(i % 500));
    ASSERT_EQ(Names().size(), 500u);
    EXPECT_TRUE(std::is_sorted(Names().begin(), Names().end(),
                               [](const auto& a, const auto& b) { return a.second < b.second; }));
}

TEST_F(ParserTest, NameListChangedBehindTheParserIsStillSearchedCorrectly) {
    AddName(ws, 1, "s", "alpha");
    ws.parse.NameList[0] = {{"g", "beta"}, {"g", "delta"}};
    AddName(ws, 1, "o", "BETA");
    AddName(ws, 1, "o", "alpha");
    EXPECT_EQ(Names(), (T2ArrayString{{"o", "alpha"}, {"go", "beta"}, {"g", "delta"}}));
}

TEST_F(ParserTest, SetNameTranslationUpdatesTheLastEqualPair) {
    SetNameTranslation(ws, 1, "Speed", "rychlost");
    SetNameTranslation(ws, 1, "size", "");
    SetNameTranslation(ws, 1, "SPEED", "tempo");
    SetNameTranslation(ws, 1, "", "x");
    SetNameTranslation(ws, 2, "size", "");
    EXPECT_EQ(ws.parse.NameTranslations[0], (NameTranslationRow{{"SPEED", "tempo"}, {"size", "size"}}));
    EXPECT_TRUE(ws.parse.NameTranslations[1].empty());
}

TEST_F(ParserTest, ResolveClassNameUsesTheProjectLanguageWord) {
    EXPECT_EQ(ResolveClassName(ws, "  Korytnacka k1 ["), "turtle");
    EXPECT_EQ(ResolveClassName(ws, "turtle t"), "turtle") << "not a class word in this language";
    EXPECT_EQ(ResolveClassName(ws, "robot"), "robot");
    EXPECT_FALSE(ws.language.useNet);
    EXPECT_EQ(ResolveClassName(ws, "net n ["), "net");
    EXPECT_TRUE(ws.language.useNet);
    EXPECT_FALSE(ws.language.useMediaPlayer);
    EXPECT_EQ(ResolveClassName(ws, "MEDIAPLAYER m ["), "mediaplayer");
    EXPECT_TRUE(ws.language.useMediaPlayer);
}

TEST_F(ParserTest, EmptyClassWordDoesNotPickAClassTheDictionaryLacks) {
    Workspace partial;
    test::FillSourceLanguage(partial.language);
    partial.language.SourceDictionary.pairs.erase(partial.language.SourceDictionary.pairs.begin() +
                                                  FindPair(partial.language.SourceDictionary, "class web"));
    ResetNameState(partial);
    ASSERT_EQ(partial.parse.ClassTable[21], (std::pair<std::string, std::string>{"", "web"}));
    EXPECT_EQ(ResolveClassName(partial, "   "), "");
    TStruct s;
    ParseSection(partial, "new \"", s);
    EXPECT_EQ(s.className, "");
}

TEST_F(ParserTest, TableModeResolvesAccentedClassWords) {
    Workspace table = test::MakeParseWorkspace({}, false);
    EXPECT_EQ(ResolveClassName(table, "KORYTNA\xC8KA"), "turtle");
    EXPECT_EQ(ResolveClassName(ws, "KORYTNA\xC8KA"), "KORYTNA\xC8KA");
}

TEST_F(ParserTest, NewClassRegistersItsObjectNumber) {
    Parse("new \"korytnacka k1 [");
    Parse("newclass \"robot korytnacka [");
    EXPECT_EQ(ws.parse.ClassTable.back(), (std::pair<std::string, std::string>{"#2", "robot"}));
    Parse("setstate [");
    Parse("newclass \"drone [");
    EXPECT_EQ(ws.parse.ClassTable.back(), (std::pair<std::string, std::string>{"#3", "drone"}));
    EXPECT_EQ(Parse("#4'new \"#2 r1 [").className, "robot");
    EXPECT_EQ(Parse("new \"#3 d1 [").className, "drone");
    EXPECT_EQ(Parse("new \"#9 x [").className, "#9");
    EXPECT_EQ(ws.parse.objectCounter, 6);
}

TEST_F(ParserTest, ClassWordsComeFirstInTheClassTable) {
    // A user class named like a built-in class's word does not hide the built-in class.
    Parse("newclass \"korytnacka [");
    EXPECT_EQ(Parse("new \"korytnacka k [").className, "turtle");
}

struct PhraseCase {
    std::string text;
    std::string key, suffix;
    bool numbered;
    bool matches;
};

class KeyPhrases : public ParserTest, public ::testing::WithParamInterface<PhraseCase> {};

TEST_P(KeyPhrases, Match) {
    const PhraseCase& c = GetParam();
    EXPECT_EQ(MatchesKeyPhrase(ws, c.text, c.key, c.suffix, c.numbered), c.matches) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Parser, KeyPhrases,
                         ::testing::Values(PhraseCase{"new \"x", "dict .new.", " \"", false, true},
                                           PhraseCase{"New \"x", "DICT .NEW.", " \"", false, true},
                                           PhraseCase{"new", "dict .new.", " \"", false, false},
                                           PhraseCase{"newer \"x", "dict .new.", " \"", false, false},
                                           PhraseCase{"makeshift", "dict make", "", false, true},
                                           PhraseCase{"#7'new \"x", "dict .new.", " \"", true, true},
                                           PhraseCase{"new \"x", "dict .new.", " \"", true, false},
                                           PhraseCase{"#7new \"x", "dict .new.", " \"", true, false},
                                           PhraseCase{"#-7'new \"x", "dict .new.", " \"", true, false},
                                           PhraseCase{"anything", "dict missing", "", false, false},
                                           PhraseCase{"", "dict make", "", false, false}));

TEST(WordHelpers, FirstAndSecondWord) {
    struct Case {
        std::string line, first, second;
    };
    for (const Case& c :
         {Case{"\t  one two three", "one", "two"}, Case{"one\ttwo", "one", "two"}, Case{"one", "one", ""},
          Case{"  \t ", "", ""}, Case{"", "", ""}, Case{"a  \t  b c", "a", "b"}}) {
        EXPECT_EQ(FirstWord(c.line), c.first) << c.line;
        EXPECT_EQ(SecondWord(c.line), c.second) << c.line;
    }
}

TEST_F(ParserTest, PrimitiveWordsAreAnyFormOfAnyEntry) {
    EXPECT_TRUE(IsPrimitiveWord(ws, "fd"));
    EXPECT_TRUE(IsPrimitiveWord(ws, "Print"));
    EXPECT_TRUE(IsPrimitiveWord(ws, "korytnacka"));
    EXPECT_FALSE(IsPrimitiveWord(ws, "forwar"));
    EXPECT_FALSE(IsPrimitiveWord(ws, ""));
}

TEST_F(ParserTest, PropertyNamesAreAnyOfTheTableEntries) {
    EXPECT_TRUE(IsPropertyName(ws, "HEADING"));
    EXPECT_TRUE(IsPropertyName(ws, "objname"));
    EXPECT_FALSE(IsPropertyName(ws, ".name")) << "replaced by the dictionary's word";
    EXPECT_TRUE(IsPropertyName(ws, "")) << "the empty slot of code 29 matches the empty word";
}

TEST_F(ParserTest, WordIndexesFollowANewSourceLanguageAfterReset) {
    EXPECT_FALSE(IsPrimitiveWord(ws, "vpred"));
    test::FillSourceLanguage(ws.language, {{"dict back", "vpred"}});
    ResetNameState(ws);
    EXPECT_TRUE(IsPrimitiveWord(ws, "VPRED"));
}

TEST(ParseSections, GivesWhatParsingBlockByBlockGives) {
    const TArrayString blocks = {
        CrLf({"make \"zeta 1", "make \"Alpha 2"}),
        CrLf({"newclass \"robot korytnacka [", "\tALPHA 1", "\tdefine'walk |to walk|"}),
        CrLf({"#2'new \"#1 r1 [", "\t132 beta", "\tfd 1", "\tzeta 2", "\t[[3 0]]"}),
        CrLf({"new \"net n [",
              "\tobjname \xE8"
              "ap",
              "\tgamma 1"})};
    Workspace one = test::MakeParseWorkspace();
    std::vector<TStruct> expected;
    for (const auto& block : blocks) {
        TStruct s;
        ParseSection(one, block, s);
        expected.push_back(s);
    }
    Workspace all = test::MakeParseWorkspace();
    AddName(all, 1, "s", "delta");
    AddName(one, 1, "s", "delta");
    EXPECT_EQ(ParseSections(all, blocks), expected);
    EXPECT_EQ(all.parse.NameList, one.parse.NameList);
    EXPECT_EQ(all.parse.NameTranslations, one.parse.NameTranslations);
    EXPECT_EQ(all.parse.ClassTable, one.parse.ClassTable);
    EXPECT_EQ(all.language.useNet, one.language.useNet);
    for (Workspace* ws : {&all, &one}) {
        AddName(*ws, 1, "o", "BETA");
        AddName(*ws, 1, "s", "aardvark");
    }
    EXPECT_EQ(all.parse.NameList, one.parse.NameList) << "names added afterwards still find their places";
}

}  // namespace
}  // namespace vlp
