#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"
#include "project/reporter.h"

namespace vlp {

using TArrayString = std::vector<std::string>;

// Loads the file, checks its language, loads the source dictionary and cuts the text into
// blocks. Reports "wrong VLP file" / "unknown language <...>" itself and then returns no
// blocks; IoError from the reader propagates.
TArrayString LoadProject(Workspace& ws, const std::string& fileName, Reporter& reporter);

// Cuts a text into blocks at empty lines (CR LF and bare CR end a line; a bare LF does not).
TArrayString SplitBlocks(std::string_view text);

}  // namespace vlp
