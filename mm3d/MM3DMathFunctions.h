#pragma once
// The engine's table of float math functions, fixed at build time, and its
// two table-driven roots. Every trigonometric, root and rounding call of
// the engine goes through the table, so one place decides their precision.

#include <cstdint>

struct MM3DMathFunctionTable {
  float (*mCos)(float radians);
  float (*mArcCos)(float x);
  float (*mSin)(float radians);
  float (*mArcSin)(float x);
  float (*mTan)(float radians);
  float (*mArcTan)(float x);
  float (*mArcTan2)(float y, float x);
  // Computed in double, rounded to single precision.
  float (*mSqrt)(float x);
  float (*mFastSqrt)(float x);
  float (*mFastInverseSqrt)(float x);
  float (*mAbs)(float x);
  float (*mPow)(float base, float exponent);
  // The remainder with the sign of the dividend.
  float (*mFmod)(float dividend, float divisor);
  // Floor and ceiling are computed in double precision.
  float (*mFloor)(float x);
  float (*mCeil)(float x);
};

extern const MM3DMathFunctionTable MM3DMathFunctions;

// 0 for x not above 0; otherwise a 7-bit table estimate refined by one
// Newton step (about 1 part in 10,000).
float MM3DFastSqrt(float x);
// 1 / sqrt(x) from a 7-bit table estimate and one Newton step; x is not
// tested.
float MM3DFastInverseSqrt(float x);

// Conversion to a 32-bit integer toward zero. A value outside the 32-bit
// range, or NaN, gives INT32_MIN, as the processor's own conversion does.
int32_t MM3DTruncate(float x);
int32_t MM3DTruncate(double x);
// v + 0.5 for v >= 0, v - 0.5 below, then truncated.
int32_t MM3DRoundHalfAway(float x);

// 2 pi as the engine's single-precision constant.
constexpr float kMM3DTwoPi = 6.2831855f;
