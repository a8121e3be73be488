#pragma once

// A fixture for running vlptrans-cli on files in a folder of the test's own and checking what
// it leaves behind: every entry of the work and language folders, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/fault_injection.h"
#include "support/language_folder.h"
#include "support/test_support.h"

namespace vlp::clitest {

namespace fs = std::filesystem;
using test::ContainerBuilder;
using test::CrLf;
using test::ProgramRun;
using test::WriteFile;

// Every entry under a folder: a file with its bytes, a link with where it points, a folder or
// anything else by its kind; names are prefixed with `prefix`.
using Snapshot = std::map<std::string, std::string>;

inline void TakeSnapshot(const fs::path& folder, const std::string& prefix, Snapshot& snapshot) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        // Only lstat: links are recorded, never followed, so a loop of links is just two links.
        const auto status = fs::symlink_status(it->path());
        const std::string name = prefix + it->path().filename().string();
        if (fs::is_symlink(status)) {
            snapshot[name] = "link to " + fs::read_symlink(it->path()).string();
        } else if (fs::is_directory(status)) {
            snapshot[name] = "folder";
            TakeSnapshot(it->path(), name + "/", snapshot);
        } else if (fs::is_regular_file(status)) {
            snapshot[name] = "file " + test::ReadFile(it->path().string());
        } else {
            snapshot[name] = "special";
        }
    }
    if (ec) snapshot[prefix] = "unreadable folder: " + ec.message();
}

inline const std::string kPicture = std::string("\x89PNG\0\x01", 6);

inline std::string Project(std::string_view language, std::string_view text) {
    return ContainerBuilder("05").chunk("LA 1", language).chunk("TX 1", text).chunk("PIC1", kPicture).bytes();
}

inline const std::string kText =
    CrLf({"make \"size 1", "make \"step 2", "", "print :size forward :step right 90"});
inline const std::string kTextInBeta =
    CrLf({"udelej \"size 1", "udelej \"step 2", "", "pis :size vpred :step vpravo 90", "", ""});

// Two languages, alpha and beta, in a folder of their own, and a project in alpha in a work
// folder; runs the tool on them.
class CliFixture : public testing::Test {
protected:
    void SetUp() override {
        languages.compareTab({"dict forward|Turtle - moves forward", "dict right|Turtle - turns right",
                              "dict print|General - prints a value", "dict make|General - makes a variable",
                              "other end|General - ends a procedure",
                              "param define|Main - setstate word of a procedure definition"});
        languages.file("alpha.ldi", {"[system]", "language=alpha", "setfix=set*", "[dict]", "forward=forward",
                                     "right=right", "print=print", "make=make", "[other]", "end=end",
                                     "[param]", "define=to"});
        languages.file("beta.ldi", {"[system]", "language=beta", "setfix=nastav*", "[dict]", "forward=vpred",
                                    "right=vpravo", "print=pis", "make=udelej", "[other]", "end=konec",
                                    "[param]", "define=prikaz"});
        project = work.file("demo.vlp");
        output = work.file("beta_demo.vlp");
        WriteFile(project, Project("alpha", kText));
    }

    ProgramRun Run(const std::vector<std::string>& args, const test::ProgramOptions& options = {}) const {
        std::vector<std::string> argv = {VLP_CLI_PATH, "--data", dataDir()};
        argv.insert(argv.end(), args.begin(), args.end());
        return test::RunProgram(argv, options);
    }

    std::string dataDir() const { return languages.programDir(); }
    fs::path dataPath() const { return fs::path(languages.path("")).parent_path(); }
    // The work folder (projects and side files) and the language folder.
    Snapshot Inputs() const {
        Snapshot snapshot;
        TakeSnapshot(work.path(), "work/", snapshot);
        TakeSnapshot(dataPath(), "data/", snapshot);
        return snapshot;
    }

    // Runs, and checks the refusal: status 2, the message, nothing written, nothing changed.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& message,
                       const test::ProgramOptions& options = {}) const {
        const Snapshot before = Inputs();
        const ProgramRun run = Run(args, options);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err, message);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Inputs(), before);
    }

    // Runs, and checks the normal result: status 0, the summary line, the output holding
    // `bytes` as the only new file, every input unchanged.
    void ExpectWritten(const std::vector<std::string>& args, const std::string& counts,
                       const std::string& bytes, const std::string& err = "") const {
        const Snapshot before = Inputs();
        const ProgramRun run = Run(args);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, err);
        EXPECT_EQ(run.out, counts + ", written " + output + "\n");
        ASSERT_TRUE(fs::exists(output));
        EXPECT_EQ(test::ReadFile(output), bytes);
        fs::remove(output);
        EXPECT_EQ(Inputs(), before);
    }

    test::LanguageFolder languages;
    test::TempDir work;
    std::string project;
    std::string output;
};

}  // namespace vlp::clitest
