// The generator of large projects: what it writes must be a project the whole road accepts.

#include "support/large_project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "container/project_file.h"
#include "project/names_table.h"
#include "project/project_loading.h"
#include "project/section_parser.h"
#include "support/test_support.h"
#include "text/cp1250.h"
#include "translate/project_session.h"
#include "translate/text_translation.h"

namespace vlp::test {
namespace {

constexpr int kSections = 50;

int CountLines(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

int CountChunks(const std::string& fileName, std::uint32_t tag) {
    const ContainerInfo info = InspectProjectFile(fileName);
    return static_cast<int>(std::count_if(info.chunks.begin(), info.chunks.end(),
                                          [&](const ChunkInfo& chunk) { return chunk.tag == tag; }));
}

TEST(GeneratedProject, SameSeedGivesSameBytesAndAnotherSeedOthers) {
    EXPECT_EQ(GenerateProject(kSections, 7), GenerateProject(kSections, 7));
    EXPECT_NE(GenerateProject(kSections, 7), GenerateProject(kSections, 8));
    const std::string text = GenerateProject(kSections);
    EXPECT_EQ(BuildGeneratedContainer(text, kSections), BuildGeneratedContainer(text, kSections));
}

TEST(GeneratedProject, AveragesAboutThirtyLinesASection) {
    const std::string text = GenerateProject(500);
    const double perSection = (CountLines(text) - 500) / 500.0;  // less the empty line after each
    EXPECT_GT(perSection, 22.0);
    EXPECT_LT(perSection, 38.0);
}

TEST(GeneratedLanguages, AreDiscoveredAndKnowTheKeywords) {
    TempDir dir;
    GenerateLanguageFolder(dir.path(), 0);
    Workspace ws;
    UseGeneratedLanguages(ws, dir.path());
    ASSERT_EQ(ws.language.LanguageList.size(), 2u);
    EXPECT_EQ(ws.language.LanguageList[0].name, kGeneratedSourceLanguage);
    PressGeneratedTargetButton(ws);
    EXPECT_FALSE(ws.buttons.buttons[0].down);
    EXPECT_TRUE(ws.buttons.buttons[1].down);
    const std::string compare = ReadFile(dir.file("compare.tab"));
    EXPECT_EQ(CountLines(compare), GeneratedFixedItemCount() + 4);  // and four lines readers skip
}

// Open, translate, save and open the result: the section count survives the whole road.
class GeneratedProjectRoad : public ::testing::Test {
protected:
    void SetUp() override {
        GenerateLanguageFolder(dir_.path(), 2000);
        UseGeneratedLanguages(ws_, dir_.path());
        WriteGeneratedProject(project_, kSections);
    }

    TempDir dir_;
    Workspace ws_;
    RecordingReporter reporter_;
    std::string project_ = dir_.file("large.vlp");
};

TEST_F(GeneratedProjectRoad, OpensIntoEverySectionKind) {
    const std::vector<TStruct> sections = OpenProjectSections(ws_, project_, reporter_);
    EXPECT_TRUE(reporter_.messages.empty());
    ASSERT_EQ(static_cast<int>(sections.size()), kSections);
    std::set<int> kinds;
    std::set<std::string> captions;
    bool marker = false;
    bool definitions = false;
    for (const TStruct& section : sections) {
        kinds.insert(section.kind);
        captions.insert(section.caption.substr(0, section.caption.find(' ')));
        marker = marker || section.propertyText.find("{image%") != std::string::npos;
        definitions = definitions || !section.defineTexts.empty();
    }
    EXPECT_EQ(kinds, (std::set<int>{1, 2, 3, 4, 5, 6}));
    for (const char* caption : {"globals", "top", "new", "comment", "save", "global", "property"})
        EXPECT_TRUE(captions.contains(caption)) << caption;
    EXPECT_TRUE(marker);
    EXPECT_TRUE(definitions);
    // Numbered objects resolve through the user classes to built-in class names.
    for (const TStruct& section : sections) {
        if (section.caption.starts_with("new object")) {
            EXPECT_FALSE(section.className.starts_with('#'));
        }
    }
}

// Parsing a whole project at once keeps the names in order only at the end; the result must be
// what parsing one section after another gives.
TEST_F(GeneratedProjectRoad, ParsingAllSectionsAtOnceGivesWhatOneByOneGives) {
    Workspace oneByOne;
    UseGeneratedLanguages(oneByOne, dir_.path());
    const TArrayString blocks = LoadProject(oneByOne, project_, reporter_);
    ASSERT_EQ(static_cast<int>(blocks.size()), kSections);
    Workspace atOnce = oneByOne;
    ResetNameState(oneByOne);
    std::vector<TStruct> expected(blocks.size());
    for (std::size_t k = 0; k < blocks.size(); ++k) ParseSection(oneByOne, blocks[k], expected[k]);
    ResetNameState(atOnce);
    const std::vector<TStruct> sections = ParseSections(atOnce, blocks);

    EXPECT_GT(oneByOne.parse.NameList[0].size(), 100u);
    EXPECT_EQ(atOnce.parse.NameList, oneByOne.parse.NameList);
    EXPECT_EQ(atOnce.parse.NameTranslations, oneByOne.parse.NameTranslations);
    EXPECT_EQ(atOnce.parse.ClassTable, oneByOne.parse.ClassTable);
    ASSERT_EQ(sections.size(), expected.size());
    for (std::size_t k = 0; k < sections.size(); ++k) {
        EXPECT_EQ(sections[k].caption, expected[k].caption);
        EXPECT_EQ(sections[k].propertyText, expected[k].propertyText);
        EXPECT_EQ(sections[k].defineTexts, expected[k].defineTexts);
    }
    // Names added afterwards go in their place again.
    AddName(atOnce, 1, "s", "aaa_first");
    AddName(oneByOne, 1, "s", "aaa_first");
    EXPECT_EQ(atOnce.parse.NameList, oneByOne.parse.NameList);
}

TEST_F(GeneratedProjectRoad, TranslatesSavesAndReopensToTheSameSections) {
    const std::vector<TStruct> sections = OpenProjectSections(ws_, project_, reporter_);
    ASSERT_EQ(static_cast<int>(sections.size()), kSections);
    MemoryFrames frames = MakeMemoryFrames(sections);
    PressGeneratedTargetButton(ws_);
    TranslateProject(ws_, frames.frames);
    EXPECT_EQ(ws_.project.saveLanguage, kGeneratedTargetLanguage);
    int translated = 0;
    int ambiguous = 0;
    for (const Editor* editor : frames.EditorList())
        for (const Mark& run : editor->MarkedRuns())
            (run.status == kMarkAmbiguous ? ambiguous : translated)++;
    EXPECT_GT(translated, 10 * ambiguous);
    EXPECT_GT(ambiguous, 0);

    const std::string output = dir_.file("translated.vlp");
    SaveProject(ws_, frames.frames, project_, output);
    EXPECT_EQ(CountChunks(output, MakeChunkTag("BM 1")), GeneratedPictureCount(kSections));

    Workspace reopened;
    UseGeneratedLanguages(reopened, dir_.path());
    const std::vector<TStruct> again = OpenProjectSections(reopened, output, reporter_);
    EXPECT_TRUE(reporter_.messages.empty());
    EXPECT_EQ(reopened.project.projectLanguage, kGeneratedTargetLanguage);
    EXPECT_EQ(static_cast<int>(again.size()), kSections);
}

// The translator of whole projects keeps what words translated to; every part must still come
// out as the plain line-by-line translation gives it, in whatever order parts and classes come,
// with words of the same letters in other cases and words met for the first time.
TEST_F(GeneratedProjectRoad, WholeProjectTranslationGivesWhatLineByLineGives) {
    const std::vector<TStruct> sections = OpenProjectSections(ws_, project_, reporter_);
    ASSERT_EQ(static_cast<int>(sections.size()), kSections);
    MemoryFrames frames = MakeMemoryFrames(sections);
    // Each part once more, upper-cased: other bytes for the same dictionary words and names.
    MemoryFrames upper = MakeMemoryFrames(sections);
    for (auto& editor : upper.editors) {
        editor->SetText(AnsiUpper(editor->Text()));
    }
    const std::vector<Editor*> editors = frames.EditorList();
    std::vector<std::string> before;
    for (const Editor* editor : editors) before.push_back(editor->Text());
    PressGeneratedTargetButton(ws_);
    TranslateProject(ws_, frames.frames);
    PartTranslator again(ws_);  // warm from the first frames when it meets the upper-cased ones
    std::size_t index = 0;
    int compared = 0;
    const auto lineByLine = [&](std::string_view text, const FramePart& part, std::vector<Mark>& marks) {
        std::string out;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find("\r\n", pos);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view line = text.substr(pos, end - pos);
            const std::size_t first = line.find_first_not_of(' ');
            if (first != std::string_view::npos && line[first] == ';')
                out += line;
            else
                out += TranslateLine(ws_, line, static_cast<int>(out.size()), part.kind, part.className, marks);
            out += "\r\n";
            pos = end == text.size() ? end : end + 2;
        }
        return out;
    };
    for (const TFrameStruct& frame : frames.frames) {
        for (const FramePart& part : frame) {
            const std::string& text = before[index++];
            if (part.kind == kCommentPartKind) continue;
            std::vector<Mark> marks;
            MemoryEditor expected(lineByLine(text, part, marks));
            expected.SetMarks(marks);
            EXPECT_EQ(part.editor->Text(), expected.Text());
            EXPECT_EQ(part.editor->MarkedRuns(), expected.MarkedRuns());
            ++compared;
        }
    }
    for (const TFrameStruct& frame : upper.frames) {
        for (const FramePart& part : frame) {
            if (part.kind == kCommentPartKind) continue;
            const std::string text = part.editor->Text();
            std::vector<Mark> expected;
            const std::string want = lineByLine(text, part, expected);
            std::vector<Mark> marks;
            EXPECT_EQ(again.TranslateText(text, part.kind, part.className, marks), want);
            EXPECT_EQ(marks, expected);
        }
    }
    EXPECT_GT(compared, kSections);
}

}  // namespace
}  // namespace vlp::test
