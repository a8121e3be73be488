#pragma once

#include <string_view>

#include "language/language_state.h"

namespace vlp {

// The language-neutral name of a property code (empty for code 29).
std::string_view NeutralPropertyName(int code);
// Whether the target table covers the code.
bool InTargetPropertyTable(int code);

void SetSourcePropertyName(LanguageState& state, int code, std::string_view name);
void SetTargetPropertyName(LanguageState& state, int code, std::string_view name);
void BuildSourcePropertyNames(LanguageState& state);
void BuildTargetPropertyNames(LanguageState& state);

}  // namespace vlp
