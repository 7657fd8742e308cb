#include "mm3d/MM3DMathFunctions.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

namespace {

// The integer square root, for tables built at compile time.
constexpr uint32_t IntegerSqrt(uint32_t n) {
  uint32_t root = 0;
  while ((root + 1) * (root + 1) <= n) ++root;
  return root;
}

// Entry i = floor((sqrt(f) - 1) x 128) with f = 1 + (i mod 128) / 128 below
// 128 and twice that from 128 on; f x 16384 is an integer, so the floor is
// the exact integer root of it, minus 128.
constexpr std::array<int16_t, 256> MakeSqrtTable() {
  std::array<int16_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    const uint32_t scaled = (16384 + 128 * (i % 128)) * (i < 128 ? 1 : 2);
    table[i] = static_cast<int16_t>(IntegerSqrt(scaled) - 128);
  }
  return table;
}

constexpr std::array<int16_t, 256> kSqrtTable = MakeSqrtTable();

constexpr std::array<uint8_t, 128> kInverseSqrtTable = {
    106, 103, 100, 98,  95,  92,  90,  87,  85,  83,  80,  78,  76,  74,  72,  70,  68,  66,  64,
    62,  60,  58,  56,  54,  52,  51,  49,  47,  46,  44,  42,  41,  39,  38,  36,  35,  33,  32,
    31,  29,  28,  26,  25,  24,  22,  21,  20,  19,  17,  16,  15,  14,  13,  12,  10,  9,   8,
    7,   6,   5,   4,   3,   2,   1,   255, 252, 248, 244, 240, 237, 233, 230, 226, 223, 220, 217,
    214, 211, 208, 205, 202, 199, 196, 193, 191, 188, 185, 183, 180, 178, 176, 173, 171, 168, 166,
    164, 162, 160, 158, 155, 153, 151, 149, 147, 145, 143, 142, 140, 138, 136, 134, 133, 131, 129,
    127, 126, 124, 122, 121, 119, 118, 116, 115, 113, 112, 110, 109, 107};

float Cos(float x) { return std::cos(x); }
float ArcCos(float x) { return std::acos(x); }
float Sin(float x) { return std::sin(x); }
float ArcSin(float x) { return std::asin(x); }
float Tan(float x) { return std::tan(x); }
float ArcTan(float x) { return std::atan(x); }
float ArcTan2(float y, float x) { return std::atan2(y, x); }
float Sqrt(float x) { return static_cast<float>(std::sqrt(static_cast<double>(x))); }
float Abs(float x) { return std::fabs(x); }
float Pow(float base, float exponent) { return std::pow(base, exponent); }
float Fmod(float dividend, float divisor) { return std::fmod(dividend, divisor); }
float Floor(float x) { return static_cast<float>(std::floor(static_cast<double>(x))); }
float Ceil(float x) { return static_cast<float>(std::ceil(static_cast<double>(x))); }

}  // namespace

constinit const MM3DMathFunctionTable MM3DMathFunctions = {
    .mCos = Cos,
    .mArcCos = ArcCos,
    .mSin = Sin,
    .mArcSin = ArcSin,
    .mTan = Tan,
    .mArcTan = ArcTan,
    .mArcTan2 = ArcTan2,
    .mSqrt = Sqrt,
    .mFastSqrt = MM3DFastSqrt,
    .mFastInverseSqrt = MM3DFastInverseSqrt,
    .mAbs = Abs,
    .mPow = Pow,
    .mFmod = Fmod,
    .mFloor = Floor,
    .mCeil = Ceil,
};

float MM3DFastSqrt(float x) {
  if (!(x > 0.0f)) return 0.0f;
  const auto bits = std::bit_cast<uint32_t>(x);
  const int32_t exponent = static_cast<int32_t>((bits >> 23) & 0xFF) - 127;
  uint32_t mantissa = bits & 0x7FFFFF;
  if ((exponent & 1) != 0) mantissa |= 1u << 23;
  const uint32_t index = mantissa >> 16;
  // exponent >> 1 is floor(exponent / 2) for negative exponents too.
  const auto halfExponent = static_cast<uint32_t>((exponent >> 1) + 127);
  const auto estimateBits = (halfExponent << 23) | (static_cast<uint32_t>(kSqrtTable[index]) << 16);
  const auto y = std::bit_cast<float>(estimateBits);
  return y * (3.0f - y * y / x) * 0.5f;
}

float MM3DFastInverseSqrt(float x) {
  const auto bits = std::bit_cast<uint32_t>(x);
  const uint32_t biasedExponent = (bits >> 23) & 0xFF;
  uint32_t estimateBits = (0x5F000000u - (biasedExponent << 22)) & 0xFF800000u;
  estimateBits |= static_cast<uint32_t>(kInverseSqrtTable[(bits >> 17) & 0x7F]) << 15;
  const auto y = std::bit_cast<float>(estimateBits);
  return y * (3.0f - x * y * y) * 0.5f;
}

int32_t MM3DTruncate(double x) {
  // The range test fails for NaN as well.
  if (!(x > -2147483649.0 && x < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(x);
}

int32_t MM3DTruncate(float x) { return MM3DTruncate(static_cast<double>(x)); }

int32_t MM3DRoundHalfAway(float x) { return MM3DTruncate(x >= 0.0f ? x + 0.5f : x - 0.5f); }
