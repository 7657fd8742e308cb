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

TEST(UUWriterTest, SwappedOrderWritesTheMarkMMAndBigEndianValues) {
  Bytes out(2 + 4 + 2 + 8 + 4, 0xEE);
  UUMemory stream(out.data(), static_cast<int32_t>(out.size()));
  stream.SetByteOrder(kUUSwappedByteOrder);
  const int32_t one = 1;
  const int16_t minusTwo = -2;
  const int64_t big = 0x0102030405060708;
  const float half = 0.5f;
  EXPECT_TRUE(stream.WriteByteOrderMark());
  EXPECT_TRUE(stream.WriteInt32s(&one, 1));
  EXPECT_TRUE(stream.WriteInt16s(&minusTwo, 1));
  EXPECT_TRUE(stream.WriteInt64s(&big, 1));
  EXPECT_TRUE(stream.WriteFloats(&half, 1));
  EXPECT_EQ(out,
            (Bytes{0x4D, 0x4D, 0, 0, 0, 1, 0xFF, 0xFE, 1, 2, 3, 4, 5, 6, 7, 8, 0x3F, 0, 0, 0}));
}

TEST(UUWriterTest, SwappedArraysLongerThanOneChunkReadBackAndLeaveTheSourceAlone) {
  std::vector<int32_t> values(300);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int32_t>(i * 65537);
  const std::vector<int32_t> original = values;
  Bytes out(2 + values.size() * 4);
  UUMemory writer(out.data(), static_cast<int32_t>(out.size()));
  writer.SetByteOrder(kUUSwappedByteOrder);
  ASSERT_TRUE(writer.WriteByteOrderMark());
  ASSERT_TRUE(writer.WriteInt32s(values.data(), static_cast<uint32_t>(values.size())));
  EXPECT_EQ(values, original);
  EXPECT_EQ(out[2 + 299 * 4 + 3], static_cast<uint8_t>(299 * 65537));
  UUMemory reader(out.data(), static_cast<int32_t>(out.size()));
  std::vector<int32_t> read(values.size());
  ASSERT_TRUE(reader.ReadByteOrderMark());
  ASSERT_TRUE(reader.ReadInt32s(read.data(), static_cast<uint32_t>(read.size())));
  EXPECT_EQ(read, original);
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
