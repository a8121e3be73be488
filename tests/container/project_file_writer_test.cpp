#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "container/project_file.h"
#include "support/fault_injection.h"
#include "support/test_support.h"

namespace vlp {
namespace {

namespace fs = std::filesystem;
using test::ContainerBuilder;
using test::Int32Le;

std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// The message SaveProjectFile fails with, or "" when it succeeds.
std::string SaveError(const std::string& source, const std::string& target, std::string_view text,
                      const std::string& language) {
    try {
        SaveProjectFile(source, target, text, language);
    } catch (const IoError& e) {
        return e.what();
    }
    return "";
}

std::int32_t CountField(const std::string& bytes) {
    std::uint32_t v = 0;
    for (int i = 8; i >= 5; --i) v = v << 8 | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(v);
}

struct SaveRow {
    const char* name;
    std::string source;
    std::string text;
    std::string language;
    std::string expected;
};

const std::string kPicture = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);

ContainerBuilder MixedSource() {
    return std::move(ContainerBuilder("05")
                         .chunk("LA 1", "deutsch")
                         .chunk("TX 1", "old text")
                         .chunk("PIC1", kPicture)
                         .chunk("SND1", "y")
                         .chunk("TX 1", "old second text"));
}

TEST(SaveProjectFile, WritesExactBytes) {
    const SaveRow rows[] = {
        {"new language and text first, other chunks in their old order", MixedSource().bytes(), "new",
         "polski",
         ContainerBuilder("05")
             .chunk("LA 1", "polski")
             .chunk("TX 1", "new")
             .chunk("PIC1", kPicture)
             .chunk("SND1", "y")
             .chunk("TX 1", "old second text")
             .bytes()},
        {"english is version 04 without a language chunk", MixedSource().bytes(), "new", "english",
         ContainerBuilder("04")
             .chunk("TX 1", "new")
             .chunk("PIC1", kPicture)
             .chunk("SND1", "y")
             .chunk("TX 1", "old second text")
             .bytes()},
        {"an empty language counts as english", ContainerBuilder().chunk("TX 1", "o").bytes(), "n", "",
         ContainerBuilder("04").chunk("TX 1", "n").bytes()},
        {"english is compared exactly", ContainerBuilder().chunk("TX 1", "o").bytes(), "n", "English",
         ContainerBuilder("05").chunk("LA 1", "English").chunk("TX 1", "n").bytes()},
        {"a source without a language chunk gains one",
         ContainerBuilder("04").chunk("TX 1", "o").chunk("PIC1", "p").bytes(), "n", "deutsch",
         ContainerBuilder("05").chunk("LA 1", "deutsch").chunk("TX 1", "n").chunk("PIC1", "p").bytes()},
        {"a version 07 source is written as 05", ContainerBuilder("07").chunk("TX 1", "o").bytes(), "n",
         "cesky", ContainerBuilder("05").chunk("LA 1", "cesky").chunk("TX 1", "n").bytes()},
        {"zero-length chunks stay zero-length",
         ContainerBuilder().chunk("TX 1", "o").chunk("PIC1", "").chunk("TX 1", "").bytes(), "n", "english",
         ContainerBuilder("04").chunk("TX 1", "n").chunk("PIC1", "").chunk("TX 1", "").bytes()},
        {"a language chunk with a negative length is dropped",
         ContainerBuilder().rawChunk("LA 1", -3, "").chunk("TX 1", "o").chunk("PIC1", "p").bytes(), "n",
         "deutsch",
         ContainerBuilder().chunk("LA 1", "deutsch").chunk("TX 1", "n").chunk("PIC1", "p").bytes()},
        {"a source without a text chunk", ContainerBuilder().chunk("LA 1", "x").chunk("PIC1", "p").bytes(),
         "n", "english", ContainerBuilder("04").chunk("TX 1", "n").chunk("PIC1", "p").bytes()},
        {"bytes after the counted chunks are not carried over",
         ContainerBuilder().chunk("TX 1", "o").bytes() + "junk", "n", "english",
         ContainerBuilder("04").chunk("TX 1", "n").bytes()},
        {"a plain source is saved as plain text", "plain old", "PAGE p\r\nend", "deutsch", "PAGE p\r\nend"},
        {"a count-0 container is a plain source", "LGF05" + Int32Le(0), "new", "deutsch", "new"},
        // An empty text never costs the project its other chunks: a container keeps them
        // around an empty text chunk. A plain source has nothing else, so its result is the
        // empty text itself, an empty file.
        {"an empty text keeps a container's other chunks", MixedSource().bytes(), "", "deutsch",
         ContainerBuilder("05")
             .chunk("LA 1", "deutsch")
             .chunk("TX 1", "")
             .chunk("PIC1", kPicture)
             .chunk("SND1", "y")
             .chunk("TX 1", "old second text")
             .bytes()},
        {"an empty text from a plain source is an empty file", "plain", "", "deutsch", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        const auto source = dir.file("in.vlp");
        const auto target = dir.file("out.vlp");
        test::WriteFile(source, row.source);
        SaveProjectFile(source, target, row.text, row.language);
        const auto written = test::ReadFile(target);
        EXPECT_EQ(written, row.expected);
        EXPECT_EQ(test::ReadFile(source), row.source);
        EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"in.vlp", "out.vlp"}));

