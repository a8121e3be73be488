#include "language/property_names.h"

#include <gtest/gtest.h>

#include "language/dictionary.h"
#include "support/language_folder.h"

namespace vlp {
namespace {

using test::LanguageFolder;

TEST(NeutralPropertyNames, CoverAllCodesButTwentyNine) {
    int named = 0;
    int inTarget = 0;
    for (int code = 0; code < kPropertyCodeCount; ++code) {
        if (!NeutralPropertyName(code).empty()) ++named;
        if (InTargetPropertyTable(code)) ++inTarget;
    }
    EXPECT_EQ(named, 194);
    EXPECT_EQ(inTarget, 124);
    EXPECT_EQ(NeutralPropertyName(29), "");
    // The two names that belong to two codes each, and the run of numbered buttons.
    EXPECT_EQ(NeutralPropertyName(2), NeutralPropertyName(42));
    EXPECT_EQ(NeutralPropertyName(3), NeutralPropertyName(43));
    EXPECT_EQ(NeutralPropertyName(88), "button1");
    EXPECT_EQ(NeutralPropertyName(119), "button32");
    EXPECT_FALSE(InTargetPropertyTable(29));
    EXPECT_EQ(NeutralPropertyName(-1), "");
    EXPECT_EQ(NeutralPropertyName(kPropertyCodeCount), "");
}

TEST(NeutralPropertyNames, TargetTableLeavesOutSeventyCodes) {
    for (int code : {67, 88, 119, 126, 128, 141, 152, 160, 172})
        EXPECT_FALSE(InTargetPropertyTable(code)) << code;
    for (int code : {0, 66, 120, 125, 129, 140, 153, 159, 161, 171, 173, 194})
        EXPECT_TRUE(InTargetPropertyTable(code)) << code;
}

class PropertyNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.compareTab({"dict pencolour|Pen colour", "dict heading|Heading", "dict size|Size", "dict x|X",
                           "dict .name|Name"});
        folder.file("src.ldi", {"[dict]", "heading=Heading Hd", "size=\xC8ize", "x=Xx", ".name=MyName"});
        folder.file("tgt.ldi", {"[dict]", "heading=Smer S", "size=Ve\xBEKOST", "x=Iks", "pencolour=Farba"});
        state = folder.State();
        state.sourceLanguageFile = "src.ldi";
        LoadSourceLanguage(state);
    }
    void LoadTarget() {
        state.targetLanguageFile = "tgt.ldi";
        LoadTargetLanguage(state);
    }

    LanguageFolder folder;
    LanguageState state;
};

TEST_F(PropertyNamesTest, SourceNamesFromTheDictionaryOrNeutral) {
    auto& names = state.SourcePropertyNames;
    EXPECT_EQ(names[40], "heading");  // folded "HEADING HD": first word, ASCII lowered
    EXPECT_EQ(names[5], "\xC8ize");   // "ČIZE": the accented capital stays
    EXPECT_EQ(names[67], "xx");
    EXPECT_EQ(names[132], "myname");
    EXPECT_EQ(names[47], "penColour");  // not in the source file: the neutral name
    EXPECT_EQ(names[29], "");
}

TEST_F(PropertyNamesTest, WithoutATargetSinceTheStartAllSourceNamesAreTaken) {
    BuildTargetPropertyNames(state);
    EXPECT_EQ(state.TargetPropertyNames, state.SourcePropertyNames);
    int named = 0;
    for (const auto& name : state.TargetPropertyNames) named += !name.empty();
    EXPECT_EQ(named, 194);
}

TEST_F(PropertyNamesTest, AfterATranslationTheTargetTableLeavesOutSeventyCodes) {
    LoadTarget();
    BuildTargetPropertyNames(state);
    const auto& names = state.TargetPropertyNames;
    EXPECT_EQ(names[40], "smer");
    EXPECT_EQ(names[5], "ve\xBEkost");  // ľ stays, ASCII letters lowered
    EXPECT_EQ(names[47], "farba");
    EXPECT_EQ(names[0], "name");  // the target file lacks it
    EXPECT_EQ(names[67], "");     // x is left out of the target table
    int empty = 0;
    for (const auto& name : names) empty += name.empty();
    EXPECT_EQ(empty, 71);  // the 70 left-out codes and 29
}

TEST_F(PropertyNamesTest, TheTargetTableAnswersFromTheLastTargetAfterAnotherOpen) {
    LoadTarget();
    LoadSourceLanguage(state);
    BuildTargetPropertyNames(state);
    EXPECT_EQ(state.TargetPropertyNames[40], "smer");
}

}  // namespace
}  // namespace vlp
