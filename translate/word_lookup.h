#pragma once

#include <string>
#include <string_view>

#include "project/project_state.h"

namespace vlp {

enum WordStatus : int { NotFound = 0, Translated = 1, Ambiguous = 2 };

struct WordTranslation {
    std::string text;
    WordStatus status = NotFound;
};

int FindWord(const Workspace& ws, std::string_view word);
int FindName(const Workspace& ws, std::string_view name);
bool IsSetForm(const Workspace& ws, std::string_view word);
std::string MakeTargetSetForm(const Workspace& ws, std::string_view name);
WordStatus TranslateSetForm(const Workspace& ws, std::string& word);
WordTranslation TranslateWord(const Workspace& ws, std::string_view word, char nextChar,
                              std::string_view context);

}  // namespace vlp
