#include "project/section_parts.h"

namespace vlp {

std::string SectionCaption(const TStruct& section) {
    if (section.className.empty()) return section.caption;
    return section.caption + "  (" + section.className + ")";
}

std::vector<PartText> SectionParts(const TStruct& section) {
    std::vector<PartText> parts;
    auto add = [&](std::string text, int kind) {
        if (!text.empty()) parts.push_back(PartText{kind, section.className, std::move(text)});
    };
    add(section.headText + section.propertyText + section.variableText, section.kind);
    add(section.eventText, section.kind);
    for (const std::string& definition : section.defineTexts) add(definition, kDefinePartKind);
    return parts;
}

}  // namespace vlp
