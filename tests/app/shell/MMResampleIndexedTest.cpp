#include "app/shell/MMResampleIndexed.h"

#include "tests/mm/drawing/PixelImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(MMDownscaleChannelTest, HalvesSumBlocksAndOtherStepsAverageBoxes) {
  PixelImage source(4, 2, 8);
  source.mPixels = {0, 4, 8, 8, 4, 8, 8, 8};
  PixelImage half(2, 1, 8);
  ASSERT_TRUE(MMDownscaleChannel(source.mBitmap, half.mBitmap));
  EXPECT_EQ(half.mPixels, (std::vector<uint8_t>{4, 8}));
  PixelImage whole(1, 1, 8);
  ASSERT_TRUE(MMDownscaleChannel(source.mBitmap, whole.mBitmap));
  EXPECT_EQ(whole.mPixels[0], 6);  // 48 / 8
  PixelImage empty(0, 1, 8);
  EXPECT_FALSE(MMDownscaleChannel(source.mBitmap, empty.mBitmap));
  EXPECT_FALSE(MMDownscaleChannel(empty.mBitmap, half.mBitmap));
}

TEST(MMResampleIndexedTest, AveragesThroughThePaletteAndAnswersTheNearestEntry) {
  MMPalette palette;
  palette.mEntries[1] = MMPaletteEntry{0, 0, 0, 0};
  palette.mEntries[2] = MMPaletteEntry{200, 200, 200, 0};
  palette.mEntries[3] = MMPaletteEntry{100, 100, 100, 0};
  PixelImage source(2, 2, 8);
  source.mPixels = {1, 2, 2, 1};
  PixelImage destination(1, 1, 8);
  ASSERT_TRUE(MMResampleIndexed(source.mBitmap, destination.mBitmap, palette));
  EXPECT_EQ(destination.mPixels[0], 3);
}

TEST(MMResampleIndexedTest, TheMaskBlendsTheColourOverTheDestination) {
  MMPalette palette;
  palette.mEntries[1] = MMPaletteEntry{200, 100, 50, 0};
  const PixelImage source(2, 2, 8, 1);
  struct Case {
    uint8_t mask;
    uint8_t expectedBlue;  // over a destination blue of 10
  };
  for (const Case& c : {Case{0, 200}, Case{255, 10}}) {
    const PixelImage mask(2, 2, 8, c.mask);
    PixelImage destination(1, 1, 32, 10);
    ASSERT_TRUE(
        MMResampleIndexedWithMask(source.mBitmap, palette, mask.mBitmap, destination.mBitmap));
    EXPECT_EQ(destination.mPixels[0], c.expectedBlue) << int{c.mask};
    EXPECT_EQ(destination.mPixels[3], c.mask);
  }
}

}  // namespace
