#include "foundation/uu/UUIntegerVector.h"

#include <gtest/gtest.h>

namespace {

TEST(UUIntegerVectorTest, HypotAndScaling) {
  EXPECT_EQ(UUIntegerHypot(3, 4), 5);
  EXPECT_EQ(UUIntegerHypot(-3, 4), 5);
  EXPECT_EQ(UUIntegerHypot(0, 0), 0);
  EXPECT_EQ(UUIntegerHypot(30000, 40000), 50000);
  int32_t x = 3;
  int32_t y = 4;
  UUScaleVector(x, y, 10);
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 8);
  x = y = 0;
  UUScaleVector(x, y, 10);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

}  // namespace
