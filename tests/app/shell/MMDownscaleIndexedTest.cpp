#include "app/shell/MMDownscaleIndexed.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int16_t kTransparent = 9;
constexpr int16_t kHole = 8;

struct Image {
  Image(int32_t width, int32_t height, uint8_t fill)
      : mPixels(static_cast<size_t>(width * height), fill) {
    mBitmap.mBitsPerPixel = 8;
    mBitmap.mBytesPerPixel = 1;
    mBitmap.mFormat = kMMFormat8;
    mBitmap.mRect = UURect(0, 0, width, height);
    mBitmap.mPixels = mPixels.data();
    mBitmap.mPitch = width;
  }
  std::vector<uint8_t> mPixels;
  MMBitmap mBitmap;
};

// Entries 1 and 2 black and white, 3 mid grey; 9 transparent.
MMPalette Greys() {
  MMPalette palette;
  palette.mEntries[2] = MMPaletteEntry{255, 255, 255, 0};
  palette.mEntries[3] = MMPaletteEntry{128, 128, 128, 0};
  palette.mEntries[kTransparent] = MMPaletteEntry{0, 255, 0, 255};
  return palette;
}

TEST(MMDownscaleIndexedTest, StrongReductionsAverageHolesAndTransparency) {
  const MMPalette palette = Greys();
  const int16_t excluded[] = {0, 1};  // only 2, 3 and beyond answer
  MMInversePalette inverse(palette, kTransparent, excluded, 2);
  Image source(4, 2, 1);  // 1 has the colour of entry 0, black
  // Left 2 x 2 block: black and white, averaging grey; right: mostly transparent.
  source.mPixels = {1, 2, kTransparent, kTransparent, 2, 1, kTransparent, 2};
  Image destination(2, 1, 0);
  MMDownscaleIndexedRequest request{.mSource = source.mBitmap,
                                    .mDestination = destination.mBitmap,
                                    .mInverse = &inverse,
                                    .mTransparentIndex = kTransparent,
                                    .mHoleIndex = kHole};
  ASSERT_TRUE(MMDownscaleIndexed(request));
  EXPECT_EQ(destination.mPixels, (std::vector<uint8_t>{3, kTransparent}));
  source.mPixels[0] = kHole;
  request.mMirror = true;
  ASSERT_TRUE(MMDownscaleIndexed(request));
  EXPECT_EQ(destination.mPixels, (std::vector<uint8_t>{kTransparent, kHole}));
}

TEST(MMDownscaleIndexedTest, MildReductionsResampleByAreaWithKeyAndTransparency) {
  const MMPalette palette = Greys();
  MMInversePalette inverse(palette, kTransparent, nullptr, 0);
  Image source(3, 3, 3);
  source.mPixels[8] = kTransparent;  // bottom right
  source.mPixels[0] = 0;             // top left is key
  Image destination(2, 2, 7);
  const MMDownscaleIndexedRequest request{.mSource = source.mBitmap,
                                          .mDestination = destination.mBitmap,
                                          .mInverse = &inverse,
                                          .mTransparentIndex = kTransparent};
  ASSERT_TRUE(MMResampleIndexedDither(request));
  // Top left box: key weight 1 of 2.25; top right: grey; bottom right: touches the transparent
  // pixel.
  EXPECT_EQ(destination.mPixels[1], 3);
  EXPECT_EQ(destination.mPixels[3], kTransparent);
  EXPECT_EQ(destination.mPixels[0], 3);
  Image empty(0, 2, 0);
  MMDownscaleIndexedRequest emptyRequest = request;
  emptyRequest.mDestination = empty.mBitmap;
  EXPECT_FALSE(MMDownscaleIndexed(emptyRequest));
}

}  // namespace
