// The window on a generated project of 2,000 sections (about 60,000 lines), offscreen: open
// (frames made, laid out and painted), Translate, one step of the ambiguity walk, Find Next and
// Save. The window makes a part's QTextEdit only when it comes into view, so these stay near
// the core's own figures however long the project is.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QToolButton>
#include <memory>
#include <stdexcept>
#include <string>

#include "support/large_project.h"
#include "support/test_support.h"
#include "ui/ambiguity_dialog.h"
#include "ui/find_dialog.h"
#include "ui/lazy_editor.h"
#include "ui/main_window.h"

namespace vlp::ui {
namespace {

constexpr int kSections = 2000;
constexpr int kLanguageItems = 5000;

// Every box would be a surprise here, but for "Text not found" where a benchmark looks for it.
class Loud : public Prompts {
public:
    void Information(const QString& text) override {
        if (text == QStringLiteral("Text not found")) {
            ++notFound;
            return;
        }
        Fail(text);
    }
    void Error(const QString& text) override { Fail(text); }
    Answer Question(const QString& text) override {
        Fail(text);
        return Answer::No;
    }
    QString OpenFileName(const FileRequest&) override { return {}; }
    QString SaveFileName(const FileRequest&) override { return {}; }
    int notFound = 0;

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

// Find Next from the first part: argument 0 looks for a name met in every few sections (the
// next one is near), 1 for a text the project does not hold (every part read, "Text not
// found").
void BM_WindowFindNext(benchmark::State& state) {
    Window w;
    w.window->OpenProject(Data().project);
    Settle();
    w.window->EditorList().front()->Select(0, 0);
    w.window->findDialog()->SetFindText(state.range(0) == 0 ? QStringLiteral("proc_") : QStringLiteral("no such text"));
    for (auto _ : state) {
        w.window->FindNextExecute();
        Settle();
    }
    state.counters["not_found"] = w.loud.notFound;
}

// Save of the translated project: target property names, every frame's text reassembled and
// the container written beside the project.
void BM_WindowSave(benchmark::State& state) {
    Window w;
    w.window->OpenProject(Data().project);
    Settle();
    w.PressTarget();
    w.window->TranslateButtonClick();
    Settle();
    for (auto _ : state) {
        if (!w.window->SaveProject()) state.SkipWithError("the project was not saved");
        Settle();
    }
}

BENCHMARK(BM_WindowOpen)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WindowTranslate)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WindowAmbiguityStep)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_WindowFindNext)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WindowSave)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vlp::ui

// The application lives on main's stack, so that it is gone before the libraries' own
// clean-up at exit runs (a function-local static QApplication outlives it and crashes there).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
