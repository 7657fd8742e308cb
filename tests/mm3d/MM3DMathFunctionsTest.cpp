#include "mm3d/MM3DMathFunctions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

TEST(MM3DMathFunctionsTest, FastSqrtIsZeroForZeroNegativeAndNaN) {
  EXPECT_EQ(MM3DFastSqrt(0.0f), 0.0f);
  EXPECT_EQ(MM3DFastSqrt(-4.0f), 0.0f);
  EXPECT_EQ(MM3DFastSqrt(std::numeric_limits<float>::quiet_NaN()), 0.0f);
}

// Odd and even exponents, below and above 1, take both halves of the table.
TEST(MM3DMathFunctionsTest, FastSqrtIsWithinOnePartInAThousand) {
  for (float x : {4.0f, 2.0f, 0.5f, 0.3f, 1.0f, 3.99f, 1e-6f, 12345.678f, 1e20f}) {
    const float exact = std::sqrt(x);
    EXPECT_NEAR(MM3DFastSqrt(x), exact, exact * 0.001f) << x;
  }
}

TEST(MM3DMathFunctionsTest, FastInverseSqrtIsWithinOnePartInAThousand) {
  for (float x : {4.0f, 1.0f, 2.0f, 0.25f, 0.7f, 3.0f, 1e-6f, 98765.0f}) {
    const float exact = 1.0f / std::sqrt(x);
    EXPECT_NEAR(MM3DFastInverseSqrt(x), exact, exact * 0.001f) << x;
  }
}

TEST(MM3DMathFunctionsTest, TheTableAnswersInItsOrder) {
  const MM3DMathFunctionTable& f = MM3DMathFunctions;
  EXPECT_FLOAT_EQ(f.mCos(0.0f), 1.0f);
  EXPECT_FLOAT_EQ(f.mArcCos(1.0f), 0.0f);
  EXPECT_FLOAT_EQ(f.mSin(kMM3DTwoPi / 4.0f), 1.0f);
  EXPECT_FLOAT_EQ(f.mArcSin(1.0f), kMM3DTwoPi / 4.0f);
  EXPECT_FLOAT_EQ(f.mTan(kMM3DTwoPi / 8.0f), 1.0f);
  EXPECT_FLOAT_EQ(f.mArcTan(1.0f), kMM3DTwoPi / 8.0f);
  EXPECT_FLOAT_EQ(f.mArcTan2(1.0f, -1.0f), 3.0f * kMM3DTwoPi / 8.0f);
  EXPECT_EQ(f.mSqrt(2.0f), std::sqrt(2.0f));
  EXPECT_EQ(f.mFastSqrt(9.0f), MM3DFastSqrt(9.0f));
  EXPECT_EQ(f.mFastInverseSqrt(9.0f), MM3DFastInverseSqrt(9.0f));
  EXPECT_EQ(f.mAbs(-2.5f), 2.5f);
  EXPECT_EQ(f.mPow(2.0f, 10.0f), 1024.0f);
  EXPECT_EQ(f.mFmod(-5.5f, 2.0f), -1.5f);
  EXPECT_EQ(f.mFloor(-0.5f), -1.0f);
  EXPECT_EQ(f.mCeil(-0.5f), 0.0f);
}

TEST(MM3DMathFunctionsTest, TruncationGivesTheProcessorsAnswerOutsideTheRange) {
  EXPECT_EQ(MM3DTruncate(-2.9f), -2);
  EXPECT_EQ(MM3DTruncate(2.9f), 2);
  EXPECT_EQ(MM3DTruncate(3e9f), INT32_MIN);
  EXPECT_EQ(MM3DTruncate(-3e9f), INT32_MIN);
  EXPECT_EQ(MM3DTruncate(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(MM3DRoundHalfAway(2.5f), 3);
  EXPECT_EQ(MM3DRoundHalfAway(-2.5f), -3);
  EXPECT_EQ(MM3DRoundHalfAway(-2.4f), -2);
}

}  // namespace
