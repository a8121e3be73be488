#pragma once

#include <string>

#include "project/project_state.h"

namespace vlp {

void ResetNameState(Workspace& ws);
void FillNamesGrid(Workspace& ws);
void ApplyNamesGrid(Workspace& ws);
// Throw IoError when the file cannot be created, opened or read.
void SaveNamesFile(const Workspace& ws, const std::string& fileName);
void LoadNamesFile(Workspace& ws, const std::string& fileName);

}  // namespace vlp
