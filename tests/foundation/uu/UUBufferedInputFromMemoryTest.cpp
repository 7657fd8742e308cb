#include "foundation/uu/UUBufferedInputFromMemory.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(UUBufferedInputFromMemoryTest, OffersEverythingAtOnceAndStaysInsideItsBytes) {
  const uint8_t bytes[] = {1, 2, 3, 4, 5};
  UUBufferedInputFromMemory input(bytes, 5);
  const uint8_t* at = nullptr;
  EXPECT_FALSE(input.IsByteSwapped());
  EXPECT_EQ(input.Peek(&at), 5);
  EXPECT_EQ(at, bytes);
  EXPECT_EQ(input.Consume(2), 2);
  EXPECT_EQ(input.Peek(&at), 3);
  EXPECT_EQ(*at, 3);
  EXPECT_EQ(input.Consume(10), 3);
  EXPECT_TRUE(input.AtEnd());
  EXPECT_EQ(input.Seek(9), 5);
  EXPECT_EQ(input.Seek(-1), 0);
  EXPECT_EQ(input.Seek(4), 4);
  EXPECT_EQ(input.GetPosition(), 4);
  EXPECT_TRUE(UUBufferedInputFromMemory(bytes, 0, true).IsByteSwapped());
  EXPECT_TRUE(UUBufferedInputFromMemory(bytes, -3).AtEnd());
}

}  // namespace
