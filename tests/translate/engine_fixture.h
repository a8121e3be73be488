#pragma once

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "project/project_state.h"
#include "translate/editor.h"
#include "translate/memory_editor.h"

// Workspaces for the engine's tests, filled directly instead of from language files.
namespace vlp::test {

struct SenseSpec {
    std::string target;
    std::string description = "";
    std::string kind = "dict";
    std::string key = "";
};

// Adds an entry (word as the table holds it: lowered) and keeps WordTable in byte order.
inline void AddEntry(Workspace& ws, std::string word, std::initializer_list<SenseSpec> senses) {
    WordEntry entry;
    entry.word = std::move(word);
    int n = 0;
    for (const SenseSpec& s : senses) {
        const std::string key = s.key.empty() ? s.kind + " " + entry.word + std::to_string(n) : s.key;
        entry.senses.push_back({s.target, s.description, s.kind, key});
        ++n;
    }
    auto& table = ws.language.WordTable;
    const auto at = std::lower_bound(table.begin(), table.end(), entry.word,
                                     [](const WordEntry& e, const std::string& w) { return e.word < w; });
    table.insert(at, std::move(entry));
}

inline void AddNamePair(Workspace& ws, std::string word, std::string replacement) {
    ws.parse.NameTranslations[0].emplace_back(std::move(word), std::move(replacement));
}

// A small dictionary: forward/fd (one sense), print, repeat, a word with one target under two
// items, the ambiguous end word and colour, and a state keyword with the setstate sense.
inline Workspace SmallWorkspace() {
    Workspace ws;
    ws.language.sourceSetPrefix = "set";
    ws.language.targetSetPrefix = "nastav";
    ws.language.sourceEndWord = "END";
    ws.language.targetEndWord = "konec";
    AddEntry(ws, "forward", {{"vpred", "Move forward"}});
    AddEntry(ws, "fd", {{"vpred", "Move forward"}});
    AddEntry(ws, "print", {{"pis", "Print a value"}});
    AddEntry(ws, "repeat", {{"opakuj", "Repeat a list"}});
    AddEntry(ws, "show", {{"ukaz", "Show a turtle"}, {"Ukaz", "Show a page", "name"}});
    AddEntry(ws, "end", {{"konec", "End of a procedure", "other"}, {"koniec", "End of a list", "param"}});
    AddEntry(ws, "colour", {{"barva", "turtle colour setting"}, {"farba", "page colour setting"}});
    AddEntry(ws, "state",
             {{"stav", "State of an object", "dict"},
              {"stavy", "Main - setstate keyword", "param"},
              {"stavek", "Other", "param"}});
    return ws;
}

// An editor's runs as "status:text" strings, for readable expectations.
inline std::vector<std::string> RunTexts(const Editor& editor) {
    std::vector<std::string> out;
    const std::string text = editor.Text();
    for (const Mark& run : editor.MarkedRuns())
        out.push_back(std::to_string(run.status) + ":" + text.substr(run.start, run.length));
    return out;
}

}  // namespace vlp::test
