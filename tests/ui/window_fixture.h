#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "ui/main_window.h"
#include "ui/prompts.h"

namespace vlp::ui::test {

// Answers every box and dialog from queues and records what was asked and said.
class RecordingPrompts : public Prompts {
public:
    void Information(const QString& text) override { infos.push_back(text); }
    void Error(const QString& text) override { errors.push_back(text); }
    Answer Question(const QString& text) override;
    QString OpenFileName(const FileRequest& request) override;
    QString SaveFileName(const FileRequest& request) override;

    std::vector<QString> infos;
    std::vector<QString> errors;
    std::vector<QString> questions;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    // Queued answers; an empty queue answers Cancel and cancels a file dialog.
    std::deque<Answer> answers;
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
};

// The small language folder every window test uses: english (the source of the test
// projects) and cesky, with one ambiguous word, "colour" (two senses that no class tells
// apart), plus compare.tab.
void WriteTestLanguages(const std::string& programDir);

// The test project's text (english, Windows-1250, CR LF): a comment, save options, globals
// with a definition, a turtle object with an event and a definition, global variables.
std::string TestProjectText();
// A container with the language chunk "english", a picture chunk and the text.
void WriteTestProject(const std::string& fileName, const std::string& text = TestProjectText());

class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window over the test languages, shown, with its ambiguity dialog; the command line
    // is `arguments`.
    MainWindow& Open(const QStringList& arguments = {});
    // Open() with the test project on the command line.
    MainWindow& OpenDemo();
    // Presses the "cesky" button and Translate.
    void TranslateToCesky();

    QString ProjectPath(const char* name) const { return QString::fromStdString(projects.file(name)); }
    PartEditor* Editor(int index) const;
    // The text of editor `index` as the core reads it.
    std::string EditorText(int index) const;

    vlp::test::TempDir programDir;
    vlp::test::TempDir projects;
    RecordingPrompts prompts;
    std::unique_ptr<MainWindow> window;
    QString demo;
};

void ProcessEvents();

}  // namespace vlp::ui::test
