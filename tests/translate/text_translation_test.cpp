#include "translate/text_translation.h"

#include <gtest/gtest.h>

#include "container/io_error.h"
#include "engine_fixture.h"
#include "language/dictionary.h"
#include "support/language_folder.h"
#include "support/test_support.h"

namespace vlp {
namespace {

using test::RunTexts;
using test::SmallWorkspace;
using Marks = std::vector<Mark>;

struct LineCase {
    const char* name;
    std::string line;
    int partKind;
    std::string expected;
    Marks marks;
};

class TranslateLineTest : public testing::TestWithParam<LineCase> {};

TEST_P(TranslateLineTest, Translates) {
    const Workspace ws = SmallWorkspace();
    Marks marks;
    EXPECT_EQ(TranslateLine(ws, GetParam().line, 0, GetParam().partKind, "", marks), GetParam().expected);
    EXPECT_EQ(marks, GetParam().marks);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TranslateLineTest,
    testing::Values(
        LineCase{"WordAndNumber", "forward 10", 1, "vpred 10", {{0, 5, 1}}},
        LineCase{"UnknownWordsStayUnmarked", "blah forward", 1, "blah vpred", {{5, 5, 1}}},
        LineCase{"AmbiguousWordIsMarkedUnchanged", "colour 3", 1, "colour 3", {{0, 6, 2}}},
        LineCase{"QuotedTextIsCopied", "print |hello forward|", 1, "pis |hello forward|", {{0, 3, 1}}},
        LineCase{"WordOpeningAQuoteSeesABar", "end|x|", 1, "konec|x|", {{0, 5, 1}}},
        LineCase{"BarInsideQuotesAlwaysCloses", "|a\\|forward", 1, "|a\\|vpred", {{4, 5, 1}}},
        LineCase{"UnclosedBarQuotesTheRestOfTheLine", "print |forward", 1, "pis |forward", {{0, 3, 1}}},
        LineCase{"BackslashBeforeBarOpensNothing", "\\|forward", 1, "\\|vpred", {{2, 5, 1}}},
        LineCase{"BarAfterWordAfterBackslashIsASeparator",
                 "\\fd|forward",
                 1,
                 "\\vpred|vpred",
                 {{1, 5, 1}, {7, 5, 1}}},
        LineCase{"DoubleQuoteIsASeparator", "\"forward", 1, "\"vpred", {{1, 5, 1}}},
        LineCase{"EndWordLastOnItsLine",
                 "repeat 4 [fd 10] end",
                 1,
                 "opakuj 4 [vpred 10] konec",
                 {{0, 6, 1}, {10, 5, 1}, {20, 5, 1}}},
        LineCase{"EndWordBeforeBlankIsAmbiguous", "end ", 1, "end ", {{0, 3, 2}}},
        LineCase{"PropertySectionTranslatesTheFirstWordOnly",
                 "forward forward print",
                 5,
                 "vpred forward print",
                 {{0, 5, 1}}},
        LineCase{"PropertySectionFirstWordAfterBlanks", "\t forward fd", 5, "\t vpred fd", {{2, 5, 1}}},
        LineCase{"PropertySectionWordOpeningAQuote", "print|fd| fd", 5, "pis|fd| fd", {{0, 3, 1}}},
        LineCase{"PropertySectionQuoteBeforeTheFirstWord", "|a b| fd fd", 5, "|a b| vpred fd", {{6, 5, 1}}},
        LineCase{"EscapedRichTextMarkerEndsTranslation",
                 "fd {\\\\rtf1\\\\ fd",
                 1,
                 "vpred {\\\\rtf1\\\\ fd",
                 {{0, 5, 1}}},
        LineCase{"WordBeforeMarkerStaysUntranslated",
                 "fd fd{\\\\rtf1\\\\x fd",
                 1,
                 "vpred fd{\\\\rtf1\\\\x fd",
                 {{0, 5, 1}}},
        LineCase{"BarMarkerEndsTranslationEvenInsideQuotes", "|a |{\\rtf1\\ fd", 1, "|a |{\\rtf1\\ fd", {}},
        LineCase{"BraceThatIsNoMarkerIsAWordCharacter", "{fd} fd", 1, "{fd} vpred", {{5, 5, 1}}},
        LineCase{"EmptyLine", "", 1, "", {}},
        LineCase{"SetFormOfUnknownName", "setfoo 1", 1, "setfoo 1", {{0, 6, 2}}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(TranslateLine, MarksAreOffset) {
    const Workspace ws = SmallWorkspace();
    Marks marks;
    TranslateLine(ws, "x fd", 40, 1, "", marks);
    EXPECT_EQ(marks, (Marks{{42, 5, 1}}));
}

// Every character either joins two words into one unknown word or separates them.
TEST(TranslateLine, CharacterClasses) {
    const Workspace ws = SmallWorkspace();
    const std::string separators = "\"'()*+,-/:;<=>[]\\`|~\x7F\xAB\xAC\xB6\xBB";
    for (int code = 1; code < 256; ++code) {
        const char c = static_cast<char>(code);
        if (c == '|' || c == '{' || c == '\\') continue;  // quoting and markers: tested above
        const std::string line = std::string("fd") + c + "fd";
        Marks marks;
        const std::string out = TranslateLine(ws, line, 0, 1, "", marks);
        const bool separator = code <= 0x20 || separators.find(c) != std::string::npos;
        if (separator) {
            EXPECT_EQ(out, std::string("vpred") + c + "vpred") << "code " << code;
        } else {
            EXPECT_EQ(out, line) << "code " << code;
            EXPECT_TRUE(marks.empty()) << "code " << code;
        }
    }
}

TEST(TranslateLine, ContextIsTheSectionsClass) {
    const Workspace ws = SmallWorkspace();
    Marks marks;
    EXPECT_EQ(TranslateLine(ws, "colour 3", 0, 1, "page", marks), "farba 3");
    EXPECT_EQ(marks, (Marks{{0, 5, 1}}));
}

// A workspace whose target is already fixed, so parts translate without language files.
Workspace FixedTarget() {
    Workspace ws = SmallWorkspace();
    ws.language.targetLanguageFile = "target.ldi";
    return ws;
}

TEST(TranslatePart, TranslatesLinesAndColoursTheEditor) {
    Workspace ws = FixedTarget();
    MemoryEditor editor(test::CrLf({"fd 10", "colour 3 print", "x"}));
    TranslatePart(ws, editor, 1, "");
    EXPECT_EQ(editor.Text(), test::CrLf({"vpred 10", "colour 3 pis", "x", ""}));
    // The second line starts after "vpred 10" and its CR LF.
    EXPECT_EQ(editor.MarkedRuns(), (Marks{{0, 5, 1}, {10, 6, 2}, {19, 3, 1}}));
    EXPECT_EQ(RunTexts(editor), (std::vector<std::string>{"1:vpred", "2:colour", "1:pis"}));
}

TEST(TranslatePart, CommentLinesAreCopied) {
    Workspace ws = FixedTarget();
    MemoryEditor editor(test::CrLf({"; fd print", "  ;fd", "\t;fd", "fd ; fd"}));
    TranslatePart(ws, editor, 1, "");
    EXPECT_EQ(editor.Text(), test::CrLf({"; fd print", "  ;fd", "\t;vpred", "vpred ; vpred", ""}));
}

TEST(TranslatePart, CommentPartIsLeftAloneAndFixesNoTarget) {
    Workspace ws = SmallWorkspace();  // no target: a translated part would have to load one
    MemoryEditor editor(test::CrLf({"fd 10"}));
    TranslatePart(ws, editor, 2, "");
    EXPECT_EQ(editor.Text(), test::CrLf({"fd 10", ""}));
    EXPECT_TRUE(editor.MarkedRuns().empty());
    EXPECT_TRUE(ws.language.targetLanguageFile.empty());
}

TEST(TranslatePart, EmptyEditorStaysEmpty) {
    Workspace ws = FixedTarget();
    MemoryEditor editor;
    TranslatePart(ws, editor, 1, "");
    EXPECT_EQ(editor.Text(), "");
}

TEST(TranslateFrame, EachPartWithItsKindAndClass) {
    Workspace ws = FixedTarget();
    MemoryEditor head(test::CrLf({"colour 1 colour"}));
    MemoryEditor property(test::CrLf({"colour colour"}));
    MemoryEditor comment(test::CrLf({"colour"}));
    TranslateFrame(ws, {{&head, 1, "turtle"}, {&property, 5, "page"}, {&comment, 2, "turtle"}});
    EXPECT_EQ(head.Text(), test::CrLf({"barva 1 barva", ""}));
    EXPECT_EQ(property.Text(), test::CrLf({"farba colour", ""}));
    EXPECT_EQ(comment.Text(), test::CrLf({"colour", ""}));
}

// One translator keeps what each class name picks for an entry: parts in alternating classes
// (and in none) translate as each would alone, also after the dictionary changes.
TEST(PartTranslator, ClassChoicesAreKeptPerClass) {
    Workspace ws = FixedTarget();
    const std::string text = test::CrLf({"colour state end|", "colour 1 setcolour end", ""});
    const std::vector<std::string> classes = {"turtle", "page", "", "Turtle", "turtle", "main", "page"};
    PartTranslator kept(ws);
    const auto check = [&] {
        for (const std::string& className : classes) {
            Marks keptMarks;
            Marks aloneMarks;
            EXPECT_EQ(kept.TranslateText(text, 1, className, keptMarks),
                      PartTranslator(ws).TranslateText(text, 1, className, aloneMarks))
                << className;
            EXPECT_EQ(keptMarks, aloneMarks) << className;
        }
    };
    check();
    Marks marks;
    EXPECT_EQ(kept.TranslateText("colour", 1, "turtle", marks), test::CrLf({"barva", ""}));
    // A new table whose entry holds its senses the other way round: the choices start over.
    test::AddEntry(ws, "colour", {{"Seite", "page colour"}, {"Farbe", "turtle colour"}});
    check();
    EXPECT_EQ(kept.TranslateText("colour", 1, "turtle", marks), test::CrLf({"Farbe", ""}));
}

class TargetChoice : public testing::Test {
protected:
    void SetUp() override {
        folder.compareTab({"dict forward|Move forward"})
            .file("a.ldi", {"[system]", "language=alpha", "[dict]", "forward=forward"})
            .file("b.ldi", {"[system]", "language=beta", "[dict]", "forward=vpred", "[other]", "end=konec"});
        ws.language = folder.State();
        ws.language.LanguageList = {{"alpha", "a.ldi"}, {"beta", "b.ldi"}, {"gamma", "missing.ldi"}};
        for (auto& button : ws.buttons.buttons) button.visible = true;
        ws.language.sourceLanguageFile = "a.ldi";
        LoadSourceLanguage(ws.language);
        ws.project.projectLanguage = ws.project.saveLanguage = "alpha";
    }
    test::LanguageFolder folder;
    Workspace ws;
};

TEST_F(TargetChoice, FirstPartTakesTheButtonThatIsDownAndHidesEveryButton) {
    ws.buttons.buttons[1].down = true;
    MemoryEditor first(test::CrLf({"forward"}));
    TranslatePart(ws, first, 1, "");
    EXPECT_EQ(ws.language.targetLanguageFile, "b.ldi");
    EXPECT_EQ(ws.project.saveLanguage, "beta");
    EXPECT_EQ(ws.language.targetEndWord, "konec");
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(ws.buttons.buttons[i].visible) << i;
    EXPECT_TRUE(ws.buttons.buttons[3].visible);  // no language of its own
    EXPECT_EQ(first.Text(), test::CrLf({"vpred", ""}));

    // Later parts reuse the target: the files are not read again.
    std::filesystem::remove(folder.path("b.ldi"));
    MemoryEditor second(test::CrLf({"forward"}));
    TranslatePart(ws, second, 1, "");
    EXPECT_EQ(second.Text(), test::CrLf({"vpred", ""}));
}

TEST_F(TargetChoice, AFailedTargetLoadLeavesTheEditorUnchanged) {
    ws.buttons.buttons[2].down = true;
    MemoryEditor editor(test::CrLf({"forward"}));
    EXPECT_THROW(TranslatePart(ws, editor, 1, ""), IoError);
    EXPECT_EQ(editor.Text(), test::CrLf({"forward", ""}));
    EXPECT_EQ(ws.language.targetLanguageFile, "missing.ldi");
    EXPECT_EQ(ws.project.saveLanguage, "gamma");
    EXPECT_FALSE(ws.buttons.buttons[0].visible);
}

}  // namespace
}  // namespace vlp
