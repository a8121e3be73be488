// Checks the language data that ships beside the programs (data/*.ldi, data/compare.tab as the
// build copies them) and the sample projects in examples/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "language/data_file.h"
#include "language/dictionary.h"
#include "language/discovery.h"
#include "language/property_names.h"
#include "project/project_loading.h"
#include "project/project_state.h"
#include "support/test_support.h"
#include "text/cp1250.h"
#include "text/word_compare.h"
#include "translate/ambiguity_walk.h"
#include "translate/project_session.h"
#include "translate/word_lookup.h"

namespace vlp {
namespace {

const std::vector<std::string> kLanguages = {"english", "slovak", "czech", "polish", "hungarian"};

const std::vector<std::string> kClasses = {
    "button",     "colorslider", "colourbutton", "commport", "joystick",    "main",
    "mainwindow", "mediaplayer", "melodybutton", "net",      "page",        "pageswitch",
    "pane",       "separator",   "slider",       "switch",   "textbox",     "toolbar",
    "toolbutton", "toolwindow",  "turtle",       "web",      "widthswitch", "window"};

// The keywords and class names the parser and the saver look up by key.
std::vector<std::string> KeywordKeys() {
    std::vector<std::string> keys = {"dict .new.",           "dict .setstate.", "dict newclass",
                                     "dict .setsaveoptions", "dict make",       "dict setplist",
                                     "param define",         "param event",     "other end"};
    for (const auto& c : kClasses) keys.push_back("class " + c);
    return keys;
}

std::vector<std::string> LookedUpKeys() {
    auto keys = KeywordKeys();
    for (int code = 0; code < kPropertyCodeCount; ++code) {
        const auto name = NeutralPropertyName(code);
        if (!name.empty()) keys.push_back("dict " + AsciiLower(name));
    }
    return keys;
}

// One .ldi file as written: section -> identifier -> words, plus the [system] keys.
struct RawLanguageFile {
    std::map<std::string, std::string> system;
    std::map<std::string, std::string> entries;  // "section identifier" -> words
    std::vector<std::string> duplicates;
};

RawLanguageFile ReadRawLanguageFile(const std::string& fileName) {
    RawLanguageFile file;
    const std::string text = ReadDataFile(fileName);
    DataLines lines(text);
    std::string_view line;
    std::string section;
    while (lines.Next(line)) {
        if (line.front() == '[') {
            section = std::string(SectionName(line));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string name(line.substr(0, eq));
        const std::string value(line.substr(eq + 1));
        if (section == "system") {
            file.system[name] = value;
        } else if (!file.entries.emplace(section + " " + name, value).second) {
            file.duplicates.push_back(section + " " + name);
        }
    }
    return file;
}

// compare.tab as key -> description.
std::map<std::string, std::string> ReadCompareTable() {
    std::map<std::string, std::string> table;
    const std::string text = ReadDataFile(test::DataDir() + "compare.tab");
    DataLines lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        const auto bar = line.find('|');
        if (bar == std::string_view::npos) continue;
        table.emplace(std::string(line.substr(0, bar)), std::string(line.substr(bar + 1)));
    }
    return table;
}

std::string WordListProblem(std::string_view words) {
    if (words.empty()) return "is empty";
    if (words.front() == ' ' || words.back() == ' ') return "has a blank at an end";
    if (words.find("  ") != std::string_view::npos) return "has a double blank";
    if (words.find_first_of("|[]\"';=\t") != std::string_view::npos) return "holds a reserved character";
    return {};
}

class LanguageFileTest : public ::testing::TestWithParam<std::string> {
protected:
    std::string FileName() const { return test::DataDir() + GetParam() + ".ldi"; }
};

TEST_P(LanguageFileTest, NamesItsLanguageAndItsComparisonAndSetPattern) {
    const auto file = ReadRawLanguageFile(FileName());
    EXPECT_EQ(file.system.count("language") ? file.system.at("language") : "", GetParam());
    ASSERT_TRUE(file.system.count("ansi"));
    EXPECT_TRUE(file.system.at("ansi") == "0" || file.system.at("ansi") == "1");
    ASSERT_TRUE(file.system.count("setfix"));
    EXPECT_NE(file.system.at("setfix").find('*'), std::string::npos);
    EXPECT_NE(file.system.at("setfix"), "*")
        << "a set pattern without prefix and suffix makes every word a set form";
}

TEST_P(LanguageFileTest, HasEveryComparedItemWithACleanWordList) {
    const auto file = ReadRawLanguageFile(FileName());
    EXPECT_TRUE(file.duplicates.empty()) << "first duplicate: " << file.duplicates.front();
    for (const auto& [key, description] : ReadCompareTable()) {
        const auto it = file.entries.find(key);
        if (it == file.entries.end()) {
            ADD_FAILURE() << GetParam() << " lacks " << key;
            continue;
        }
        const auto problem = WordListProblem(it->second);
        EXPECT_TRUE(problem.empty()) << GetParam() << " " << key << " " << problem << ": \"" << it->second
                                     << "\"";
    }
}

TEST_P(LanguageFileTest, HasEveryLookedUpEntry) {
    const auto file = ReadRawLanguageFile(FileName());
    for (const auto& key : LookedUpKeys()) {
        const auto it = file.entries.find(key);
        EXPECT_TRUE(it != file.entries.end() && !it->second.empty()) << GetParam() << " lacks " << key;
    }
}

TEST_P(LanguageFileTest, LoadsAsSourceWithEveryKeywordAndClass) {
    LanguageState state;
    state.programDir = test::DataDir();
    state.sourceLanguageFile = GetParam() + ".ldi";
    LoadSourceLanguage(state);
    for (const auto& key : KeywordKeys())
        EXPECT_FALSE(SourceWord(state, key).empty()) << GetParam() << " " << key;
    EXPECT_FALSE(state.sourceEndWord.empty());
    EXPECT_FALSE(state.sourceSetPrefix.empty() && state.sourceSetSuffix.empty());
}

// Saving turns a property name back into the first code with that name, so two properties that
// share a name in one language would swap codes.
TEST_P(LanguageFileTest, GivesEveryPropertyItsOwnName) {
    LanguageState state;
    state.programDir = test::DataDir();
    state.sourceLanguageFile = GetParam() + ".ldi";
    LoadSourceLanguage(state);
    std::map<std::string, std::string> owners;  // folded name -> neutral name
    for (int code = 0; code < kPropertyCodeCount; ++code) {
        const auto neutral = NeutralPropertyName(code);
        if (neutral.empty()) continue;
        const auto& name = state.SourcePropertyNames[code];
        EXPECT_GE(FindPair(state.SourceDictionary, "dict " + AsciiLower(neutral)), 0)
            << GetParam() << " has no word for property " << neutral;
        const auto [it, fresh] = owners.emplace(FoldWord(name, state.upperCaseMode), std::string(neutral));
        EXPECT_TRUE(fresh || it->second == neutral)
            << GetParam() << ": " << neutral << " and " << it->second << " are both called " << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFileTest, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return info.param; });

TEST(ShippedLanguages, AreDiscovered) {
    LanguageState state;
    LanguageButtons buttons;
    state.programDir = test::DataDir();
    DiscoverLanguages(state, buttons);
    std::vector<std::string> names;
    for (const auto& language : state.LanguageList) names.push_back(language.name);
    std::sort(names.begin(), names.end());
    auto expected = kLanguages;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    for (const auto& language : state.LanguageList) EXPECT_EQ(language.fileName, language.name + ".ldi");
}

TEST(ShippedCompareTable, DescribesEveryItemByItsClass) {
    const auto table = ReadCompareTable();
    EXPECT_GE(table.size(), 500u);
    int colours = 0;
    for (const auto& [key, description] : table) {
        EXPECT_EQ(key, AsciiLower(key)) << key;
        EXPECT_NE(description.find(" - "), std::string::npos) << key << ": " << description;
        // A "(" would be read as the list of target words when set forms are made.
        EXPECT_EQ(description.find('('), std::string::npos) << key << ": " << description;
        colours += key.rfind("colors ", 0) == 0;
    }
    EXPECT_GE(colours, 16);
    for (const auto& key : LookedUpKeys()) EXPECT_TRUE(table.count(key)) << "compare.tab lacks " << key;
}

struct LanguagePair {
    std::string source;
    std::string target;
};

std::vector<LanguagePair> AllPairs() {
    std::vector<LanguagePair> pairs;
    for (const auto& s : kLanguages)
        for (const auto& t : kLanguages)
            if (s != t) pairs.push_back({s, t});
    return pairs;
}

// The words of `source` that have two or more different translations into `target`, each with
// its translations, as the ambiguity dialog would offer them.
std::vector<std::string> AmbiguousWords(const LanguageState& state) {
    std::vector<std::string> words;
    for (const auto& entry : state.WordTable) {
        std::vector<std::string> targets;
        for (const auto& sense : entry.senses) {
            const bool known = std::any_of(targets.begin(), targets.end(), [&](const std::string& t) {
                return CompareWords(t, sense.target, state.upperCaseMode) == 0;
            });
            if (!known) targets.push_back(sense.target);
        }
        if (targets.size() < 2) continue;
        std::string line = entry.word + " ->";
        for (const auto& t : targets) line += " " + t;
        words.push_back(line);
    }
    return words;
}

class LanguagePairTest : public ::testing::TestWithParam<LanguagePair> {};

Workspace MergedWorkspace(const LanguagePair& pair) {
    Workspace ws;
    ws.language.programDir = test::DataDir();
    ws.language.sourceLanguageFile = pair.source + ".ldi";
    ws.language.targetLanguageFile = pair.target + ".ldi";
    LoadSourceLanguage(ws.language);
    ws.language.useNet = true;
    ws.language.useMediaPlayer = true;
    LoadTargetLanguage(ws.language);
    return ws;
}

TEST_P(LanguagePairTest, MergesIntoAWordTableAndListsItsAmbiguities) {
    const Workspace ws = MergedWorkspace(GetParam());
    const LanguageState& state = ws.language;
    EXPECT_FALSE(state.targetEndWord.empty());
    EXPECT_FALSE(TargetWord(state, "param define").empty());
    EXPECT_GE(state.WordTable.size(), 500u);
    for (const auto& entry : state.WordTable)
        for (const auto& sense : entry.senses)
            EXPECT_FALSE(sense.target.empty()) << entry.word << " " << sense.key;

    const auto ambiguous = AmbiguousWords(state);
    std::ostringstream listing;
    for (const auto& line : ambiguous) listing << "  " << Cp1250ToUtf8(line) << "\n";
    std::cout << "[ ambiguous ] " << GetParam().source << " -> " << GetParam().target << ": "
              << ambiguous.size() << " words\n"
              << listing.str();
    ::testing::Test::RecordProperty("ambiguous_words", static_cast<int>(ambiguous.size()));
    // A few, so the ambiguity walk has work, but not so many that translating becomes guessing.
    EXPECT_LE(ambiguous.size(), 40u);
}

// The table is sorted by lowered words and searched by folded ones; a word whose two spellings
// sort differently (an accented set prefix in table mode, say) hides itself or its neighbours.
TEST_P(LanguagePairTest, FindsEveryWordOfItsWordTable) {
    const Workspace ws = MergedWorkspace(GetParam());
    for (std::size_t k = 0; k < ws.language.WordTable.size(); ++k) {
        const auto& word = ws.language.WordTable[k].word;
        EXPECT_EQ(FindWord(ws, word), static_cast<int>(k)) << Cp1250ToUtf8(word);
        EXPECT_EQ(FindWord(ws, AnsiUpper(word)), static_cast<int>(k)) << Cp1250ToUtf8(word);
    }
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguagePairTest, ::testing::ValuesIn(AllPairs()),
                         [](const auto& info) { return info.param.source + "_to_" + info.param.target; });

std::vector<std::string> Samples() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("examples")))
        if (entry.path().extension() == ".vlp") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string SampleFile(const std::string& name) {
    return test::SourcePath("examples/" + name + ".vlp");
}

