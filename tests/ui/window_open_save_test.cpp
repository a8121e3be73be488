// The start with a command-line argument, the language buttons and status, and the open and
// save cycle with its questions and derived names.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>

#include "container/project_file.h"
#include "language/discovery.h"
#include "translate/project_session.h"
#include "ui/frames_area.h"
#include "ui/lazy_editor.h"
#include "ui/section_frame.h"
#include "window_fixture.h"

namespace vlp::ui::test {
namespace {

using vlp::test::ReadFile;
using vlp::test::WriteFile;

std::string SavedText(const QString& fileName, std::string* language = nullptr) {
    ProjectLanguageState state;
    std::string text = LoadProjectFile(fileName.toStdString(), state);
    if (language != nullptr) *language = state.projectLanguage;
    return text;
}

// What the core's own road (in-memory editors) saves for the untouched project: the window
// must save the same bytes.
std::string CoreSaveText(const std::string& programDir, const QString& fileName) {
    Workspace ws;
    ws.language.programDir = programDir;
    DiscoverLanguages(ws.language, ws.buttons);
    vlp::test::RecordingReporter reporter;
    const MemoryFrames frames = MakeMemoryFrames(OpenProjectSections(ws, fileName.toStdString(), reporter));
    return ProjectSaveText(ws, frames.frames);
}

struct StartCase {
    const char* name;
    const char* argument;  // "<demo>": the project's full path
    bool opened;
};

class StartTest : public WindowTest, public testing::WithParamInterface<StartCase> {};

TEST_P(StartTest, FirstArgumentOpensTheProject) {
    // A bare name is also looked for in the program's folder.
    WriteTestProject(programDir.file("local.vlp"));
    const QString argument =
        std::string_view(GetParam().argument) == "<demo>" ? demo : QString::fromLatin1(GetParam().argument);
    MainWindow& w = Open({argument});
    if (GetParam().opened) {
        EXPECT_EQ(w.Frames().size(), 5u);
        EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("VLP translator - ")));
        EXPECT_TRUE(w.windowTitle().endsWith(argument));
        EXPECT_TRUE(w.projectChanged());
    } else {
        EXPECT_TRUE(w.Frames().empty());
        EXPECT_EQ(w.windowTitle(), QStringLiteral("VLP translator - [Untitled]"));
        EXPECT_FALSE(w.projectChanged());
    }
    EXPECT_TRUE(prompts.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Window, StartTest,
                         testing::Values(StartCase{"FullPath", "<demo>", true},
                                         StartCase{"BareNameInProgramFolder", "local.vlp", true},
                                         StartCase{"NameThatExistsNowhere", "missing.vlp", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, OpenBuildsOneFramePerSectionWithItsParts) {
    MainWindow& w = OpenDemo();
    const auto frames = w.Frames();
    ASSERT_EQ(frames.size(), 5u);
    const char* captions[] = {"comment", "save options", "globals  (mainwindow)",
                              "top object \"turtle   (turtle)", "global variables"};
    const int parts[] = {1, 1, 3, 3, 1};
    for (std::size_t k = 0; k < frames.size(); ++k) {
        EXPECT_EQ(frames[k]->objectName(), QStringLiteral("Object%1").arg(k + 1));
        EXPECT_EQ(frames[k]->CheckBox1()->text(), QString::fromLatin1(captions[k]));
        EXPECT_EQ(frames[k]->PartCount(), parts[k]);
    }
    EXPECT_EQ(w.EditorList().size(), 9u);
    // The definition text is unpacked into its own part.
    EXPECT_EQ(EditorText(7), "to square :length\r\nrepeat 4 [forward :length right 90 colour 3]\r\nend\r\n");
    // The first editor has the focus, caret at its start.
    EXPECT_EQ(w.focusWidget(), Editor(0)->widget());
    EXPECT_EQ(Editor(0)->SelectionEnd(), 0);
}

TEST_F(WindowTest, LanguageButtonsFollowDiscoveryOpenAndClicks) {
    MainWindow& w = Open();
    EXPECT_EQ(w.LanguageButton(0)->text(), QStringLiteral("cesky"));
    EXPECT_EQ(w.LanguageButton(1)->text(), QStringLiteral("english"));
    for (int k : {2, 3, 4}) {
        EXPECT_EQ(w.LanguageButton(k)->text(), QStringLiteral("..."));
        EXPECT_TRUE(w.LanguageButtonShown(k));
    }
    EXPECT_FALSE(w.LanguageButtonShown(5));
    EXPECT_FALSE(w.LanguageButtonShown(6));
    EXPECT_EQ(w.StatusPanel(3)->text(), QStringLiteral("unknown language"));

    // Before any project: the language is unknown and Translate stays off.
    w.LanguageButton(0)->click();
    EXPECT_EQ(w.StatusPanel(3)->text(), QStringLiteral("unknown language"));
    EXPECT_FALSE(w.TranslateButton()->isEnabled());

    w.OpenProject(demo);
    EXPECT_FALSE(w.LanguageButton(0)->isChecked());  // the open released it
    EXPECT_FALSE(w.LanguageButton(1)->isEnabled());  // the project's own language
    EXPECT_EQ(w.StatusPanel(3)->text(), QStringLiteral("language (english)"));

    w.LanguageButton(0)->click();
    EXPECT_EQ(w.StatusPanel(3)->text(), QStringLiteral("from language (english) to language (cesky)"));
    EXPECT_TRUE(w.TranslateButton()->isEnabled());
    // A button without a language still names itself.
    w.LanguageButton(3)->click();
    EXPECT_FALSE(w.LanguageButton(0)->isChecked());
    EXPECT_EQ(w.StatusPanel(3)->text(), QStringLiteral("from language (english) to language (...)"));
    // Pressing the button that is down releases it.
    w.LanguageButton(3)->click();
    EXPECT_EQ(w.StatusPanel(3)->text(), QStringLiteral("language (english)"));
    EXPECT_FALSE(w.TranslateButton()->isEnabled());
    EXPECT_EQ(w.StatusPanel(2)->text(), QStringLiteral("1/1"));
}

TEST_F(WindowTest, SaveWithoutTranslatingDerivesNewNames) {
    MainWindow& w = OpenDemo();
    w.SaveExecute();
    EXPECT_EQ(w.outputFileName(), ProjectPath("new_demo.vlp"));
    std::string language;
    EXPECT_EQ(SavedText(ProjectPath("new_demo.vlp"), &language),
              CoreSaveText(programDir.dirWithSeparator(), demo));
    EXPECT_EQ(language, "");  // English projects are written without a language chunk
    // A second save writes the same file; a new open derives afresh past the existing one.
    w.SaveExecute();
    EXPECT_FALSE(QFile::exists(ProjectPath("new_new_demo.vlp")));
    w.OpenProject(demo);
    EXPECT_TRUE(w.outputFileName().isEmpty());
    w.SaveExecute();
    EXPECT_EQ(w.outputFileName(), ProjectPath("new_new_demo.vlp"));
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(WindowTest, SaveAfterTranslatingPrefixesTheTargetLanguage) {
    OpenDemo();
    WriteFile(projects.file("cesky_demo.vlp"), "taken");
    TranslateToCesky();
    window->SaveExecute();
    EXPECT_EQ(window->outputFileName(), ProjectPath("new_cesky_demo.vlp"));
    EXPECT_EQ(ReadFile(projects.file("cesky_demo.vlp")), "taken");
    std::string language;
    const std::string text = SavedText(ProjectPath("new_cesky_demo.vlp"), &language);
    EXPECT_EQ(language, "cesky");
    EXPECT_NE(text.find("udalost'click [dopredu 10 colour 5]"), std::string::npos) << text;
    // The picture chunk travels along.
    EXPECT_NE(ReadFile(projects.file("new_cesky_demo.vlp")).find(std::string("\x89PNG\0\x01\x02", 7)),
              std::string::npos);
}

TEST_F(WindowTest, SaveAsThenSaveWriteTheChosenFile) {
    MainWindow& w = OpenDemo();
    const QString chosen = ProjectPath("chosen.vlp");
    prompts.saveNames = {chosen};
    w.SaveAsExecute();
    ASSERT_EQ(prompts.saveRequests.size(), 1u);
    EXPECT_EQ(prompts.saveRequests[0].title, QStringLiteral("Save vorlane project"));
    EXPECT_EQ(prompts.saveRequests[0].filter, QStringLiteral("Vorlane Projekt VLP (*.vlp)"));
    EXPECT_EQ(prompts.saveRequests[0].start, demo);
    const std::string expected = CoreSaveText(programDir.dirWithSeparator(), demo);
    EXPECT_EQ(SavedText(chosen), expected);
    WriteFile(chosen.toStdString(), "old");
    w.SaveExecute();
    EXPECT_EQ(SavedText(chosen), expected);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("VLP translator - ") + demo);
}

TEST_F(WindowTest, SaveAsOntoTheProjectFileFailsAndLeavesItUntouched) {
    MainWindow& w = OpenDemo();
    const std::string before = ReadFile(demo.toStdString());
    prompts.saveNames = {demo};
    w.SaveAsExecute();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("Cannot create file ") + demo);
    EXPECT_EQ(ReadFile(demo.toStdString()), before);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(WindowTest, SaveWithNothingToSaveWritesNothingAndSaysWhy) {
    MainWindow& w = Open();
    w.SaveProject();
    w.SaveAsExecute();
    ASSERT_EQ(prompts.infos.size(), 2u);
    EXPECT_EQ(prompts.infos[0], QStringLiteral("No project is open, so there is nothing to save."));
    EXPECT_TRUE(prompts.saveRequests.empty());

    // An open that produced no sections: a plain text file.
    const QString plain = ProjectPath("plain.vlp");
    WriteFile(plain.toStdString(), "just some text");
    w.OpenProject(plain);
    EXPECT_EQ(prompts.infos.back(), QStringLiteral("wrong VLP file"));
    EXPECT_TRUE(w.Frames().empty());
    w.SaveExecute();
    EXPECT_EQ(prompts.infos.back(), QStringLiteral("The project has no sections; nothing was saved."));
    EXPECT_FALSE(QFile::exists(ProjectPath("new_plain.vlp")));
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(WindowTest, UnencodableCharacterStopsTheSaveAndIsNamed) {
    MainWindow& w = OpenDemo();
    QTextEdit* edit = Editor(1)->widget() != nullptr ? Editor(1)->widget() : Editor(1)->Materialise();
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString(QChar(0x0101)));  // a with macron: not in Windows-1250
    w.SaveExecute();
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("U+0101")));
    EXPECT_TRUE(prompts.errors[0].contains(QStringLiteral("section \"save options\", line 1, column 23")))
        << prompts.errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(ProjectPath("new_demo.vlp")));
}

