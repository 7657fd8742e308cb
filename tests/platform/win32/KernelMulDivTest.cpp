#include "platform/win32/kernel.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(KernelMulDivTest, RoundsHalfAwayFromZeroAndAnswersMinusOneWhenItCannot) {
  struct Case {
    int number;
    int numerator;
    int denominator;
    int expected;
  };
  for (const Case& c :
       {Case{10, 3, 4, 8}, Case{-10, 3, 4, -8}, Case{10, -3, 4, -8}, Case{10, 3, -4, -8},
        Case{9, 3, 4, 7}, Case{12, 300, 72, 50}, Case{300, 256, 600, 128},
        Case{INT_MAX, 2, 2, INT_MAX}, Case{INT_MAX, 2, 1, -1}, Case{5, 7, 0, -1}}) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " x " << c.numerator << " / " << c.denominator;
  }
}

}  // namespace