// A workspace that knows the shipped languages, as the window has one after its start.
struct ShippedWorkspace {
    Workspace ws;
    test::RecordingReporter reporter;
    ShippedWorkspace() {
        ws.language.programDir = test::DataDir();
        DiscoverLanguages(ws.language, ws.buttons);
    }
    void PressLanguageButton(const std::string& name) {
        for (std::size_t k = 0; k < ws.language.LanguageList.size(); ++k)
            ws.buttons.buttons[k].down = ws.language.LanguageList[k].name == name;
    }
};

// What a section is made of, leaving its words aside: a translated project must keep it.
struct SectionShape {
    int kind = 0;
    std::string className;
    int propertyLines = 0;
    int variableLines = 0;
    int eventLines = 0;
    std::size_t definitions = 0;
    bool operator==(const SectionShape&) const = default;
};

std::ostream& operator<<(std::ostream& out, const SectionShape& s) {
    return out << "{kind " << s.kind << " " << s.className << " properties " << s.propertyLines
               << " variables " << s.variableLines << " events " << s.eventLines << " definitions "
               << s.definitions << "}";
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

std::vector<SectionShape> Shapes(const std::vector<TStruct>& sections) {
    std::vector<SectionShape> shapes;
    for (const auto& s : sections)
        shapes.push_back({s.kind, s.className, CountLines(s.propertyText), CountLines(s.variableText),
                          CountLines(s.eventText), s.defineTexts.size()});
    return shapes;
}

class SampleProjectTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SampleProjectTest, OpensWithEverySectionRecognised) {
    ShippedWorkspace shipped;
    const auto sections = OpenProjectSections(shipped.ws, SampleFile(GetParam()), shipped.reporter);
    EXPECT_TRUE(shipped.reporter.messages.empty()) << shipped.reporter.messages.front();
    ASSERT_GE(sections.size(), 4u);
    for (const auto& section : sections) {
        // Kind 6 is a block the parser could not place: a keyword of the sample is not the
        // language's word for it.
        EXPECT_NE(section.kind, 6) << GetParam() << ": " << Cp1250ToUtf8(section.headText);
        if (section.kind == 1) {
            EXPECT_NE(std::find(kClasses.begin(), kClasses.end(), section.className), kClasses.end())
                << GetParam() << ": class " << Cp1250ToUtf8(section.className) << " of "
                << Cp1250ToUtf8(section.caption);
        }
    }
    EXPECT_FALSE(shipped.ws.parse.NameList[0].empty()) << "the sample has names of its own";
}

