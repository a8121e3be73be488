#include "project/test_language.h"

#include "language/dictionary.h"
#include "language/property_names.h"
#include "project/names_table.h"
#include "project/section_parser.h"
#include "project/section_reassembly.h"
#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp::test {

std::vector<Entry> TestLanguageEntries() {
    return {
        {"dict .new.", "new"},
        {"dict .setstate.", "setstate"},
        {"dict newclass", "newclass"},
        {"dict .setSaveOptions", "setsaveoptions"},
        {"dict make", "make"},
        {"dict setplist", "setplist"},
        {"dict .name", "objname"},
        {"dict forward", "forward fd"},
        {"dict print", "print pr"},
        {"dict repeat", "repeat"},
        {"param define", "define"},
        {"param event", "event"},
        {"other end", "end"},
        {"class button", "button"},
        {"class colorslider", "colorslider"},
        {"class colourbutton", "colourbutton"},
        {"class commport", "commport"},
        {"class joystick", "joystick"},
        {"class main", "main"},
        {"class mainwindow", "mainwindow"},
        {"class mediaplayer", "mediaplayer"},
        {"class melodybutton", "melodybutton"},
        {"class net", "net"},
        {"class page", "page"},
        {"class pageswitch", "pageswitch"},
        {"class pane", "pane"},
        {"class separator", "separator"},
        {"class slider", "slider"},
        {"class switch", "switch"},
        {"class textbox", "textbox"},
        {"class toolbar", "toolbar"},
        {"class toolbutton", "toolbutton"},
        {"class toolwindow", "toolwindow"},
        {"class turtle", "korytnacka"},
        {"class web", "web"},
        {"class widthswitch", "widthswitch"},
        {"class window", "window"},
    };
}

void FillSourceLanguage(LanguageState& state, std::initializer_list<Entry> extra, bool upperCaseMode) {
    state.upperCaseMode = upperCaseMode;
    state.SourceDictionary = {};
    for (const auto& [key, value] : TestLanguageEntries())
        InsertPair(state.SourceDictionary, key, FoldWord(value, upperCaseMode));
    for (const auto& [key, value] : extra)
        InsertPair(state.SourceDictionary, key, FoldWord(value, upperCaseMode));
    BuildSourcePropertyNames(state);
}

Workspace MakeParseWorkspace(std::initializer_list<Entry> extra, bool upperCaseMode) {
    Workspace ws;
    FillSourceLanguage(ws.language, extra, upperCaseMode);
    ResetNameState(ws);
    return ws;
}

std::string TestLanguageFile(std::string_view languageName) {
    std::string text = "[system]\r\nlanguage=" + std::string(languageName) + "\r\n";
    std::string current;
    for (const auto& [key, value] : TestLanguageEntries()) {
        const std::string k(key);
        const std::string section = k.substr(0, k.find(' '));
        if (section != current) {
            text += "[" + section + "]\r\n";
            current = section;
        }
        text += k.substr(k.find(' ') + 1) + "=" + std::string(value) + "\r\n";
    }
    return text;
}

std::string TestCompareTable() {
    std::string text;
    for (const auto& [key, value] : TestLanguageEntries())
        text += std::string(key) + "|the item " + std::string(key) + "\r\n";
    return text;
}

ParsedProject ParseBlocks(Workspace& ws, const TArrayString& blocks) {
    ResetNameState(ws);
    ParsedProject project;
    for (const auto& block : blocks) {
        TStruct section;
        ParseSection(ws, block, section);
        project.sections.push_back(std::move(section));
    }
    project.names = ws.parse.NameList[0];
    project.translations = ws.parse.NameTranslations[0];
    return project;
}

ParsedProject ParseText(Workspace& ws, std::string_view text) {
    return ParseBlocks(ws, SplitBlocks(text));
}

std::vector<PartText> EditorParts(const TStruct& section) {
    std::vector<PartText> parts = SectionParts(section);
    for (auto& part : parts)
        if (part.text.size() < 2 || part.text.compare(part.text.size() - 2, 2, "\r\n") != 0)
            part.text += "\r\n";
    return parts;
}

std::string SaveSections(Workspace& ws, const std::vector<TStruct>& sections) {
    std::vector<std::vector<PartText>> frames;
    for (const auto& section : sections) frames.push_back(EditorParts(section));
    return ProjectSaveText(ws, frames);
}

}  // namespace vlp::test

namespace vlp {
void PrintTo(const TStruct& s, std::ostream* os) {
    *os << "{kind " << s.kind << ", caption \"" << s.caption << "\", class \"" << s.className << "\", head \""
        << s.headText << "\", properties \"" << s.propertyText << "\", variables \"" << s.variableText
        << "\", events \"" << s.eventText << "\", definitions " << s.defineTexts.size() << "}";
}
}  // namespace vlp
