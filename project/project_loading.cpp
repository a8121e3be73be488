#include "project/project_loading.h"

#include "container/project_file.h"
#include "language/dictionary.h"

namespace vlp {
namespace {

void ResetLanguageButtons(Workspace& ws) {
    const std::size_t languages = ws.language.LanguageList.size();
    for (std::size_t i = 0; i < languages && i < ws.buttons.buttons.size(); ++i) {
        LanguageButton& button = ws.buttons.buttons[i];
        button.visible = true;
        button.enabled = true;
        button.down = false;
    }
}

// The last entry of LanguageList with exactly this name, or -1.
int FindLanguage(const Workspace& ws, const std::string& name) {
    const auto& list = ws.language.LanguageList;
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i)
        if (list[static_cast<std::size_t>(i)].name == name) return i;
    return -1;
}

void CloseBlock(std::string& block, TArrayString& blocks) {
    while (block.size() >= 2 && block.compare(block.size() - 2, 2, "\r\n") == 0)
        block.resize(block.size() - 2);
    if (!block.empty()) blocks.push_back(std::move(block));
    block.clear();
}

}  // namespace

TArrayString LoadProject(Workspace& ws, const std::string& fileName, Reporter& reporter) {
    ResetLanguageButtons(ws);
    const std::string text = LoadProjectFile(fileName, ws.project);
    std::string& language = ws.project.projectLanguage;
    if (language.empty()) language = "english";

    const int index = FindLanguage(ws, language);
    if (index < 0) {
        reporter.Message(language == "*" ? std::string("wrong VLP file")
                                         : "unknown language <" + language + ">");
        return {};
    }
    if (text.empty()) return {};

    const auto entry = static_cast<std::size_t>(index);
    ws.language.sourceLanguageFile = ws.language.LanguageList[entry].fileName;
    if (entry < ws.buttons.buttons.size()) ws.buttons.buttons[entry].enabled = false;
    // The parser's word indexes describe the previous source language until rebuilt.
    ws.parse.sourceWords = {};
    LoadSourceLanguage(ws.language);
    ws.project.saveLanguage = language;
    ws.language.targetLanguageFile.clear();
    return SplitBlocks(text);
}

TArrayString SplitBlocks(std::string_view text) {
    TArrayString blocks;
    std::string block;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t cr = text.find('\r', pos);
        std::string_view line;
        if (cr == std::string_view::npos) {
            line = text.substr(pos);
            pos = text.size();
        } else {
            line = text.substr(pos, cr - pos);
            pos = cr + 1;
            if (pos < text.size() && text[pos] == '\n') ++pos;
        }
        if (line.empty()) {
            CloseBlock(block, blocks);
        } else {
            block += line;
            block += "\r\n";
        }
    }
    CloseBlock(block, blocks);
    return blocks;
}

}  // namespace vlp
