#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"
#include "project/section_parts.h"

namespace vlp {

std::string EscapeSeparators(std::string_view text);

// The frame's share of the project text. Each part's text holds its editor's lines, each
// followed by CR LF. Reads TargetPropertyNames and the defining keyword.
std::string FrameSaveText(const Workspace& ws, const std::vector<PartText>& parts);

// The save text of a whole project: builds TargetPropertyNames, then joins the texts of the
// frames in frame order.
std::string ProjectSaveText(Workspace& ws, const std::vector<std::vector<PartText>>& frames);

}  // namespace vlp