TEST_F(WindowTest, OpenErrorIsShownAndTheWindowStaysUsable) {
    MainWindow& w = OpenDemo();
    const QString missing = ProjectPath("gone.vlp");
    w.OpenProject(missing);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], QStringLiteral("Cannot open file ") + missing);
    EXPECT_TRUE(w.Frames().empty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("VLP translator - ") + missing);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    w.OpenProject(demo);
    EXPECT_EQ(w.Frames().size(), 5u);
}

TEST_F(WindowTest, QuestionOnOpenCancelNoAndYes) {
    MainWindow& w = OpenDemo();
    const QString question = QStringLiteral("The project ") + demo +
                             QStringLiteral(" has changed.\r\rDo you want to save the changes?");

    prompts.answers = {Prompts::Answer::Cancel};
    w.OpenExecute();
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0], question);
    EXPECT_TRUE(prompts.openRequests.empty());

    prompts.answers = {Prompts::Answer::No};
    w.OpenExecute();
    ASSERT_EQ(prompts.openRequests.size(), 1u);
    EXPECT_EQ(prompts.openRequests[0].title, QStringLiteral("Open vorlane project"));
    EXPECT_EQ(prompts.openRequests[0].filter, QStringLiteral("Vorlane Projekt VLP (*.vlp)"));
    EXPECT_FALSE(QFile::exists(ProjectPath("new_demo.vlp")));

    const QString second = ProjectPath("second.vlp");
    WriteTestProject(second.toStdString());
    prompts.answers = {Prompts::Answer::Yes};
    prompts.openNames = {second};
    w.OpenExecute();
    EXPECT_TRUE(QFile::exists(ProjectPath("new_demo.vlp")));
    EXPECT_EQ(w.projectFileName(), second);
}

TEST_F(WindowTest, QuestionOnCloseKeepsOrClosesTheWindow) {
    MainWindow& w = OpenDemo();
    prompts.answers = {Prompts::Answer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    prompts.answers = {Prompts::Answer::No};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(prompts.questions.size(), 2u);
    EXPECT_FALSE(QFile::exists(ProjectPath("new_demo.vlp")));
}

TEST_F(WindowTest, CloseWithoutAProjectAsksNothing) {
    MainWindow& w = Open();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(prompts.questions.empty());
}

}  // namespace
}  // namespace vlp::ui::test