        const auto info = InspectProjectFile(target);
        if (info.container) {
            EXPECT_EQ(CountField(written), static_cast<std::int32_t>(info.chunks.size()));
        }
        ProjectLanguageState state;
        EXPECT_EQ(LoadProjectFile(target, state), row.text);
        if (info.container) {
            const bool english = row.language.empty() || row.language == "english";
            EXPECT_EQ(state.projectLanguage, english ? "" : row.language);
        }
    }
}

TEST(SaveProjectFile, RoundTripIsByteExact) {
    std::string text;
    for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
    text += "\r\nPAGE page1\r\n";
    const std::string language =
        "\xE8"
        "e\x9Atina";  // Windows-1250 bytes

    test::TempDir dir;
    test::WriteFile(dir.file("a.vlp"), MixedSource().bytes());
    SaveProjectFile(dir.file("a.vlp"), dir.file("b.vlp"), text, language);

    ProjectLanguageState state;
    const auto loaded = LoadProjectFile(dir.file("b.vlp"), state);
    EXPECT_EQ(loaded, text);
    EXPECT_EQ(state.projectLanguage, language);

    // Saving what was loaded reproduces the file.
    SaveProjectFile(dir.file("b.vlp"), dir.file("c.vlp"), loaded, state.projectLanguage);
    EXPECT_EQ(test::ReadFile(dir.file("c.vlp")), test::ReadFile(dir.file("b.vlp")));
}

TEST(SaveProjectFile, ReplacesAnExistingTargetKeepingItsPermissions) {
    test::TempDir dir;
    test::WriteFile(dir.file("in.vlp"), "plain");
    test::WriteFile(dir.file("out.vlp"), "an older and longer translation");
    fs::permissions(dir.file("out.vlp"), fs::perms::owner_read | fs::perms::owner_write);
    SaveProjectFile(dir.file("in.vlp"), dir.file("out.vlp"), "new", "deutsch");
    EXPECT_EQ(test::ReadFile(dir.file("out.vlp")), "new");
    EXPECT_EQ(fs::status(dir.file("out.vlp")).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const auto mask = ::umask(022);
    ::umask(mask);
    SaveProjectFile(dir.file("in.vlp"), dir.file("fresh.vlp"), "new", "deutsch");
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("fresh.vlp").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

TEST(SaveProjectFile, WritesThroughASymbolicLinkTarget) {
    test::TempDir dir;
    test::WriteFile(dir.file("in.vlp"), "plain");
    test::WriteFile(dir.file("real.vlp"), "old");
    fs::create_symlink("real.vlp", dir.path() / "link.vlp");
    SaveProjectFile(dir.file("in.vlp"), dir.file("link.vlp"), "new", "deutsch");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.vlp"));
    EXPECT_EQ(test::ReadFile(dir.file("real.vlp")), "new");
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"in.vlp", "link.vlp", "real.vlp"}));
}

TEST(SaveProjectFile, MissingSourceCreatesNothing) {
    test::TempDir dir;
    const auto source = dir.file("missing.vlp");
    EXPECT_EQ(SaveError(source, dir.file("out.vlp"), "text", "deutsch"), "Cannot open file " + source);
    EXPECT_TRUE(Entries(dir.path()).empty());
}

