// The steps a user waits on, on generated projects of 1, 4 and 16 times 500 sections: open and
// parse, translate every part, walk every ambiguity, reassemble and save. Each reports the
// project text's bytes per second, so that growth beyond linear shows as falling throughput.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "bench/plain_tokenizer.h"
#include "container/project_file.h"
#include "support/large_project.h"
#include "support/test_support.h"
#include "translate/ambiguity_walk.h"
#include "translate/project_session.h"

namespace vlp::test {
namespace {

constexpr int kLanguageItems = 5000;
constexpr int kBaseSections = 500;

class Quiet : public Reporter {
public:
    void Message(const std::string& text) override {
        throw std::runtime_error("unexpected message: " + text);
    }
};

// The language folder and one project file per size, made on first use and removed at exit.
class BenchData {
public:
    BenchData() { GenerateLanguageFolder(dir_.path(), kLanguageItems); }

    const std::filesystem::path& folder() const { return dir_.path(); }

    struct Project {
        std::string fileName;
        std::int64_t textBytes = 0;
    };
    const Project& project(int sections) {
        Project& project = projects_[sections];
        if (project.fileName.empty()) {
            project.fileName = dir_.file("project" + std::to_string(sections) + ".vlp");
            project.textBytes = static_cast<std::int64_t>(WriteGeneratedProject(project.fileName, sections));
        }
        return project;
    }
    std::string output(int sections) const { return dir_.file("saved" + std::to_string(sections) + ".vlp"); }

private:
    TempDir dir_;
    std::map<int, Project> projects_;
};

BenchData& Data() {
    static BenchData data;
    return data;
}

// An opened project in memory editors, as the batch tool holds it.
struct OpenedProject {
    Workspace ws;
    std::vector<TStruct> sections;
    MemoryFrames frames;
};

std::unique_ptr<OpenedProject> Open(const std::string& fileName) {
    auto opened = std::make_unique<OpenedProject>();
    UseGeneratedLanguages(opened->ws, Data().folder());
    Quiet quiet;
    opened->sections = OpenProjectSections(opened->ws, fileName, quiet);
    opened->frames = MakeMemoryFrames(opened->sections);
    PressGeneratedTargetButton(opened->ws);
    // The target dictionary is loaded by the first translation; its cost is the dictionary
    // benchmark's, not this one's.
    ChooseTargetLanguage(opened->ws);
    return opened;
}

std::unique_ptr<OpenedProject> OpenTranslated(const std::string& fileName) {
    auto opened = Open(fileName);
    TranslateProject(opened->ws, opened->frames.frames);
    return opened;
}

int Sections(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}

// Load, language check, source dictionary, block split, parse of every section, names grid;
// and the editors made from the sections.
void BM_OpenProject(benchmark::State& state) {
    const auto& project = Data().project(Sections(state));
    Workspace ws;
    UseGeneratedLanguages(ws, Data().folder());
    Quiet quiet;
    std::vector<TStruct> sections;
    MemoryFrames frames;
    for (auto _ : state) {
        // The last iteration's sections and editors are freed outside the timing.
        state.PauseTiming();
        sections = {};
        frames = {};
        state.ResumeTiming();
        sections = OpenProjectSections(ws, project.fileName, quiet);
        frames = MakeMemoryFrames(sections);
        benchmark::DoNotOptimize(frames.editors.data());
    }
    state.SetBytesProcessed(state.iterations() * project.textBytes);
    state.counters["editors"] = static_cast<double>(frames.editors.size());
}

// The Translate command on fresh editors: the names grid taken over, every part of every frame
// translated and marked.
void BM_TranslateProject(benchmark::State& state) {
    const auto& project = Data().project(Sections(state));
    auto opened = Open(project.fileName);
    std::int64_t editorBytes = 0;
    for (const auto& editor : opened->frames.editors)
        editorBytes += static_cast<std::int64_t>(editor->Text().size());
    MemoryFrames frames;
    for (auto _ : state) {
        // The editors of the last iteration are freed here too, outside the timing.
        state.PauseTiming();
        frames = MakeMemoryFrames(opened->sections);
        state.ResumeTiming();
        TranslateProject(opened->ws, frames.frames);
        benchmark::DoNotOptimize(frames.editors.data());
    }
    state.SetBytesProcessed(state.iterations() * project.textBytes);
    state.counters["editor_bytes"] = static_cast<double>(editorBytes);
}

// The plain tokenizer with a hash lookup (bench/plain_tokenizer.h) over the same project text
// and the generated dictionary's words: the floor BM_TranslateProject is measured against.
void BM_TokenizeProject(benchmark::State& state) {
    const auto& project = Data().project(Sections(state));
    auto opened = Open(project.fileName);
    std::string text;
    for (const auto& editor : opened->frames.editors) text += editor->Text();
    std::unordered_map<std::string_view, int> table;
    const auto& words = opened->ws.language.WordTable;
    for (std::size_t i = 0; i < words.size(); ++i) table.emplace(words[i].word, static_cast<int>(i));
    for (auto _ : state) benchmark::DoNotOptimize(bench::TokenizeAndCount(text, table));
    state.SetBytesProcessed(state.iterations() * project.textBytes);
}

// The ambiguity walk from its start through every red word to the end, skipping each (skip
// leaves the editors unchanged, so every iteration walks the same words).
void BM_AmbiguityWalk(benchmark::State& state) {
    const auto& project = Data().project(Sections(state));
    auto opened = OpenTranslated(project.fileName);
    const std::vector<Editor*> editors = opened->frames.EditorList();
    std::int64_t words = 0;
    for (auto _ : state) {
        AmbiguityWalk walk;
        walk.Start(editors);
        words = 0;
        for (bool found = walk.FindNext(opened->ws); found; found = walk.Skip(opened->ws)) ++words;
        benchmark::DoNotOptimize(words);
    }
    state.SetBytesProcessed(state.iterations() * project.textBytes);
    state.SetItemsProcessed(state.iterations() * words);
    state.counters["ambiguities"] = static_cast<double>(words);
}

// Save: target property names, every frame reassembled, the container written beside the
// project (temporary file renamed into place).
void BM_SaveProject(benchmark::State& state) {
    const int sections = Sections(state);
    const auto& project = Data().project(sections);
    auto opened = OpenTranslated(project.fileName);
    const std::string output = Data().output(sections);
    for (auto _ : state) {
        const std::string text = ProjectSaveText(opened->ws, opened->frames.frames);
        SaveProjectFile(project.fileName, output, text, opened->ws.project.saveLanguage);
    }
    state.SetBytesProcessed(state.iterations() * project.textBytes);
}

void Sizes(benchmark::internal::Benchmark* bench) {
    for (int factor : {1, 4, 16}) bench->Arg(kBaseSections * factor);
    bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_OpenProject)->Apply(Sizes);
BENCHMARK(BM_TranslateProject)->Apply(Sizes);
BENCHMARK(BM_TokenizeProject)->Apply(Sizes);
BENCHMARK(BM_AmbiguityWalk)->Apply(Sizes);
BENCHMARK(BM_SaveProject)->Apply(Sizes);

}  // namespace
}  // namespace vlp::test
