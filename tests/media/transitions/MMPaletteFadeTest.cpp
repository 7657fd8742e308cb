#include "media/transitions/MMPaletteFade.h"

#include <gtest/gtest.h>

namespace {

AFPalette Grey(uint8_t level) {
  AFPalette palette;
  for (AFPaletteEntry& e : palette.mEntries) e = AFPaletteEntry{level, level, level, 0};
  return palette;
}

TEST(MMPaletteFadeTest, StepsEvenlyAndEndsExactlyOnTheTarget) {
  struct Case {
    uint8_t from;
    uint8_t to;
    std::vector<int> levels;
  };
  const Case cases[] = {
      {0, 200, {50, 100, 150, 200}},
      {200, 0, {150, 100, 50, 0}},
      {30, 30, {30, 30, 30, 30}},
  };
  for (const Case& c : cases) {
    MMPaletteFade fade;
    fade.Init(Grey(c.from), Grey(c.to), 4);
    for (int32_t step = 0; step < 4; ++step) {
      AFPalette out;
      fade.GetPalette(out, step);
      EXPECT_EQ(out.mEntries[7].mRed, c.levels[static_cast<size_t>(step)]) << int{c.from};
      EXPECT_EQ(out.mEntries[255].mBlue, c.levels[static_cast<size_t>(step)]) << int{c.from};
    }
  }
}

}  // namespace
