#pragma once

#include <istream>
#include <string>

#include "project/project_state.h"

namespace vlp {

void ResetNameState(Workspace& ws);
void FillNamesGrid(Workspace& ws);
void ApplyNamesGrid(Workspace& ws);
// Throw IoError when the file cannot be created, opened or read, or is no regular file. The
// names file is written under a temporary name and renamed into place, so a failed save leaves
// no partial file; a file is read whole before any row changes.
void SaveNamesFile(const Workspace& ws, const std::string& fileName);
void LoadNamesFile(Workspace& ws, const std::string& fileName);
// The reading side of LoadNamesFile over any stream: LF, CR LF and a bare CR end a line; each
// line is applied as it is read, so a read error leaves the rows read so far changed.
void LoadNamesStream(Workspace& ws, std::istream& stream);

}  // namespace vlp
