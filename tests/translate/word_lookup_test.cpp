#include "translate/word_lookup.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "text/word_compare.h"
#include "translate/text_translation.h"
#include "translate/word_index.h"

namespace vlp {
namespace {

using test::AddEntry;
using test::AddNamePair;
using test::SmallWorkspace;

TEST(FindWord, EmptyWordAndEmptyTableFindNothing) {
    Workspace empty;
    EXPECT_EQ(FindWord(empty, "forward"), -1);
    const Workspace ws = SmallWorkspace();
    EXPECT_EQ(FindWord(ws, ""), -1);
    EXPECT_EQ(FindWord(ws, "backward"), -1);
}

TEST(FindWord, FindsEveryEntryWhateverTheCase) {
    const Workspace ws = SmallWorkspace();
    for (std::size_t i = 0; i < ws.language.WordTable.size(); ++i) {
        const std::string& word = ws.language.WordTable[i].word;
        EXPECT_EQ(FindWord(ws, word), static_cast<int>(i)) << word;
        std::string upper = word;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(FindWord(ws, upper), static_cast<int>(i)) << upper;
    }
}

TEST(FindWord, TableModeIgnoresAccentsUpperCaseModeDoesNot) {
    Workspace ws;
    AddEntry(ws, "zlta", {{"yellow"}});
    ws.language.upperCaseMode = false;
    EXPECT_EQ(FindWord(ws, "\x8Elt\xE1"), 0);  // Žltá in Windows-1250
    ws.language.upperCaseMode = true;
    EXPECT_EQ(FindWord(ws, "\x8Elt\xE1"), -1);
    EXPECT_EQ(FindWord(ws, "ZLTA"), 0);
}

// The table is sorted by its lowered bytes, in which "_" comes before the letters, while the
// folded words put it after the capitals; the search still finds every entry.
TEST(FindWord, FindsWordsWhoseFoldedOrderDiffersFromTheTableOrder) {
    for (bool upperCaseMode : {true, false}) {
        Workspace ws;
        ws.language.upperCaseMode = upperCaseMode;
        AddEntry(ws, "pen_up", {{"a"}});
        AddEntry(ws, "pena", {{"b"}});
        AddEntry(ws, "penup", {{"c"}});
        EXPECT_EQ(FindWord(ws, "PEN_UP"), 0);
        EXPECT_EQ(FindWord(ws, "pena"), 1);
        EXPECT_EQ(FindWord(ws, "PenUp"), 2);
    }
    // ľ (0xBE) sorts before ż (0xBF), but their capitals Ľ (0xBC) and Ż (0xAF) the other way.
    Workspace ws;
    AddEntry(ws, "a\xBE", {{"a"}});
    AddEntry(ws, "a\xBF", {{"b"}});
    EXPECT_EQ(FindWord(ws, "A\xAF"), 1);
    EXPECT_EQ(FindWord(ws, "A\xBC"), 0);
}

TEST(FindName, LaterPairWinsAndCaseIsIgnored) {
    Workspace ws;
    AddNamePair(ws, "speed", "rychlost");
    AddNamePair(ws, "Size", "velikost");
    AddNamePair(ws, "SPEED", "tempo");
    EXPECT_EQ(FindName(ws, "speed"), 2);
    EXPECT_EQ(FindName(ws, "size"), 1);
    EXPECT_EQ(FindName(ws, "sizes"), -1);
    EXPECT_EQ(FindName(ws, ""), -1);
}

TEST(NameIndex, AnswersAsTheLinearSearchDoes) {
    for (bool upperCaseMode : {true, false}) {
        Workspace ws;
        ws.language.upperCaseMode = upperCaseMode;
        for (const char* word : {"speed", "Size", "SPEED", "\x8Elt\xE1", "zlta", "x", "size"})
            AddNamePair(ws, word, "t");
        const NameIndex index(ws);
        for (const char* word : {"speed", "SIZE", "zlt\xE1", "ZLTA", "\x9Elt\xE1", "X", "y", "", "spee"})
            EXPECT_EQ(index.Find(word), FindName(ws, word)) << word << " mode " << upperCaseMode;
    }
}

TEST(WordIndex, FindsWhatFindWordFinds) {
    for (bool upperCaseMode : {true, false}) {
        Workspace ws = SmallWorkspace();
        ws.language.upperCaseMode = upperCaseMode;
        AddEntry(ws, "pen_up", {{"a"}});
        AddEntry(ws, "pena", {{"b"}});
        AddEntry(ws, "a\xBE", {{"c"}});
        AddEntry(ws, "zlta", {{"d"}});
        const WordIndex index(ws);
        EXPECT_TRUE(index.Matches(ws));
        for (const char* word :
             {"forward", "FD", "Pen_Up", "PENA", "A\xBC", "zlt\xE1", "\x8Elta", "nothing", "", "f"})
            EXPECT_EQ(index.Find(word), FindWord(ws, word)) << word << " mode " << upperCaseMode;
        ws.language.upperCaseMode = !upperCaseMode;
        EXPECT_FALSE(index.Matches(ws));
    }
}

struct SetFormCase {
    const char* prefix;
    const char* suffix;
    const char* word;
    bool isSetForm;
};

class IsSetFormTest : public testing::TestWithParam<SetFormCase> {};

TEST_P(IsSetFormTest, Recognises) {
    Workspace ws;
    ws.language.sourceSetPrefix = GetParam().prefix;
    ws.language.sourceSetSuffix = GetParam().suffix;
    EXPECT_EQ(IsSetForm(ws, GetParam().word), GetParam().isSetForm);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsSetFormTest,
    testing::Values(SetFormCase{"set", "", "setspeed", true}, SetFormCase{"set", "", "SetSpeed", true},
                    SetFormCase{"set", "", "set", false}, SetFormCase{"set", "", "speedset", false},
                    SetFormCase{"set", "", "s", false}, SetFormCase{"", "!", "speed!", true},
                    SetFormCase{"", "!", "!", false}, SetFormCase{"na", "!", "na!", false},
                    SetFormCase{"na", "!", "nax!", true}, SetFormCase{"na", "!", "nax", false},
                    SetFormCase{"", "", "anything", true}, SetFormCase{"", "", "", false}));

TEST(MakeTargetSetForm, CapitalisesTheFirstLetterBetweenPrefixAndSuffix) {
    Workspace ws;
    ws.language.targetSetPrefix = "set";
    EXPECT_EQ(MakeTargetSetForm(ws, "speed"), "setSpeed");
    EXPECT_EQ(MakeTargetSetForm(ws, "\xE8\x61s"), "set\xC8\x61s");  // čas -> Čas
    ws.language.targetSetPrefix = "";
    ws.language.targetSetSuffix = "!";
    EXPECT_EQ(MakeTargetSetForm(ws, "speed"), "Speed!");
}

TEST(TranslateSetForm, TranslatesOnlyTheProjectsOwnNames) {
    Workspace ws = SmallWorkspace();
    AddNamePair(ws, "speed", "rychlost");
    AddNamePair(ws, "print", "*");   // a name that is also a primitive
    AddNamePair(ws, "wobble", "*");  // a "*" name without a dictionary entry

    struct Case {
        const char* word;
        WordStatus status;
        const char* result;
    };
    for (const Case& c :
         {Case{"setspeed", Translated, "nastavRychlost"}, Case{"SETSPEED", Translated, "nastavRychlost"},
          Case{"setprint", Translated, "nastavPis"}, Case{"setwobble", Translated, "nastavWobble"},
          Case{"setsize", Ambiguous, "setsize"}, Case{"speed", NotFound, "speed"}}) {
        std::string word = c.word;
        EXPECT_EQ(TranslateSetForm(ws, word), c.status) << c.word;
        EXPECT_EQ(word, c.result) << c.word;
    }
}

struct WordCase {
    const char* name;
    const char* word;
    char next;
    const char* context;
    const char* text;
    WordStatus status;
};

class TranslateWordTest : public testing::TestWithParam<WordCase> {};

TEST_P(TranslateWordTest, Translates) {
    Workspace ws = SmallWorkspace();
    AddNamePair(ws, "speed", "rychlost");
    AddNamePair(ws, "same", "same");
    AddNamePair(ws, "wobble", "*");
    const WordCase& c = GetParam();
    const WordTranslation result = TranslateWord(ws, c.word, c.next, c.context);
    EXPECT_EQ(result.text, c.text);
    EXPECT_EQ(result.status, c.status);
    // The allocation-free variant used by the line scanner gives the same answer.
    std::string scratch;
    const WordIndex words(ws);
    const NameIndex names(ws);
    const WordResult view = TranslateWordView(ws, words, names, c.word, c.next, c.context, scratch);
    EXPECT_EQ(view.text, c.text);
    EXPECT_EQ(view.status, c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TranslateWordTest,
    testing::Values(WordCase{"OneSense", "forward", ' ', "", "vpred", Translated},
                    WordCase{"CaseOfSourceIsNotCarriedOver", "FORWARD", ' ', "", "vpred", Translated},
                    WordCase{"SensesWithOneTargetAreNoAmbiguity", "show", ' ', "", "ukaz", Translated},
                    WordCase{"SeveralTargetsAreAmbiguous", "colour", ' ', "", "colour", Ambiguous},
                    WordCase{"ContextPicksTheOneMatchingSense", "colour", ' ', "turtle", "barva", Translated},
                    WordCase{"ContextMatchesLoweredDescription", "state", ' ', "main", "stavy", Translated},
                    WordCase{"ContextWithCapitalNeverMatches", "colour", ' ', "Turtle", "colour", Ambiguous},
                    WordCase{"ContextInBothDescriptionsIsAmbiguous", "colour", ' ', "colour", "colour",
                             Ambiguous},
                    WordCase{"EndWordBeforeBarIsTargetEndWord", "end", '|', "", "konec", Translated},
                    WordCase{"EndWordBeforeBlankStaysAmbiguous", "end", ' ', "", "end", Ambiguous},
                    WordCase{"ApostropheTakesTheSetstateSense", "state", '\'', "", "stavy", Translated},
                    WordCase{"ApostropheWithoutSetstateSense", "colour", '\'', "", "colour", Ambiguous},
                    WordCase{"UnknownWordIsNotFound", "blah", ' ', "", "blah", NotFound},
                    WordCase{"NameIsReplaced", "Speed", ' ', "", "rychlost", Translated},
                    WordCase{"NameMappedToItselfIsTranslated", "same", ' ', "", "same", Translated},
                    WordCase{"StarNameKeepsThePairsWord", "WOBBLE", ' ', "", "wobble", Translated},
                    WordCase{"SetFormOfName", "setspeed", ' ', "", "nastavRychlost", Translated},
                    WordCase{"SetFormOfUnknownNameIsAmbiguous", "setblah", ' ', "", "setblah", Ambiguous}),
    [](const testing::TestParamInfo<WordCase>& info) { return info.param.name; });

TEST(TranslateWord, ContextChoiceLooksOnlyUpToTheLastDifferingSense) {
    Workspace ws;
    // The last sense repeats the first target, so only senses 0 and 1 are looked at.
    AddEntry(ws, "move", {{"a", "page"}, {"b", "pane"}, {"a", "turtle"}});
    EXPECT_EQ(TranslateWord(ws, "move", ' ', "turtle").status, Ambiguous);
    EXPECT_EQ(TranslateWord(ws, "move", ' ', "pane").text, "b");
}

TEST(TranslateWord, AVoidedContextChoiceStaysVoid) {
    Workspace ws;
    AddEntry(ws, "move", {{"a", "turtle one"}, {"b", "turtle two"}, {"a", "turtle three"}, {"c", "page"}});
    EXPECT_EQ(TranslateWord(ws, "move", ' ', "turtle").status, Ambiguous);
    Workspace same;
    AddEntry(same, "move", {{"a", "turtle one"}, {"A", "turtle two"}, {"c", "page"}});
    EXPECT_EQ(TranslateWord(same, "move", ' ', "turtle").text, "a");
}

TEST(TranslateWord, ApostropheRuleTakesTheLastSetstateSenseOfKindParam) {
    Workspace ws;
    AddEntry(ws, "state",
             {{"a", "Main - setstate one", "param"},
              {"b", "Main - setstate two", "dict"},
              {"c", "Main - setstate three", "param"},
              {"d", "main - setstate four", "param"}});
    EXPECT_EQ(TranslateWord(ws, "state", '\'', "").text, "c");
}

TEST(TranslateWord, WithoutSetPatternsEveryUnknownWordIsASetForm) {
    Workspace ws;
    ws.language.targetSetPrefix = "set";
    AddNamePair(ws, "speed", "rychlost");
    EXPECT_EQ(TranslateWord(ws, "blah", ' ', "").status, Ambiguous);
    const WordTranslation name = TranslateWord(ws, "speed", ' ', "");
    EXPECT_EQ(name.text, "setRychlost");
    EXPECT_EQ(name.status, Translated);
}

TEST(TranslateWord, TheEndWordRuleComparesTheEntryWithTheSourceEndWord) {
    Workspace ws = SmallWorkspace();
    ws.language.sourceEndWord = "";
    EXPECT_EQ(TranslateWord(ws, "end", '|', "").status, Ambiguous);
}

// An entry without any translation (a table filled by other means than the loader) leaves the
// word as it is, by every road, instead of reading a sense that is not there.
TEST(TranslateWord, AnEntryWithoutTranslationsLeavesTheWord) {
    Workspace ws = SmallWorkspace();
    AddEntry(ws, "bare", {});
    EXPECT_EQ(TranslateWord(ws, "Bare", ' ', "").text, "Bare");
    EXPECT_EQ(TranslateWord(ws, "Bare", ' ', "turtle").status, NotFound);
    std::string scratch;
    const WordIndex words(ws);
    const NameIndex names(ws);
    for (const char* context : {"", "turtle"}) {
        const WordResult view = TranslateWordView(ws, words, names, "bare", '|', context, scratch);
        EXPECT_EQ(view.text, "bare");
        EXPECT_EQ(view.status, NotFound);
        std::vector<Mark> marks;
        EXPECT_EQ(PartTranslator(ws).TranslateText("bare Bare", 1, context, marks), "bare Bare\r\n");
        EXPECT_TRUE(marks.empty());
    }
}

}  // namespace
}  // namespace vlp
