// Saving where the file system refuses: a read-only folder, a full disk, a file size limit,
// and a target that is the project itself. The save fails with the writer's message and exit
// status 2, no temporary file is left, an existing target keeps its old bytes, and the
// project is untouched. Where this machine lacks a facility the test is skipped, naming why.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_fixture.h"

namespace vlp {
namespace {

namespace fs = std::filesystem;
using clitest::kText;
using test::ContainerBuilder;
using test::WriteFile;

const std::string kOldTarget = "the translation saved last time";

// A project with a picture of `size` bytes, so that its copy needs that much room.
std::string ProjectWithPicture(std::size_t size) {
    std::string picture(size, '\0');
    for (std::size_t i = 0; i < size; ++i) picture[i] = static_cast<char>(i * 31 + i / 251);
    return ContainerBuilder("05").chunk("LA 1", "alpha").chunk("TX 1", kText).chunk("PIC1", picture).bytes();
}

class SaveFault : public clitest::CliFixture {
protected:
    // A folder for the target, holding an older target.
    std::string MakeTargetFolder(const std::string& name) {
        const fs::path folder = work.path() / name;
        fs::create_directory(folder);
        WriteFile((folder / "out.vlp").string(), kOldTarget);
        return (folder / "out.vlp").string();
    }
};

TEST_F(SaveFault, FolderTheUserMayNotWriteIn) {
    // Permissions do not bind the superuser, so the tool runs as user 65534.
    if (const std::string reason = test::WhyNobodyCannotRun(VLP_CLI_PATH); !reason.empty())
        GTEST_SKIP() << reason;
    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    const std::string target = MakeTargetFolder("out");
    for (const fs::path& folder : {work.path(), work.path() / "out", dataPath()})
        fs::permissions(folder, readable);
    fs::permissions(project, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                 fs::perms::others_read);
    test::ProgramOptions asNobody;
    asNobody.asNobody = true;
    ExpectRefused({"translate", project, "--to", "beta", "-o", target}, "Cannot create file " + target + "\n",
                  asNobody);
    EXPECT_EQ(test::ReadFile(target), kOldTarget);
}

TEST_F(SaveFault, ReadOnlyFileSystem) {
    const std::string target = MakeTargetFolder("out");
    const test::TestMount mount = test::TestMount::ReadOnly((work.path() / "out").string());
    if (!mount.reason().empty()) GTEST_SKIP() << mount.reason();
    ExpectRefused({"translate", project, "--to", "beta", "-o", target},
                  "Cannot create file " + target + "\n");
    EXPECT_EQ(test::ReadFile(target), kOldTarget);
}

TEST_F(SaveFault, FullDisk) {
    WriteFile(project, ProjectWithPicture(256 * 1024));
    fs::create_directory(work.path() / "full");
    const test::TestMount mount = test::TestMount::Tmpfs((work.path() / "full").string(), 64 * 1024);
    if (!mount.reason().empty()) GTEST_SKIP() << mount.reason();
    const std::string target = work.file("full/out.vlp");
    WriteFile(target, kOldTarget);
    ExpectRefused({"translate", project, "--to", "beta", "-o", target}, "Stream write error\n");
    EXPECT_EQ(test::ReadFile(target), kOldTarget);
    // Without an older target the disk is left as empty as it was.
    fs::remove(target);
    ExpectRefused({"translate", project, "--to", "beta", "-o", target}, "Stream write error\n");
    EXPECT_TRUE(fs::is_empty(work.path() / "full"));
}

TEST_F(SaveFault, FileSizeLimit) {
    WriteFile(project, ProjectWithPicture(64 * 1024));
    const std::string target = MakeTargetFolder("out");
    test::ProgramOptions limited;
    limited.fileSizeLimit = 16 * 1024;
    ExpectRefused({"translate", project, "--to", "beta", "-o", target}, "Stream write error\n", limited);
    EXPECT_EQ(test::ReadFile(target), kOldTarget);
    // The derived name next to the project fails the same way.
    ExpectRefused({"translate", project, "--to", "beta"}, "Stream write error\n", limited);
}

// The writer reads the project while it writes, so it never writes onto it, by whatever name.
TEST_F(SaveFault, TargetThatIsTheProjectItself) {
    const std::string bytes = test::ReadFile(project);
    fs::create_directory(work.path() / "sub");
    fs::create_symlink("demo.vlp", work.path() / "link.vlp");
    fs::create_hard_link(project, work.path() / "hard.vlp");
    for (const std::string& target :
         {project, work.file("sub/../demo.vlp"), work.file("link.vlp"), work.file("hard.vlp")}) {
        SCOPED_TRACE(target);
        ExpectRefused({"translate", project, "--to", "beta", "-o", target},
                      "Cannot create file " + target + "\n");
        EXPECT_EQ(test::ReadFile(project), bytes);
    }
    // The same through the link as the project and the file as the target.
    ExpectRefused({"translate", work.file("link.vlp"), "--to", "beta", "-o", project},
                  "Cannot create file " + project + "\n");
}

TEST_F(SaveFault, TargetThatCannotBeAFile) {
    fs::create_directory(work.path() / "folder.vlp");
    for (const std::string& target : {work.file("no/such/folder/out.vlp"), work.file("folder.vlp"),
                                      std::string("/dev/full"), std::string("/proc/version")}) {
        SCOPED_TRACE(target);
        ExpectRefused({"translate", project, "--to", "beta", "-o", target},
                      "Cannot create file " + target + "\n");
    }
}

}  // namespace
}  // namespace vlp
