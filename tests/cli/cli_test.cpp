// End-to-end tests of vlptrans-cli: the binary runs on projects and language files written here,
// and its output files are compared byte for byte with texts worked out by hand.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/language_folder.h"
#include "support/test_support.h"

namespace vlp {
namespace {

namespace fs = std::filesystem;
using test::ContainerBuilder;
using test::CrLf;
using test::ReadFile;
using test::WriteFile;
using Json = nlohmann::json;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Two languages, alpha and beta. "colour" is one alpha word for two items with different beta
// words; every other word has one sense.
void WriteLanguages(const test::LanguageFolder& folder) {
    const auto write = [&](std::string_view name, std::initializer_list<std::string_view> lines) {
        std::string text;
        for (auto line : lines) text += std::string(line) + "\r\n";
        WriteFile(folder.path(name), text);
    };
    write("compare.tab", {"dict forward|Turtle - moves forward", "dict right|Turtle - turns right",
                          "dict repeat|General - repeats a list", "dict print|General - prints a value",
                          "dict make|General - makes a variable", "dict colour|Turtle - pen colour",
                          "page colour|Page - background colour", "other end|General - ends a procedure",
                          "param define|Main - setstate word of a procedure definition"});
    write("alpha.ldi", {"[system]", "language=alpha", "setfix=set*", "[dict]", "forward=forward",
                        "right=right", "repeat=repeat", "print=print", "make=make", "colour=colour", "[page]",
                        "colour=colour", "[other]", "end=end", "[param]", "define=to"});
    write("beta.ldi", {"[system]", "language=beta", "setfix=nastav*", "[dict]", "forward=vpred",
                       "right=vpravo", "repeat=opakuj", "print=pis", "make=udelej", "colour=barva", "[page]",
                       "colour=pozadi", "[other]", "end=konec", "[param]", "define=prikaz"});
}

const std::string kPicture = std::string("\x00\x01pic\xFF\x80", 7);

std::string Project(std::string_view language, std::string_view text) {
    return ContainerBuilder("05").chunk("LA 1", language).chunk("TX 1", text).chunk("PIC1", kPicture).bytes();
}

const std::string kDemoText =
    CrLf({"make \"size 10", "make \"step 5", "", "to square :n", "repeat 4 [forward :n right 90]", "end", "",
          "", "; a comment forward", "", "colour 3", "print |hello world|", ""});

class Cli : public testing::Test {
protected:
    void SetUp() override {
        WriteLanguages(languages);
        demo = work.file("demo.vlp");
        WriteFile(demo, Project("alpha", kDemoText));
    }

