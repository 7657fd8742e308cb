#include <gtest/gtest.h>

#include "foundation/uu/UUDisplayMode.h"
#include "platform/win32/user.h"

namespace {

TEST(UUDisplayModeTest, AppliesModesTheScreenCanShowAndRestores) {
  EXPECT_TRUE(UUDisplayMode(UUPoint{800, 600}, 16, true).Apply());
  EXPECT_EQ(UUDisplayMode::Restore(), DISP_CHANGE_SUCCESSFUL);
}

TEST(UUDisplayModeTest, RefusesModesTheScreenCannotShow) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const UUDisplayMode refused[] = {
      {UUPoint{800, 600}, 12, true},
      {UUPoint{0, 600}, 16, true},
      {UUPoint{width + 1, 600}, 16, true},
      {UUPoint{-800, 600}, 16, true},
  };
  for (const UUDisplayMode& mode : refused)
    EXPECT_FALSE(mode.Apply()) << mode.mWidth << " " << mode.mBitsPerPixel;
}

TEST(UUDisplayModeTest, RangeTestIncludesBothEnds) {
  struct Case {
    int32_t row, column, value;
    bool inside;
  };
  const Case cases[] = {
      {1, 1, 15, true}, {1, 1, 31, true}, {1, 1, 14, false}, {1, 1, 32, false},
      {0, 0, 4, true},  {2, 1, 14, true}, {2, 0, 8, false},  {3, 0, 5, false},  // no row 3
      {0, 2, 5, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UUValueRangeContains(c.row, c.column, c.value), c.inside)
        << c.row << "," << c.column << ": " << c.value;
  }
  int32_t minimum = 0;
  int32_t maximum = 0;
  UUValueRangeGet(2, 1, minimum, maximum);
  EXPECT_EQ(minimum, 2);
  EXPECT_EQ(maximum, 14);
}

}  // namespace
