// vlptrans-cli on input that is damaged, empty, odd or no file at all. Every row gets its
// exact message and exit status: 2, nothing written and every input left byte for byte as it
// was when the input cannot be used; the normal result when it is merely odd.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>

#include "cli/cli_fixture.h"

namespace vlp {
namespace {

namespace fs = std::filesystem;
using clitest::kText;
using clitest::kTextInBeta;
using clitest::Project;
using test::ContainerBuilder;
using test::CrLf;
using test::WriteFile;

constexpr std::int32_t kHuge = std::numeric_limits<std::int32_t>::max();
const std::string kNoSections = "The project has no sections; nothing was saved.\n";
const std::string kWrongFile = "wrong VLP file\n" + kNoSections;
const std::string kReadError = "Stream read error\n";

void Replace(std::string& text, std::string_view placeholder, const std::string& value) {
    for (auto at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

class BadInput : public clitest::CliFixture {};

struct ProjectRow {
    const char* name;
    std::string bytes;
    std::string message;
};

class DamagedProject : public BadInput, public testing::WithParamInterface<ProjectRow> {};

TEST_P(DamagedProject, IsRefusedWithItsMessageAndNothingWritten) {
    WriteFile(project, GetParam().bytes);
    ExpectRefused({"translate", project, "--to", "beta"}, GetParam().message);
}

std::string Truncated(const std::string& bytes, std::size_t cut) {
    return bytes.substr(0, bytes.size() - cut);
}

const std::string kProject = Project("alpha", kText);

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedProject,
    testing::Values(
        ProjectRow{"EmptyFile", "", kWrongFile}, ProjectRow{"ThreeBytes", "LGF", kWrongFile},
        ProjectRow{"HeaderWithoutCount", "LGF05", kReadError},
        ProjectRow{"CountCutShort", std::string("LGF05\x03\0", 7), kReadError},
        ProjectRow{"ChunkHeaderCutShort", kProject.substr(0, 9 + 6), kReadError},
        ProjectRow{"LanguageCutShort", kProject.substr(0, 9 + 8 + 3), kReadError},
        ProjectRow{"TextCutShort", kProject.substr(0, 9 + 8 + 5 + 8 + 10), kReadError},
        // Reading stops at the text; the cut picture is met when the save copies it.
        ProjectRow{"PictureCutShort", Truncated(kProject, 2), kReadError},
        ProjectRow{"TrailingChunkHeaderCutShort", kProject.substr(0, kProject.size() - 6) + "PIC2\x01",
                   kReadError},
        ProjectRow{"NegativeTextLength",
                   ContainerBuilder().chunk("LA 1", "alpha").rawChunk("TX 1", -1, kText).bytes(), kReadError},
        ProjectRow{
            "NegativeLengthOfAnotherChunk",
            ContainerBuilder().rawChunk("PIC1", -9, "").chunk("LA 1", "alpha").chunk("TX 1", kText).bytes(),
            kReadError},
        ProjectRow{"HugeTextLength",
                   ContainerBuilder().chunk("LA 1", "alpha").rawChunk("TX 1", kHuge, kText).bytes(),
                   kReadError},
        ProjectRow{"HugeLanguageLength",
                   ContainerBuilder().rawChunk("LA 1", kHuge, "alpha").chunk("TX 1", kText).bytes(),
                   kReadError},
        ProjectRow{"HugeLengthAfterTheText",
                   ContainerBuilder()
                       .chunk("LA 1", "alpha")
                       .chunk("TX 1", kText)
                       .rawChunk("PIC1", kHuge, "x")
                       .bytes(),
                   kReadError},
        ProjectRow{"NegativeCount",
                   ContainerBuilder().chunk("LA 1", "alpha").chunk("TX 1", kText).count(-1).bytes(),
                   kReadError},
        ProjectRow{"HugeCount",
                   ContainerBuilder().chunk("LA 1", "alpha").chunk("TX 1", kText).count(kHuge).bytes(),
                   kReadError},
        ProjectRow{"CountOneBeyondTheChunks",
                   ContainerBuilder().chunk("LA 1", "alpha").chunk("TX 1", kText).count(3).bytes(),
                   kReadError},
        ProjectRow{"CountBeyondTheFile",
                   ContainerBuilder().chunk("LA 1", "alpha").chunk("TX 1", kText).count(4000).bytes(),
                   kReadError},
        // A negative language length is an empty language, which is English.
        ProjectRow{"NegativeLanguageLength",
                   ContainerBuilder().rawChunk("LA 1", -1, "").chunk("TX 1", kText).bytes(),
                   "unknown language <english>\n" + kNoSections},
        ProjectRow{"ZeroCountIsPlainText", ContainerBuilder().chunk("TX 1", kText).count(0).bytes(),
                   kWrongFile},
        ProjectRow{"VersionSixIsPlainText", ContainerBuilder("06").chunk("TX 1", kText).bytes(), kWrongFile},
        ProjectRow{"LowerCaseMagicIsPlainText", "lgf05" + kProject.substr(5), kWrongFile},
        ProjectRow{"OnlyNulBytes", std::string(4096, '\0'), kWrongFile}),
    [](const testing::TestParamInfo<ProjectRow>& info) { return info.param.name; });

struct NotAFileRow {
    const char* name;
    std::function<std::string(const test::TempDir&)> make;  // returns the path given as project
};

class ProjectThatIsNoFile : public BadInput, public testing::WithParamInterface<NotAFileRow> {};

// None of these can be opened as a project; a pipe must not make the tool wait for a writer.
TEST_P(ProjectThatIsNoFile, CannotBeOpened) {
    const std::string path = GetParam().make(work);
    ExpectRefused({"translate", path, "--to", "beta"}, "Cannot open file " + path + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProjectThatIsNoFile,
    testing::Values(NotAFileRow{"Missing", [](const test::TempDir& d) { return d.file("missing.vlp"); }},
                    NotAFileRow{"Folder",
                                [](const test::TempDir& d) {
                                    fs::create_directory(d.path() / "folder.vlp");
                                    return d.file("folder.vlp");
                                }},
                    NotAFileRow{"DanglingLink",
                                [](const test::TempDir& d) {
                                    fs::create_symlink("missing.vlp", d.path() / "link.vlp");
                                    return d.file("link.vlp");
                                }},
                    NotAFileRow{"LinkLoop",
                                [](const test::TempDir& d) {
                                    fs::create_symlink("b.vlp", d.path() / "a.vlp");
                                    fs::create_symlink("a.vlp", d.path() / "b.vlp");
                                    return d.file("a.vlp");
                                }},
                    NotAFileRow{"Pipe",
                                [](const test::TempDir& d) {
                                    EXPECT_EQ(mkfifo(d.file("pipe.vlp").c_str(), 0644), 0);
                                    return d.file("pipe.vlp");
                                }},
                    NotAFileRow{"Device", [](const test::TempDir&) { return std::string("/dev/null"); }}),
    [](const testing::TestParamInfo<NotAFileRow>& info) { return info.param.name; });

// Permissions do not bind the superuser, so the tool runs as user 65534 on a file only its
// owner may read.
TEST_F(BadInput, ProjectTheUserMayNotReadCannotBeOpened) {
    if (const std::string reason = test::WhyNobodyCannotRun(VLP_CLI_PATH); !reason.empty())
        GTEST_SKIP() << reason;
    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(work.path(), readable);
    fs::permissions(dataPath(), readable);
    fs::permissions(project, fs::perms::owner_read | fs::perms::owner_write);
    test::ProgramOptions asNobody;
    asNobody.asNobody = true;
    ExpectRefused({"translate", project, "--to", "beta"}, "Cannot open file " + project + "\n", asNobody);
}

// The text chunk holds every byte value. Inside a word in bars every byte but the CR, which
// ends a line, and the bar, which ends the word, is carried over unchanged while the words
// around it are translated.
TEST_F(BadInput, TextWithEveryByteValueIsTranslatedAroundTheBytes) {
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        if (c != '\r' && c != '|') bytes += static_cast<char>(c);
    WriteFile(project, Project("alpha", "print |" + bytes + "| forward 1\r\n"));
    ExpectWritten({"translate", project, "--to", "beta"}, "translated 2, ambiguous 0",
                  Project("beta", "pis |" + bytes + "| vpred 1\r\n\r\n"));
    // The whole range as the text: the bytes up to the CR are blanks to the parser and make an
    // empty line, the rest one line of its own.
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    WriteFile(project, Project("alpha", all));
    ExpectWritten({"translate", project, "--to", "beta"}, "translated 0, ambiguous 0",
                  Project("beta", all.substr('\r' + 1) + "\r\n\r\n"));
}

struct FolderRow {
    const char* name;
    std::function<void(const fs::path&)> arrange;  // changes the language folder
    std::string message;                           // "{data}" stands for the folder
    std::string written;                           // the output's bytes; none when refused
    std::string counts = "translated 9, ambiguous 0";
};

class LanguageFolderRow : public BadInput, public testing::WithParamInterface<FolderRow> {};

TEST_P(LanguageFolderRow, GivesItsResult) {
    GetParam().arrange(dataPath());
    std::string message = GetParam().message;
    Replace(message, "{data}", dataPath().string());
    if (GetParam().written.empty())
        ExpectRefused({"translate", project, "--to", "beta"}, message);
    else
        ExpectWritten({"translate", project, "--to", "beta"}, GetParam().counts, GetParam().written, message);
}

void Write(const fs::path& folder, const char* name, std::initializer_list<std::string_view> lines) {
    std::string text;
    for (auto line : lines) text += std::string(line) + "\r\n";
    WriteFile((folder / name).string(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LanguageFolderRow,
    testing::Values(FolderRow{"NoDataAtAll",
                              [](const fs::path& f) {
                                  fs::remove_all(f);
                                  fs::create_directory(f);
                              },
                              "unknown language <alpha>\n" + kNoSections, ""},
                    FolderRow{"FolderMissing", [](const fs::path& f) { fs::remove_all(f); },
                              "unknown language <alpha>\n" + kNoSections, ""},
                    FolderRow{"NoCompareTable", [](const fs::path& f) { fs::remove(f / "compare.tab"); },
                              "Cannot open file {data}/compare.tab\n", ""},
                    FolderRow{"CompareTableIsAFolder",
                              [](const fs::path& f) {
                                  fs::remove(f / "compare.tab");
                                  fs::create_directory(f / "compare.tab");
                              },
                              "Cannot open file {data}/compare.tab\n", ""},
                    FolderRow{"CompareTableIsAPipe",
                              [](const fs::path& f) {
                                  fs::remove(f / "compare.tab");
                                  EXPECT_EQ(mkfifo((f / "compare.tab").c_str(), 0644), 0);
                              },
                              "Cannot open file {data}/compare.tab\n", ""},
                    FolderRow{"EmptySourceDictionary",
                              [](const fs::path& f) { WriteFile((f / "alpha.ldi").string(), ""); },
                              "unknown language <alpha>\n" + kNoSections, ""},
                    FolderRow{"EmptyTargetDictionary",
                              [](const fs::path& f) { WriteFile((f / "beta.ldi").string(), ""); },
                              "unknown target language <beta>\n", ""},
                    FolderRow{"TargetWithoutSystemSection",
                              [](const fs::path& f) {
                                  Write(f, "beta.ldi", {"language=beta", "[dict]", "print=pis"});
                              },
                              "unknown target language <beta>\n", ""},
                    FolderRow{"DanglingDictionaryLinkIsPassedOver",
                              [](const fs::path& f) { fs::create_symlink("missing.ldi", f / "gamma.ldi"); },
                              "", Project("beta", kTextInBeta)},
                    // Nothing is listed for translation, not even the word that makes global variables: the
                    // project is saved in beta with its words unchanged.
                    FolderRow{"EmptyCompareTable",
                              [](const fs::path& f) { WriteFile((f / "compare.tab").string(), ""); }, "",
                              Project("beta", CrLf({"make \"size 1", "make \"step 2", "",
                                                    "print :size forward :step right 90", "", ""})),
                              "translated 0, ambiguous 0"},
                    FolderRow{"BrokenCompareTableLines",
                              [](const fs::path& f) {
                                  Write(
                                      f, "compare.tab",
                                      {"no bar on this line", "|a description without a key", "dict forward|",
                                       "   dict right   |Turtle - turns right", "dict print", "\x01\x02|\x03",
                                       "dict make|General - makes a variable|with a second bar", "|", ""});
                              },
                              "",
                              Project("beta", CrLf({"udelej \"size 1", "udelej \"step 2", "",
                                                    "print :size vpred :step vpravo 90", "", ""})),
                              "translated 8, ambiguous 0"},
                    FolderRow{"BrokenTargetDictionaryLines",
                              [](const fs::path& f) {
                                  Write(f, "beta.ldi",
                                        {"[system]", "language=beta", "a line without equals", "[dict",
                                         "=no key", "forward==vpred", "print", "print=pis", "[",
                                         "right=vpravo", "[dict]", "make=udelej", "[other]", "end"});
                              },
                              "",
                              Project("beta", CrLf({"udelej \"size 1", "udelej \"step 2", "",
                                                    "pis :size =vpred :step right 90", "", ""})),
                              "translated 8, ambiguous 0"}),
    [](const testing::TestParamInfo<FolderRow>& info) { return info.param.name; });

struct NamesRow {
    const char* name;
    std::string bytes;
    std::string size;  // what "size" becomes
    std::string step;  // what "step" becomes
};

class NamesFileLineEnds : public BadInput, public testing::WithParamInterface<NamesRow> {};

TEST_P(NamesFileLineEnds, AreAllLineEnds) {
    const std::string names = work.file("names.txt");
    WriteFile(names, GetParam().bytes);
    const std::string& size = GetParam().size;
    const std::string& step = GetParam().step;
    ExpectWritten({"translate", project, "--to", "beta", "--names", names}, "translated 9, ambiguous 0",
                  Project("beta", CrLf({"udelej \"" + size + " 1", "udelej \"" + step + " 2", "",
                                        "pis :" + size + " vpred :" + step + " vpravo 90", "", ""})));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NamesFileLineEnds,
    testing::Values(NamesRow{"CrLf", "size=velikost\r\nstep=krok\r\n", "velikost", "krok"},
                    NamesRow{"Lf", "size=velikost\nstep=krok\n", "velikost", "krok"},
                    NamesRow{"Cr", "size=velikost\rstep=krok\r", "velikost", "krok"},
                    NamesRow{"Mixed", "size=velikost\rstep=krok\r\n\n", "velikost", "krok"},
                    NamesRow{"NoFinalEnd", "size=velikost\r\nstep=krok", "velikost", "krok"},
                    NamesRow{"CrCrLf", "size=velikost\r\r\nstep=krok\r\r\n", "velikost", "krok"},
                    NamesRow{"LfCr", "size=velikost\n\rstep=krok\n\r", "velikost", "krok"},
                    NamesRow{"BlankAndBrokenLines", "\r\n\r\nno equals\r\n=x\r\nsize=\r\nstep=krok\r\n",
                             "size", "krok"},
                    NamesRow{"Empty", "", "size", "step"}),
    [](const testing::TestParamInfo<NamesRow>& info) { return info.param.name; });

struct SideFileRow {
    const char* name;
    const char* option;
    std::function<std::string(const test::TempDir&)> make;  // returns the path given
    const char* message;                                    // followed by the path
};

class SideFileThatIsNoFile : public BadInput, public testing::WithParamInterface<SideFileRow> {};

TEST_P(SideFileThatIsNoFile, StopsBeforeAnythingIsWritten) {
    const std::string path = GetParam().make(work);
    ExpectRefused({"translate", project, "--to", "beta", GetParam().option, path},
                  GetParam().message + path + "\n");
}

std::string MakeFolder(const test::TempDir& d) {
    fs::create_directory(d.path() / "folder");
    return d.file("folder");
}

std::string MakePipe(const test::TempDir& d) {
    EXPECT_EQ(mkfifo(d.file("pipe").c_str(), 0644), 0);
    return d.file("pipe");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SideFileThatIsNoFile,
    testing::Values(SideFileRow{"NamesMissing", "--names",
                                [](const test::TempDir& d) { return d.file("none.txt"); },
                                "Cannot open file "},
                    SideFileRow{"NamesFolder", "--names", MakeFolder, "Cannot open file "},
                    SideFileRow{"NamesPipe", "--names", MakePipe, "Cannot open file "},
                    SideFileRow{"ChoicesFolder", "--choices", MakeFolder, "Cannot open file "},
                    SideFileRow{"ChoicesPipe", "--choices", MakePipe, "Cannot open file "},
                    SideFileRow{"ReportIntoAFolder", "--report", MakeFolder, "Cannot create file "},
                    SideFileRow{"ReportInAMissingFolder", "--report",
                                [](const test::TempDir& d) { return d.file("no/such/report.json"); },
                                "Cannot create file "}),
    [](const testing::TestParamInfo<SideFileRow>& info) { return info.param.name; });

// The output, the report and the dump must not replace a file the run reads, nor the report
// the project just written.
TEST_F(BadInput, WrittenFilesNeverReplaceTheFilesRead) {
    const std::string names = work.file("names.txt");
    WriteFile(names, "size=velikost\r\n");
    const std::string chosen = work.file("out.vlp");
    const std::pair<std::vector<std::string>, std::string> rows[] = {
        {{"translate", project, "--to", "beta", "--names", names, "-o", names}, names},
        {{"translate", project, "--to", "beta", "--choices", names, "-o", work.file("./names.txt")},
         work.file("./names.txt")},
        {{"translate", project, "--to", "beta", "--report", project}, project},
        {{"translate", project, "--to", "beta", "--names", names, "--report", names}, names},
        {{"translate", project, "--to", "beta", "-o", chosen, "--report", chosen}, chosen},
        {{"translate", project, "--to", "beta", "--report", output}, output},
        {{"dump", project, "--to", "beta", "-o", project}, project},
    };
    for (const auto& [args, refused] : rows) {
        SCOPED_TRACE(args.back());
        ExpectRefused(args, "Cannot create file " + refused + "\n");
    }
}

}  // namespace
}  // namespace vlp
