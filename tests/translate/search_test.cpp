#include "translate/search.h"

#include <gtest/gtest.h>

namespace vlp {
namespace {

using Texts = std::vector<std::string>;

struct SearchCase {
    const char* name;
    Texts texts;
    int active;
    int cursor;
    const char* needle;
    std::optional<SearchHit> hit;
};

class FindTextTest : public testing::TestWithParam<SearchCase> {};

TEST_P(FindTextTest, Finds) {
    const SearchCase& c = GetParam();
    const auto hit = FindTextInEditors(c.texts, c.active, c.cursor, c.needle);
    ASSERT_EQ(hit.has_value(), c.hit.has_value());
    if (hit) {
        EXPECT_EQ(hit->editor, c.hit->editor);
        EXPECT_EQ(hit->position, c.hit->position);
    }
}

const Texts kThree = {"fd 10\r\nrt 90\r\n", "print fd\r\n", "fd fd\r\n"};

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTextTest,
    testing::Values(SearchCase{"FromTheCursor", kThree, 0, 0, "fd", SearchHit{0, 0}},
                    SearchCase{"AfterTheCursorInTheNextEditor", kThree, 0, 1, "fd", SearchHit{1, 6}},
                    SearchCase{"SecondOccurrenceInTheSameEditor", kThree, 2, 1, "fd", SearchHit{2, 3}},
                    SearchCase{"WrapsAroundToTheFirstEditor", kThree, 2, 4, "rt", SearchHit{0, 7}},
                    SearchCase{"BeforeTheCursorIsNeverSearched", kThree, 0, 8, "rt", std::nullopt},
                    SearchCase{"OneEditorFromTheCursorOnly", Texts{"rt fd\r\n"}, 0, 1, "rt", std::nullopt},
                    SearchCase{"CaseIsIgnored", kThree, 0, 0, "PRINT", SearchHit{1, 0}},
                    SearchCase{"AccentedCapitalsFindSmallLetters", Texts{"x \xE8\x61s\r\n"}, 0, 0,
                               "\xC8\x41S", SearchHit{0, 2}},
                    SearchCase{"AcrossALineEnd", kThree, 0, 0, "10\r\nrt", SearchHit{0, 3}},
                    SearchCase{"NotFound", kThree, 1, 0, "xyz", std::nullopt},
                    SearchCase{"CursorPastTheEnd", kThree, 1, 99, "fd", SearchHit{2, 0}},
                    SearchCase{"EmptyNeedleFindsNothing", kThree, 0, 0, "", std::nullopt},
                    SearchCase{"NoSuchEditor", kThree, 3, 0, "fd", std::nullopt}),
    [](const testing::TestParamInfo<SearchCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vlp
