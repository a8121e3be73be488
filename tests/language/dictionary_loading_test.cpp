#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "container/io_error.h"
#include "language/dictionary.h"
#include "support/language_folder.h"

namespace vlp {
namespace {

using Lines = std::initializer_list<std::string_view>;
using test::LanguageFolder;

struct Languages {
    Lines compare;
    Lines source;
    Lines target;
};

// Loads the source language and then the target language, as opening and translating do.
LanguageState LoadBoth(const Languages& languages, bool useNet = false, bool useMediaPlayer = false) {
    LanguageFolder folder;
    folder.compareTab(languages.compare).file("src.ldi", languages.source).file("tgt.ldi", languages.target);
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    LoadSourceLanguage(state);
    state.targetLanguageFile = "tgt.ldi";
    state.useNet = useNet;
    state.useMediaPlayer = useMediaPlayer;
    LoadTargetLanguage(state);
    return state;
}

std::vector<std::string> Words(const LanguageState& state) {
    std::vector<std::string> words;
    for (const auto& entry : state.WordTable) words.push_back(entry.word);
    return words;
}

// The senses of a word, each as "target|description|kind|key"; empty when the word is missing.
std::vector<std::string> Senses(const LanguageState& state, std::string_view word) {
    std::vector<std::string> senses;
    for (const auto& entry : state.WordTable)
        if (entry.word == word)
            for (const auto& s : entry.senses)
                senses.push_back(s.target + "|" + s.description + "|" + s.kind + "|" + s.key);
    return senses;
}

using Strings = std::vector<std::string>;

TEST(WordTableMerge, ASharedWordGetsOneSensePerItemInCompareTableOrder) {
    const auto state = LoadBoth({{"motion ahead|Go ahead", "dict forward|Move forward"},
                                 {"[dict]", "forward=forward fd", "[motion]", "ahead=forward"},
                                 {"[dict]", "forward=vpred", "[motion]", "ahead=dalej"}});
    EXPECT_EQ(Words(state), (Strings{"fd", "forward"}));
    EXPECT_EQ(Senses(state, "forward"),
              (Strings{"vpred|Move forward|dict|dict forward", "dalej|Go ahead|motion|motion ahead"}));
    EXPECT_EQ(Senses(state, "fd"), (Strings{"vpred|Move forward|dict|dict forward"}));
}

TEST(WordTableMerge, AnItemListedTwiceGivesOneSense) {
    const auto state =
        LoadBoth({{"dict a|First", "dict a|Second"}, {"[dict]", "a=alpha"}, {"[dict]", "a=alfa"}});
    EXPECT_EQ(Senses(state, "alpha"), (Strings{"alfa|First|dict|dict a"}));
}

TEST(WordTableMerge, SeveralTargetWordsTranslateByTheFirstAndAreListed) {
    const auto state = LoadBoth({{"dict a|Letter"}, {"[dict]", "a=alpha al"}, {"[dict]", "a=alfa  beta"}});
    EXPECT_EQ(Senses(state, "alpha"), (Strings{"alfa|Letter (alfa  beta)|dict|dict a"}));
    EXPECT_EQ(Senses(state, "al"), Senses(state, "alpha"));
}

TEST(WordTableMerge, OnlyANewColourWordGetsNumberedForms) {
    const auto state = LoadBoth({{"basic red|Red thing", "colors red|Red", "colors blue|Blue"},
                                 {"[basic]", "red=red", "[colors]", "red=red", "blue=blue"},
                                 {"[basic]", "red=cervena", "[colors]", "red=cervena", "blue=modra"}});
    EXPECT_EQ(Words(state), (Strings{"blue", "blue1", "blue10", "blue11", "blue12", "blue2", "blue3", "blue4",
                                     "blue5", "blue6", "blue7", "blue8", "blue9", "red"}));
    EXPECT_EQ(Senses(state, "blue7"), (Strings{"modra7|Blue|colors|colors blue"}));
    EXPECT_EQ(Senses(state, "red").size(), 2u);
}

struct SetFormRow {
    const char* what;
    Languages languages;
    const char* word;
    Strings senses;
};

TEST(WordTableMerge, SettableItemsAndNamesGetSetForms) {
    const SetFormRow rows[] = {
        {"settable property",
         {{"dict forward|Move forward setting"},
          {"[system]", "setfix=set*", "[dict]", "forward=forward fd"},
          {"[system]", "setfix=set*", "[dict]", "forward=vpred"}},
         "setfd",
         {"setVpred|Move forward setting|dict|dict setforward"}},
        {"set forms of every target word are listed",
         {{"dict forward|Move forward setting"},
          {"[system]", "setfix=set*", "[dict]", "forward=forward"},
          {"[system]", "setfix=set*", "[dict]", "forward=vpred dopredu"}},
         "setforward",
         {"setVpred|Move forward setting  (setVpred setDopredu)|dict|dict setforward"}},
        {"prefix and suffix; the source pattern is lowered, the target one kept",
         {{"dict size|Size setting"},
          {"[system]", "SETFIX=Do*It", "[dict]", "size=size"},
          {"[system]", "setfix=Nastav*Te", "[dict]", "size=velkost"}},
         "dosizeit",
         {"NastavVelkostTe|Size setting|dict|dict setsize"}},
        {"names get set forms without the word setting",
         {{"name title|Title"},
          {"[system]", "setfix=set*", "[name]", "title=title"},
          {"[system]", "setfix=set*", "[name]", "title=nazov"}},
         "settitle",
         {"setNazov|Title|name|name settitle"}},
        {"a parenthesis of the description itself stays",
         {{"dict pc|Pen colour (turtle) setting"},
          {"[system]", "setfix=set*", "[dict]", "pc=pc"},
          {"[system]", "setfix=set*", "[dict]", "pc=farba"}},
         "setpc",
         {"setFarba|Pen colour (turtle) setting|dict|dict setpc"}},
        {"other items get no set forms",
         {{"dict go|Go"},
          {"[system]", "setfix=set*", "[dict]", "go=go"},
          {"[system]", "setfix=set*", "[dict]", "go=chod"}},
         "setgo",
         {}},
    };
    for (const auto& row : rows) EXPECT_EQ(Senses(LoadBoth(row.languages), row.word), row.senses) << row.what;
}

TEST(WordTableMerge, AnItemEitherDictionaryLacksGivesNoSense) {
    const auto state = LoadBoth({{"dict a|A", "dict b|B", "dict c|C"},
                                 {"[dict]", "a=alpha", "b=beta"},
                                 {"[dict]", "a=alfa", "c=cecko"}});
    EXPECT_EQ(Words(state), (Strings{"alpha"}));
}

TEST(WordTableMerge, ExplicitSetAndGetWordsTranslateLikeTheProperty) {
    const auto state = LoadBoth({{"dict colour|Pen colour setting"},
                                 {"[system]", "setfix=set*", "[dict]", "colour=colour", "[set]",
                                  "colour=paint pt", "size=grow", "[get]", "colour=hue"},
                                 {"[system]", "setfix=set*", "[dict]", "colour=farba"}});
    EXPECT_EQ(Senses(state, "paint"), (Strings{"setFarba|Pen colour setting|dict|dict setcolour"}));
    EXPECT_EQ(Senses(state, "pt"), Senses(state, "paint"));
    EXPECT_EQ(Senses(state, "hue"), (Strings{"farba|Pen colour setting|dict|dict colour"}));
    EXPECT_EQ(Senses(state, "grow"), Strings{});
    EXPECT_GE(FindPair(state.SourceDictionary, "set size"), 0);
}

struct FilterRow {
    bool useNet;
    bool useMediaPlayer;
    Strings words;
};

TEST(WordTableMerge, NetAndMediaPlayerItemsOnlyWhenTheProjectUsesThem) {
    const Languages languages{{"dict send|Net send", "dict play|MediaPlayer play", "dict nettle|Network tool",
                               "dict mp|MediaPlayer"},
                              {"[dict]", "send=send", "play=play", "nettle=nettle", "mp=mp"},
                              {"[dict]", "send=posli", "play=hraj", "nettle=zihlava", "mp=mp"}};
    const FilterRow rows[] = {
        {false, false, {"mp", "nettle"}},
        {true, false, {"mp", "nettle", "send"}},
        {false, true, {"mp", "nettle", "play"}},
        {true, true, {"mp", "nettle", "play", "send"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Words(LoadBoth(languages, row.useNet, row.useMediaPlayer)), row.words)
            << row.useNet << row.useMediaPlayer;
}

TEST(WordTableMerge, AnItemWrittenTwiceInADictionaryIsTakenAsTheSearchFindsIt) {
    // Three equal keys: halving lands on the middle one.
    const auto three = LoadBoth({{"dict a|A", "dict b|B"},
                                 {"[dict]", "a=first", "a=second", "b=beta", "a=third"},
                                 {"[dict]", "b=beta", "a=alfa"}});
    EXPECT_EQ(Words(three), (Strings{"beta", "second"}));
    const auto two = LoadBoth({{"dict a|A"}, {"[dict]", "a=alpha"}, {"[dict]", "a=one", "a=two"}});
    EXPECT_EQ(Senses(two, "alpha"), (Strings{"one|A|dict|dict a"}));
}

TEST(WordTableMerge, WordsAreLoweredWithAccentsAndSortedByBytes) {
    const auto state = LoadBoth({{"dict a|A", "dict b|B", "dict c|C"},
                                 {"[dict]", "a=\xC8\x41S Zero", "b=Alpha", "c=zeta"},  // ČAS
                                 {"[dict]", "a=cas", "b=alfa", "c=zeta"}});
    EXPECT_EQ(Words(state), (Strings{"alpha", "zero", "zeta", "\xE8\x61s"}));
}

TEST(SourceDictionary, KeepsOnlyListedItemsAndTheSetAndGetSections) {
    LanguageFolder folder;
    folder.compareTab(
        {"dict make|Make", "dict go|Go", "text hi|Hi", "system ansi|Ansi", "param define|Define"});
    folder.file("src.ldi", {"make=outside any section", "[Dict]", "Make=make mk", "go =go", "unlisted=x",
                            "[text]", "hi=hi", "[system]", "ansi=0", "[set]", "anything=put", "[get]",
                            "Other = Thing ", "[param]", "define=to", "no equals sign"});
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    LoadSourceLanguage(state);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(state.SourceDictionary.pairs, (Pairs{{"dict make", "MAKE MK"},
                                                   {"get other", "THING"},
                                                   {"param define", "TO"},
                                                   {"set anything", "PUT"}}));
}

struct ModeRow {
    const char* what;
    bool before;
    Lines source;
    bool after;
};

TEST(SourceDictionary, TheSourceAnsiKeySetsTheComparisonMode) {
    const ModeRow rows[] = {
        {"ansi=1 turns upper-case mode off", true, {"[system]", "ansi=1"}, false},
        {"any other value turns it on", false, {"[system]", "ansi=0"}, true},
        {"the key may be written in capitals", true, {"[SYSTEM]", "ANSI=1"}, false},
        {"without the key the mode stays", false, {"[system]", "language=x"}, false},
        {"without the key the mode stays", true, {"[dict]", "ansi=1"}, true},
    };
    for (const auto& row : rows) {
        LanguageFolder folder;
        folder.compareTab({}).file("src.ldi", row.source);
        auto state = folder.State();
        state.sourceLanguageFile = "src.ldi";
        state.upperCaseMode = row.before;
        LoadSourceLanguage(state);
        EXPECT_EQ(state.upperCaseMode, row.after) << row.what;
    }
}

TEST(SourceDictionary, WordsAreFoldedByTheModeTheFileSets) {
    // The ansi key stands after the entries: the mode still applies to all of them.
    const Lines tableMode = {"[dict]", "yellow=\x8Elt\xE1", "[system]", "ansi=1"};
    const Lines upperMode = {"[dict]", "yellow=\x8Elt\xE1"};
    const Lines target = {"[dict]", "yellow=gelb"};
    EXPECT_EQ(Words(LoadBoth({{"dict yellow|Yellow"}, tableMode, target})), (Strings{"zlta"}));
    EXPECT_EQ(Words(LoadBoth({{"dict yellow|Yellow"}, upperMode, target})), (Strings{"\x9Elt\xE1"}));
}

TEST(TargetDictionary, AnAnsiKeyThereHasNoEffect) {
    const auto state =
        LoadBoth({{"dict a|A"}, {"[dict]", "a=alpha"}, {"[system]", "ansi=1", "[dict]", "a=alfa"}});
    EXPECT_TRUE(state.upperCaseMode);
    // Every target entry is kept, listed in compare.tab or not; [system] gives no entries.
    EXPECT_EQ(state.TargetDictionary.size(), 1u);
}

TEST(LanguageWords, EndWordsAndFirstWordsOfEntries) {
    LanguageFolder folder;
    folder.compareTab({"other end|End", "param define|Define", "dict make|Make"});
    folder.file("src.ldi", {"[other]", "end=End Fin", "[param]", "define=To", "[dict]", "make=Make"});
    folder.file("tgt.ldi", {"[other]", "end=Koniec K", "[param]", "define=Viac"});
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    LoadSourceLanguage(state);
    EXPECT_EQ(state.sourceEndWord, "END FIN");
    EXPECT_EQ(SourceWord(state, "other end"), "END");
    EXPECT_EQ(SourceWord(state, "dict none"), "");
    // No target loaded since the start: the source word, ASCII letters lowered.
    EXPECT_EQ(TargetWord(state, "param define"), "to");

    state.targetLanguageFile = "tgt.ldi";
    LoadTargetLanguage(state);
    EXPECT_EQ(state.targetEndWord, "Koniec K");
    EXPECT_EQ(TargetWord(state, "param define"), "Viac");
    EXPECT_EQ(TargetWord(state, "dict make"), "");
}

TEST(LanguageLifecycle, OpeningAgainEmptiesWordTableButKeepsTheTarget) {
    LanguageFolder folder;
    folder.compareTab({"dict a|A"})
        .file("src.ldi", {"[dict]", "a=alpha"})
        .file("tgt.ldi", {"[dict]", "a=alfa"});
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    LoadSourceLanguage(state);
    state.targetLanguageFile = "tgt.ldi";
    LoadTargetLanguage(state);
    ASSERT_EQ(state.WordTable.size(), 1u);

    LoadSourceLanguage(state);
    EXPECT_TRUE(state.WordTable.empty());
    EXPECT_EQ(TargetWord(state, "dict a"), "alfa");
}

TEST(LanguageLifecycle, MissingTargetFileIsAnIoError) {
    LanguageFolder folder;
    folder.compareTab({"dict a|A"}).file("src.ldi", {"[dict]", "a=alpha"});
    auto state = folder.State();
    state.sourceLanguageFile = "src.ldi";
    LoadSourceLanguage(state);
    state.targetLanguageFile = "none.ldi";
    EXPECT_THROW(LoadTargetLanguage(state), IoError);
    EXPECT_TRUE(state.WordTable.empty());
}

TEST(SetForms, MakeSetFormsAndMakeSetKey) {
    EXPECT_EQ(MakeSetForms("forward fd", "set", ""), "setForward setFd");
    EXPECT_EQ(MakeSetForms("\xE8\x61s", "", "!"), "\xC8\x61s!");  // čas -> Čas!
    EXPECT_EQ(MakeSetForms("a  b", "s", ""), "sA sB");
    EXPECT_EQ(MakeSetForms("", "set", ""), "");
    EXPECT_EQ(MakeSetKey("dict color"), "dict setcolor");
    EXPECT_EQ(MakeSetKey("dict a b"), "dict seta b");
    EXPECT_EQ(MakeSetKey("color"), "setcolor");
}

}  // namespace
}  // namespace vlp
