#include "language/dictionary_dump.h"

#include "container/replacement_file.h"

namespace vlp {

std::string DictionaryDumpText(const std::vector<WordEntry>& wordTable) {
    std::string text;
    for (const WordEntry& entry : wordTable) {
        bool first = true;
        for (const Sense& sense : entry.senses) {
            if (first) text += entry.word;
            first = false;
            text += '\t' + sense.target + '\t' + sense.description + '\t' + sense.key + "\r\n";
        }
    }
    return text;
}

bool DumpDictionary(const LanguageState& state, const std::string& fileName) {
    if (state.WordTable.empty()) return false;
    const std::string text = DictionaryDumpText(state.WordTable);
    // Written whole or not at all: an earlier dump keeps its bytes until the new one is complete.
    ReplacementFile file(fileName);
    file.Write(text.data(), text.size());
    file.Commit();
    return true;
}

std::string DefaultDumpFileName(const LanguageState& state) {
    return state.programDir + "dictionary.txt";
}

}  // namespace vlp