    CliRun Cmd(const std::vector<std::string>& args, bool withData = true) const {
        std::string command = Quote(VLP_CLI_PATH);
        if (withData) command += " --data " + Quote(languages.programDir());
        for (const auto& arg : args) command += " " + Quote(arg);
        const std::string out = work.file(".out");
        const std::string err = work.file(".err");
        command += " >" + Quote(out) + " 2>" + Quote(err);
        const int raw = std::system(command.c_str());
        CliRun run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = ReadFile(out);
        run.err = ReadFile(err);
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(work.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::LanguageFolder languages;
    test::TempDir work;
    std::string demo;
};

// The demo translated into beta: names map to themselves (blue), "colour" stays ambiguous, the
// comment is copied, and every section is followed by an empty line.
const std::string kDemoInBeta =
    CrLf({"udelej \"size 10", "udelej \"step 5", "", "prikaz square :n", "opakuj 4 [vpred :n vpravo 90]",
          "konec", "", "; a comment forward", "", "colour 3", "pis |hello world|", "", ""});

TEST_F(Cli, TranslateWritesTheDerivedFileByteForByte) {
    const CliRun run = Cmd({"translate", demo, "--to", "beta"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string output = work.file("beta_demo.vlp");
    EXPECT_EQ(run.out, "translated 10, ambiguous 1, written " + output + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFile(output), Project("beta", kDemoInBeta));
    EXPECT_EQ(ReadFile(demo), Project("alpha", kDemoText));  // the project itself is never touched
}

TEST_F(Cli, DerivedNamesTakeNewPrefixesWhileTheNameExists) {
    WriteFile(work.file("beta_demo.vlp"), "x");
    EXPECT_EQ(Cmd({"translate", demo, "--to", "beta"}).status, 0);
    EXPECT_EQ(ReadFile(work.file("beta_demo.vlp")), "x");
    EXPECT_EQ(ReadFile(work.file("new_beta_demo.vlp")), Project("beta", kDemoInBeta));
    // Without --to the project is saved untranslated, next to itself.
    const CliRun run = Cmd({"translate", demo});
    EXPECT_EQ(run.out, "translated 0, ambiguous 0, written " + work.file("new_demo.vlp") + "\n");
    const std::string untranslated =
        CrLf({"make \"size 10", "make \"step 5", "", "to square :n", "repeat 4 [forward :n right 90]", "end",
              "", "; a comment forward", "", "colour 3", "print |hello world|", "", ""});
    EXPECT_EQ(ReadFile(work.file("new_demo.vlp")), Project("alpha", untranslated));
    EXPECT_EQ(Cmd({"translate", demo}).status, 0);
    EXPECT_TRUE(fs::exists(work.file("new_new_demo.vlp")));
}

TEST_F(Cli, OutputOptionWritesTheChosenFile) {
    const std::string chosen = work.file("chosen.vlp");
    const CliRun run = Cmd({"translate", demo, "--to", "beta", "-o", chosen});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadFile(chosen), Project("beta", kDemoInBeta));
    EXPECT_FALSE(fs::exists(work.file("beta_demo.vlp")));
}

TEST_F(Cli, NamesFileTranslatesTheProjectsNames) {
    const std::string names = work.file("names.txt");
    WriteFile(names, "size=velikost\r\nunknown=x\r\n");
    EXPECT_EQ(Cmd({"translate", demo, "--to", "beta", "--names", names}).status, 0);
    const std::string text = ReadFile(work.file("beta_demo.vlp"));
    EXPECT_NE(text.find("udelej \"velikost 10\r\nudelej \"step 5\r\n"), std::string::npos);
}

TEST_F(Cli, ChoicesResolveAmbiguousWords) {
    const std::string choices = work.file("choices.txt");
    WriteFile(choices, "COLOUR = pozad\xC3\xAD\n");  // UTF-8, as the report writes words
    const std::string report = work.file("report.json");
    const CliRun run =
        Cmd({"translate", demo, "--to", "beta", "--choices", choices, "--report", report, "--strict"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "translated 11, ambiguous 0, written " + work.file("beta_demo.vlp") + "\n");
    const std::string text = ReadFile(work.file("beta_demo.vlp"));
    EXPECT_NE(text.find("\r\npozad\xED 3\r\n"), std::string::npos);  // Windows-1250 in the project
    const Json json = Json::parse(ReadFile(report));
    const Json& part = json["parts"][3];
    EXPECT_EQ(part["text"], "pozad\xC3\xAD 3\r\npis |hello world|\r\n");
    EXPECT_EQ(part["marks"],
              Json::parse(R"([{"start":0,"length":6,"status":3},{"start":10,"length":3,"status":1}])"));
}

TEST_F(Cli, ChoicesInWindows1250AndOfferedCandidates) {
    const std::string choices = work.file("choices.txt");
    WriteFile(choices, "colour=barva\r\nignored line\r\n=x\r\n");
    EXPECT_EQ(Cmd({"translate", demo, "--to", "beta", "--choices", choices}).status, 0);
    EXPECT_NE(ReadFile(work.file("beta_demo.vlp")).find("\r\nbarva 3\r\n"), std::string::npos);
}

TEST_F(Cli, StrictFailsWhenAmbiguousWordsRemainButStillWrites) {
    const CliRun run = Cmd({"translate", demo, "--to", "beta", "--strict"});
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(fs::exists(work.file("beta_demo.vlp")));
}

TEST_F(Cli, ReportDescribesTheTranslation) {
    const std::string report = work.file("report.json");
    ASSERT_EQ(Cmd({"translate", demo, "--to", "beta", "--report", report}).status, 0);
    const Json json = Json::parse(ReadFile(report));
    EXPECT_EQ(json["source"], demo);
    EXPECT_EQ(json["target"], "beta");
    EXPECT_EQ(json["output"], work.file("beta_demo.vlp"));
    EXPECT_EQ(json["translated"], 10);
    EXPECT_EQ(json["ambiguous"], 1);
    EXPECT_EQ(json["warnings"], Json::array());
    ASSERT_EQ(json["parts"].size(), 4u);
    const Json& first = json["parts"][0];
    EXPECT_EQ(first["frame"], 0);
    EXPECT_EQ(first["part"], 0);
    EXPECT_EQ(first["kind"], 4);
    EXPECT_EQ(first["className"], "");
    EXPECT_EQ(first["text"], "udelej \"size 10\r\nudelej \"step 5\r\n");
    // The second line's marks count the first line's end as two characters.
    EXPECT_EQ(first["marks"],
              Json::parse(R"([{"start":0,"length":6,"status":1},{"start":8,"length":4,"status":1},
                                              {"start":17,"length":6,"status":1},{"start":25,"length":4,"status":1}])"));
    EXPECT_EQ(json["parts"][2]["kind"], 2);
    EXPECT_EQ(json["parts"][3]["marks"][0], Json::parse(R"({"start":0,"length":6,"status":2})"));
}

TEST_F(Cli, ReportWarnsOfNamesThatAreTargetWords) {
    WriteFile(demo, Project("alpha", CrLf({"make \"vpred 1", "make \"size 2", "make \"speed 3"})));
    const std::string names = work.file("names.txt");
    WriteFile(names, "speed=Opakuj\r\n");
    const std::string report = work.file("report.json");
    ASSERT_EQ(Cmd({"translate", demo, "--to", "beta", "--names", names, "--report", report}).status, 0);
    const Json json = Json::parse(ReadFile(report));
    EXPECT_EQ(json["warnings"], Json::parse(R"([{"name":"speed","translation":"Opakuj","key":"dict repeat"},
                                                {"name":"vpred","translation":"vpred","key":"dict forward"}])"));
}

TEST_F(Cli, RoundTripGivesBackTheProjectsText) {
    const std::string text = CrLf({"make \"size 10", "", "to square :n", "repeat 4 [forward :n right 90]",
                                   "end", "", "print |hello world| :size"});
    WriteFile(demo, Project("alpha", text));
    const std::string back = work.file("back.vlp");
    ASSERT_EQ(Cmd({"translate", demo, "--to", "beta"}).status, 0);
    ASSERT_EQ(Cmd({"translate", work.file("beta_demo.vlp"), "--to", "alpha", "-o", back}).status, 0);
    ASSERT_EQ(Cmd({"translate", demo, "-o", work.file("plain.vlp")}).status, 0);
    EXPECT_EQ(ReadFile(back), ReadFile(work.file("plain.vlp")));
}

TEST_F(Cli, BatchTranslatesEachProjectWithOneLineEach) {
    const std::string second = work.file("second.vlp");
    WriteFile(second, Project("alpha", "print 1\r\n"));
    const std::string broken = work.file("broken.vlp");
    WriteFile(broken, "just text\r\n");
    const CliRun run = Cmd({"translate", demo, broken, second, "--to", "beta"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "translated 10, ambiguous 1, written " + work.file("beta_demo.vlp") +
                           "\ntranslated 1, ambiguous 0, written " + work.file("beta_second.vlp") + "\n");
    EXPECT_EQ(run.err,
              "wrong VLP file\nThe project has no sections; nothing was saved.\nfailed " + broken + "\n");
    EXPECT_EQ(ReadFile(work.file("beta_second.vlp")), Project("beta", CrLf({"pis 1", "", ""})));
}

struct RefusedCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> extra;
    std::string message;
};

class CliRefuses : public Cli, public testing::WithParamInterface<RefusedCase> {};

// Input that cannot be used gives exit status 2, the window's message, and no new file.
TEST_P(CliRefuses, WithStatusTwoAndNoFile) {
    WriteFile(demo, GetParam().bytes);
    std::vector<std::string> args = {"translate", demo};
    args.insert(args.end(), GetParam().extra.begin(), GetParam().extra.end());
    const CliRun run = Cmd(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, GetParam().message);
    EXPECT_EQ(Files(), std::vector<std::string>{"demo.vlp"});
}

const std::string kNoSections = "The project has no sections; nothing was saved.\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliRefuses,
    testing::Values(
        RefusedCase{"PlainText", "print 1\r\n", {}, "wrong VLP file\n" + kNoSections},
        RefusedCase{"UnknownLanguage",
                    Project("klingon", "print 1"),
                    {},
                    "unknown language <klingon>\n" + kNoSections},
        RefusedCase{"NoTextChunk", ContainerBuilder().chunk("LA 1", "alpha").bytes(), {}, kNoSections},
        RefusedCase{"EmptyText", Project("alpha", ""), {}, kNoSections},
        RefusedCase{"OnlyLineEnds", Project("alpha", "\r\n\r\n\r\n"), {"--to", "beta"}, kNoSections},
        RefusedCase{"DamagedContainer",
                    ContainerBuilder().rawChunk("TX 1", 500, "print").bytes(),
                    {},
                    "Stream read error\n"},
        RefusedCase{"UnknownTarget",
                    Project("alpha", "print 1"),
                    {"--to", "klingon"},
                    "unknown target language <klingon>\n"},
        RefusedCase{"OwnLanguageAsTarget",
                    Project("alpha", "print 1"),
                    {"--to", "alpha"},
                    "target language <alpha> is the project's own language\n"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST_F(Cli, MissingFileIsReportedWithTheWindowsMessage) {
    const std::string missing = work.file("missing.vlp");
    const CliRun run = Cmd({"translate", missing, "--to", "beta"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Cannot open file " + missing + "\n");
}

TEST_F(Cli, UsageErrorsExitWithOne) {
    EXPECT_EQ(Cmd({}).status, 1);
    EXPECT_EQ(Cmd({"translate"}).status, 1);
    EXPECT_EQ(Cmd({"translate", demo, "--bogus"}).status, 1);
    EXPECT_EQ(Cmd({"dump", demo}).status, 1);
    const CliRun run = Cmd({"translate", demo, demo, "-o", work.file("x.vlp")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Files(), std::vector<std::string>{"demo.vlp"});
    EXPECT_EQ(Cmd({"--help"}).status, 0);
}

TEST_F(Cli, LanguagesListsNameTabFileInDiscoveryOrder) {
    WriteFile(languages.path("aaa.ldi"), "[system]\r\nlanguage=Zeta\r\n");
    const CliRun run = Cmd({"languages"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "zeta\taaa.ldi\nalpha\talpha.ldi\nbeta\tbeta.ldi\n");
}

TEST_F(Cli, InfoDescribesTheContainer) {
    CliRun run = Cmd({"info", demo}, false);
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(Json::parse(run.out), Json::parse(R"({"container": true, "version": 5,
        "chunks": [{"tag": "LA 1", "length": 5}, {"tag": "TX 1", "length": )" +
                                                std::to_string(kDemoText.size()) + R"(},
                   {"tag": "PIC1", "length": 7}],
        "language": "alpha", "textLength": )" + std::to_string(kDemoText.size()) +
                                                "}"));
    WriteFile(demo, "plain\r\n");
    run = Cmd({"info", demo}, false);
    EXPECT_EQ(
        Json::parse(run.out),
        Json::parse(
            R"({"container": false, "version": null, "chunks": [], "language": "*", "textLength": 7})"));
    WriteFile(demo, ContainerBuilder("04").chunk("TX 1", "a").bytes());
    EXPECT_EQ(Json::parse(Cmd({"info", demo}, false).out)["language"], "");
}

TEST_F(Cli, ShowPrintsTheSectionsAndNames) {
    const CliRun run = Cmd({"show", demo});
    ASSERT_EQ(run.status, 0) << run.err;
    const Json json = Json::parse(run.out);
    EXPECT_EQ(json["language"], "alpha");
    ASSERT_EQ(json["sections"].size(), 4u);
    EXPECT_EQ(json["sections"][0], Json::parse(R"({"kind": 4, "caption": "global variables", "className": "",
        "headText": "make \"size 10\r\nmake \"step 5\r\n", "propertyText": "", "variableText": "",
        "eventText": "", "defineTexts": []})"));
    EXPECT_EQ(json["sections"][2]["caption"], "comment");
    EXPECT_EQ(json["names"],
              Json::parse(R"([{"tags": "g", "name": "size"}, {"tags": "g", "name": "step"}])"));
}

TEST_F(Cli, ShowOfAnUnusableProjectFails) {
    WriteFile(demo, "plain");
    const CliRun run = Cmd({"show", demo});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "wrong VLP file\n");
}

TEST_F(Cli, DumpWritesTheMergedDictionary) {
    const CliRun run = Cmd({"dump", demo, "--to", "beta"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string dump = languages.path("dictionary.txt");
    EXPECT_EQ(run.err, "dictionary to file\n" + dump + "\n");
    EXPECT_EQ(ReadFile(dump),
              CrLf({"colour\tbarva\tTurtle - pen colour\tdict colour",
                    "\tpozadi\tPage - background colour\tpage colour",
                    "end\tkonec\tGeneral - ends a procedure\tother end",
                    "forward\tvpred\tTurtle - moves forward\tdict forward",
                    "make\tudelej\tGeneral - makes a variable\tdict make",
                    "print\tpis\tGeneral - prints a value\tdict print",
                    "repeat\topakuj\tGeneral - repeats a list\tdict repeat",
                    "right\tvpravo\tTurtle - turns right\tdict right",
                    "to\tprikaz\tMain - setstate word of a procedure definition\tparam define", ""}));
    const std::string chosen = work.file("dump.txt");
    EXPECT_EQ(Cmd({"dump", demo, "--to", "beta", "-o", chosen}).status, 0);
    EXPECT_EQ(ReadFile(chosen), ReadFile(dump));
    EXPECT_EQ(Cmd({"dump", demo, "--to", "alpha"}).status, 2);
}

}  // namespace
}  // namespace vlp
