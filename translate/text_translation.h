#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"
#include "translate/editor.h"

namespace vlp {

// One part of a section frame: its editor, its kind and the section's class name.
struct FramePart {
    Editor* editor = nullptr;
    int kind = 0;
    std::string className;
};
using TFrameStruct = std::vector<FramePart>;

// Translates one line (without its line end); appends a mark for every word whose status is
// not NotFound, its start offset by `offset`.
std::string TranslateLine(const Workspace& ws, std::string_view line, int offset, int partKind,
                          std::string_view context, std::vector<Mark>& marks);

// The first part translated after an open fixes the target from the button that is down,
// hides the buttons and loads the target dictionary (IoError propagates).
void TranslatePart(Workspace& ws, Editor& editor, int partKind, std::string_view context);
void TranslateFrame(Workspace& ws, const TFrameStruct& frame);

}  // namespace vlp
