#pragma once

#include <string>

#include "language/language_state.h"

namespace vlp {

// The dump text of WordTable: per sense a line word/TAB target TAB description TAB key, CR LF.
std::string DictionaryDumpText(const std::vector<WordEntry>& wordTable);

// Writes the dump to fileName (default programDir + "dictionary.txt"). Returns false, writing
// nothing, when WordTable is empty. Throws IoError when the file cannot be written.
bool DumpDictionary(const LanguageState& state, const std::string& fileName);
std::string DefaultDumpFileName(const LanguageState& state);

}  // namespace vlp
