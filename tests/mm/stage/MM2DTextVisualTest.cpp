#include "mm/stage/MM2DTextVisual.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UUPoint kAnchor{10, 20};
constexpr char kText[] = "Plorvia paints a purple tree";

TEST(MM2DTextVisualTest, SetTextAcceptsAPieceOfItsOwnText) {
  struct Case {
    int32_t offset;
    int32_t length;
    std::string expected;
  };
  const std::string whole(kText);
  for (const Case& c : {Case{0, 0, whole}, Case{8, 0, whole.substr(8)}, Case{0, 7, "Plorvia"},
                        Case{17, 6, "purple"}}) {
    MM2DPointTextVisual text(kAnchor, kText, 0);
    text.SetText(text.GetText() + c.offset, c.length);
    ASSERT_NE(text.GetText(), nullptr);
    EXPECT_EQ(std::string(text.GetText()), c.expected);
  }
}

}  // namespace
