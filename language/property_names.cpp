#include "language/property_names.h"

#include <array>

#include "language/data_file.h"
#include "language/dictionary.h"
#include "text/cp1250.h"

namespace vlp {
namespace {

// The language-neutral name of every property code; code 29 has no property. A name is looked
// up in a dictionary as "dict " + the name with its ASCII letters lowered.
// clang-format off
constexpr std::array<std::string_view, kPropertyCodeCount> kNeutralNames = {
    "name", "apos", "xCor", "yCor", "pos", "size", "width", "height", "hint", "enabled", "shown", "value",
    "richText", "font_text", "colour", "bgcolour_text", "editing", "transparent", "stayEditing",
    "activePage", "caption_window", "caption", "oneShot", "style", "down", "allUp", "flat", "group",
    "picture", "", "min", "max", "value_slider", "vertical", "origin", "bgLineColour", "bgLineWidth",
    "bgPicture", "pageWho", "bgColour", "heading", "homeState", "xCor", "yCor", "fillColour",
    "fillPattern", "pen", "penColour", "penWidth", "penPattern", "rangeStyle", "range", "frame", "shape",
    "shapeScale", "shapeColour", "animation", "font", "transparentClick", "parentHandle", "fullPicture",
    "voiceMenu", "mainvoiceMenu", "frameItem", "autodrag", "sensitive", "windowState", "x", "y", "z", "r",
    "u", "v", "rangeX", "rangeY", "rangeZ", "rangeR", "rangeU", "rangeV", "deadZoneX", "deadZoneY",
    "deadZoneZ", "deadZoneR", "deadZoneU", "deadZoneV", "axesCount", "buttonCount", "pov", "button1",
    "button2", "button3", "button4", "button5", "button6", "button7", "button8", "button9", "button10",
    "button11", "button12", "button13", "button14", "button15", "button16", "button17", "button18",
    "button19", "button20", "button21", "button22", "button23", "button24", "button25", "button26",
    "button27", "button28", "button29", "button30", "button31", "button32", "frameMode", "bgcolour_slider",
    "thumbLength", "bgLinePattern", "selection", "selectedText", "velocityXY", "velocity", "angle",
    "prompt", "readlistPrompt", "shownRange", ".name", "switch", "useWho", "transparent_slider",
    "filename", "showbuttons_mm", "address", "maximized_web", "style_web", "host", "userID", "port_email",
    "attachments", "body", "fromAddress", "fromName", "replyTo", "subject", "toAddress",
    "toBlindCarbonCopy", "toCarbonCopy", "showToolbar", "server", "delayScale", "position", "playState",
    "style_net", "port", "controlledObject", "align", "order", "caption_web", "showTitleBar", "caption_mm",
    "showtitlebar_mm", "maximized", "style_mm", "runEnabled", "nickName", "myPlace", "number",
    "borderColour", "acceptCommands", "acceptKeyMenu", "keyMenu", "acceptVoiceMenu", "frozen",
    "userCanStop", "growWithValue", "oneLine", "screenState", "mainbarShown", "paintbarShown", "comname",
    "port_serial", "baudrate", "databits", "stopbits", "parity", "rtscts", "xonxoff", "asyncinput",
    "connected_serial",
};
// clang-format on

// The target table leaves out the properties that the target text keeps as names.
constexpr bool LeftOutOfTargetTable(int code) {
    return (code >= 67 && code <= 119) || (code >= 126 && code <= 128) || (code >= 141 && code <= 152) ||
           code == 160 || code == 172;
}

// The first word of the dictionary's value with its ASCII letters lowered, or the neutral name
// itself when the dictionary lacks the property.
std::string PropertyName(const ttab& dictionary, std::string_view name) {
    const int index = FindPair(dictionary, "dict " + AsciiLower(name));
    if (index < 0) return std::string(name);
    return AsciiLower(FirstWord(dictionary.pairs[static_cast<std::size_t>(index)].second));
}

}  // namespace

std::string_view NeutralPropertyName(int code) {
    if (code < 0 || code >= kPropertyCodeCount) return {};
    return kNeutralNames[static_cast<std::size_t>(code)];
}

bool InTargetPropertyTable(int code) {
    return !NeutralPropertyName(code).empty() && !LeftOutOfTargetTable(code);
}

void SetSourcePropertyName(LanguageState& state, int code, std::string_view name) {
    state.SourcePropertyNames[static_cast<std::size_t>(code)] = PropertyName(state.SourceDictionary, name);
}

void SetTargetPropertyName(LanguageState& state, int code, std::string_view name) {
    state.TargetPropertyNames[static_cast<std::size_t>(code)] = PropertyName(state.TargetDictionary, name);
}

void BuildSourcePropertyNames(LanguageState& state) {
    for (int code = 0; code < kPropertyCodeCount; ++code)
        if (!NeutralPropertyName(code).empty()) SetSourcePropertyName(state, code, NeutralPropertyName(code));
}

void BuildTargetPropertyNames(LanguageState& state) {
    // Without a target language since the start, the text keeps the source language's names.
    if (state.TargetDictionary.empty()) {
        state.TargetPropertyNames = state.SourcePropertyNames;
        return;
    }
    state.TargetPropertyNames.fill(std::string());
    for (int code = 0; code < kPropertyCodeCount; ++code)
        if (InTargetPropertyTable(code)) SetTargetPropertyName(state, code, NeutralPropertyName(code));
}

}  // namespace vlp