INSTANTIATE_TEST_SUITE_P(Shipped, SampleProjectTest, ::testing::ValuesIn(Samples()),
                         [](const auto& info) { return info.param; });

struct SampleTarget {
    std::string sample;
    std::string target;
};

std::vector<SampleTarget> SampleTargets() {
    std::vector<SampleTarget> cases;
    for (const auto& sample : Samples()) {
        ShippedWorkspace shipped;
        LoadProject(shipped.ws, SampleFile(sample), shipped.reporter);
        for (const auto& language : kLanguages)
            if (language != shipped.ws.project.projectLanguage) cases.push_back({sample, language});
    }
    return cases;
}

// The ambiguous words left after translating, as "word (count)".
std::string AmbiguousRuns(const MemoryFrames& frames) {
    std::map<std::string, int> words;
    for (const auto* editor : frames.EditorList()) {
        const std::string text = editor->Text();
        for (const auto& run : editor->MarkedRuns())
            if (run.status == kMarkAmbiguous) ++words[Cp1250ToUtf8(text.substr(run.start, run.length))];
    }
    std::string listing;
    for (const auto& [word, count] : words)
        listing += " " + word + (count > 1 ? " x" + std::to_string(count) : "");
    return listing;
}

bool StartsItsLine(const std::string& text, int start) {
    for (int k = start - 1; k >= 0 && text[k] != '\n'; --k)
        if (text[k] != '\t' && text[k] != ' ') return false;
    return true;
}

