// The QTextEdit adapter of the core's editor interface: text in and out byte for byte, offsets
// that count a line end as CR LF, and marks read back from the document's fragments.
#include "ui/qt_editor.h"

#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "translate/memory_editor.h"
#include "ui/lazy_editor.h"
#include "ui/section_frame.h"
#include "window_fixture.h"

namespace vlp::ui::test {
namespace {

struct TextCase {
    const char* name;
    std::string in;
    std::string out;
};

class QtEditorTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(QtEditorTextTest, TextComesBackAsTheCoreWroteIt) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText(GetParam().in);
    EXPECT_EQ(editor.Text(), GetParam().out);
}

std::string AllBytes() {
    std::string line;
    for (int b = 1; b < 256; ++b)
        if (b != '\r') line += static_cast<char>(b);
    return line + "\r\n";
}

INSTANTIATE_TEST_SUITE_P(
    Editor, QtEditorTextTest,
    testing::Values(TextCase{"Empty", "", ""}, TextCase{"FinalLineEndImplied", "a\r\nb", "a\r\nb\r\n"},
                    TextCase{"EmptyLineKept", "a\r\n\r\nb\r\n", "a\r\n\r\nb\r\n"},
                    TextCase{"NoBreakSpaceStaysItself",
                             "a\xA0"
                             "b\r\n",
                             "a\xA0"
                             "b\r\n"},
                    TextCase{"BareLineFeedStaysInsideItsLine", "a\nb\r\nc\rd\r\n", "a\nb\r\nc\rd\r\n"},
                    TextCase{"EveryByte", AllBytes(), AllBytes()},
                    TextCase{"Accents",
                             "\x9E"
                             "elva \x9A"
                             "t\xEC"
                             "st\xED\r\n",
                             "\x9E"
                             "elva \x9A"
                             "t\xEC"
                             "st\xED\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QtEditorTest, OffsetsCountALineEndAsTwo) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText("ab\r\ncde\r\n\r\nf\r\n");
    // Core offsets of a, c, e, the empty line and f; block positions one less per line.
    const std::pair<int, int> cases[] = {{0, 0}, {4, 3}, {6, 5}, {9, 7}, {11, 8}};
    for (const auto& [offset, position] : cases) {
        EXPECT_EQ(editor.ToPosition(offset), position) << offset;
        EXPECT_EQ(editor.ToOffset(position), offset) << position;
    }
}

TEST(QtEditorTest, MarksRoundTripAcrossLines) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText("barva 10\r\n\tcolour x colour\r\n");
    const std::vector<Mark> marks = {
        {0, 5, kMarkTranslated}, {11, 6, kMarkAmbiguous}, {20, 6, kMarkAmbiguous}};
    editor.SetMarks(marks);
    EXPECT_EQ(editor.MarkedRuns(), marks);

    // The same text and marks in the core's own editor give the same runs.
    MemoryEditor memory(editor.Text());
    memory.SetMarks(marks);
    EXPECT_EQ(memory.MarkedRuns(), editor.MarkedRuns());

    // Formats as the user sees them.
    QTextCursor cursor(&document);
    cursor.setPosition(11);  // inside the first "colour" of line 2 (block position 9 + 2)
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(255, 0, 0));
    EXPECT_GE(cursor.charFormat().fontWeight(), QFont::Bold);
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0, 0, 255));
}

TEST(QtEditorTest, ReplaceGivesTheNewTextItsStatus) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText("x\r\ncolour 5\r\n");
    editor.SetMarks({{3, 6, kMarkAmbiguous}});
    editor.Replace(3, 6, "barvaPera", kMarkResolved);
    EXPECT_EQ(editor.Text(), "x\r\nbarvaPera 5\r\n");
    EXPECT_EQ(editor.MarkedRuns(), (std::vector<Mark>{{3, 9, kMarkResolved}}));
    QTextCursor cursor(&document);
    cursor.setPosition(4);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0, 128, 0));
    EXPECT_LT(cursor.charFormat().fontWeight(), QFont::Bold);
}

TEST(QtEditorTest, RedBoldTextCountsAsAmbiguousWhoeverColouredIt) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText("one two\r\n");
    QTextCharFormat userFormat;
    userFormat.setForeground(QColor(255, 0, 0));
    userFormat.setFontWeight(QFont::Bold);
    QTextCursor cursor(&document);
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    cursor.setCharFormat(userFormat);
    EXPECT_EQ(editor.MarkedRuns(), (std::vector<Mark>{{4, 3, kMarkAmbiguous}}));
}

TEST(QtEditorTest, RunsStopAtControlCharacters) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText("ab\tcd\r\n");
    editor.SetMarks({{0, 5, kMarkTranslated}});
    EXPECT_EQ(editor.MarkedRuns(), (std::vector<Mark>{{0, 2, kMarkTranslated}, {3, 2, kMarkTranslated}}));
}

TEST(QtEditorTest, FindsTheFirstCharacterWindows1250CannotHold) {
    QTextDocument document;
    QtEditor editor(&document);
    editor.SetText("ok\r\nfine\r\n");
    EXPECT_FALSE(editor.FindUnencodable());
    QTextCursor cursor(&document);
    cursor.setPosition(6);
    cursor.insertText(QString::fromUcs4(U"\U0001F600x"));
    const auto bad = editor.FindUnencodable();
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->codePoint, U'\U0001F600');
    EXPECT_EQ(bad->line, 2);
    EXPECT_EQ(bad->column, 4);
    // Each half of the pair stays one character wide for the core, so offsets still agree.
    EXPECT_EQ(editor.Text(), "ok\r\nfin??xe\r\n");
}

// A part keeps its text in memory until it is made into a QTextEdit; translation and marks
// done before carry over.
TEST(PartEditorTest, MarksMadeBeforeTheWidgetCarryOver) {
    SectionFrame frame(1, nullptr);
    frame.resize(400, 100);
    frame.AddEditor("colour 5\r\nfd 10\r\n", 1, "turtle");
    PartEditor* part = frame.Part(0);
    EXPECT_FALSE(part->IsMaterialised());
    part->SetMarks({{0, 6, kMarkAmbiguous}, {10, 2, kMarkTranslated}});
    const auto runs = part->MarkedRuns();
    QTextEdit* edit = part->Materialise();
    frame.show();
    ProcessEvents();
    EXPECT_EQ(edit->objectName(), QStringLiteral("RichEdit1"));
    EXPECT_EQ(part->MarkedRuns(), runs);
    EXPECT_EQ(part->Text(), "colour 5\r\nfd 10\r\n");
    EXPECT_EQ(edit->height(), 2 * 15 + 6);
    // The document fits the editor exactly: no scrolling inside it.
    EXPECT_LE(edit->document()->size().height(), edit->viewport()->height());
}

}  // namespace
}  // namespace vlp::ui::test
