// Translating project text: the line scanner, word lookup in a WordTable of 5,000 words with
// synonyms and ambiguous words, and the names table, over about 8 MB of made-up project lines.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>

#include "bench/plain_tokenizer.h"
#include "bench/random_word.h"
#include "translate/memory_editor.h"
#include "translate/text_translation.h"

namespace vlp {
namespace {

constexpr int kWords = 5000;
constexpr int kNames = 300;
constexpr std::size_t kTextBytes = 8 << 20;

std::string MakeWord(std::mt19937& random) { return bench::RandomWord(random, 2, 8, 15); }

struct Corpus {
    Workspace ws;
    std::vector<std::string> words;
    std::vector<std::string> names;
    std::string text;
};

// Picks word i of n: uniformly, or skewed towards the first words as programs use a few
// primitives most of the time.
std::size_t Pick(std::mt19937& random, std::size_t n, bool skewed) {
    if (!skewed) return random() % n;
    const double u = static_cast<double>(random()) / 4294967296.0;
    return static_cast<std::size_t>(static_cast<double>(n) * u * u * u * u) % n;
}

Corpus MakeCorpus(bool skewed) {
    Corpus corpus;
    std::mt19937 random(20261208);
    Workspace& ws = corpus.ws;
    ws.language.sourceSetPrefix = "set";
    ws.language.targetSetPrefix = "nastav";
    ws.language.sourceEndWord = "END";
    ws.language.targetEndWord = "konec";
    ws.language.targetLanguageFile = "fixed.ldi";
    for (int i = 0; i < kWords; ++i) {
        WordEntry entry;
        entry.word = MakeWord(random);
        const int senses = random() % 10 == 0 ? 2 + static_cast<int>(random() % 3) : 1;
        for (int s = 0; s < senses; ++s)
            entry.senses.push_back({MakeWord(random), "Turtle - item " + std::to_string(i) + " setting",
                                    "dict", "dict w" + std::to_string(i) + "_" + std::to_string(s)});
        corpus.words.push_back(entry.word);
        ws.language.WordTable.push_back(std::move(entry));
    }
    std::sort(ws.language.WordTable.begin(), ws.language.WordTable.end(),
              [](const WordEntry& a, const WordEntry& b) { return a.word < b.word; });
    ws.language.WordTable.erase(
        std::unique(ws.language.WordTable.begin(), ws.language.WordTable.end(),
                    [](const WordEntry& a, const WordEntry& b) { return a.word == b.word; }),
        ws.language.WordTable.end());
    for (int i = 0; i < kNames; ++i) {
        corpus.names.push_back("my" + MakeWord(random));
        ws.parse.NameTranslations[0].emplace_back(corpus.names.back(), i % 3 == 0 ? "*" : MakeWord(random));
    }

    // Lines as projects have them: indented primitives with numbers, names and variables,
    // brackets, quoted strings, now and then a comment line.
    std::string& text = corpus.text;
    while (text.size() < kTextBytes) {
        const int kind = static_cast<int>(random() % 20);
        if (kind == 0) {
            text += "; a comment line with words that stay as they are\r\n";
            continue;
        }
        text += random() % 2 ? "\t" : "  ";
        const int tokens = 3 + static_cast<int>(random() % 8);
        for (int t = 0; t < tokens; ++t) {
            const int what = static_cast<int>(random() % 10);
            if (what < 5)
                text += corpus.words[Pick(random, corpus.words.size(), skewed)];
            else if (what < 7)
                text += std::to_string(random() % 1000);
            else if (what < 8)
                text += ":" + corpus.names[Pick(random, corpus.names.size(), skewed)];
            else if (what < 9)
                text += "[" + corpus.words[Pick(random, corpus.words.size(), skewed)] + "]";
            else
                text += "|some quoted text|";
            text += ' ';
        }
        text += "end\r\n";
    }
    return corpus;
}

const Corpus& SharedCorpus(bool skewed) {
    static const Corpus uniform = MakeCorpus(false);
    static const Corpus skewedCorpus = MakeCorpus(true);
    return skewed ? skewedCorpus : uniform;
}

// Argument 0: words drawn uniformly from the table; 1: skewed towards a small vocabulary.
void BM_TranslateText(benchmark::State& state) {
    Corpus corpus = SharedCorpus(state.range(0) != 0);
    PartTranslator translator(corpus.ws);
    std::vector<Mark> marks;
    for (auto _ : state) {
        marks.clear();
        std::string out = translator.TranslateText(corpus.text, 1, "turtle", marks);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(corpus.text.size()));
}
BENCHMARK(BM_TranslateText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole part: reading the editor, translating, replacing its text and colouring the marks.
void BM_TranslatePart(benchmark::State& state) {
    Corpus corpus = SharedCorpus(state.range(0) != 0);
    PartTranslator translator(corpus.ws);
    for (auto _ : state) {
        state.PauseTiming();
        MemoryEditor editor(corpus.text);
        state.ResumeTiming();
        translator.TranslatePart(editor, 1, "turtle");
        benchmark::DoNotOptimize(&editor);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(corpus.text.size()));
}
BENCHMARK(BM_TranslatePart)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A plain tokenizer with a hash lookup per word: the floor the scanner is measured against.
void BM_TokenizeAndHash(benchmark::State& state) {
    const Corpus& corpus = SharedCorpus(state.range(0) != 0);
    std::unordered_map<std::string_view, int> table;
    for (std::size_t i = 0; i < corpus.ws.language.WordTable.size(); ++i)
        table.emplace(corpus.ws.language.WordTable[i].word, static_cast<int>(i));
    for (auto _ : state) benchmark::DoNotOptimize(bench::TokenizeAndCount(corpus.text, table));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(corpus.text.size()));
}
BENCHMARK(BM_TokenizeAndHash)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vlp
