// Find and Find Next across the editors, folding, Show all and Hide all, the edit commands'
// enabled rules, the hints and the names grid with its table files and collision flags.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

#include "ui/find_dialog.h"
#include "ui/lazy_editor.h"
#include "ui/section_frame.h"
#include "window_fixture.h"

namespace vlp::ui::test {
namespace {

class SearchTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenDemo();
    }
    // Find Next with `text`; returns which editor got the focus and what it selects.
    std::pair<int, QString> Find(const QString& text) {
        window->findDialog()->SetFindText(text);
        window->findChild<QAction*>(QStringLiteral("sf"))->trigger();
        QWidget* focus = window->focusWidget();
        for (std::size_t i = 0; i < window->EditorList().size(); ++i)
            if (Editor(static_cast<int>(i))->widget() == focus)
                return {static_cast<int>(i),
                        Editor(static_cast<int>(i))->widget()->textCursor().selectedText()};
        return {-1, {}};
    }
    int SelectionStart(int editor) { return Editor(editor)->widget()->textCursor().selectionStart(); }
};

TEST_F(SearchTest, FindNextWalksTheEditorsAndWrapsAround) {
    EXPECT_EQ(Find(QStringLiteral("FORWARD")), std::make_pair(0, QStringLiteral("forward")));
    EXPECT_EQ(SelectionStart(0), 25);
    EXPECT_EQ(Find(QStringLiteral("forward")), std::make_pair(6, QStringLiteral("forward")));
    EXPECT_EQ(Find(QStringLiteral("forward")), std::make_pair(7, QStringLiteral("forward")));
    // From the caret of the focused editor to its end, then on, wrapping to the first.
    EXPECT_EQ(Find(QStringLiteral("forward")), std::make_pair(0, QStringLiteral("forward")));
    EXPECT_TRUE(prompts.infos.empty());
}

TEST_F(SearchTest, TwoMatchesInOneEditorComeOneAfterTheOther) {
    EXPECT_EQ(Find(QStringLiteral("length")).first, 7);
    const int first = SelectionStart(7);
    EXPECT_EQ(Find(QStringLiteral("length")).first, 7);
    // Line 2 of the editor: offsets in the document count its line end once.
    EXPECT_EQ(SelectionStart(7), 18 + 19);
    EXPECT_EQ(first, 11);
}

TEST_F(SearchTest, TextNotFoundLeavesFocusAndSelection) {
    Find(QStringLiteral("garden"));
    const int start = SelectionStart(3);
    EXPECT_EQ(Find(QStringLiteral("no such words")).first, 3);
    ASSERT_EQ(prompts.infos.size(), 1u);
    EXPECT_EQ(prompts.infos[0], QStringLiteral("Text not found"));
    EXPECT_EQ(SelectionStart(3), start);
    // A character no project can hold is not found either.
    Find(QString(QChar(0x0101)));
    EXPECT_EQ(prompts.infos.size(), 2u);
}

TEST_F(SearchTest, AMatchOnlyBeforeTheCaretIsNotFound) {
    Editor(8)->Select(16, 0);  // the end of the only editor that holds "make"
    Editor(8)->widget()->setFocus();
    Find(QStringLiteral("make"));
    EXPECT_EQ(prompts.infos, std::vector<QString>{QStringLiteral("Text not found")});
}

TEST_F(SearchTest, AMatchInAFoldedFrameUnfoldsIt) {
    SectionFrame* object = window->Frames().at(3);
    object->CheckBox1()->setChecked(false);
    EXPECT_EQ(Find(QStringLiteral("click")), std::make_pair(6, QStringLiteral("click")));
    EXPECT_TRUE(object->CheckBox1()->isChecked());
    EXPECT_TRUE(Editor(6)->IsShown());
}

TEST_F(SearchTest, WithoutAFocusedEditorNothingHappens) {
    window->StringGrid1()->setFocus();
    window->findDialog()->SetFindText(QStringLiteral("forward"));
    window->SearchFind1FindDialogFind();
    EXPECT_TRUE(prompts.infos.empty());
}

TEST_F(SearchTest, FindNextWithNothingToFindOpensTheDialog) {
    window->findChild<QAction*>(QStringLiteral("sf"))->trigger();
    EXPECT_TRUE(window->findDialog()->isVisible());
    EXPECT_TRUE(prompts.infos.empty());
}

