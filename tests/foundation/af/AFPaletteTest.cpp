#include "foundation/af/AFPalette.h"

#include "foundation/uu/UUMemory.h"

#include <gtest/gtest.h>

namespace {

AFPalette Ramp() {
  AFPalette palette;
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    palette.mEntries[i] = AFPaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                         static_cast<uint8_t>(i / 2), 0};
  }
  return palette;
}

TEST(AFPaletteTest, ComparesColoursButNotFlags) {
  AFPalette a = Ramp();
  AFPalette b = Ramp();
  b.mEntries[3].mFlags = 9;
  EXPECT_TRUE(a == b);
  b.mEntries[200].mRed ^= 1;
  EXPECT_FALSE(a == b);
}

TEST(AFPaletteTest, ColoursCompareByIndexOrByBytes) {
  AFColor seven(int16_t{7});
  AFColor otherSeven(int16_t{7});
  otherSeven.mRed = 99;
  EXPECT_TRUE(seven == otherSeven);
  EXPECT_TRUE(AFColor(AFRGB(1, 2, 3)) == AFColor(AFRGB(1, 2, 3)));
  EXPECT_FALSE(AFColor(AFRGB(1, 2, 3)) == AFColor(AFRGB(1, 2, 4)));
  EXPECT_EQ(seven.ToColorRef(), PALETTEINDEX(7));
  EXPECT_EQ(AFColor(AFRGB(1, 2, 3)).ToColorRef(), RGB(1, 2, 3));
}

TEST(AFPaletteTest, ATrueColourDeviceTakesEveryEntry) {
  HDC dc = CreateCompatibleDC(nullptr);
  AFLogPalette log;
  AFPaletteToLogPalette(Ramp(), dc, log);
  EXPECT_EQ(log.palVersion, 0x300);
  EXPECT_EQ(log.palNumEntries, 256);
  for (int i : {0, 9, 10, 245, 246, 255}) {
    EXPECT_EQ(log.palPalEntry[i].peRed, static_cast<BYTE>(i / 2));
    EXPECT_EQ(log.palPalEntry[i].peGreen, static_cast<BYTE>(255 - i));
    EXPECT_EQ(log.palPalEntry[i].peBlue, static_cast<BYTE>(i));
    EXPECT_EQ(log.palPalEntry[i].peFlags, PC_NOCOLLAPSE);
  }
  HPALETTE palette = CreatePalette(log.AsLogPalette());
  EXPECT_NE(palette, nullptr);
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(100, 55, 200)), 200u);
  DeleteObject(reinterpret_cast<HGDIOBJ>(palette));
  DeleteDC(dc);
}

TEST(AFPaletteTest, PalettesRoundTripAndBigEndianStreamsSwap) {
  AFPalette written[2] = {Ramp(), Ramp()};
  written[1].mEntries[5].mFlags = 1;
  uint8_t bytes[2 * 1024] = {};
  UUMemory out(bytes, sizeof bytes);
  ASSERT_TRUE(AFWritePalettes(out, written, 2));
  EXPECT_EQ(bytes[4 * 3 + 0], 3);  // blue first
  EXPECT_EQ(bytes[4 * 3 + 2], 1);  // red third
  UUMemory in(bytes, sizeof bytes);
  AFPalette read[2];
  ASSERT_TRUE(AFReadPalettes(in, read, 2));
  EXPECT_TRUE(read[0] == written[0]);
  EXPECT_EQ(read[1].mEntries[5].mFlags, 1);

  UUMemory swapped(bytes, sizeof bytes);
  swapped.SetByteOrder(kUUSwappedByteOrder);
  AFPaletteEntry entry;
  ASSERT_TRUE(AFReadPalette(swapped, &entry, 1));
  AFSwapPalette(&entry, 1);
  EXPECT_EQ(entry.mRed, 0);
  EXPECT_EQ(entry.mGreen, 255);

  UUMemory shortStream(bytes, 1000);
  EXPECT_FALSE(AFReadPalettes(shortStream, read, 1));
}

}  // namespace
