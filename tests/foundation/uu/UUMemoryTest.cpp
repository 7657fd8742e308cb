#include "foundation/uu/UUMemory.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

TEST(UUMemoryTest, SeekStaysInsideTheBlock) {
  Bytes block(8);
  struct Case {
    int32_t offset;
    int32_t origin;
    int32_t expected;  // -1: refused
  } cases[] = {
      {8, kUUSeekFromStart, 8},        {9, kUUSeekFromStart, -1}, {-1, kUUSeekFromStart, -1},
      {0, kUUSeekFromEnd, 8},          {-8, kUUSeekFromEnd, 0},   {1, kUUSeekFromEnd, -1},
      {INT32_MAX, kUUSeekFromEnd, -1},
  };
  for (const Case& c : cases) {
    UUMemory stream(block.data(), 8);
    stream.Seek(3, kUUSeekFromStart, nullptr);
    int32_t position = 42;
    EXPECT_EQ(stream.Seek(c.offset, c.origin, &position), c.expected >= 0) << c.offset;
    EXPECT_EQ(position, c.expected) << c.offset;
    EXPECT_EQ(stream.GetError(), c.expected >= 0 ? kUUNoError : kUUErrorMemoryOverrun);
    // A refused position is not taken: after clearing, the stream is at 3.
    stream.SetError(kUUNoError);
    if (c.expected < 0) {
      EXPECT_TRUE(stream.Tell(&position));
      EXPECT_EQ(position, 3);
    }
  }
}

TEST(UUMemoryTest, OverrunCopiesNothingAndSetsMinusOne) {
  Bytes block = {1, 2, 3, 4, 5, 6, 7, 8};
  UUMemory stream(block.data(), 8);
  ASSERT_TRUE(stream.Seek(6, kUUSeekFromStart, nullptr));
  uint8_t out[4] = {0, 0, 0, 0};
  EXPECT_FALSE(stream.Read(out, 4));
  EXPECT_EQ(stream.GetError(), kUUErrorMemoryOverrun);
  EXPECT_EQ(Bytes(out, out + 4), Bytes(4, 0));
  EXPECT_FALSE(stream.Read(out, 1));  // the error sticks

  stream.SetError(kUUNoError);
  EXPECT_FALSE(stream.Write(out, 3));
  EXPECT_EQ(block[6], 7);
  stream.SetError(kUUNoError);
  EXPECT_TRUE(stream.Read(out, 2));
  EXPECT_EQ(out[1], 8);
}

TEST(UUMemoryTest, SkipTellAndLength) {
  Bytes block(100);
  UUMemory stream(block.data(), 100);
  int32_t position = 0;
  int32_t length = 0;
  EXPECT_TRUE(stream.Skip(10));
  EXPECT_TRUE(stream.GetLength(&length));
  EXPECT_EQ(length, 100);
  EXPECT_TRUE(stream.Tell(&position));
  EXPECT_EQ(position, 10);
  EXPECT_FALSE(stream.Skip(91));
  EXPECT_FALSE(stream.GetLength(&length));
  EXPECT_EQ(length, -1);
  EXPECT_FALSE(stream.Tell(&position));
  EXPECT_EQ(position, -1);
}

}  // namespace
