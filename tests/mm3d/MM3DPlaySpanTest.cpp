#include "mm3d/MM3DPlaySpan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

TEST(MM3DPlaySpanTest, SecondsBecomeTruncatedMillisecondsThatSaturate) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  const struct {
    float seconds;
    int32_t milliseconds;
  } kCases[] = {
      {0.0f, 0},        {1.5f, 1500},         {-0.0025f, -2},        {3e6f, INT_MAX},
      {-3e6f, INT_MIN}, {kInfinity, INT_MAX}, {-kInfinity, INT_MIN}, {std::nanf(""), 0},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MM3DPlaySpan::ToMilliseconds(c.seconds), c.milliseconds) << c.seconds;
  }
}

}  // namespace
