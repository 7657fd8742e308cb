#include "foundation/uu/UURingQueue.h"

#include <gtest/gtest.h>

namespace {

TEST(UURingQueueTest, HoldsCapacityMinusOneElements) {
  int32_t slots[4];
  UURingQueue queue(sizeof(int32_t), 4, slots);
  EXPECT_EQ(queue.Front(), nullptr);
  EXPECT_EQ(queue.Back(), nullptr);
  for (int32_t value : {1, 2, 3}) EXPECT_TRUE(queue.Push(&value));
  const int32_t fourth = 4;
  EXPECT_FALSE(queue.Push(&fourth));
  EXPECT_EQ(*static_cast<int32_t*>(queue.Front()), 1);
  EXPECT_EQ(*static_cast<int32_t*>(queue.Back()), 3);
  queue.Pop();
  EXPECT_TRUE(queue.Push(&fourth));  // wraps around
  EXPECT_EQ(*static_cast<int32_t*>(queue.Back()), 4);
  EXPECT_EQ(*static_cast<int32_t*>(queue.Front()), 2);
}

}  // namespace
