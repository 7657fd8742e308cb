#include "foundation/uu/UUMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(UUWriterTest, WritesTheMarkIIAndLittleEndianValues) {
  Bytes out(2 + 4 + 2 + 8 + 4 + 3, 0xEE);
  UUMemory stream(out.data(), static_cast<int32_t>(out.size()));
  const int32_t one = 1;
  const int16_t minusTwo = -2;
  const int64_t big = 0x0102030405060708;
  const float half = 0.5f;
  const bool flags[] = {true, false, true};
  EXPECT_TRUE(stream.WriteByteOrderMark());
  EXPECT_TRUE(stream.WriteInt32s(&one, 1));
  EXPECT_TRUE(stream.WriteInt16s(&minusTwo, 1));
  EXPECT_TRUE(stream.WriteInt64s(&big, 1));
  EXPECT_TRUE(stream.WriteFloats(&half, 1));
  EXPECT_TRUE(stream.WriteBooleans(flags, 3));
  EXPECT_EQ(out, (Bytes{0x49, 0x49, 1, 0, 0, 0, 0xFE, 0xFF, 8, 7, 6, 5,
                        4,    3,    2, 1, 0, 0, 0,    0x3F, 1, 0, 1}));
}

TEST(UUWriterTest, ErrorBlocksWritesAndFlushReportsIt) {
  Bytes out(4, 0);
  UUMemory stream(out.data(), 4);
  const int32_t value = 5;
  EXPECT_TRUE(stream.Flush());
  EXPECT_FALSE(stream.WriteInt32s(&value, 2));
  EXPECT_EQ(stream.GetError(), kUUErrorMemoryOverrun);
  EXPECT_FALSE(stream.Flush());
  EXPECT_FALSE(stream.WriteInt32s(&value, 1));
  EXPECT_EQ(out, Bytes(4, 0));
}

}  // namespace
