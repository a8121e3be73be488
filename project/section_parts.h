#pragma once

#include <string>
#include <vector>

#include "project/project_state.h"

namespace vlp {

// One part of a section frame: what one editor shows.
struct PartText {
    int kind = 0;
    std::string className;
    std::string text;
};

// The caption of the section frame: caption, or caption + "  (" + className + ")".
std::string SectionCaption(const TStruct& section);
// The frame's parts in display order: head+property+variable text, event text, one part per
// definition text (kind 10); empty texts make no part.
std::vector<PartText> SectionParts(const TStruct& section);

}  // namespace vlp
