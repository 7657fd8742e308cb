#include "foundation/uu/UUBufferedWriter.h"

#include "RecordingMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Sizes = std::vector<uint32_t>;

TEST(UUBufferedWriterTest, CollectsSmallWritesAndFlushesOnDestruction) {
  Bytes bytes(32, 0);
  RecordingMemory sink(bytes);
  {
    uint8_t buffer[8];
    UUBufferedWriter writer(sink, buffer, sizeof buffer);
    const uint8_t five[5] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(writer.Write(five, 5));
    ASSERT_TRUE(writer.Write(five, 5));
    EXPECT_EQ(sink.mWrites, Sizes{8});
    const Bytes large(9, 9);
    ASSERT_TRUE(writer.Write(large.data(), 9));  // 6 fill the buffer, 3 stay
    EXPECT_EQ(sink.mWrites, (Sizes{8, 8}));
    const Bytes huge(12, 7);
    ASSERT_TRUE(writer.Write(huge.data(), 12));  // 5 fill it, 7 are collected
    EXPECT_EQ(sink.mWrites, (Sizes{8, 8, 8}));
  }
  EXPECT_EQ(sink.mWrites, (Sizes{8, 8, 8, 7}));
  EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 5, 1, 2, 3, 4, 5, 9, 9, 9, 9, 9, 9,
                          9, 9, 9, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 0}));
}

TEST(UUBufferedWriterTest, WriteAsLargeAsTheBufferGoesStraightThrough) {
  Bytes bytes(32, 0);
  RecordingMemory sink(bytes);
  uint8_t buffer[8];
  UUBufferedWriter writer(sink, buffer, sizeof buffer);
  const Bytes block(20, 3);
  ASSERT_TRUE(writer.Write(block.data(), 20));
  EXPECT_EQ(sink.mWrites, (Sizes{8, 12}));
  ASSERT_TRUE(writer.Flush());
  EXPECT_EQ(sink.mWrites.size(), 2u);
}

TEST(UUBufferedWriterTest, SinkErrorIsReportedByFlush) {
  Bytes bytes(4, 0);
  RecordingMemory sink(bytes);
  uint8_t buffer[8];
  UUBufferedWriter writer(sink, buffer, sizeof buffer);
  const Bytes block(6, 1);
  EXPECT_TRUE(writer.Write(block.data(), 6));
  EXPECT_FALSE(writer.Flush());
  EXPECT_EQ(writer.GetError(), kUUErrorMemoryOverrun);
  EXPECT_EQ(bytes, Bytes(4, 0));
}

}  // namespace
