#include <gtest/gtest.h>

#include <sstream>

#include "container/project_file.h"
#include "support/test_support.h"

namespace vlp {
namespace {

using test::ContainerBuilder;
using test::Int32Le;
using namespace std::string_literals;

std::string AllByteValues() {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    return all;
}

struct LoadRow {
    const char* name;
    std::string bytes;
    std::string text;
    std::string language;
};

class LoadProjectFileTest : public ::testing::Test {
protected:
    std::string Load(const std::string& bytes) {
        const auto file = dir.file("p.vlp");
        test::WriteFile(file, bytes);
        return LoadProjectFile(file, state);
    }

    test::TempDir dir;
    ProjectLanguageState state;
};

TEST_F(LoadProjectFileTest, DeliversTextAndLanguage) {
    const std::string plain = "PAGE page1\r\nend\r\n";
    const std::string countZero = "LGF04" + Int32Le(0) + "rest";
    const LoadRow rows[] = {
        {"plain text", plain, plain, "*"},
        {"empty file", "", "", "*"},
        {"four bytes are too short for a header", "LGF0", "LGF0", "*"},
        {"header with count 0 is plain", countZero, countZero, "*"},
        {"version 05", ContainerBuilder("05").chunk("LA 1", "deutsch").chunk("TX 1", "abc").bytes(), "abc",
         "deutsch"},
        {"version 04", ContainerBuilder("04").chunk("TX 1", "abc").bytes(), "abc", ""},
        {"version 07 reads as 05", ContainerBuilder("07").chunk("LA 1", "polski").chunk("TX 1", "x").bytes(),
         "x", "polski"},
        {"version 06 is plain", ContainerBuilder("06").chunk("TX 1", "x").bytes(),
         ContainerBuilder("06").chunk("TX 1", "x").bytes(), "*"},
        {"lower-case magic is plain", "lgf05" + Int32Le(1) + "TX 1" + Int32Le(1) + "x",
         "lgf05" + Int32Le(1) + "TX 1" + Int32Le(1) + "x", "*"},
        {"non-digit version is plain", "LGF0:" + Int32Le(0), "LGF0:" + Int32Le(0), "*"},
        {"no text chunk", ContainerBuilder().chunk("LA 1", "deutsch").chunk("PIC1", "png").bytes(), "",
         "deutsch"},
        {"no language chunk", ContainerBuilder().chunk("TX 1", "t").bytes(), "t", ""},
        {"two text chunks yield the first",
         ContainerBuilder().chunk("TX 1", "one").chunk("TX 1", "two").bytes(), "one", ""},
        {"two language chunks yield the first",
         ContainerBuilder().chunk("LA 1", "a").chunk("LA 1", "b").chunk("TX 1", "t").bytes(), "t", "a"},
        {"empty first language chunk wins",
         ContainerBuilder().chunk("LA 1", "").chunk("LA 1", "b").chunk("TX 1", "t").bytes(), "t", ""},
        {"negative language length is an empty language",
         ContainerBuilder().rawChunk("LA 1", -5, "").chunk("LA 1", "b").chunk("TX 1", "t").bytes(), "t", ""},
        {"language after text is found",
         ContainerBuilder().chunk("TX 1", "t").chunk("PIC1", "zz").chunk("LA 1", "cesky").bytes(), "t",
         "cesky"},
        {"empty text chunk", ContainerBuilder().chunk("TX 1", "").chunk("PIC1", "zz").bytes(), "", ""},
        {"unknown chunks are skipped by length",
         ContainerBuilder()
             .chunk("PIC1", "TX 1\x05\0\0\0")
             .chunk("\xFF\0\x01\x02"s, "")
             .chunk("TX 1", "t")
             .bytes(),
         "t", ""},
        {"trailing bytes after the counted chunks are ignored",
         ContainerBuilder().chunk("TX 1", "t").bytes() + "LA 1" + Int32Le(2) + "xx", "t", ""},
        {"a chunk beyond the count is not looked at",
         ContainerBuilder().chunk("PIC1", "p").count(1).bytes() + "TX 1" + Int32Le(1) + "t", "", ""},
        {"text with every byte value", ContainerBuilder().chunk("TX 1", AllByteValues()).bytes(),
         AllByteValues(), ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        state.projectLanguage = "previous";
        EXPECT_EQ(Load(row.bytes), row.text);
        EXPECT_EQ(state.projectLanguage, row.language);
    }
}

TEST_F(LoadProjectFileTest, RejectsDamagedContainers) {
    const auto text = ContainerBuilder().chunk("TX 1", "t").bytes();
    const std::pair<const char*, std::string> rows[] = {
        {"count cut off after a valid header", "LGF05\x01\0"s},
        {"header only, count 1", "LGF05" + Int32Le(1)},
        {"count beyond what the file holds", ContainerBuilder().chunk("TX 1", "t").count(2).bytes()},
        {"huge count", ContainerBuilder().chunk("TX 1", "t").count(0x7FFFFFFF).bytes()},
        {"negative count", ContainerBuilder().chunk("TX 1", "t").count(-1).bytes()},
        {"chunk header cut", text.substr(0, 12)},
        {"text runs past the end", ContainerBuilder().rawChunk("TX 1", 10, "short").bytes()},
        {"huge text length", ContainerBuilder().rawChunk("TX 1", 0x7FFFFFFF, "short").bytes()},
        {"negative text length", ContainerBuilder().rawChunk("TX 1", -1, "").chunk("TX 1", "t").bytes()},
        {"negative skip length", ContainerBuilder().rawChunk("PIC1", -8, "").chunk("TX 1", "t").bytes()},
        {"most negative length",
         ContainerBuilder().rawChunk("PIC1", INT32_MIN, "").chunk("TX 1", "t").bytes()},
        {"skipped chunk past the end",
         ContainerBuilder().rawChunk("PIC1", 0x7FFFFFF0, "").chunk("TX 1", "t").bytes()},
        {"language past the end", ContainerBuilder().rawChunk("LA 1", 100, "de").chunk("TX 1", "t").bytes()},
    };
    for (const auto& [name, bytes] : rows) {
        SCOPED_TRACE(name);
        try {
            Load(bytes);
            ADD_FAILURE() << "loaded";
        } catch (const IoError& e) {
            EXPECT_STREQ(e.what(), "Stream read error");
        }
        EXPECT_EQ(state.projectLanguage, "*");
    }
}

// Every cut of a valid container either leaves too few bytes for a header (plain text) or
// is a damaged container; the text chunk comes last, so no cut leaves it whole.
TEST_F(LoadProjectFileTest, ContainerTruncatedAtEveryOffset) {
    const auto full =
        ContainerBuilder().chunk("LA 1", "deutsch").chunk("PIC1", "\x89PNG").chunk("TX 1", "a\r\nb").bytes();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        const auto bytes = full.substr(0, cut);
        if (cut < 5) {
            EXPECT_EQ(Load(bytes), bytes);
            EXPECT_EQ(state.projectLanguage, "*");
            continue;
        }
        EXPECT_THROW(Load(bytes), IoError);
        EXPECT_EQ(state.projectLanguage, "*");
        test::WriteFile(dir.file("p.vlp"), bytes);
        EXPECT_THROW(InspectProjectFile(dir.file("p.vlp")), IoError);
    }
    EXPECT_EQ(Load(full), "a\r\nb");
}

TEST_F(LoadProjectFileTest, FileThatCannotBeOpened) {
    for (const auto& name : {dir.file("missing.vlp"), dir.path().string()}) {
        SCOPED_TRACE(name);
        state.projectLanguage = "previous";
        try {
            LoadProjectFile(name, state);
            ADD_FAILURE() << "loaded";
        } catch (const IoError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + name);
        }
        EXPECT_EQ(state.projectLanguage, "*");
    }
}

TEST(ReadVersion, AcceptsOnly04And05And07) {
    const std::pair<std::string, int> rows[] = {
        {"LGF04", 4}, {"LGF05", 5}, {"LGF07", 5},  {"LGF06", -1}, {"LGF00", -1}, {"LGF99", -1},
        {"LGF", -1},  {"", -1},     {"lGF05", -1}, {"LGF/5", -1}, {"LGF0:", -1}, {"LG F05", -1},
    };
    for (const auto& [bytes, version] : rows) {
        std::istringstream stream(bytes + Int32Le(1));
        EXPECT_EQ(ReadVersion(stream), version) << bytes;
    }
}

TEST(StreamLevel, CountIsLittleEndianAndTextChunksAreIndexed) {
    std::istringstream counted("LGF05\x04\x03\x02\x01");
    EXPECT_EQ(ReadChunkCount(counted), 0x01020304);
    std::istringstream plain("hello world");
    EXPECT_EQ(ReadChunkCount(plain), 0);

    std::istringstream stream(
        ContainerBuilder().chunk("TX 1", "first").chunk("PIC1", "TX 1").chunk("TX 1", "second!").bytes());
    EXPECT_EQ(FindTextChunk(stream, 1), 7);
    std::string data(7, '\0');
    stream.read(data.data(), 7);
    EXPECT_EQ(data, "second!");
    EXPECT_EQ(FindTextChunk(stream, 2), 0);
    EXPECT_EQ(FindTextChunk(stream, 0), 5);
}

TEST(InspectProjectFile, DescribesHeaderAndChunks) {
    test::TempDir dir;
    const auto file = dir.file("p.vlp");
    test::WriteFile(
        file, ContainerBuilder("07").rawChunk("LA 1", -1, "").chunk("TX 1", "abc").chunk("PIC1", "").bytes());
    auto info = InspectProjectFile(file);
    EXPECT_TRUE(info.container);
    EXPECT_EQ(info.version, 5);
    ASSERT_EQ(info.chunks.size(), 3u);
    EXPECT_EQ(info.chunks[0].tag, kLanguageChunkTag);
    EXPECT_EQ(info.chunks[0].length, -1);
    EXPECT_EQ(info.chunks[1].tag, kTextChunkTag);
    EXPECT_EQ(info.chunks[1].length, 3);
    EXPECT_EQ(ChunkTagText(info.chunks[2].tag), "PIC1");

    test::WriteFile(file, "LGF04" + Int32Le(0));
    info = InspectProjectFile(file);
    EXPECT_FALSE(info.container);
    EXPECT_EQ(info.version, 4);
    EXPECT_TRUE(info.chunks.empty());

    test::WriteFile(file, "plain");
    info = InspectProjectFile(file);
    EXPECT_FALSE(info.container);
    EXPECT_EQ(info.version, -1);
}

TEST(ChunkTagText, ShowsUnprintableBytesAsEscapes) {
    EXPECT_EQ(ChunkTagText(kTextChunkTag), "TX 1");
    EXPECT_EQ(ChunkTagText(kLanguageChunkTag), "LA 1");
    EXPECT_EQ(ChunkTagText(0x00FF5C41), "A\\x5C\\xFF\\x00");
}

}  // namespace
}  // namespace vlp
