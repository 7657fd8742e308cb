#include "mm/drawing/MMPaletteOperations.h"

#include <gtest/gtest.h>

namespace {

TEST(MMPaletteOperationsTest, ToAFPaletteFixesTheEndsAndDropsTransparency) {
  MMPalette palette;
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i);
    palette.mEntries[i] = {v, static_cast<uint8_t>(v / 2), static_cast<uint8_t>(255 - v), 200};
  }
  AFPalette out;
  out.mEntries[0].mFlags = 7;
  MMPaletteToAFPalette(palette, out);
  struct Case {
    int index;
    AFPaletteEntry expected;
  };
  for (const Case& c : {Case{0, {0, 0, 0, 0}}, Case{1, {1, 0, 254, 0}}, Case{254, {254, 127, 1, 0}},
                        Case{255, {255, 255, 255, 0}}}) {
    const AFPaletteEntry& entry = out.mEntries[c.index];
    EXPECT_EQ(entry.mBlue, c.expected.mBlue) << c.index;
    EXPECT_EQ(entry.mGreen, c.expected.mGreen) << c.index;
    EXPECT_EQ(entry.mRed, c.expected.mRed) << c.index;
    EXPECT_EQ(entry.mFlags, 0) << c.index;
  }
}

}  // namespace
