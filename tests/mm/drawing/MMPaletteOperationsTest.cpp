#include "mm/drawing/MMPaletteOperations.h"

#include <gtest/gtest.h>

#include <cstring>

#include "foundation/uu/UUMemory.h"

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

// A big-endian file holds each entry as one swapped 32-bit value; what is
// written in either order reads back as it was.
TEST(MMPaletteOperationsTest, EntriesReadBackInTheByteOrderTheyWereWrittenIn) {
  const MMPaletteEntry entries[2] = {{1, 2, 3, 4}, {250, 251, 252, 253}};
  struct Case {
    UUByteOrder order;
    uint8_t firstBytes[4];
  };
  for (const Case& c :
       {Case{kUUNativeByteOrder, {1, 2, 3, 4}}, Case{kUUSwappedByteOrder, {4, 3, 2, 1}}}) {
    uint8_t bytes[8] = {};
    UUMemory stream(bytes, sizeof bytes);
    stream.SetByteOrder(c.order);
    ASSERT_TRUE(MMWritePaletteEntries(stream, entries, 2));
    EXPECT_EQ(std::memcmp(bytes, c.firstBytes, 4), 0) << c.order;
    ASSERT_TRUE(stream.Seek(0, kUUSeekFromStart, nullptr));
    MMPaletteEntry read[2] = {};
    ASSERT_TRUE(MMReadPaletteEntries(stream, read, 2));
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(std::memcmp(&read[i], &entries[i], sizeof read[i]), 0) << c.order << " " << i;
    }
  }
}

}  // namespace
