// The window on a generated project of 2,000 sections (about 60,000 lines), offscreen: open
// (frames made, laid out and painted), Translate, and one step of the ambiguity walk. The
// window makes a part's QTextEdit only when it comes into view, so these stay near the core's
// own figures however long the project is.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QToolButton>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/large_project.h"
#include "support/test_support.h"
#include "ui/ambiguity_dialog.h"
#include "ui/main_window.h"

namespace vlp::ui {
namespace {

constexpr int kSections = 2000;
constexpr int kLanguageItems = 5000;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "window_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Every box would be a surprise here.
class Loud : public Prompts {
public:
    void Information(const QString& text) override { Fail(text); }
    void Error(const QString& text) override { Fail(text); }
    Answer Question(const QString& text) override {
        Fail(text);
        return Answer::No;
    }
    QString OpenFileName(const FileRequest&) override { return {}; }
    QString SaveFileName(const FileRequest&) override { return {}; }

private:
    static void Fail(const QString& text) {
        throw std::runtime_error("unexpected message: " + text.toStdString());
    }
};

struct BenchData {
    BenchData() {
        vlp::test::GenerateLanguageFolder(dir.path(), kLanguageItems);
        project = QString::fromStdString(dir.file("project.vlp"));
        vlp::test::WriteGeneratedProject(project.toStdString(), kSections);
    }
    vlp::test::TempDir dir;
    QString project;
};

BenchData& Data() {
    static BenchData data;
    return data;
}

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

struct Window {
    Window() {
        Application();
        MainWindowOptions options;
        options.programDir = Data().dir.dirWithSeparator();
        options.prompts = &loud;
        window = std::make_unique<MainWindow>(options);
        window->SetAmbiguityDialog(new AmbiguityDialog(*window, window.get()));
        window->show();
        Settle();
    }
    void PressTarget() {
        for (int k = 0; k < 7; ++k)
            if (window->LanguageButton(k)->text() == QLatin1String(vlp::test::kGeneratedTargetLanguage))
                window->LanguageButton(k)->click();
    }
    Loud loud;
    std::unique_ptr<MainWindow> window;
};

void BM_WindowOpen(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.window->OpenProject(Data().project);
        Settle();
    }
    state.counters["editors"] = static_cast<double>(w.window->EditorList().size());
}

void BM_WindowTranslate(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        w.window->OpenProject(Data().project);
        Settle();
        w.PressTarget();
        state.ResumeTiming();
        w.window->TranslateButtonClick();
        Settle();
    }
}

// One replace or skip: the next red word found, its senses offered, its editor shown and
// scrolled into view.
void BM_WindowAmbiguityStep(benchmark::State& state) {
    Window w;
    w.window->OpenProject(Data().project);
    w.PressTarget();
    w.window->TranslateButtonClick();
    AmbiguityDialog* dialog = w.window->ambiguityDialog();
    w.window->AmbiguityExecute();
    Settle();
    std::int64_t steps = 0;
    for (auto _ : state) {
        if (dialog->walk().AtEnd()) {
            state.PauseTiming();
            dialog->Button3Click();
            w.window->AmbiguityExecute();
            state.ResumeTiming();
        }
        dialog->Button2Click();
        Settle();
        ++steps;
    }
    state.counters["steps"] = static_cast<double>(steps);
}

BENCHMARK(BM_WindowOpen)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WindowTranslate)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WindowAmbiguityStep)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace
}  // namespace vlp::ui
