#include "container/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "container/io_error.h"
#include "support/test_support.h"

namespace vlp {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(ReadRegularFile, ReadsEveryByteOfAFileOrOfWhatALinkPointsTo) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 3 * 65536 + 17; ++i) bytes += static_cast<char>(i * 7);
    test::WriteFile(dir.file("data"), bytes);
    fs::create_symlink(dir.file("data"), dir.file("link"));
    test::WriteFile(dir.file("empty"), "");
    EXPECT_EQ(ReadRegularFile(dir.file("data")), bytes);
    EXPECT_EQ(ReadRegularFile(dir.file("link")), bytes);
    EXPECT_EQ(ReadRegularFile(dir.file("empty")), "");
}

struct NotAFileRow {
    const char* what;
    std::function<std::string(const TempDir&)> make;  // returns the path to read
};

// None of these holds input; a pipe must be refused at once instead of waiting for a writer.
TEST(ReadRegularFile, AnythingButARegularFileCannotBeOpened) {
    const NotAFileRow rows[] = {
        {"missing", [](const TempDir& d) { return d.file("missing"); }},
        {"folder", [](const TempDir& d) { return d.path().string(); }},
        {"link to nothing",
         [](const TempDir& d) {
             fs::create_symlink(d.file("missing"), d.file("link"));
             return d.file("link");
         }},
        {"pipe",
         [](const TempDir& d) {
             EXPECT_EQ(mkfifo(d.file("pipe").c_str(), 0600), 0);
             return d.file("pipe");
         }},
        {"device", [](const TempDir&) { return std::string("/dev/null"); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        const std::string path = row.make(dir);
        try {
            ReadRegularFile(path);
            ADD_FAILURE() << "no error";
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
        }
    }
}

}  // namespace
}  // namespace vlp
