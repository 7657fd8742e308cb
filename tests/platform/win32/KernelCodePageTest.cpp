#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

namespace {

// Lead bytes as a double-byte code page has them, for the length of a test.
struct KernelCodePageTest : ::testing::Test {
  void SetUp() override { vpl::platform::SetDoubleByteLeadRange(0x81, 0x9F); }
  void TearDown() override { vpl::platform::SetDoubleByteLeadRange(1, 0); }
};

TEST_F(KernelCodePageTest, CharactersStepOverBothBytesOfADoubleByteCharacter) {
  // 'a', a pair whose trail byte is itself in the lead range, 'b'.
  const char text[] =
      "a\x81\x82"
      "b";
  EXPECT_TRUE(IsDBCSLeadByte(0x81));
  EXPECT_FALSE(IsDBCSLeadByte('a'));
  EXPECT_EQ(CharNextA(text + 1), text + 3);
  EXPECT_EQ(CharPrevA(text, text + 4), text + 3);
  EXPECT_EQ(CharPrevA(text, text + 3), text + 1);
  EXPECT_EQ(CharPrevA(text, text + 1), text);
  EXPECT_EQ(CharPrevA(text, text), text);
  // A lead byte before the terminator is a character of its own.
  const char cut[] = "\x81";
  EXPECT_EQ(CharNextA(cut), cut + 1);
}

TEST(KernelCodePageDefaultTest, Windows1252HasOnlySingleByteCharacters) {
  const char text[] = "a\x81\x82";
  EXPECT_FALSE(IsDBCSLeadByte(0x81));
  EXPECT_EQ(CharNextA(text + 1), text + 2);
  EXPECT_EQ(CharPrevA(text, text + 3), text + 2);
}

}  // namespace
