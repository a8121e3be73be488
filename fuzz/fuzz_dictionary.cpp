// The dictionary loader on hand-edited files: the input is split at the first NUL byte into
// compare.tab and a dictionary, loaded as source and as target; the merged word table must
// come out sorted with one entry per word, and the dump must be made of it.
#include "fuzz/fuzz_support.h"
#include "language/dictionary.h"
#include "language/dictionary_dump.h"
#include "language/discovery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vlp;
    const std::string_view input = fuzz::AsText(data, size);
    const auto split = input.find('\0');
    const std::string_view compare = input.substr(0, split);
    const std::string_view dictionary = split == std::string_view::npos ? input : input.substr(split + 1);
    fuzz::WriteBytes(fuzz::WorkFile("compare.tab"), compare);
    fuzz::WriteBytes(fuzz::WorkFile("fuzz.ldi"), dictionary);

    LanguageState state;
    state.programDir = fuzz::WorkDir() + "/";
    LanguageButtons buttons;
    try {
        DiscoverLanguages(state, buttons);
        state.sourceLanguageFile = "fuzz.ldi";
        state.targetLanguageFile = "fuzz.ldi";
        state.useNet = true;
        LoadSourceLanguage(state);
        LoadTargetLanguage(state);
        for (std::size_t i = 1; i < state.WordTable.size(); ++i)
            if (!(state.WordTable[i - 1].word < state.WordTable[i].word)) __builtin_trap();
        DictionaryDumpText(state.WordTable);
    } catch (const IoError&) {
    }
    return 0;
}