TEST_F(WindowTest, FoldingShrinksTheFrameAndMovesTheOthersUp) {
    MainWindow& w = OpenDemo();
    const auto frames = w.Frames();
    SectionFrame* globals = frames.at(2);
    // Three parts: two lines, one line, three lines.
    EXPECT_EQ(Editor(2)->Height(), 36);
    EXPECT_EQ(Editor(3)->Height(), 21);
    EXPECT_EQ(Editor(4)->Height(), 51);
    EXPECT_EQ(globals->height(), 17 + 36 + 21 + 51);
    const int objectTop = frames.at(3)->y();

    globals->CheckBox1()->setChecked(false);
    EXPECT_EQ(globals->height(), 17);
    EXPECT_EQ(frames.at(3)->y(), objectTop - (36 + 21 + 51));
    EXPECT_FALSE(Editor(3)->widget()->isVisible());
    globals->CheckBox1()->setChecked(true);
    EXPECT_EQ(frames.at(3)->y(), objectTop);
    EXPECT_EQ(Editor(4)->widget()->geometry(), QRect(0, 17 + 36 + 21, globals->width(), 51));

    w.acHideAllExecute();
    for (SectionFrame* frame : frames) EXPECT_EQ(frame->height(), 17);
    w.acShowAllExecute();
    EXPECT_EQ(globals->height(), 17 + 36 + 21 + 51);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, AnEditorGrowsWithTheLinesTypedIntoIt) {
    MainWindow& w = OpenDemo();
    const int below = w.Frames().at(2)->y();
    QTextCursor cursor(Editor(1)->widget()->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("\nsecond line"));
    EXPECT_EQ(Editor(1)->Height(), 2 * 15 + 6);
    EXPECT_EQ(Editor(1)->widget()->height(), 2 * 15 + 6);
    EXPECT_EQ(w.Frames().at(2)->y(), below + 15);
    EXPECT_EQ(EditorText(1), "setsaveoptions [1 0 1]\r\nsecond line\r\n");
}

TEST_F(WindowTest, EditCommandsFollowFocusAndSelection) {
    MainWindow& w = OpenDemo();
    auto enabled = [&](const char* name) {
        return w.findChild<QAction*>(QString::fromLatin1(name))->isEnabled();
    };
    QTextEdit* edit = Editor(1)->widget();
    edit->setFocus();
    Editor(1)->Select(0, 14);
    w.ActionListUpdate();
    EXPECT_TRUE(enabled("EditCut1"));
    EXPECT_TRUE(enabled("EditCopy1"));
    EXPECT_TRUE(enabled("EditDelete1"));
    EXPECT_TRUE(enabled("acSelectAll"));
    EXPECT_FALSE(enabled("EditUndo1"));

    w.findChild<QAction*>(QStringLiteral("EditDelete1"))->trigger();
    EXPECT_EQ(EditorText(1), " [1 0 1]\r\n");
    EXPECT_TRUE(enabled("EditUndo1"));
    EXPECT_FALSE(enabled("EditCut1"));
    w.findChild<QAction*>(QStringLiteral("EditUndo1"))->trigger();
    EXPECT_EQ(EditorText(1), "setsaveoptions [1 0 1]\r\n");

    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    w.ActionListUpdate();
    EXPECT_TRUE(enabled("EditPaste1"));
    // Outside an editor the edit commands are off.
    w.TabControl1()->setCurrentIndex(1);
    w.StringGrid1()->setFocus();
    w.ActionListUpdate();
    for (const char* name :
         {"EditUndo1", "EditCut1", "EditCopy1", "EditPaste1", "EditDelete1", "acSelectAll"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_TRUE(enabled("acSave"));
    // The offscreen platform cannot tell Caps Lock: the panel stays empty.
    EXPECT_TRUE(w.StatusPanel(1)->text().isEmpty());
}

struct CommandCase {
    const char* name;
    const char* caption;
    const char* toolTip;
    const char* statusTip;
    QKeySequence shortcut;
};

class CommandTest : public WindowTest, public testing::WithParamInterface<CommandCase> {};

TEST_P(CommandTest, CaptionHintAndShortcut) {
    MainWindow& w = Open();
    const CommandCase& c = GetParam();
    QAction* action = w.findChild<QAction*>(QString::fromLatin1(c.name));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromLatin1(c.caption));
    EXPECT_EQ(action->toolTip(), QString::fromLatin1(c.toolTip));
    EXPECT_EQ(action->statusTip(), QString::fromLatin1(c.statusTip));
    EXPECT_EQ(action->shortcut(), c.shortcut);
    // The long text goes to the hint panel.
    QStatusTipEvent tip(action->statusTip());
    QApplication::sendEvent(&w, &tip);
    EXPECT_EQ(w.StatusPanel(0)->text(), action->statusTip());
}

INSTANTIATE_TEST_SUITE_P(
    Window, CommandTest,
    testing::Values(
        CommandCase{"acOpen", "&Open...", "Open", "Open an existing file",
                    QKeySequence(Qt::CTRL | Qt::Key_O)},
        CommandCase{"acSaveas", "Save &as...", "Save as", "Save the current file with a new name", {}},
        CommandCase{
            "acOpenTable", "Open Table...", "Open Table from text file", "Open Table from text file", {}},
        CommandCase{"EditDelete1", "&Delete", "Delete", "Erases the selection", QKeySequence(Qt::Key_Delete)},
        CommandCase{"sf", "Find &Next", "Find Next", "Repeats the last find", QKeySequence(Qt::Key_F3)},
        CommandCase{"AmbiguityButton", "Ambiguity", "Ambiguity", "Search next ambiguity", {}},
        CommandCase{
            "acAbout", "&About VLP translator...", "About", "Dispay information about the program", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, SaveIsEnabledOnceAProjectWasOpened) {
    MainWindow& w = Open();
    QAction* save = w.findChild<QAction*>(QStringLiteral("acSave"));
    w.ActionListUpdate();
    EXPECT_FALSE(save->isEnabled());
    w.OpenProject(ProjectPath("missing.vlp"));  // even a failed open
    w.ActionListUpdate();
    EXPECT_TRUE(save->isEnabled());
}

class NamesGridTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        OpenDemo();
        grid = window->StringGrid1();
    }
    QString Cell(int row, int column) const { return grid->item(row, column)->text(); }
    QTableWidget* grid = nullptr;
};

TEST_F(NamesGridTest, ListsTheNamesWithTheirTags) {
    EXPECT_EQ(grid->rowCount(), 100);
    const char* rows[][2] = {{"p", "garden"}, {"sg", "size"}, {"p", "square"}, {"", ""}};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(Cell(row, 0), QString::fromLatin1(rows[row][0]));
        EXPECT_EQ(Cell(row, 1), QString::fromLatin1(rows[row][1]));
    }
    EXPECT_FALSE(grid->item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->item(0, 2)->flags() & Qt::ItemIsEditable);

    window->TabControl1()->setCurrentIndex(1);
    const int w = grid->width() - 50 - grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 6;
    EXPECT_EQ(grid->columnWidth(0), 50);
    EXPECT_EQ(grid->columnWidth(1), std::min(w / 2, 250));
    EXPECT_EQ(grid->columnWidth(2), w - std::min(w / 2, 250));
}

