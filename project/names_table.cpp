#include "project/names_table.h"

#include <array>
#include <ios>
#include <sstream>
#include <streambuf>
#include <string_view>
#include <unordered_map>

#include "container/io_error.h"
#include "container/regular_file.h"
#include "container/replacement_file.h"
#include "language/dictionary.h"
#include "project/section_parser.h"
#include "text/cp1250.h"
#include "text/word_compare.h"

namespace vlp {
namespace {

constexpr std::array<const char*, 24> kBuiltInClasses = {
    "button",     "colorslider", "colourbutton", "commport", "joystick",    "main",
    "mainwindow", "mediaplayer", "melodybutton", "net",      "page",        "pageswitch",
    "pane",       "separator",   "slider",       "switch",   "textbox",     "toolbar",
    "toolbutton", "toolwindow",  "turtle",       "web",      "widthswitch", "window",
};

constexpr std::size_t kNameColumn = 1;
constexpr std::size_t kTranslationColumn = 2;

// Folded grid name -> the lowest row holding it, so that a names file line finds the row a
// search from the last row up would find.
std::unordered_map<std::string, std::size_t> GridRowsByName(const Workspace& ws) {
    std::unordered_map<std::string, std::size_t> rows;
    const auto& grid = ws.namesGrid.rows;
    for (std::size_t row = 0; row < grid.size(); ++row) {
        const std::string_view name = TrimView(grid[row][kNameColumn]);
        if (!name.empty()) rows[FoldWord(name, ws.language.upperCaseMode)] = row;
    }
    return rows;
}

void ApplyNamesLine(Workspace& ws, const std::unordered_map<std::string, std::size_t>& rows,
                    std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = TrimView(line.substr(0, equals));
    const std::string_view value = TrimView(line.substr(equals + 1));
    if (key.empty() || value.empty()) return;
    const auto hit = rows.find(FoldWord(key, ws.language.upperCaseMode));
    if (hit == rows.end()) return;
    ws.namesGrid.rows[hit->second][kTranslationColumn] = std::string(value);
}

}  // namespace

void ResetNameState(Workspace& ws) {
    ParseState& parse = ws.parse;
    parse.ClassTable.clear();
    for (const char* name : kBuiltInClasses)
        parse.ClassTable.emplace_back(SourceWord(ws.language, std::string("class ") + name), name);
    parse.objectCounter = 0;
    for (auto& row : parse.NameList) row.clear();
    ws.language.useNet = false;
    ws.language.useMediaPlayer = false;
    parse.NameTranslations[0].clear();

    // The source language may have changed since the last project: look its words up afresh.
    parse.classIndex = {};
    parse.nameIndex = {};
    parse.translationIndex = {};
    parse.sourceWords = {};
}

void FillNamesGrid(Workspace& ws) {
    auto& rows = ws.namesGrid.rows;
    for (auto& row : rows)
        for (auto& cell : row) cell.clear();
    const T2ArrayString& names = ws.parse.NameList[0];
    if (rows.size() < names.size() + 5) rows.resize(names.size() + 5);
    for (std::size_t k = 0; k < names.size(); ++k) {
        rows[k][0] = names[k].first;
        rows[k][kNameColumn] = names[k].second;
    }
}

void ApplyNamesGrid(Workspace& ws) {
    ReserveNameTranslations(ws, 1, ws.namesGrid.rows.size());
    for (const auto& row : ws.namesGrid.rows) {
        const std::string_view name = TrimView(row[kNameColumn]);
        if (name.empty()) continue;
        SetNameTranslation(ws, 1, name, TrimView(row[kTranslationColumn]));
    }
}

void SaveNamesFile(const Workspace& ws, const std::string& fileName) {
    std::string text;
    for (const auto& row : ws.namesGrid.rows) {
        const std::string_view name = TrimView(row[kNameColumn]);
        const std::string_view translation = TrimView(row[kTranslationColumn]);
        if (name.empty() || translation.empty()) continue;
        text += name;
        text += '=';
        text += translation;
        text += "\r\n";
    }
    ReplacementFile file(fileName);
    file.Write(text.data(), text.size());
    file.Commit();
}

void LoadNamesFile(Workspace& ws, const std::string& fileName) {
    // Read whole before any row changes, so that a file that cannot be read changes nothing.
    std::istringstream stream(ReadRegularFile(fileName));
    LoadNamesStream(ws, stream);
}

void LoadNamesStream(Workspace& ws, std::istream& stream) {
    const auto rows = GridRowsByName(ws);
    std::streambuf* buffer = stream.rdbuf();
    if (!buffer) throw IoError(kStreamReadError);
    std::string line;
    bool afterCr = false;
    try {
        for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
            if (c == '\n' && afterCr) {
                afterCr = false;
                continue;
            }
            afterCr = c == '\r';
            if (c == '\r' || c == '\n') {
                ApplyNamesLine(ws, rows, line);
                line.clear();
            } else {
                line += static_cast<char>(c);
            }
        }
    } catch (const std::ios_base::failure&) {
        // The lines read so far stay applied; the one cut short is not.
        throw IoError(kStreamReadError);
    }
    ApplyNamesLine(ws, rows, line);
}

}  // namespace vlp
