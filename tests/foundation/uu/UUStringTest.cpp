#include "foundation/uu/UUString.h"

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/VPLFormatName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UUStringTest, CopyCutsToCapacityAndTerminates) {
  const std::string text(300, 'x');
  char buffer[kUUPathCapacity];
  EXPECT_FALSE(UUCopyString(text.c_str(), buffer, kUUPathCapacity));
  EXPECT_EQ(std::string(buffer), std::string(259, 'x'));
  EXPECT_TRUE(UUCopyString("abc", buffer, 4));
  EXPECT_STREQ(buffer, "abc");
  EXPECT_FALSE(UUCopyString("abcd", buffer, 4));
  EXPECT_STREQ(buffer, "abc");
  EXPECT_TRUE(UUCopyString(nullptr, buffer, 4));
  EXPECT_STREQ(buffer, "");
  EXPECT_TRUE(UUCopyString(buffer, buffer, 4));
}

TEST(UUStringTest, AppendLeavesAFullBufferUntouched) {
  char buffer[kUUPathCapacity];
  UUCopyString(std::string(259, 'a').c_str(), buffer, kUUPathCapacity);
  EXPECT_FALSE(UUAppendString("b", buffer, kUUPathCapacity));
  EXPECT_EQ(std::string(buffer), std::string(259, 'a'));

  UUCopyString("ab", buffer, 6);
  EXPECT_TRUE(UUAppendString("", buffer, 6));
  EXPECT_FALSE(UUAppendString("cdef", buffer, 6));
  EXPECT_STREQ(buffer, "abcde");
}

TEST(UUStringTest, PrependBuildsPrefixAndText) {
  char text[8] = "tail";
  char scratch[8];
  EXPECT_TRUE(UUPrependString("pre", text, 8, scratch));
  EXPECT_STREQ(text, "pretail");
  EXPECT_FALSE(UUPrependString("x", text, 8, scratch));
  EXPECT_STREQ(text, "xpretai");
}

TEST(UUStringTest, FormattingIsBoundedByItsBuffer) {
  char buffer[kUUPathCapacity];
  EXPECT_TRUE(UUFormatString(buffer, "%s %d", "n", 5));
  EXPECT_STREQ(buffer, "n 5");
  const std::string longText(300, 'y');
  EXPECT_FALSE(UUFormatString(buffer, "%s", longText.c_str()));
  EXPECT_EQ(std::string(buffer).size(), 255u);
  EXPECT_FALSE(VPLFormatName(buffer, "%s%s", longText.c_str(), "z"));
  EXPECT_EQ(std::string(buffer).size(), 259u);
  EXPECT_TRUE(VPLFormatName(buffer, "%s%s", std::string(258, 'q').c_str(), "z"));
  EXPECT_EQ(std::string(buffer).size(), 259u);
}

TEST(UUStringTest, CaseAndComparisonFollowTheAnsiCodePage) {
  char text[] = "abc\xE9\xFF";
  UUMakeUpper(text);
  EXPECT_STREQ(text, "ABC\xC9\x9F");
  UUToLower(text);
  EXPECT_STREQ(text, "abc\xE9\xFF");
  EXPECT_EQ(UUCountCharacters("h\xE9llo"), 5);

  EXPECT_EQ(UUCompareText("abc", "abc"), 0);
  EXPECT_LT(UUCompareText("abc", "abd"), 0);
  EXPECT_LT(UUCompareText("abc", "ABC"), 0);
  EXPECT_LT(UUCompareText("ABC", "abd"), 0);
  EXPECT_GT(UUCompareText("\xE9t\xE9", "ete"), 0);
  EXPECT_LT(UUCompareText("\xE9te", "f"), 0);
  EXPECT_GT(UUCompareTextN("abcd", 4, "abcz", 3), 0);
}

}  // namespace
