#include "foundation/uu/UUBufferedReader.h"

#include "RecordingMemory.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Sizes = std::vector<uint32_t>;

Bytes Counting(size_t n) {
  Bytes bytes(n);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  return bytes;
}

TEST(UUBufferedReaderTest, ReadsAheadWithinTheLimit) {
  Bytes bytes = Counting(200);
  RecordingMemory source(bytes);
  uint8_t buffer[16];
  UUBufferedReader reader(source, 100, buffer, sizeof buffer);
  Bytes out(64);

  ASSERT_TRUE(reader.Read(out.data(), 4));        // fills 16, remaining 84
  ASSERT_TRUE(reader.Read(out.data() + 4, 20));   // 12 buffered, refill 16, remaining 68
  ASSERT_TRUE(reader.Read(out.data() + 24, 40));  // 8 buffered, 32 directly, remaining 36
  EXPECT_EQ(source.mReads, (Sizes{16, 16, 32}));
  EXPECT_EQ(out, Bytes(bytes.begin(), bytes.begin() + 64));

  // Larger than what remains: read directly, nothing more is read ahead.
  Bytes rest(40);
  ASSERT_TRUE(reader.Read(rest.data(), 40));
  EXPECT_EQ(source.mReads.back(), 40u);
  EXPECT_EQ(rest, Bytes(bytes.begin() + 64, bytes.begin() + 104));
  ASSERT_TRUE(reader.Read(rest.data(), 2));
  EXPECT_EQ(source.mReads.back(), 2u);
  EXPECT_EQ(source.Position(), 106);
}

TEST(UUBufferedReaderTest, SkipConsumesBufferedBytesFirst) {
  Bytes bytes = Counting(100);
  RecordingMemory source(bytes);
  uint8_t buffer[16];
  UUBufferedReader reader(source, 100, buffer, sizeof buffer);
  uint8_t value = 0;
  ASSERT_TRUE(reader.Read(&value, 1));  // 15 bytes left in the buffer
  ASSERT_TRUE(reader.Skip(5));
  ASSERT_TRUE(reader.Read(&value, 1));
  EXPECT_EQ(value, 6);
  ASSERT_TRUE(reader.Skip(20));  // 9 buffered bytes, then 11 in the source
  EXPECT_EQ(source.mSkips, Sizes{11});
  ASSERT_TRUE(reader.Read(&value, 1));
  EXPECT_EQ(value, 27);
}

TEST(UUBufferedReaderTest, ByteOrderAndErrorsAreTheSources) {
  Bytes bytes = {'M', 'M', 0, 1, 2};
  RecordingMemory source(bytes);
  uint8_t buffer[16];
  UUBufferedReader reader(source, 5, buffer, sizeof buffer);
  int16_t value = 0;
  ASSERT_TRUE(reader.ReadByteOrderMark());
  EXPECT_EQ(source.GetByteOrder(), kUUSwappedByteOrder);
  ASSERT_TRUE(reader.ReadInt16s(&value, 1));
  EXPECT_EQ(value, 1);
  // One byte is left: the rest of the request goes to the source and fails.
  EXPECT_FALSE(reader.ReadInt16s(&value, 1));
  EXPECT_EQ(source.GetError(), kUUErrorMemoryOverrun);
  reader.SetError(kUUNoError);
  EXPECT_EQ(source.GetError(), kUUNoError);
}

}  // namespace