TEST(SaveProjectFile, RefusesToOverwriteTheSource) {
    test::TempDir dir;
    fs::create_directory(dir.path() / "sub");
    const auto source = dir.file("p.vlp");
    const auto bytes = MixedSource().bytes();
    test::WriteFile(source, bytes);
    fs::create_symlink("p.vlp", dir.path() / "soft.vlp");
    fs::create_hard_link(source, dir.path() / "hard.vlp");
    const auto before = Entries(dir.path());

    const std::string targets[] = {
        source,
        dir.file("sub/../p.vlp"),
        dir.file("./sub/./../p.vlp"),
        dir.file("soft.vlp"),
        dir.file("hard.vlp"),
    };
    for (const auto& target : targets) {
        SCOPED_TRACE(target);
        EXPECT_EQ(SaveError(source, target, "new", "polski"), "Cannot create file " + target);
        EXPECT_EQ(test::ReadFile(source), bytes);
        EXPECT_EQ(Entries(dir.path()), before);
        EXPECT_TRUE(fs::is_empty(dir.path() / "sub"));
    }
    // The source reached through a link is the same file too.
    EXPECT_EQ(SaveError(dir.file("soft.vlp"), source, "new", "polski"), "Cannot create file " + source);
    EXPECT_EQ(test::ReadFile(source), bytes);
}

TEST(SaveProjectFile, TargetThatCannotBeCreated) {
    test::TempDir dir;
    test::WriteFile(dir.file("in.vlp"), MixedSource().bytes());
    fs::create_directory(dir.path() / "folder.vlp");
    const auto before = Entries(dir.path());
    for (const auto& target :
         {dir.file("no/such/folder/out.vlp"), dir.file("folder.vlp"), dir.file("folder.vlp/")}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(SaveError(dir.file("in.vlp"), target, "new", "polski"), "Cannot create file " + target);
        EXPECT_EQ(Entries(dir.path()), before);
        EXPECT_TRUE(fs::is_empty(dir.path() / "folder.vlp"));
    }
}

TEST(SaveProjectFile, DamagedSourceLeavesTheTargetAsItWas) {
    // Loading stops at the text chunk, so damage after it goes unnoticed until the save must
    // copy the rest; the save then refuses rather than write a project with chunks missing.
    const auto text = ContainerBuilder().chunk("TX 1", "old").count(2).bytes();
    const std::pair<const char*, std::string> rows[] = {
        {"picture runs past the end",
         ContainerBuilder().chunk("TX 1", "old").rawChunk("PIC1", 50, "png").bytes()},
        {"picture with a negative length",
         ContainerBuilder().chunk("TX 1", "old").rawChunk("PIC1", -4, "").chunk("PIC2", "x").bytes()},
        {"count beyond the chunks", ContainerBuilder().chunk("TX 1", "old").count(2).bytes()},
        {"huge count", ContainerBuilder().chunk("TX 1", "old").count(0x40000000).bytes()},
        {"negative count", ContainerBuilder().chunk("TX 1", "old").count(-2).bytes()},
        {"count cut off", "LGF05\x02"},
        {"chunk header cut", text + "PIC1\x05"},
    };
    for (const auto& [name, bytes] : rows) {
        SCOPED_TRACE(name);
        test::TempDir dir;
        test::WriteFile(dir.file("in.vlp"), bytes);
        test::WriteFile(dir.file("out.vlp"), "previous translation");
        EXPECT_EQ(SaveError(dir.file("in.vlp"), dir.file("out.vlp"), "new", "polski"), "Stream read error");
        EXPECT_EQ(test::ReadFile(dir.file("out.vlp")), "previous translation");
        EXPECT_EQ(test::ReadFile(dir.file("in.vlp")), bytes);
        EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"in.vlp", "out.vlp"}));
    }
}

TEST(SaveProjectFile, SourceTruncatedAtEveryOffset) {
    const auto full = MixedSource().bytes();
    test::TempDir dir;
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        test::WriteFile(dir.file("in.vlp"), full.substr(0, cut));
        fs::remove(dir.file("out.vlp"));
        const auto error = SaveError(dir.file("in.vlp"), dir.file("out.vlp"), "new", "polski");
        if (cut < 5) {
            EXPECT_EQ(error, "");
            EXPECT_EQ(test::ReadFile(dir.file("out.vlp")), "new");
        } else {
            EXPECT_EQ(error, "Stream read error");
            EXPECT_EQ(Entries(dir.path()), std::set<std::string>{"in.vlp"});
        }
    }
}

[[noreturn]] void ReportAndExit(const std::string& error) {
    std::fprintf(stderr, "[%s]", error.c_str());
    std::fflush(stderr);
    std::_Exit(0);
}

