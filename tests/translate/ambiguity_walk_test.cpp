#include "translate/ambiguity_walk.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "support/test_support.h"
#include "translate/text_translation.h"

namespace vlp {
namespace {

using test::AddEntry;
using test::RunTexts;
using test::SmallWorkspace;
using Strings = std::vector<std::string>;

Strings Captions(const AmbiguityWalk& walk) {
    Strings captions;
    for (const auto& candidate : walk.Candidates()) captions.push_back(candidate.caption);
    return captions;
}

// An editor holding `text` with the given ranges marked.
std::unique_ptr<MemoryEditor> Marked(std::string_view text, const std::vector<Mark>& marks) {
    auto editor = std::make_unique<MemoryEditor>(text);
    editor->SetMarks(marks);
    return editor;
}

class AmbiguityWalkTest : public testing::Test {
protected:
    // Translates the lines into one editor each, as the Translate command leaves them.
    void Translate(std::initializer_list<std::string_view> texts) {
        ws.language.targetLanguageFile = "fixed.ldi";
        for (std::string_view text : texts) {
            editors.push_back(std::make_unique<MemoryEditor>(text));
            TranslatePart(ws, *editors.back(), 1, "");
        }
    }
    std::vector<Editor*> List() const {
        std::vector<Editor*> list;
        for (const auto& e : editors) list.push_back(e.get());
        return list;
    }
    void StartWalk() {
        walk.Start(List());
        walk.FindNext(ws);
    }

