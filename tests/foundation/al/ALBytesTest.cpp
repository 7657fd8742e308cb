#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "foundation/al/ALBytes.h"

namespace {

using Bytes = std::vector<uint8_t>;

TEST(ALBytesTest, CompareBytesOrdersByFirstDifferingUnsignedByte) {
  const uint8_t abc[] = {0x61, 0x62, 0x63};
  const uint8_t abd[] = {0x61, 0x62, 0x64};
  const uint8_t high[] = {0x80};
  const uint8_t low[] = {0x7F};
  EXPECT_EQ(ALCompareBytes(abc, abd, 3), -1);
  EXPECT_EQ(ALCompareBytes(abc, abd, 2), 0);
  EXPECT_EQ(ALCompareBytes(abd, abc, 3), 1);
  EXPECT_EQ(ALCompareBytes(abc, abd, 0), 0);
  EXPECT_EQ(ALCompareBytes(high, low, 1), 1);
}

TEST(ALBytesTest, CopySwapsCountBytesAndInPlaceSwapsCountValues) {
  const Bytes source = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  struct Case {
    void (*copy)(void*, const void*, uint32_t);
    void (*swap)(void*, uint32_t);
    uint32_t unit;
    Bytes expected;
  } cases[] = {
      {ALCopySwapBytes16,
       ALSwapBytes16,
       2,
       {2, 1, 4, 3, 6, 5, 8, 7, 10, 9, 12, 11, 14, 13, 16, 15}},
      {ALCopySwapBytes32,
       ALSwapBytes32,
       4,
       {4, 3, 2, 1, 8, 7, 6, 5, 12, 11, 10, 9, 16, 15, 14, 13}},
      {ALCopySwapBytes64,
       ALSwapBytes64,
       8,
       {8, 7, 6, 5, 4, 3, 2, 1, 16, 15, 14, 13, 12, 11, 10, 9}},
  };
  for (const Case& c : cases) {
    // Odd addresses on both sides: the routines need no alignment.
    Bytes out(source.size() + 2, 0xEE);
    Bytes in(source.size() + 1);
    std::copy(source.begin(), source.end(), in.begin() + 1);
    c.copy(out.data() + 1, in.data() + 1, 16);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end() - 1), c.expected) << c.unit;
    EXPECT_EQ(out.back(), 0xEE) << c.unit;

    Bytes values = source;
    c.swap(values.data(), 16 / c.unit);
    EXPECT_EQ(values, c.expected) << c.unit;
  }
}

// The shuffle routines against the plain loops, copying and in place, over
// lengths around their 32-byte steps and at odd addresses; the byte after
// the copied ones stays untouched.
TEST(ALBytesTest, ShuffleSwapsGiveThePlainLoopsBytes) {
  if (!ALSwapRoutinesUseShuffle()) GTEST_SKIP() << "no byte shuffle";
  struct Routines {
    void (*copy)(void*, const void*, uint32_t);
    void (*swap)(void*, uint32_t);
    uint32_t unit;
  };
  const Routines routines[] = {{ALCopySwapBytes16, ALSwapBytes16, 2},
                               {ALCopySwapBytes32, ALSwapBytes32, 4},
                               {ALCopySwapBytes64, ALSwapBytes64, 8}};
  Bytes source(300);
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 37 + 11);
  for (const Routines& r : routines) {
    for (uint32_t bytes : {0u, 8u, 24u, 32u, 40u, 64u, 96u, 104u, 256u, 288u}) {
      Bytes copied[2], swapped[2];
      for (int path = 0; path < 2; ++path) {
        ALSelectSwapRoutines(path == 1);
        copied[path].assign(bytes + 2, 0xEE);
        r.copy(copied[path].data() + 1, source.data() + 1, bytes);
        swapped[path].assign(source.begin() + 1, source.begin() + 1 + bytes);
        r.swap(swapped[path].data(), bytes / r.unit);
      }
      EXPECT_EQ(copied[0], copied[1]) << r.unit << " " << bytes;
      EXPECT_EQ(swapped[0], swapped[1]) << r.unit << " " << bytes;
      EXPECT_EQ(copied[1].back(), 0xEE) << r.unit << " " << bytes;
    }
  }
  ALSelectSwapRoutines(true);
}

TEST(ALBytesTest, CopySwap16OfSixBytes) {
  const uint8_t source[] = {1, 2, 3, 4, 5, 6};
  uint8_t out[6] = {};
  ALCopySwapBytes16(out, source, 6);
  EXPECT_EQ(Bytes(out, out + 6), (Bytes{2, 1, 4, 3, 6, 5}));
}

TEST(ALBytesTest, CopyBytesCopiesNothingForZeroOrNegativeCounts) {
  const uint8_t source[] = {1, 2, 3, 4, 5, 6, 7};
  for (int32_t n : {0, -1, -100}) {
    uint8_t out[7] = {};
    ALCopyBytes(out, source, n);
    EXPECT_EQ(Bytes(out, out + 7), Bytes(7, 0)) << n;
  }
  uint8_t out[8] = {};
  ALCopyBytes(out + 1, source, 7);
  EXPECT_EQ(Bytes(out, out + 8), (Bytes{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(ALBytesTest, ReadableAndWritableFollowTheMappings) {
  static const char kConstant[] = "read only";
  std::array<char, 64> stack{};
  EXPECT_TRUE(ALIsReadable(stack.data(), stack.size()));
  EXPECT_TRUE(ALIsWritable(stack.data(), stack.size()));
  EXPECT_TRUE(ALIsReadable(kConstant, sizeof kConstant));
  EXPECT_FALSE(ALIsWritable(const_cast<char*>(kConstant), sizeof kConstant));
  EXPECT_FALSE(ALIsReadable(nullptr, 1));
  EXPECT_TRUE(ALIsReadable(nullptr, 0));
}

}  // namespace
