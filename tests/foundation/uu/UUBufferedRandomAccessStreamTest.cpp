#include "foundation/uu/UUBufferedRandomAccessStream.h"

#include "RecordingMemory.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(UUBufferedRandomAccessStreamTest, FlushPutsTheTargetAtTheLogicalPosition) {
  Bytes bytes(64);
  std::iota(bytes.begin(), bytes.end(), uint8_t{0});
  RecordingMemory target(bytes);
  uint8_t buffer[16];
  UUBufferedRandomAccessStream stream(target, buffer, sizeof buffer);
  uint8_t out[3];
  ASSERT_TRUE(stream.Read(out, 3));
  EXPECT_EQ(target.Position(), 16);
  ASSERT_TRUE(stream.Flush());
  EXPECT_EQ(target.Position(), 3);

  // Writing after reading continues at the logical position.
  ASSERT_TRUE(stream.Read(out, 2));
  const uint8_t mark[2] = {0xAA, 0xBB};
  ASSERT_TRUE(stream.Write(mark, 2));
  ASSERT_TRUE(stream.Flush());
  EXPECT_EQ(bytes[5], 0xAA);
  EXPECT_EQ(bytes[6], 0xBB);
  EXPECT_EQ(target.Position(), 7);
}

TEST(UUBufferedRandomAccessStreamTest, SeekFlushesWritesAndReadAheadStopsAtTheEnd) {
  Bytes bytes(20, 0);
  RecordingMemory target(bytes);
  uint8_t buffer[16];
  {
    UUBufferedRandomAccessStream stream(target, buffer, sizeof buffer);
    const uint8_t data[4] = {1, 2, 3, 4};
    ASSERT_TRUE(stream.Write(data, 4));
    EXPECT_TRUE(target.mWrites.empty());
    int32_t position = -1;
    ASSERT_TRUE(stream.Seek(18, kUUSeekFromStart, &position));
    EXPECT_EQ(position, 18);
    EXPECT_EQ(bytes[3], 4);

    uint8_t out[2];
    ASSERT_TRUE(stream.Read(out, 2));  // only 2 bytes remain to read ahead
    EXPECT_EQ(target.mReads.back(), 2u);
    EXPECT_FALSE(stream.Read(out, 1));
    EXPECT_EQ(stream.GetError(), kUUErrorMemoryOverrun);
    stream.SetError(kUUNoError);
    ASSERT_TRUE(stream.Skip(uint32_t{0}));
    ASSERT_TRUE(stream.Write(data, 2));
  }
  // The destructor flushed: writing after a read at the end overruns.
  EXPECT_EQ(target.GetError(), kUUErrorMemoryOverrun);
}

}  // namespace