    Workspace ws = SmallWorkspace();
    std::vector<std::unique_ptr<MemoryEditor>> editors;
    AmbiguityWalk walk;
};

TEST_F(AmbiguityWalkTest, NoRedWordEndsTheWalkAtOnce) {
    Translate({"fd 10", "print 3"});
    StartWalk();
    EXPECT_TRUE(walk.AtEnd());
    EXPECT_TRUE(walk.Candidates().empty());
    EXPECT_EQ(walk.RemainingCount(), 0);
}

TEST_F(AmbiguityWalkTest, SkipMovesFromRunToRunAndOnToTheNextEditor) {
    Translate({"colour end fd", "x", "end colour"});
    StartWalk();
    EXPECT_EQ(walk.Word(), "colour");
    EXPECT_EQ(walk.CurrentEditor(), 0);
    EXPECT_EQ(walk.WordStart(), 0);
    EXPECT_EQ(walk.WordLength(), 6);
    EXPECT_EQ(walk.RemainingCount(), 4);
    EXPECT_TRUE(walk.Skip(ws));
    EXPECT_EQ(walk.Word(), "end");  // "end" before a blank stays ambiguous
    EXPECT_EQ(walk.WordStart(), 7);
    EXPECT_TRUE(walk.Skip(ws));
    EXPECT_EQ(walk.CurrentEditor(), 2);
    EXPECT_EQ(walk.Word(), "end");
    EXPECT_EQ(walk.RemainingCount(), 2);
    EXPECT_TRUE(walk.Skip(ws));
    EXPECT_EQ(walk.Word(), "colour");  // last on its line: the run ends at the CR
    EXPECT_FALSE(walk.Skip(ws));
    EXPECT_TRUE(walk.AtEnd());
}

TEST_F(AmbiguityWalkTest, DictionaryWordOffersSensesThenItself) {
    Translate({"colour"});
    StartWalk();
    EXPECT_EQ(Captions(walk),
              (Strings{"barva ... turtle colour setting", "farba ... page colour setting", "colour"}));
    EXPECT_EQ(walk.Candidates()[0].replacement, "barva");
    EXPECT_EQ(walk.CheckedCandidate(), 0);
    EXPECT_EQ(walk.WordIndex(), FindWord(ws, "colour"));
}

TEST_F(AmbiguityWalkTest, TwelveSensesOfferTheFirstTenAndTheWord) {
    ws = Workspace();
    AddEntry(
        ws, "many",
        {{"t0"}, {"t1"}, {"t2"}, {"t3"}, {"t4"}, {"t5"}, {"t6"}, {"t7"}, {"t8"}, {"t9"}, {"t10"}, {"t11"}});
    Translate({"many"});
    StartWalk();
    ASSERT_EQ(walk.Candidates().size(), static_cast<std::size_t>(kChoiceCount));
    EXPECT_EQ(walk.Candidates()[9].caption, "t9 ... ");
    EXPECT_EQ(walk.Candidates()[10].caption, "many");
}

TEST_F(AmbiguityWalkTest, ReplaceTurnsTheWordGreenAndRemembersTheChoice) {
    Translate({"colour 1 colour", "colour"});
    StartWalk();
    EXPECT_TRUE(walk.Replace(ws, 1));
    EXPECT_EQ(RunTexts(*editors[0]), (Strings{"3:farba", "2:colour"}));
    EXPECT_EQ(ws.language.WordTable[FindWord(ws, "colour")].chosenSense, 1);
    // The same occurrence now names the next red word, offered with the picked choice checked.
    EXPECT_EQ(walk.CurrentEditor(), 0);
    EXPECT_EQ(walk.WordStart(), 8);
    EXPECT_EQ(walk.CheckedCandidate(), 1);
    EXPECT_TRUE(walk.Replace(ws, 2));  // the word itself
    EXPECT_EQ(RunTexts(*editors[0]), (Strings{"3:farba", "3:colour"}));
    EXPECT_EQ(walk.CurrentEditor(), 1);
    EXPECT_EQ(walk.CheckedCandidate(), 2);
    EXPECT_FALSE(walk.Skip(ws));
    // A new walk finds only the words still red.
    StartWalk();
    EXPECT_EQ(walk.CurrentEditor(), 1);
    EXPECT_EQ(walk.RemainingCount(), 1);
}

TEST_F(AmbiguityWalkTest, ReplaceWithAChoiceNotOfferedChangesNothing) {
    Translate({"colour"});
    StartWalk();
    EXPECT_TRUE(walk.Replace(ws, 5));
    EXPECT_TRUE(walk.Replace(ws, -1));
    EXPECT_EQ(RunTexts(*editors[0]), (Strings{"2:colour"}));
}

TEST_F(AmbiguityWalkTest, ReplaceWithWritesAnyTextGreen) {
    Translate({"colour 2"});
    StartWalk();
    EXPECT_FALSE(walk.ReplaceWith(ws, "barvu"));
    EXPECT_EQ(editors[0]->Text(), test::CrLf({"barvu 2", ""}));
    EXPECT_EQ(RunTexts(*editors[0]), (Strings{"3:barvu"}));
    EXPECT_EQ(ws.language.WordTable[FindWord(ws, "colour")].chosenSense, 0);
}

TEST_F(AmbiguityWalkTest, SetFormOffersTheTargetSetForm) {
    Translate({"setfoo 1"});
    StartWalk();
    EXPECT_EQ(walk.WordIndex(), -1);
    EXPECT_EQ(Captions(walk), (Strings{"nastavFoo", "setfoo"}));
    ws.language.targetSetPrefix = "";
    ws.language.targetSetSuffix = "!";
    walk.FindNext(ws);
    EXPECT_EQ(Captions(walk), (Strings{"foo!", "setfoo"}));  // no capital without a prefix
}

TEST_F(AmbiguityWalkTest, OtherRedTextOffersOnlyItself) {
    editors.push_back(Marked("a stuff b\r\n", {{2, 5, kMarkAmbiguous}}));
    StartWalk();
    EXPECT_EQ(walk.Word(), "stuff");
    EXPECT_EQ(Captions(walk), (Strings{"stuff"}));
    EXPECT_FALSE(walk.Replace(ws, 0));
    EXPECT_EQ(RunTexts(*editors[0]), (Strings{"3:stuff"}));
}

TEST_F(AmbiguityWalkTest, RunsAreSeparatedByAnyCharacterThatIsNotRed) {
    // Red "ab", blue "c", red "de", a red line end (never part of a run), red "f".
    editors.push_back(Marked(
        "abcde\r\nf\r\n",
        {{0, 2, kMarkAmbiguous}, {2, 1, kMarkTranslated}, {3, 5, kMarkAmbiguous}, {7, 1, kMarkAmbiguous}}));
    StartWalk();
    Strings words;
    while (!walk.AtEnd()) {
        words.push_back(walk.Word());
        walk.Skip(ws);
    }
    EXPECT_EQ(words, (Strings{"ab", "de", "f"}));
}

TEST_F(AmbiguityWalkTest, SearchingAgainFindsTheSameWord) {
    Translate({"end colour"});
    StartWalk();
    walk.Skip(ws);
    walk.FindNext(ws);
    EXPECT_EQ(walk.Word(), "colour");
}

TEST_F(AmbiguityWalkTest, RestartKeepsTheWantedOccurrence) {
    Translate({"colour end x", "end x"});
    StartWalk();
    walk.Skip(ws);
    walk.Skip(ws);
    EXPECT_EQ(walk.CurrentEditor(), 1);
    walk.Restart(List());
    // The occurrence stood at 1 in editor 1; skipping from the first editor now wants its second.
    walk.Skip(ws);
    EXPECT_EQ(walk.CurrentEditor(), 0);
    EXPECT_EQ(walk.Word(), "end");
}

}  // namespace
}  // namespace vlp
