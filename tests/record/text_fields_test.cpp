#include "record/text_fields.h"

#include <gtest/gtest.h>

namespace zor::record {
namespace {

TEST(PadLeft, FillsToWidthInCharacters) {
    EXPECT_EQ(PadLeft("5", '0', 2), "05");
    EXPECT_EQ(PadLeft("12", '0', 2), "12");
    EXPECT_EQ(PadLeft("2011", '0', 2), "2011");
    EXPECT_EQ(PadLeft("", ' ', 3), "   ");
    EXPECT_EQ(PadLeft("é", '.', 3), "..é");
}

TEST(FirstCharacters, NeverSplitsACharacter) {
    EXPECT_EQ(FirstCharacters("abcdef", 3), "abc");
    EXPECT_EQ(FirstCharacters("ééé", 2), "éé");
    EXPECT_EQ(FirstCharacters("ab", 5), "ab");
    EXPECT_EQ(CharacterCount("Café"), 4u);
}

}  // namespace
}  // namespace zor::record