// Walks the ambiguous words as a user would: a word that opens a settings line is the
// property of that name, any other word takes the first sense offered.
void ResolveEveryAmbiguity(Workspace& ws, const std::vector<Editor*>& editors) {
    BuildTargetPropertyNames(ws.language);
    const auto isProperty = [&](const std::string& word) {
        return std::any_of(ws.language.TargetPropertyNames.begin(), ws.language.TargetPropertyNames.end(),
                           [&](const std::string& name) {
                               return !name.empty() &&
                                      CompareWords(name, word, ws.language.upperCaseMode) == 0;
                           });
    };
    AmbiguityWalk walk;
    walk.Start(editors);
    for (bool found = walk.FindNext(ws); found;) {
        int choice = 0;
        if (StartsItsLine(editors[walk.CurrentEditor()]->Text(), walk.WordStart())) {
            const auto& candidates = walk.Candidates();
            for (std::size_t k = 0; k < candidates.size(); ++k)
                if (isProperty(candidates[k].replacement)) choice = static_cast<int>(k);
        }
        found = walk.Replace(ws, choice);
    }
}

class SampleTranslationTest : public ::testing::TestWithParam<SampleTarget> {};

// Translates, resolves every ambiguity, saves, and opens the
// result as a project of the target language: it must fall into the same sections, with the
// same property, variable, event and definition lines.
TEST_P(SampleTranslationTest, SavesAProjectOfTheTargetLanguageWithTheSameSections) {
    const auto& [sample, target] = GetParam();
    ShippedWorkspace source;
    const auto sections = OpenProjectSections(source.ws, SampleFile(sample), source.reporter);
    ASSERT_FALSE(sections.empty());
    auto frames = MakeMemoryFrames(sections);
    source.PressLanguageButton(target);
    TranslateProject(source.ws, frames.frames);
    EXPECT_EQ(source.ws.project.saveLanguage, target);
    std::cout << "[ ambiguous ] " << sample << " -> " << target << ":" << AmbiguousRuns(frames) << "\n";

    ResolveEveryAmbiguity(source.ws, frames.EditorList());

    test::TempDir dir;
    const std::string output = dir.file(sample + "_" + target + ".vlp");
    SaveProject(source.ws, frames.frames, SampleFile(sample), output);

    ShippedWorkspace translated;
    const auto reopened = OpenProjectSections(translated.ws, output, translated.reporter);
    EXPECT_TRUE(translated.reporter.messages.empty()) << translated.reporter.messages.front();
    EXPECT_EQ(translated.ws.project.projectLanguage, target);
    EXPECT_EQ(Shapes(reopened), Shapes(sections));
}

INSTANTIATE_TEST_SUITE_P(Shipped, SampleTranslationTest, ::testing::ValuesIn(SampleTargets()),
                         [](const auto& info) { return info.param.sample + "_to_" + info.param.target; });

}  // namespace
}  // namespace vlp
