#pragma once
// The 20.12 fixed-point number (n / 4096) and the integer vectors of the
// fixed-point pipeline: MM3DFixedVector of 20.12 components and
// MM3DShortVector of 16-bit integer positions or unit directions in 1/4096.

#include <cstdint>

class UUReader;
class UUWriter;

// (a x b + 2048) >> 12 over 64 bits; the low 32 bits.
int32_t MM3DFixedMultiply(int32_t a, int32_t b);
// (a << 12) / b over 64 bits, truncated toward zero; the low 32 bits. A
// divisor of 0 gives the largest value of the dividend's sign (0 for 0).
int32_t MM3DFixedDivide(int32_t a, int32_t b);

class MM3DFixedVector {
 public:
  // (x/4096)^2 + (y/4096)^2 + (z/4096)^2.
  float LengthSquared() const;
  // x, y, z divided by the divisor in 20.12; w kept.
  void Divide(float divisor);
  float Dot(const MM3DFixedVector& other) const;
  // The float cross product of the components, back in 20.12; keeps w.
  MM3DFixedVector Cross(const MM3DFixedVector& other) const;
  // Index 0 x, 1 y, 2 z, 3 w; any other index changes nothing.
  void SetComponent(int index, float value);
  // 1 y, 2 z, 3 w, any other index x.
  float GetComponent(int index) const;

  int32_t mX;
  int32_t mY;
  int32_t mZ;
  int32_t mW;
};

class MM3DShortVector {
 public:
  float Dot(const MM3DShortVector& other) const;
  // Each component rounded half away from zero to 16 bits; keeps w.
  MM3DShortVector Cross(const MM3DShortVector& other) const;

  int16_t mX;
  int16_t mY;
  int16_t mZ;
  int16_t mW;
};

// Four floats per vector, the components / 4096; false at the first failure.
bool MM3DWriteFixedVectors(UUWriter& writer, const MM3DFixedVector* vectors, int32_t count);
// Each float x 4096 truncated; false at the first failure.
bool MM3DReadFixedVectors(UUReader& reader, MM3DFixedVector* vectors, int32_t count);
// The components as floats; read back rounded half away from zero.
bool MM3DWriteShortVectors(UUWriter& writer, const MM3DShortVector* vectors, int32_t count);
bool MM3DReadShortVectors(UUReader& reader, MM3DShortVector* vectors, int32_t count);
