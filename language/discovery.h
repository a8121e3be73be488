#pragma once

#include <string>

#include "language/language_state.h"

namespace vlp {

// The language name of programDir + fileName, or empty when the file names none.
std::string ReadLanguageName(const LanguageState& state, const std::string& fileName);

// Fills LanguageList from the *.ldi files of programDir, listed in byte order of their names
// so the order is the same on every file system; shows and captions the buttons. Languages
// beyond the seventh are ignored.
void DiscoverLanguages(LanguageState& state, LanguageButtons& buttons);

}  // namespace vlp
