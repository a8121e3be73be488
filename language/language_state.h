#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vlp {

// A growable array of string pairs: key and value in the sorted language tables.
struct ttab {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t size() const { return pairs.size(); }
    bool empty() const { return pairs.empty(); }
};

struct LanguageInfo {
    std::string name;      // from the file's [system] language= line, ASCII-lowered
    std::string fileName;  // bare file name, no directory
};

inline constexpr int kLanguageButtonCount = 7;

// One of the seven language toggle buttons; button k belongs to entry k of LanguageList.
struct LanguageButton {
    std::string caption = "...";
    bool visible = false;
    bool enabled = true;
    bool down = false;
};

// The seven buttons as the window lays them out: 1 to 5 visible, 6 and 7 hidden.
struct LanguageButtons {
    std::array<LanguageButton, kLanguageButtonCount> buttons;
    LanguageButtons() {
        for (int k = 0; k < 5; ++k) buttons[k].visible = true;
    }
};

struct Sense {
    std::string target;
    std::string description;
    std::string kind;
    std::string key;
};

struct WordEntry {
    std::string word;
    std::vector<Sense> senses;
    int chosenSense = 0;
};

inline constexpr int kPropertyCodeCount = 195;
using PropertyNames = std::array<std::string, kPropertyCodeCount>;

struct LanguageState {
    std::string programDir;  // with a trailing separator
    std::vector<LanguageInfo> LanguageList;

    std::string sourceLanguageFile;
    std::string targetLanguageFile;
    std::string sourceSetPrefix, sourceSetSuffix;
    std::string targetSetPrefix, targetSetSuffix;
    std::string sourceEndWord;
    std::string targetEndWord;
    bool upperCaseMode = true;
    bool useNet = false;
    bool useMediaPlayer = false;

    ttab CompareTable;
    ttab SourceDictionary;
    ttab TargetDictionary;
    // Sorted ascending by word in byte order, one entry per word.
    std::vector<WordEntry> WordTable;

    PropertyNames SourcePropertyNames;
    PropertyNames TargetPropertyNames;
};

}  // namespace vlp
