// Every sample project translated into every other shipped language, saved, and the result
// translated back: each line of the sample whose words were never ambiguous comes back.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "language/discovery.h"
#include "support/test_support.h"
#include "text/cp1250.h"
#include "text/word_compare.h"
#include "translate/project_session.h"

namespace vlp {
namespace {

using Tokens = std::vector<std::string>;
constexpr const char* kAnyWord = "*";

std::vector<std::string> Samples() {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("examples"), error))
        if (entry.path().extension() == ".vlp") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool IsWordChar(unsigned char c) {
    static const std::string separators = "\"'()*+,-/:;<=>[]\\`|~\x7F\xAB\xAC\xB6\xBB";
    return c > 0x20 && separators.find(static_cast<char>(c)) == std::string::npos;
}

struct OpenedProject {
    Workspace ws;
    test::RecordingReporter reporter;
    std::vector<TStruct> sections;
    MemoryFrames frames;

    void Open(const std::string& file) {
        ws.language.programDir = test::DataDir();
        DiscoverLanguages(ws.language, ws.buttons);
        sections = OpenProjectSections(ws, file, reporter);
        frames = MakeMemoryFrames(sections);
    }
    void TranslateTo(const std::string& language) {
        const auto& list = ws.language.LanguageList;
        const auto it =
            std::find_if(list.begin(), list.end(), [&](const LanguageInfo& l) { return l.name == language; });
        ASSERT_NE(it, list.end()) << language;
        ws.buttons.buttons[static_cast<std::size_t>(it - list.begin())].down = true;
        TranslateProject(ws, frames.frames);
    }
};

// A line as comparable tokens: a word stands for the dictionary items it belongs to in the
// sample's language (so a synonym, a set form spelled otherwise or another letter case is the
// same word), other words for themselves folded; words under an ambiguous mark match anything.
class LineTokens {
public:
    explicit LineTokens(const Workspace& sampleLanguage) : ws_(sampleLanguage) {}

    Tokens Of(std::string_view line, int lineStart, const std::vector<Mark>& ambiguous) const {
        Tokens tokens;
        std::size_t i = 0;
        while (i < line.size()) {
            if (!IsWordChar(static_cast<unsigned char>(line[i]))) {
                tokens.emplace_back(1, line[i++]);
                continue;
            }
            std::size_t j = i;
            while (j < line.size() && IsWordChar(static_cast<unsigned char>(line[j]))) ++j;
            const int start = lineStart + static_cast<int>(i);
            const bool unsure = std::any_of(ambiguous.begin(), ambiguous.end(), [&](const Mark& m) {
                return m.start < lineStart + static_cast<int>(j) && start < m.start + m.length;
            });
            tokens.push_back(unsure ? std::string(kAnyWord) : Word(line.substr(i, j - i)));
            i = j;
        }
        return tokens;
    }

private:
    std::string Word(std::string_view word) const {
        const int k = FindWord(ws_, word);
        if (k < 0) return "=" + FoldWord(word, ws_.language.upperCaseMode);
        std::vector<std::string> keys;
        for (const Sense& sense : ws_.language.WordTable[k].senses) keys.push_back(sense.key);
        std::sort(keys.begin(), keys.end());
        std::string joined = "#";
        for (const auto& key : keys) joined += key + ";";
        return joined;
    }
    const Workspace& ws_;
};

struct ProjectLine {
    Tokens tokens;
    bool unsure = false;  // an ambiguous word on it
    std::string text;
};

// Every line of every editor, trailing blanks cut (saving drops them) and empty lines left out.
std::vector<ProjectLine> Lines(const MemoryFrames& frames, const LineTokens& tokens) {
    std::vector<ProjectLine> lines;
    for (const Editor* editor : frames.EditorList()) {
        const std::string text = editor->Text();
        std::vector<Mark> ambiguous;
        for (const Mark& run : editor->MarkedRuns())
            if (run.status == kMarkAmbiguous) ambiguous.push_back(run);
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string::npos) end = text.size();
            const std::string line = TrimRight(std::string_view(text).substr(pos, end - pos));
            if (!line.empty()) {
                const bool unsure = std::any_of(ambiguous.begin(), ambiguous.end(), [&](const Mark& m) {
                    return m.start < static_cast<int>(pos + line.size()) &&
                           static_cast<int>(pos) < m.start + m.length;
                });
                lines.push_back({tokens.Of(line, static_cast<int>(pos), ambiguous), unsure, line});
            }
            pos = end + 2;
        }
    }
    return lines;
}