[[noreturn]] void SaveWithFileSizeLimit(const std::string& source, const std::string& target,
                                        const std::string& text) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1000, 1000};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) std::_Exit(2);
    ReportAndExit(SaveError(source, target, text, "polski"));
}

// Permissions do not bind the superuser, so the save runs as an ordinary user.
[[noreturn]] void SaveAsOrdinaryUser(const std::string& source, const std::string& target) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
    ReportAndExit(SaveError(source, target, "new", "polski"));
}

// Write failures are provoked with a file size limit in a child process, so the limit never
// touches the test runner itself.
TEST(SaveProjectFileDeathTest, WriteFailureLeavesTheTargetAsItWas) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempDir dir;
    test::WriteFile(dir.file("in.vlp"), MixedSource().bytes());
    test::WriteFile(dir.file("out.vlp"), "previous translation");
    const std::string text(64 * 1024, 'x');
    EXPECT_EXIT(SaveWithFileSizeLimit(dir.file("in.vlp"), dir.file("out.vlp"), text),
                ::testing::ExitedWithCode(0), "\\[Stream write error\\]");
    EXPECT_EQ(test::ReadFile(dir.file("out.vlp")), "previous translation");
    EXPECT_EQ(Entries(dir.path()), (std::set<std::string>{"in.vlp", "out.vlp"}));
}

TEST(SaveProjectFileDeathTest, ReadOnlyFolder) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (::geteuid() == 0)
        if (const std::string reason = test::WhyNobodyIsUnavailable(); !reason.empty())
            GTEST_SKIP() << reason;
    test::TempDir dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    test::WriteFile(dir.file("in.vlp"), MixedSource().bytes());
    fs::permissions(dir.file("in.vlp"), fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(dir.path() / "ro");
    test::WriteFile(dir.file("ro/out.vlp"), "previous translation");
    fs::permissions(dir.path() / "ro", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                           fs::perms::group_exec | fs::perms::others_read |
                                           fs::perms::others_exec);
    const auto target = dir.file("ro/out.vlp");
    EXPECT_EXIT(SaveAsOrdinaryUser(dir.file("in.vlp"), target), ::testing::ExitedWithCode(0),
                "\\[Cannot create file .*ro/out.vlp\\]");
    EXPECT_EQ(test::ReadFile(target), "previous translation");
    EXPECT_EQ(Entries(dir.path() / "ro"), std::set<std::string>{"out.vlp"});
}

// Mounts are made in the test process's own mount namespace and undone at the end.
TEST(SaveProjectFile, FullDiskLeavesTheTargetAsItWas) {
    test::TempDir dir;
    test::WriteFile(dir.file("in.vlp"), MixedSource().bytes());
    fs::create_directory(dir.path() / "full");
    const test::TestMount mount = test::TestMount::Tmpfs((dir.path() / "full").string(), 32 * 1024);
    if (!mount.reason().empty()) GTEST_SKIP() << mount.reason();
    const auto target = dir.file("full/out.vlp");
    test::WriteFile(target, "previous translation");
    const std::string text(256 * 1024, 'x');
    EXPECT_EQ(SaveError(dir.file("in.vlp"), target, text, "polski"), "Stream write error");
    EXPECT_EQ(test::ReadFile(target), "previous translation");
    EXPECT_EQ(Entries(dir.path() / "full"), std::set<std::string>{"out.vlp"});
    // A text that fits is saved.
    EXPECT_EQ(SaveError(dir.file("in.vlp"), target, "new", "polski"), "");
    EXPECT_EQ(Entries(dir.path() / "full"), std::set<std::string>{"out.vlp"});
}

TEST(SaveProjectFile, ReadOnlyFileSystemLeavesTheTargetAsItWas) {
    test::TempDir dir;
    test::WriteFile(dir.file("in.vlp"), MixedSource().bytes());
    fs::create_directory(dir.path() / "ro");
    const auto target = dir.file("ro/out.vlp");
    test::WriteFile(target, "previous translation");
    const test::TestMount mount = test::TestMount::ReadOnly((dir.path() / "ro").string());
    if (!mount.reason().empty()) GTEST_SKIP() << mount.reason();
    for (const auto& name : {target, dir.file("ro/new.vlp")}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(SaveError(dir.file("in.vlp"), name, "new", "polski"), "Cannot create file " + name);
        EXPECT_EQ(test::ReadFile(target), "previous translation");
        EXPECT_EQ(Entries(dir.path() / "ro"), std::set<std::string>{"out.vlp"});
    }
}

}  // namespace
}  // namespace vlp
