// Open -> save without translating -> open again: the text model is stable under its own round
// trip, and the saved text differs from the original only where saving normalises.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "container/io_error.h"
#include "container/project_file.h"
#include "language/discovery.h"
#include "project/names_table.h"
#include "project/project_loading.h"
#include "project/section_reassembly.h"
#include "project/test_language.h"
#include "support/test_support.h"
#include "text/cp1250.h"

namespace vlp {
namespace {

using test::CrLf;

// Every block followed by an empty line, as a save writes it.
std::string SavedForm(std::initializer_list<std::string_view> blocks) {
    std::string text;
    for (auto block : blocks) text += std::string(block) + "\r\n\r\n";
    return text;
}

void ExpectSameModel(const test::ParsedProject& a, const test::ParsedProject& b) {
    EXPECT_EQ(a.sections, b.sections);
    EXPECT_EQ(a.names, b.names);
    EXPECT_EQ(a.translations, b.translations);
}

struct StableCase {
    const char* name;
    std::vector<std::string> blocks;
};

class StableProjects : public ::testing::TestWithParam<StableCase> {};

TEST_P(StableProjects, SaveGivesTheOriginalAndParsesTheSame) {
    Workspace ws = test::MakeParseWorkspace();
    std::string original;
    for (const auto& block : GetParam().blocks) original += block + "\r\n\r\n";

    const test::ParsedProject first = test::ParseText(ws, original);
    const std::string saved = test::SaveSections(ws, first.sections);
    EXPECT_EQ(saved, original);
    const test::ParsedProject second = test::ParseText(ws, saved);
    ExpectSameModel(first, second);
    EXPECT_EQ(test::SaveSections(ws, second.sections), saved);
}

INSTANTIATE_TEST_SUITE_P(
    RoundTrip, StableProjects,
    ::testing::Values(
        StableCase{"Turtle",
                   {CrLf({"new \"korytnacka k1 [", "\t40 90", "\t4 10 20", "\t132 k1", "\t28 []", "\t37 []",
                          "\tspeed 5", "\tforward 3", "\tevent'click [fd 10]", "\tevent'drag [fd 1]",
                          "\tdefine'square |to square :n\xB6repeat 4 [fd :n rt 90]\xB6"
                          "end|",
                          "\tdefine'say to\\ say\xB6print\\ \\\"a\\|b\xB6"
                          "end",
                          "\t[[3 3][8 4]]"})}},
        StableCase{"PictureOnTheFirstSettingsLine",
                   {CrLf({"new \"korytnacka k [", "\t28 []", "\t40 90", "\t[[5 0]]"})}},
        StableCase{
            "EveryKindOfSection",
            {CrLf({"; a comment", "; with two lines"}), CrLf({"setstate [", "\t20 My window", "\tcounter 0"}),
             CrLf({"make \"speed 10", "make \"size 2"}), "setSaveOptions [1 0 1]",
             "setplist \"colours [red 1 blue 2]", CrLf({"print \"hello", "print \"world"})}},
        StableCase{"UserClasses",
                   {CrLf({"newclass \"robot korytnacka [", "\t40 0",
                          "\tdefine'walk |to walk\xB6"
                          "fd 10\xB6"
                          "end|"}),
                    CrLf({"#2'new \"#1 r1 [", "\t132 r1"}), CrLf({"new \"net n1 [", "\t132 n1", "\t159 80"}),
                    CrLf({"new \"mediaplayer m [", "\t10 true"})}},
        StableCase{"EightBitText",
                   {CrLf({"new \"korytnacka \xE8"
                          "apek [",
                          "\t132 \xE8"
                          "apek",
                          "\t\xB9\xE8\xFD 1", "\tdefine'\xFA\xE8 |to \xFA\xE8\xB6\xA9|"})}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RoundTrip, SavedFileOpensToTheSameModel) {
    test::TempDir dir;
    test::WriteFile(dir.file("compare.tab"), test::TestCompareTable());
    test::WriteFile(dir.file("testish.ldi"), test::TestLanguageFile("testish"));
    Workspace ws;
    ws.language.programDir = dir.dirWithSeparator();
    ws.language.LanguageList = {{"testish", "testish.ldi"}};
    test::RecordingReporter reporter;

    const std::string original = CrLf({"new \"korytnacka k [40 90", "\tobjname k", "\t28 []",
                                       "\tdefine'sq to\\ sq", "\t[[2 2]]", "", "", "make \"x 1"});
    test::WriteFile(dir.file("a.vlp"),
                    test::ContainerBuilder().chunk("LA 1", "testish").chunk("TX 1", original).bytes());
    const test::ParsedProject first = test::ParseBlocks(ws, LoadProject(ws, dir.file("a.vlp"), reporter));
    std::vector<std::vector<PartText>> frames;
    for (const auto& section : first.sections) frames.push_back(test::EditorParts(section));
    SaveProjectFile(dir.file("a.vlp"), dir.file("b.vlp"), ProjectSaveText(ws, frames),
                    ws.project.saveLanguage);

    const test::ParsedProject second = test::ParseBlocks(ws, LoadProject(ws, dir.file("b.vlp"), reporter));
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(second.sections.size(), 2u);
    EXPECT_EQ(second.sections, first.sections);
    // The name property was written as a name and is saved as its code.
    EXPECT_EQ(first.names, (T2ArrayString{{"?", "k"}, {"p", "sq"}, {"g", "x"}}));
    EXPECT_EQ(second.names, (T2ArrayString{{"o", "k"}, {"p", "sq"}, {"g", "x"}}));
}

struct NormalisedCase {
    const char* name;
    std::string original;
    std::string saved;
};

class Normalisation : public ::testing::TestWithParam<NormalisedCase> {};

TEST_P(Normalisation, SavedTextDiffersOnlyThere) {
    Workspace ws = test::MakeParseWorkspace();
    const std::string saved = test::SaveSections(ws, test::ParseText(ws, GetParam().original).sections);
    EXPECT_EQ(saved, GetParam().saved);
    const test::ParsedProject reopened = test::ParseText(ws, saved);
    const std::string savedAgain = test::SaveSections(ws, reopened.sections);
    ExpectSameModel(test::ParseText(ws, savedAgain), reopened);
}

const std::string kHead = "new \"korytnacka k [";

INSTANTIATE_TEST_SUITE_P(
    RoundTrip, Normalisation,
    ::testing::Values(
        NormalisedCase{"TrailingBlanks", CrLf({"print 1  ", "print 2\t"}),
                       SavedForm({CrLf({"print 1", "print 2"})})},
        NormalisedCase{"BlankLinesInsideASection", CrLf({"print 1", "   ", "\t", "print 2"}),
                       SavedForm({CrLf({"print 1", "print 2"})})},
        NormalisedCase{"BlankSectionLeavesOnlyALineEnd", CrLf({"print 1", "", "  ", "", "print 2"}),
                       "print 1\r\n\r\n\r\nprint 2\r\n\r\n"},
        NormalisedCase{"ImageListOnlySectionLeavesOnlyALineEnd", CrLf({"print 1", "", "[[1 2]]"}),
                       "print 1\r\n\r\n\r\n"},
        NormalisedCase{"LineEnds", "print 1\rprint 2\r\r\r\n\r\nprint 3",
                       SavedForm({CrLf({"print 1", "print 2"}), "print 3"})},
        NormalisedCase{"PlainDefinitionIsBarQuoted",
                       CrLf({kHead,
                             "\tdefine'sq to\\ sq\xB6"
                             "fd\\9.1"}),
                       SavedForm({CrLf({kHead,
                                        "\tdefine'sq |to sq\xB6"
                                        "fd  1|"})})},
        NormalisedCase{"EscapedDefinitionIsEscapedAgain",
                       CrLf({kHead, "\tdefine'a to\\ a\xB6print\\ \"x\\|y"}),
                       SavedForm({CrLf({kHead, "\tdefine'a to\\ a\xB6print\\ \\\"x\\|y"})})},
        NormalisedCase{"DefinitionLosesLeadingBlanks", CrLf({kHead, "\tdefine'sq |  to sq|"}),
                       SavedForm({CrLf({kHead, "\tdefine'sq |to sq|"})})},
        NormalisedCase{"DefinitionWithoutBodyVanishes", CrLf({kHead, "\tdefine'sq ", "\tdefine'x |to|"}),
                       SavedForm({kHead})},
        NormalisedCase{"PropertyNamesBecomeCodes", CrLf({kHead, "\tHeading 90", "\tobjname k"}),
                       SavedForm({CrLf({kHead, "\t40 90", "\t132 k"})})},
        NormalisedCase{"CodesAreWrittenPlainWithTheLowestCodeOfTheirName",
                       CrLf({kHead, "\t040 90", "\t42 7"}), SavedForm({CrLf({kHead, "\t40 90", "\t2 7"})})},
        NormalisedCase{"HeaderSettingsMoveToTheirOwnLine", CrLf({"new \"korytnacka k [40 90", "\t10 true"}),
                       SavedForm({CrLf({kHead, "\t40 90", "\t10 true"})})},
        NormalisedCase{
            "SettingsAreGroupedByKind",
            CrLf({kHead, "\tevent'click [x]", "\tdefine'sq |to sq|", "\tspeed 1", "\t40 90"}),
            SavedForm({CrLf({kHead, "\t40 90", "\tspeed 1", "\tevent'click [x]", "\tdefine'sq |to sq|"})})},
        NormalisedCase{"ImageListIsRewritten", CrLf({kHead, "\t40 90", "\t28 []", "  [[3 1] [9 9]]"}),
                       SavedForm({CrLf({kHead, "\t40 90", "\t28 []", "\t[[3 1]]"})})},
        NormalisedCase{"ImageIndexFollowsRegrouping", CrLf({kHead, "\tspeed 1", "\t28 []", "\t[[3 1]]"}),
                       SavedForm({CrLf({kHead, "\t28 []", "\tspeed 1", "\t[[3 0]]"})})}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<std::filesystem::path> RepositoryProjects() {
    std::vector<std::filesystem::path> files;
    for (const char* folder : {"examples", "tests/data"}) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath(folder), ec))
            if (entry.is_regular_file() && AsciiLower(entry.path().extension().string()) == ".vlp")
                files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Lines of a text as saving leaves them: trailing blanks gone, blank lines dropped.
std::string TrimmedLines(std::string_view text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = TrimRight(text.substr(start, end - start));
        if (!line.empty()) out += line + "\r\n";
        start = end + 2;
    }
    return out;
}

// The section as it reads back after a save: its texts' lines trimmed.
TStruct AsSaved(TStruct s) {
    for (std::string* text : {&s.headText, &s.propertyText, &s.variableText, &s.eventText})
        *text = TrimmedLines(*text);
    return s;
}

// Names without the difference between a name property written as a name and as its code.
T2ArrayString NamesAsSaved(T2ArrayString names) {
    for (auto& [tags, name] : names) {
        std::replace(tags.begin(), tags.end(), '?', 'o');
        std::string unique;
        for (char t : tags)
            if (unique.find(t) == std::string::npos) unique += t;
        std::sort(unique.begin(), unique.end());
        tags = unique;
    }
    return names;
}

TEST(RoundTrip, EveryRepositoryProjectIsStable) {
    const auto files = RepositoryProjects();
    if (files.empty()) GTEST_SKIP() << "no .vlp projects in examples/ or tests/data/";
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const bool mustOpen = file.parent_path().filename() == "examples";
        Workspace ws;
        ws.language.programDir = test::DataDir();
        DiscoverLanguages(ws.language, ws.buttons);
        test::RecordingReporter reporter;
        TArrayString blocks;
        try {
            blocks = LoadProject(ws, file.string(), reporter);
        } catch (const IoError& e) {
            if (mustOpen) ADD_FAILURE() << e.what();
            continue;
        }
        if (!reporter.messages.empty()) {
            // Test fixtures may be refused on purpose; sample projects must open.
            if (mustOpen) ADD_FAILURE() << reporter.messages.front();
            continue;
        }
        const test::ParsedProject first = test::ParseBlocks(ws, blocks);
        if (mustOpen) {
            EXPECT_FALSE(first.sections.empty());
        }
        const std::string saved = test::SaveSections(ws, first.sections);
        const test::ParsedProject second = test::ParseText(ws, saved);

        std::vector<TStruct> expected;
        for (const auto& section : first.sections)
            if (!SectionParts(section).empty()) expected.push_back(AsSaved(section));
        ASSERT_EQ(second.sections.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(second.sections[i], expected[i]) << "section " << i;
        EXPECT_EQ(NamesAsSaved(second.names), NamesAsSaved(first.names));
        EXPECT_EQ(second.translations, first.translations);

        const test::ParsedProject third = test::ParseText(ws, test::SaveSections(ws, second.sections));
        ExpectSameModel(second, third);
    }
}

}  // namespace
}  // namespace vlp