TEST_F(NamesGridTest, TypedTranslationsAreUsedAndSaved) {
    grid->item(0, 2)->setText(QStringLiteral(" zahon "));
    TranslateToCesky();
    EXPECT_EQ(EditorText(3), "\tudalost'start [zahon]\r\n");

    const QString table = ProjectPath("names.txt");
    prompts.saveNames = {table};
    window->SaveTableExecute();
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(prompts.saveRequests[0].title, QStringLiteral("Save Table"));
    EXPECT_EQ(prompts.saveRequests[0].filter, QStringLiteral("Text file (*.txt)"));
    EXPECT_EQ(prompts.saveRequests[0].start, ProjectPath("demo.txt"));
    EXPECT_EQ(vlp::test::ReadFile(table.toStdString()), "garden=zahon\r\n");
}

TEST_F(NamesGridTest, OpenTableFillsTheTranslationsOfKnownNames) {
    const QString table = ProjectPath("names.txt");
    vlp::test::WriteFile(table.toStdString(), "  square = ctverec  \r\nunknown=x\r\nno equals sign\r\n");
    grid->item(1, 2)->setText(QStringLiteral("velikost"));
    prompts.openNames = {table};
    window->OpenTableExecute();
    EXPECT_EQ(prompts.openRequests.at(0).title, QStringLiteral("Open table"));
    EXPECT_EQ(Cell(2, 2), QStringLiteral("ctverec"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("velikost"));  // typed before, kept
    EXPECT_EQ(grid->rowCount(), 100);
    EXPECT_TRUE(prompts.errors.empty());

    window->OpenTableExecute();  // cancelled: nothing changes
    EXPECT_EQ(Cell(2, 2), QStringLiteral("ctverec"));
}

TEST_F(NamesGridTest, MissingTableFileIsReported) {
    prompts.openNames = {ProjectPath("gone.txt")};
    window->OpenTableExecute();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("Cannot open file ") + ProjectPath("gone.txt"));
}

TEST_F(NamesGridTest, ANameThatIsAWordOfTheTargetIsFlagged) {
    grid->item(1, 2)->setText(QStringLiteral("opakuj"));
    EXPECT_TRUE(grid->item(1, 2)->toolTip().isEmpty());  // no target chosen yet
    window->LanguageButton(0)->click();
    EXPECT_NE(grid->item(1, 2)->background().color(), QColor());
    EXPECT_TRUE(grid->item(1, 1)->toolTip().contains(QStringLiteral("cesky")))
        << grid->item(1, 1)->toolTip().toStdString();
    EXPECT_TRUE(grid->item(0, 2)->toolTip().isEmpty());
    grid->item(1, 2)->setText(QStringLiteral("velikost"));
    EXPECT_TRUE(grid->item(1, 2)->toolTip().isEmpty());
    // The name itself counts when it has no translation.
    grid->item(1, 2)->setText(QString());
    grid->item(1, 1)->setText(QStringLiteral("Dopredu"));
    EXPECT_FALSE(grid->item(1, 2)->toolTip().isEmpty());
}

TEST_F(NamesGridTest, UnencodableNameStopsTranslate) {
    grid->item(0, 2)->setText(QString(QChar(0x0101)));
    TranslateToCesky();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("names table, row 1, column 3")));
    EXPECT_TRUE(window->TranslateButton()->isEnabled());
    EXPECT_EQ(EditorText(6), "\tevent'click [forward 10 colour 5]\r\n");
}

}  // namespace
}  // namespace vlp::ui::test