bool Matches(const Tokens& wanted, const Tokens& found) {
    if (wanted.size() != found.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i)
        if (wanted[i] != found[i] && found[i] != kAnyWord) return false;
    return true;
}

struct RoundTrip {
    std::string sample;
    std::string target;
};

std::vector<RoundTrip> RoundTrips() {
    std::vector<RoundTrip> cases;
    for (const std::string& sample : Samples()) {
        OpenedProject project;
        project.Open(sample);
        for (const LanguageInfo& language : project.ws.language.LanguageList)
            if (language.name != project.ws.project.projectLanguage) cases.push_back({sample, language.name});
    }
    return cases;
}

class SampleRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(SampleRoundTrip, GivesBackEveryLineWithoutAmbiguity) {
    const auto& [sample, target] = GetParam();
    OpenedProject there;
    there.Open(sample);
    ASSERT_TRUE(there.reporter.messages.empty()) << there.reporter.messages.front();
    ASSERT_FALSE(there.sections.empty());
    const std::string sourceLanguage = there.ws.project.projectLanguage;
    // The sample's own text, one editor per part, before anything is translated.
    std::vector<std::string> original;
    for (const Editor* editor : there.frames.EditorList()) original.push_back(editor->Text());

    there.TranslateTo(target);
    test::TempDir dir;
    const std::string translated = dir.file("translated.vlp");
    SaveProject(there.ws, there.frames.frames, sample, translated);

    OpenedProject back;
    back.Open(translated);
    ASSERT_TRUE(back.reporter.messages.empty()) << back.reporter.messages.front();
    back.TranslateTo(sourceLanguage);

    // Lines of the sample whose translation carried an ambiguous word are not expected back.
    const LineTokens tokens(there.ws);
    std::vector<ProjectLine> expected;
    const auto translatedLines = Lines(there.frames, tokens);
    MemoryFrames originalFrames;
    for (const std::string& text : original)
        originalFrames.editors.push_back(std::make_unique<MemoryEditor>(text));
    const auto originalLines = Lines(originalFrames, tokens);
    ASSERT_EQ(originalLines.size(), translatedLines.size());
    for (std::size_t i = 0; i < originalLines.size(); ++i)
        if (!translatedLines[i].unsure) expected.push_back(originalLines[i]);
    ASSERT_FALSE(expected.empty());

    std::vector<ProjectLine> found = Lines(back.frames, tokens);
    std::vector<bool> used(found.size(), false);
    int missing = 0;
    for (const ProjectLine& line : expected) {
        std::size_t hit = found.size();
        for (std::size_t k = 0; k < found.size() && hit == found.size(); ++k)
            if (!used[k] && found[k].tokens == line.tokens) hit = k;
        for (std::size_t k = 0; k < found.size() && hit == found.size(); ++k)
            if (!used[k] && Matches(line.tokens, found[k].tokens)) hit = k;
        if (hit == found.size()) {
            ADD_FAILURE() << "not given back: " << Cp1250ToUtf8(line.text);
            ++missing;
        } else {
            used[hit] = true;
        }
    }
    EXPECT_EQ(missing, 0);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleRoundTrip, testing::ValuesIn(RoundTrips()), [](const auto& info) {
    return std::filesystem::path(info.param.sample).stem().string() + "_via_" + info.param.target;
});
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(SampleRoundTrip);

}  // namespace
}  // namespace vlp
