#include "window_fixture.h"

#include <QApplication>
#include <QToolButton>

#include "ui/ambiguity_dialog.h"
#include "ui/lazy_editor.h"

namespace vlp::ui::test {
namespace {

// One QApplication for the whole test program, made before the first test.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[8] = "test_ui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

const char* const kClasses[] = {"button", "colorslider", "colourbutton", "commport",     "joystick",
                                "main",   "mainwindow",  "mediaplayer",  "melodybutton", "net",
                                "page",   "pageswitch",  "pane",         "separator",    "slider",
                                "switch", "textbox",     "toolbar",      "toolbutton",   "toolwindow",
                                "turtle", "web",         "widthswitch",  "window"};

}  // namespace

Prompts::Answer RecordingPrompts::Question(const QString& text) {
    questions.push_back(text);
    if (answers.empty()) return Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString RecordingPrompts::OpenFileName(const FileRequest& request) {
    openRequests.push_back(request);
    if (openNames.empty()) return {};
    QString name = openNames.front();
    openNames.pop_front();
    return name;
}

QString RecordingPrompts::SaveFileName(const FileRequest& request) {
    saveRequests.push_back(request);
    if (saveNames.empty()) return {};
    QString name = saveNames.front();
    saveNames.pop_front();
    return name;
}

void WriteTestLanguages(const std::string& programDir) {
    std::string english = Lines({"[system]",
                                 "language=english",
                                 "setfix=set*",
                                 "[dict]",
                                 ".new.=new",
                                 ".setstate.=setstate",
                                 "newclass=newclass",
                                 ".setSaveOptions=setsaveoptions",
                                 "make=make",
                                 "setplist=setplist",
                                 "forward=forward fd",
                                 "right=right rt",
                                 "repeat=repeat",
                                 "print=print pr",
                                 "colour=colour",
                                 "to=to",
                                 "[pen]",
                                 "colour=colour",
                                 "[param]",
                                 "define=define",
                                 "event=event",
                                 "[other]",
                                 "end=end",
                                 "[class]"});
    std::string cesky = Lines({"[system]",
                               "language=cesky",
                               "setfix=nastav*",
                               "[dict]",
                               ".new.=novy",
                               ".setstate.=nastavStav",
                               "newclass=novaTrida",
                               ".setSaveOptions=nastavVolbyUlozeni",
                               "make=udelej",
                               "setplist=nastavSeznam",
                               "forward=dopredu do",
                               "right=vpravo vp",
                               "repeat=opakuj",
                               "print=pis",
                               "colour=barva",
                               "to=viem",
                               "[pen]",
                               "colour=barvaPera",
                               "[param]",
                               "define=prikaz",
                               "event=udalost",
                               "[other]",
                               "end=konec",
                               "[class]"});
    std::string compare =
        Lines({"dict .new.|new object", "dict .setstate.|set the state", "dict newclass|new class",
               "dict .setSaveOptions|save options", "dict make|make a variable",
               "dict setplist|property list", "dict forward|move forward", "dict right|turn right",
               "dict repeat|repeat a list", "dict print|print a value", "dict to|start a procedure",
               "dict colour|colour of the page", "pen colour|colour of the pen", "param define|a definition",
               "param event|an event", "other end|end of a definition"});
    for (const char* name : kClasses) {
        english += std::string(name) + "=" + name + "\r\n";
        cesky += std::string(name) + "=" + (std::string_view(name) == "turtle" ? "zelva" : name) + "\r\n";
        compare += std::string("class ") + name + "|class " + name + "\r\n";
    }
    vlp::test::WriteFile(programDir + "english.ldi", english);
    vlp::test::WriteFile(programDir + "cesky.ldi", cesky);
    vlp::test::WriteFile(programDir + "compare.tab", compare);
}

std::string TestProjectText() {
    return Lines({
        "; Tom draws squares with forward and right.",
        "",
        "setsaveoptions [1 0 1]",
        "",
        "setstate [",
        "\tstate'size 40",
        "\tevent'start [garden]",
        "\tdefine'garden |to garden\xB6repeat 3 [square :size]\xB6"
        "end|",
        "",
        "new \"turtle [",
        "\tcolour blue",
        "\tevent'click [forward 10 colour 5]",
        "\tdefine'square |to square :length\xB6repeat 4 [forward :length right 90 colour 3]\xB6"
        "end|",
        "",
        "make \"size 40",
    });
}

void WriteTestProject(const std::string& fileName, const std::string& text) {
    vlp::test::WriteFile(fileName, vlp::test::ContainerBuilder("05")
                                       .chunk("LA 1", "english")
                                       .chunk("PI 1", std::string("\x89PNG\0\x01\x02", 7))
                                       .chunk("TX 1", text)
                                       .bytes());
}

void ProcessEvents() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void WindowTest::SetUp() {
    WriteTestLanguages(programDir.dirWithSeparator());
    demo = ProjectPath("demo.vlp");
    WriteTestProject(demo.toStdString());
}

void WindowTest::TearDown() {
    window.reset();
    ProcessEvents();
}

MainWindow& WindowTest::Open(const QStringList& arguments) {
    MainWindowOptions options;
    options.programDir = programDir.dirWithSeparator();
    options.arguments = arguments;
    options.prompts = &prompts;
    window = std::make_unique<MainWindow>(options);
    window->SetAmbiguityDialog(new AmbiguityDialog(*window, window.get()));
    window->show();
    ProcessEvents();
    return *window;
}

MainWindow& WindowTest::OpenDemo() {
    return Open({demo});
}

void WindowTest::TranslateToCesky() {
    window->LanguageButton(0)->click();
    window->TranslateButton()->trigger();
    ProcessEvents();
}

PartEditor* WindowTest::Editor(int index) const {
    return window->EditorList().at(static_cast<std::size_t>(index));
}

std::string WindowTest::EditorText(int index) const {
    return Editor(index)->Text();
}

}  // namespace vlp::ui::test
