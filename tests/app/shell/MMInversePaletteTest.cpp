#include "app/shell/MMInversePalette.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int16_t kNoTransparent = -1;

MMPalette RandomPalette(uint32_t seed) {
  std::mt19937 random(seed);
  MMPalette palette;
  for (MMPaletteEntry& e : palette.mEntries) {
    e = MMPaletteEntry{static_cast<uint8_t>(random()), static_cast<uint8_t>(random()),
                       static_cast<uint8_t>(random()), 0};
  }
  return palette;
}

int DistanceToCentre(const MMPaletteEntry& e, int cell) {
  const int r = (cell >> 8) * 16 + 7, g = ((cell >> 4) & 15) * 16 + 7, b = (cell & 15) * 16 + 7;
  return (e.mRed - r) * (e.mRed - r) + (e.mGreen - g) * (e.mGreen - g) +
         (e.mBlue - b) * (e.mBlue - b);
}

TEST(MMInversePaletteTest, EveryCellAnswersAnEntryNearestItsCentre) {
  const MMPalette palette = RandomPalette(7);
  const int16_t exclusions[] = {3, 9, 256, 4};  // 4 lies after the end mark
  MMInversePalette inverse(palette, 5, exclusions, std::size(exclusions));
  for (int cell = 0; cell < 4096; ++cell) {
    const auto red = static_cast<uint8_t>((cell >> 8) * 16 + 3);
    const auto green = static_cast<uint8_t>((cell & 0xF0) + 12);
    const auto blue = static_cast<uint8_t>((cell & 15) * 16);
    const uint8_t answer = inverse.Lookup(red, green, blue);
    ASSERT_NE(answer, 5);
    ASSERT_NE(answer, 3);
    ASSERT_NE(answer, 9);
    int best = 1 << 30;
    for (int i = 0; i < 256; ++i) {
      if (i != 3 && i != 5 && i != 9)
        best = std::min(best, DistanceToCentre(palette.mEntries[i], cell));
    }
    ASSERT_EQ(DistanceToCentre(palette.mEntries[answer], cell), best) << "cell " << cell;
  }
}

TEST(MMInversePaletteTest, AnOnlyUsableBlackAnswersEverywhereAndTheTransparentIndexNever) {
  MMPalette palette = RandomPalette(3);
  palette.mEntries[10] = MMPaletteEntry{};
  palette.mEntries[20] = MMPaletteEntry{255, 255, 255, 0};
  std::vector<int16_t> exclusions;
  for (int16_t i = 0; i < 256; ++i) {
    if (i != 10 && i != 20) exclusions.push_back(i);
  }
  MMInversePalette inverse(palette, 20, exclusions.data(), exclusions.size());
  for (int cell = 0; cell < 4096; cell += 7) {
    EXPECT_EQ(
        inverse.Lookup(static_cast<uint8_t>((cell >> 8) * 16), static_cast<uint8_t>(cell & 0xF0),
                       static_cast<uint8_t>((cell & 15) * 16)),
        10);
  }
  EXPECT_EQ(inverse.Lookup(255, 255, 255), 10);
}

TEST(MMInversePaletteTest, MatchesIgnoresOnlyUnusableEntries) {
  const MMPalette palette = RandomPalette(11);
  const int16_t exclusions[] = {4};
  MMInversePalette inverse(palette, kNoTransparent, exclusions, 1);
  MMPalette changed = palette;
  changed.mEntries[4].mRed ^= 1;
  EXPECT_TRUE(inverse.Matches(changed, -7, exclusions, 1));
  changed.mEntries[5].mRed ^= 1;
  EXPECT_FALSE(inverse.Matches(changed, kNoTransparent, exclusions, 1));
  EXPECT_FALSE(inverse.Matches(palette, 2, exclusions, 1));
  EXPECT_FALSE(inverse.Matches(palette, kNoTransparent, nullptr, 0));
}

TEST(MMPaletteNearestIndexTest, ColoursMatchOnlyEntriesOfTheirOwnTransparency) {
  MMPalette palette;
  for (MMPaletteEntry& e : palette.mEntries) e = MMPaletteEntry{200, 200, 200, 0};
  palette.mEntries[1] = MMPaletteEntry{10, 10, 10, 128};  // partly transparent, near
  palette.mEntries[2] = MMPaletteEntry{10, 10, 10, 255};  // transparent, exact colour
  palette.mEntries[3] = MMPaletteEntry{50, 50, 50, 0};    // opaque, farther
  palette.mEntries[4] = MMPaletteEntry{0, 0, 0, 255};
  struct Case {
    MMPaletteEntry color;
    uint8_t expected;
  };
  const Case cases[] = {
      {{10, 10, 10, 0}, 3},
      {{10, 10, 10, 255}, 2},
      {{12, 10, 10, 100}, 1},
      {{200, 200, 200, 0}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MMPaletteNearestIndex(c.color, palette), c.expected) << int{c.color.mTransparency};
  }
  MMPalette opaqueOnly;
  EXPECT_EQ(MMPaletteNearestIndex(MMPaletteEntry{1, 2, 3, 90}, opaqueOnly), 255);
}

}  // namespace
