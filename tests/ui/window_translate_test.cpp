// Translate, the ambiguity dialog's walk (replace, skip, close, folded frames), the dictionary
// dump and an error of the target language at the Translate command.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "ui/ambiguity_dialog.h"
#include "ui/lazy_editor.h"
#include "ui/section_frame.h"
#include "window_fixture.h"

namespace vlp::ui::test {
namespace {

QColor ColourAt(QTextEdit* edit, int position) {
    QTextCursor cursor(edit->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

std::vector<QString> VisibleRadios(AmbiguityDialog* dialog) {
    std::vector<QString> captions;
    for (int n = 0; n < kChoiceCount; ++n)
        if (!dialog->Radio(n)->isHidden()) captions.push_back(dialog->Radio(n)->text());
    return captions;
}

TEST_F(WindowTest, TranslateMarksTheWordsAndCountsThem) {
    MainWindow& w = OpenDemo();
    TranslateToCesky();
    EXPECT_EQ(EditorText(6), "\tudalost'click [dopredu 10 colour 5]\r\n");
    EXPECT_EQ(
        Editor(6)->MarkedRuns(),
        (std::vector<Mark>{{1, 7, kMarkTranslated}, {16, 7, kMarkTranslated}, {27, 6, kMarkAmbiguous}}));
    // The comment is left alone.
    EXPECT_EQ(EditorText(0), "; Tom draws squares with forward and right.\r\n");
    QTextEdit* edit = Editor(6)->widget();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(ColourAt(edit, 16), QColor(0, 0, 255));
    EXPECT_EQ(ColourAt(edit, 27), QColor(255, 0, 0));

    EXPECT_EQ(w.StatusPanel(4)->text(), QStringLiteral("23 words translated, 3 ambiguous"));
    EXPECT_FALSE(w.TranslateButton()->isEnabled());
    EXPECT_TRUE(w.AmbiguityButton()->isEnabled());
    for (int k = 0; k < 7; ++k) EXPECT_FALSE(w.LanguageButtonShown(k)) << k;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, AmbiguityWalkReplacesSkipsAndEnds) {
    MainWindow& w = OpenDemo();
    TranslateToCesky();
    w.AmbiguityButton()->trigger();
    AmbiguityDialog* dialog = w.ambiguityDialog();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("« ambiguity »"));
    EXPECT_EQ(VisibleRadios(dialog), (std::vector<QString>{QStringLiteral("barva ... colour of the page"),
                                                           QStringLiteral("barvaPera ... colour of the pen"),
                                                           QStringLiteral("colour")}));
    EXPECT_TRUE(dialog->Radio(0)->isChecked());
    EXPECT_TRUE(dialog->Label1()->isHidden());
    EXPECT_EQ(dialog->RemainingLabel()->text(), QStringLiteral("3 ambiguous words left"));
    // The word is selected in its editor, which has the focus.
    EXPECT_EQ(Editor(5)->widget()->textCursor().selectedText(), QStringLiteral("colour"));
    EXPECT_EQ(w.focusWidget(), Editor(5)->widget());

    dialog->Radio(1)->setChecked(true);
    dialog->Button1()->click();
    EXPECT_EQ(EditorText(5), "novy \"zelva [\r\n\tbarvaPera blue\r\n");
    EXPECT_EQ(Editor(5)->MarkedRuns().back(), (Mark{16, 9, kMarkResolved}));
    EXPECT_EQ(ColourAt(Editor(5)->widget(), 16), QColor(0, 128, 0));
    // The next "colour" comes up with the choice just made.
    EXPECT_EQ(dialog->walk().CurrentEditor(), 6);
    EXPECT_TRUE(dialog->Radio(1)->isChecked());
    EXPECT_EQ(dialog->RemainingLabel()->text(), QStringLiteral("2 ambiguous words left"));

    dialog->Button2()->click();
    EXPECT_EQ(dialog->walk().CurrentEditor(), 7);
    EXPECT_EQ(dialog->RemainingLabel()->text(), QStringLiteral("1 ambiguous word left"));
    dialog->Button2()->click();
    EXPECT_TRUE(dialog->walk().AtEnd());
    EXPECT_FALSE(dialog->Label1()->isHidden());
    EXPECT_EQ(dialog->Label1()->text(), QStringLiteral("no more «ambiguity» ..."));
    EXPECT_TRUE(dialog->Button1()->isHidden());
    EXPECT_TRUE(dialog->Button2()->isHidden());
    EXPECT_TRUE(VisibleRadios(dialog).empty());

    dialog->Button3()->click();
    EXPECT_FALSE(dialog->isVisible());
    // A new walk finds only the words still red.
    w.AmbiguityButton()->trigger();
    EXPECT_EQ(dialog->walk().CurrentEditor(), 6);
    EXPECT_EQ(dialog->RemainingLabel()->text(), QStringLiteral("2 ambiguous words left"));
}

TEST_F(WindowTest, AmbiguityInAFoldedFrameShowsTheEditorWhileOffered) {
    MainWindow& w = OpenDemo();
    TranslateToCesky();
    SectionFrame* object = w.Frames().at(3);
    object->CheckBox1()->setChecked(false);
    EXPECT_EQ(object->ContentHeight(), SectionFrame::kCaptionHeight);

    w.AmbiguityButton()->trigger();
    AmbiguityDialog* dialog = w.ambiguityDialog();
    EXPECT_EQ(dialog->ShownEditor(), 5);
    EXPECT_TRUE(Editor(5)->IsShown());
    EXPECT_FALSE(object->CheckBox1()->isChecked());
    dialog->Button2()->click();
    EXPECT_FALSE(Editor(5)->IsShown());
    EXPECT_TRUE(Editor(6)->IsShown());
    dialog->Button3()->click();
    EXPECT_FALSE(Editor(6)->IsShown());
    EXPECT_EQ(dialog->ShownEditor(), -1);
    EXPECT_EQ(object->ContentHeight(), SectionFrame::kCaptionHeight);
}

TEST_F(WindowTest, AmbiguityWithoutRedWordsEndsAtOnce) {
    MainWindow& w = OpenDemo();
    w.AmbiguityExecute();
    AmbiguityDialog* dialog = w.ambiguityDialog();
    EXPECT_TRUE(dialog->walk().AtEnd());
    EXPECT_FALSE(dialog->Label1()->isHidden());
    EXPECT_TRUE(dialog->Button1()->isHidden());
}

TEST_F(WindowTest, OpeningAnotherProjectLetsTheDialogGoOfTheOldEditors) {
    MainWindow& w = OpenDemo();
    TranslateToCesky();
    w.AmbiguityButton()->trigger();
    w.OpenProject(demo);
    EXPECT_FALSE(w.ambiguityDialog()->isVisible());
    EXPECT_FALSE(w.AmbiguityButton()->isEnabled());
    EXPECT_FALSE(w.TranslateButton()->isEnabled());
    w.ambiguityDialog()->Button1Click();  // nothing left to touch
    w.ambiguityDialog()->Button2Click();
    EXPECT_EQ(EditorText(5), "new \"turtle [\r\n\tcolour blue\r\n");
}

TEST_F(WindowTest, DictionaryDumpOnlyOnceTheWordTableIsFilled) {
    MainWindow& w = OpenDemo();
    QAction* dump = w.findChild<QAction*>(QStringLiteral("Action1"));
    ASSERT_NE(dump, nullptr);
    EXPECT_EQ(dump->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1));
    const QString file = QString::fromStdString(programDir.file("dictionary.txt"));
    dump->trigger();
    EXPECT_TRUE(prompts.infos.empty());
    EXPECT_FALSE(QFile::exists(file));

    TranslateToCesky();
    dump->trigger();
    ASSERT_EQ(prompts.infos.size(), 1u);
    EXPECT_EQ(prompts.infos[0], QStringLiteral("dictionary to file\r\n") + file);
    const std::string text = vlp::test::ReadFile(file.toStdString());
    EXPECT_NE(text.find("colour\tbarva\tcolour of the page\tdict colour\r\n\tbarvaPera\t"), std::string::npos)
        << text;
}

TEST_F(WindowTest, TargetThatCannotBeReadEndsTranslateWithItsError) {
    MainWindow& w = OpenDemo();
    QFile::remove(QString::fromStdString(programDir.file("cesky.ldi")));
    TranslateToCesky();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("Cannot open file ")))
        << prompts.errors[0].toStdString();
    EXPECT_EQ(EditorText(6), "\tevent'click [forward 10 colour 5]\r\n");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(w.TranslateButton()->isEnabled());
    // The window goes on working.
    w.SaveExecute();
    EXPECT_TRUE(QFile::exists(ProjectPath("cesky_demo.vlp")));
}

}  // namespace
}  // namespace vlp::ui::test
