#include "app/shell/MMErrorCarryDither.h"
#include "app/shell/MMFloydSteinberg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Black at 0, white at 1, the rest excluded.
MMInversePalette BlackAndWhite(MMPalette& palette) {
  palette = MMPalette{};
  palette.mEntries[1] = MMPaletteEntry{255, 255, 255, 0};
  std::vector<int16_t> exclusions;
  for (int16_t i = 2; i < 256; ++i) exclusions.push_back(i);
  return MMInversePalette(palette, -1, exclusions.data(), exclusions.size());
}

MMInversePalette Greys(MMPalette& palette) {
  palette = MMPalette{};
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<uint8_t>(i % 8 * 36);
    palette.mEntries[i] = MMPaletteEntry{v, v, v, 0};
  }
  return MMInversePalette(palette, -1, nullptr, 0);
}

TEST(MMErrorCarryDitherTest, AUniformColourRepeatsEveryFourPixelsAndShiftsWithTheRow) {
  MMPalette palette;
  MMInversePalette inverse = Greys(palette);
  MMErrorCarryDither dither(inverse);
  std::vector<std::vector<uint8_t>> rows(4);
  for (size_t y = 0; y < 4; ++y) {
    for (size_t x = 0; x < 24; ++x) {
      rows[y].push_back(dither.DitherPixel(
          100, 100, 100, UUPoint{static_cast<int32_t>(x), static_cast<int32_t>(y)}));
    }
    for (size_t x = 0; x + 4 < 24; ++x) ASSERT_EQ(rows[y][x], rows[y][x + 4]) << x << "," << y;
  }
  ASSERT_NE(std::count(rows[0].begin(), rows[0].end(), rows[0][0]), 24) << "not dithered";
  const size_t resetColumn[4] = {0, 1, 3, 2};
  for (size_t y = 1; y < 4; ++y) {
    for (size_t x = 0; x < 16; ++x) {
      EXPECT_EQ(rows[y][x + resetColumn[y] + 4], rows[0][x + 4]) << x << "," << y;
    }
  }
}

TEST(MMFloydSteinbergTest, AUniformGreyOverBlackAndWhiteKeepsItsMean) {
  MMPalette palette;
  MMInversePalette inverse = BlackAndWhite(palette);
  constexpr int32_t kWidth = 256, kHeight = 64;
  MMFloydSteinberg dither(kWidth, &inverse, -1, -1);
  const std::vector<uint8_t> grey(kWidth * 3, 100);
  std::vector<uint8_t> out(kWidth);
  double sum = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    dither.DitherRowRgb(grey.data(), out.data(), kWidth);
    for (uint8_t index : out) sum += palette.mEntries[index].mRed;
  }
  EXPECT_NEAR(sum / (kWidth * kHeight), 100.0, 1.0);
}

TEST(MMFloydSteinbergTest, CountsBeyondTheWidthOrMissingRowsDoNothing) {
  MMPalette palette;
  MMInversePalette inverse = BlackAndWhite(palette);
  MMFloydSteinberg dither(4, &inverse, -1, -1);
  const std::vector<uint8_t> white(5 * 4, 255);
  std::vector<uint8_t> out(5, 7);
  dither.DitherRow32(white.data(), out.data(), 5);
  dither.DitherRow32(white.data(), out.data(), 0);
  dither.DitherRow32(nullptr, out.data(), 4);
  EXPECT_EQ(out, std::vector<uint8_t>(5, 7));
  dither.DitherRow32(white.data(), out.data(), 4);
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 1, 1, 1, 7}));
}

}  // namespace
