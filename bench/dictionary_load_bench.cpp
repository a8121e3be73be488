// Loading a source and a target language of 5,000 items each and merging them into WordTable.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "bench/random_word.h"
#include "language/dictionary.h"

namespace vlp {
namespace {

constexpr int kItems = 5000;

std::string MakeWord(std::mt19937& random) { return bench::RandomWord(random, 4, 6, 12); }

std::string Section(int item) {
    if (item % 50 == 0) return "colors";
    if (item % 50 == 1) return "name";
    if (item % 40 == 7) return "param";
    return "dict";
}

std::string Description(int item) {
    std::string description;
    if (item % 97 == 3) description = "Net ";
    if (item % 89 == 5) description = "MediaPlayer ";
    description += "Item " + std::to_string(item) + " of the language";
    if (item % 5 == 0) description += " setting";
    return description;
}

void WriteCrLf(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

// The data folder, made once with the same contents on every run, removed at exit.
class BenchLanguages {
public:
    BenchLanguages() {
        std::random_device device;
        dir_ = std::filesystem::temp_directory_path() / ("vlp-bench-" + std::to_string(device()));
        std::filesystem::create_directories(dir_);
        Write();
    }
    ~BenchLanguages() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string programDir() const { return dir_.string() + "/"; }

private:
    void Write() {
        std::mt19937 random(20240611);
        std::string compare = "text hello|A text line\r\nprefix re|A prefix\r\n";
        std::string source = "[system]\r\nlanguage=benchsource\r\nsetfix=set*\r\n";
        std::string target = "[system]\r\nlanguage=benchtarget\r\nsetfix=nastav*\r\n";
        std::string sourceSet = "[set]\r\n";
        std::string sourceGet = "[get]\r\n";
        std::vector<std::string> sourceWords(kItems);
        std::string lastSection;
        for (int item = 0; item < kItems; ++item) {
            const std::string section = Section(item);
            const std::string id = "item" + std::to_string(item);
            compare += section + " " + id + "|" + Description(item) + "\r\n";
            if (item % 250 == 0) compare += "dict mail" + std::to_string(item) + "|Email address\r\n";

            // Every tenth item shares its word with another item, which makes ambiguous words.
            sourceWords[item] = item % 10 == 4 ? sourceWords[item - 4] : MakeWord(random);
            std::string words = sourceWords[item];
            if (item % 3 == 0) words += " " + MakeWord(random).substr(0, 3);
            std::string targetWords = MakeWord(random);
            if (item % 4 == 0) targetWords += " " + MakeWord(random);
            source += "[" + section + "]\r\n" + id + "=" + words + "\r\n";
            target += "[" + section + "]\r\n" + id + "=" + targetWords + "\r\n";

            if (section == "dict" && item % 25 == 0) sourceSet += id + "=put" + MakeWord(random) + "\r\n";
            if (section == "dict" && item % 35 == 0) sourceGet += id + "=get" + MakeWord(random) + "\r\n";
        }
        compare += "other end|End of a definition\r\n";
        source += "[other]\r\nend=end\r\n[text]\r\nhello=Hello there\r\n" + sourceSet + sourceGet;
        target += "[other]\r\nend=koniec\r\n[text]\r\nhello=Ahoj\r\n";
        WriteCrLf(dir_ / "compare.tab", compare);
        WriteCrLf(dir_ / "source.ldi", source);
        WriteCrLf(dir_ / "target.ldi", target);
    }

    std::filesystem::path dir_;
};

const BenchLanguages& Languages() {
    static const BenchLanguages languages;
    return languages;
}

LanguageState FreshState() {
    LanguageState state;
    state.programDir = Languages().programDir();
    state.sourceLanguageFile = "source.ldi";
    state.targetLanguageFile = "target.ldi";
    state.useNet = true;
    state.useMediaPlayer = true;
    return state;
}

// Each iteration loads into the same state, as opening one project after another does.
void BM_LoadSourceLanguage(benchmark::State& bench) {
    LanguageState state = FreshState();
    for (auto _ : bench) {
        LoadSourceLanguage(state);
        benchmark::DoNotOptimize(state.SourceDictionary.pairs.data());
    }
    bench.SetItemsProcessed(bench.iterations() * kItems);
}
BENCHMARK(BM_LoadSourceLanguage)->Unit(benchmark::kMillisecond);

// What a first translation costs in all: both languages read and WordTable built.
void BM_LoadAndMerge(benchmark::State& bench) {
    LanguageState state = FreshState();
    for (auto _ : bench) {
        LoadSourceLanguage(state);
        LoadTargetLanguage(state);
        benchmark::DoNotOptimize(state.WordTable.data());
    }
    bench.SetItemsProcessed(bench.iterations() * 2 * kItems);
    bench.counters["words"] = static_cast<double>(state.WordTable.size());
}
BENCHMARK(BM_LoadAndMerge)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vlp
