#include "app/shell/MMImageCopies.h"
#include "app/shell/MMMaskedBlit.h"

#include "tests/mm/drawing/PixelImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kWidth = 3;
constexpr int32_t kHeight = 2;

// Index i shows blue 10 i, green 20 i, red 30 i.
MMPalette Ramp() {
  MMPalette palette;
  for (int i = 0; i < 256; ++i) {
    palette.mEntries[i] = MMPaletteEntry{static_cast<uint8_t>(10 * i), static_cast<uint8_t>(20 * i),
                                         static_cast<uint8_t>(30 * i), 0};
  }
  return palette;
}

PixelImage Indexes() {
  PixelImage image(kWidth, kHeight, 8);
  for (size_t i = 0; i < image.mPixels.size(); ++i) image.mPixels[i] = static_cast<uint8_t>(i + 1);
  return image;
}

// The indexes as 32-bit colours through the ramp.
PixelImage Colours(const PixelImage& indexes) {
  PixelImage image(kWidth, kHeight, 32);
  const MMPalette ramp = Ramp();
  for (size_t i = 0; i < indexes.mPixels.size(); ++i) {
    const MMPaletteEntry& e = ramp.mEntries[indexes.mPixels[i]];
    image.mPixels[4 * i] = e.mBlue;
    image.mPixels[4 * i + 1] = e.mGreen;
    image.mPixels[4 * i + 2] = e.mRed;
  }
  return image;
}

std::vector<uint8_t> SurfacePixels(MMSurface& surface) {
  MMBitmap bitmap;
  EXPECT_TRUE(surface.GetImageDescription(bitmap));
  std::vector<uint8_t> pixels;
  for (int32_t y = bitmap.mRect.mTop; y < bitmap.mRect.mBottom; ++y) {
    const uint8_t* row = bitmap.GetPixelAddress(bitmap.mRect.mLeft, y);
    pixels.insert(pixels.end(), row, row + 4 * bitmap.GetWidth());
  }
  return pixels;
}

std::unique_ptr<WinMMOffscreenSurface> Surface(int32_t width, int32_t height) {
  return std::unique_ptr<WinMMOffscreenSurface>(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, width, height), AFPalette()));
}

TEST(MMMaskedBlitTest, EveryMirrorVariantMatchesTheMirroredCopy) {
  const PixelImage indexes = Indexes();
  const PixelImage colours = Colours(indexes);
  const PixelImage clear(kWidth, kHeight, 8);
  for (bool mirrorX : {false, true}) {
    for (bool mirrorY : {false, true}) {
      PixelImage expected = Colours(indexes);
      if (mirrorX || mirrorY) {
        ASSERT_TRUE(MMCopyMirrored(colours.mBitmap, expected.mBitmap, mirrorX, mirrorY));
      }
      auto surface = Surface(kWidth, kHeight);
      ASSERT_TRUE(surface);
      MMMaskedBlit blit(indexes.mBitmap, Ramp(), clear.mBitmap, mirrorX, mirrorY);
      ASSERT_TRUE(blit.Draw(*surface, UURect(0, 0, kWidth, kHeight)));
      EXPECT_EQ(SurfacePixels(*surface), expected.mPixels) << mirrorX << mirrorY;
    }
  }
}

TEST(MMMaskedBlitTest, AFullMaskKeepsTheDestinationAndScalingRepeatsPixels) {
  const PixelImage indexes = Indexes();
  PixelImage opaque(kWidth, kHeight, 8);
  std::fill(opaque.mPixels.begin(), opaque.mPixels.end(), uint8_t{255});
  auto kept = Surface(kWidth, kHeight);
  kept->FillRect(UURect(0, 0, kWidth, kHeight), AFColor(AFRGB{1, 2, 3}));
  const std::vector<uint8_t> before = SurfacePixels(*kept);
  ASSERT_TRUE(MMMaskedBlit(indexes.mBitmap, Ramp(), opaque.mBitmap, false, false)
                  .Draw(*kept, UURect(0, 0, kWidth, kHeight)));
  EXPECT_EQ(SurfacePixels(*kept), before);

  const PixelImage clear(kWidth, kHeight, 8);
  auto doubled = Surface(2 * kWidth, 2 * kHeight);
  ASSERT_TRUE(MMMaskedBlit(indexes.mBitmap, Ramp(), clear.mBitmap, false, false)
                  .Draw(*doubled, UURect(0, 0, 2 * kWidth, 2 * kHeight)));
  const std::vector<uint8_t> big = SurfacePixels(*doubled);
  const PixelImage colours = Colours(indexes);
  for (int32_t y = 0; y < 2 * kHeight; ++y) {
    for (int32_t x = 0; x < 2 * kWidth; ++x) {
      for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(big[static_cast<size_t>(4 * (y * 2 * kWidth + x) + c)],
                  colours.mPixels[static_cast<size_t>(4 * (y / 2 * kWidth + x / 2) + c)]);
      }
    }
  }
  EXPECT_FALSE(MMMaskedBlit(indexes.mBitmap, Ramp(), clear.mBitmap, false, false)
                   .Draw(*doubled, UURect(2, 2, 2, 5)));
}

TEST(MMImageCopiesTest, QuarterTurnsExchangeTheSizeAndUndoEachOther) {
  const PixelImage indexes = Indexes();
  PixelImage turned(kHeight, kWidth, 8);
  ASSERT_TRUE(MMRotatedCopyClockwise(indexes.mBitmap, turned.mBitmap));
  // Clockwise, the bottom left pixel comes to the top left.
  EXPECT_EQ(turned.mPixels[0], indexes.mPixels[kWidth]);
  PixelImage back(kWidth, kHeight, 8);
  ASSERT_TRUE(MMRotatedCopyAnticlockwise(turned.mBitmap, back.mBitmap));
  EXPECT_EQ(back.mPixels, indexes.mPixels);
  EXPECT_FALSE(MMRotatedCopyClockwise(indexes.mBitmap, back.mBitmap));

  auto surface = Surface(kWidth, kHeight);
  const PixelImage colours = Colours(indexes);
  MMBitmap target;
  ASSERT_TRUE(surface->GetImageDescription(target));
  for (int32_t y = 0; y < kHeight; ++y) {
    std::copy_n(colours.mBitmap.GetPixelAddress(0, y), 4 * kWidth, target.GetPixelAddress(0, y));
  }
  const std::vector<uint8_t> start = SurfacePixels(*surface);
  ASSERT_TRUE(MMRotateSurfaceClockwise(surface));
  EXPECT_EQ(surface->GetRect(), UURect(0, 0, kHeight, kWidth));
  ASSERT_TRUE(MMRotateSurfaceAnticlockwise(surface));
  EXPECT_EQ(SurfacePixels(*surface), start);
}

}  // namespace
