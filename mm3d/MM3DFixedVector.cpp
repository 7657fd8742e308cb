#include "mm3d/MM3DFixedVector.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DMatrix.h"

#include <cstdint>

namespace {

constexpr float kOne = 4096.0f;

float ToFloat(int32_t fixed) { return static_cast<float>(fixed) / kOne; }
int32_t ToFixed(float value) { return MM3DTruncate(value * kOne); }
int16_t ToShort(float value) { return static_cast<int16_t>(MM3DRoundHalfAway(value)); }

// The four sums of a row vector of integer components times the matrix.
void ColumnSums(const MM3DMatrix& matrix, float x, float y, float z, float w, float (&sums)[4]) {
  const auto& m = matrix.mElement;
  for (int c = 0; c < 4; ++c) sums[c] = x * m[0][c] + y * m[1][c] + z * m[2][c] + w * m[3][c];
}

template <typename Vector, typename Convert>
void TransformInteger(const MM3DMatrix& matrix, Vector& out, const Vector& v, Convert convert) {
  float sums[4];
  ColumnSums(matrix, static_cast<float>(v.mX), static_cast<float>(v.mY), static_cast<float>(v.mZ),
             static_cast<float>(v.mW), sums);

  out.mX = convert(sums[0]);
  out.mY = convert(sums[1]);
  out.mZ = convert(sums[2]);
  out.mW = convert(sums[3]);
}

}  // namespace

int32_t MM3DFixedMultiply(int32_t a, int32_t b) {
  return static_cast<int32_t>((int64_t{a} * b + 2048) >> 12);
}

int32_t MM3DFixedDivide(int32_t a, int32_t b) {
  if (b == 0) return a > 0 ? INT32_MAX : (a < 0 ? INT32_MIN : 0);
  return static_cast<int32_t>((int64_t{a} << 12) / b);
}

float MM3DFixedVector::LengthSquared() const {
  const float x = ToFloat(mX);
  const float y = ToFloat(mY);
  const float z = ToFloat(mZ);
  return x * x + y * y + z * z;
}

void MM3DFixedVector::Divide(float divisor) {
  const int32_t fixedDivisor = ToFixed(divisor);
  mX = MM3DFixedDivide(mX, fixedDivisor);
  mY = MM3DFixedDivide(mY, fixedDivisor);
  mZ = MM3DFixedDivide(mZ, fixedDivisor);
}

float MM3DFixedVector::Dot(const MM3DFixedVector& other) const {
  // The 32-bit sum wraps like the pipeline's integer adds.
  const uint32_t sum = static_cast<uint32_t>(MM3DFixedMultiply(mX, other.mX)) +
                       static_cast<uint32_t>(MM3DFixedMultiply(mY, other.mY)) +
                       static_cast<uint32_t>(MM3DFixedMultiply(mZ, other.mZ));
  return ToFloat(static_cast<int32_t>(sum));
}

MM3DFixedVector MM3DFixedVector::Cross(const MM3DFixedVector& other) const {
  const float x1 = ToFloat(mX);
  const float y1 = ToFloat(mY);
  const float z1 = ToFloat(mZ);
  const float x2 = ToFloat(other.mX);
  const float y2 = ToFloat(other.mY);
  const float z2 = ToFloat(other.mZ);
  return MM3DFixedVector{ToFixed(y1 * z2 - z1 * y2), ToFixed(z1 * x2 - x1 * z2),
                         ToFixed(x1 * y2 - y1 * x2), mW};
}

void MM3DFixedVector::SetComponent(int index, float value) {
  int32_t* components[] = {&mX, &mY, &mZ, &mW};
  if (index >= 0 && index < 4) *components[index] = ToFixed(value);
}

float MM3DFixedVector::GetComponent(int index) const {
  switch (index) {
    case 1:
      return ToFloat(mY);
    case 2:
      return ToFloat(mZ);
    case 3:
      return ToFloat(mW);
    default:
      return ToFloat(mX);
  }
}

float MM3DShortVector::Dot(const MM3DShortVector& other) const {
  return static_cast<float>(int64_t{mX} * other.mX + int64_t{mY} * other.mY +
                            int64_t{mZ} * other.mZ);
}

MM3DShortVector MM3DShortVector::Cross(const MM3DShortVector& other) const {
  const float x1 = mX;
  const float y1 = mY;
  const float z1 = mZ;
  const float x2 = other.mX;
  const float y2 = other.mY;
  const float z2 = other.mZ;
  return MM3DShortVector{ToShort(y1 * z2 - z1 * y2), ToShort(z1 * x2 - x1 * z2),
                         ToShort(x1 * y2 - y1 * x2), mW};
}

void MM3DMatrix::TransformPoint(MM3DFixedVector& out, const MM3DFixedVector& v) const {
  TransformInteger(*this, out, v, [](float sum) { return MM3DTruncate(sum); });
}

void MM3DMatrix::TransformDirection(MM3DFixedVector& out, const MM3DFixedVector& v) const {
  TransformPoint(out, v);
}

void MM3DMatrix::TransformPoints(MM3DFixedVector* out, const MM3DFixedVector* in,
                                 int32_t count) const {
  for (int32_t i = 0; i < count; ++i) TransformPoint(out[i], in[i]);
}

void MM3DMatrix::TransformDirections(MM3DFixedVector* out, const MM3DFixedVector* in,
                                     int32_t count) const {
  for (int32_t i = 0; i < count; ++i) TransformDirection(out[i], in[i]);
}

void MM3DMatrix::TransformPoint(MM3DShortVector& out, const MM3DShortVector& v) const {
  TransformInteger(*this, out, v, [](float sum) { return ToShort(sum); });
}

void MM3DMatrix::TransformDirection(MM3DShortVector& out, const MM3DShortVector& v) const {
  TransformInteger(*this, out, v, [](float sum) { return ToShort(sum / kOne); });
}

void MM3DMatrix::TransformPoints(MM3DShortVector* out, const MM3DShortVector* in,
                                 int32_t count) const {
  for (int32_t i = 0; i < count; ++i) TransformPoint(out[i], in[i]);
}

void MM3DMatrix::TransformDirections(MM3DShortVector* out, const MM3DShortVector* in,
                                     int32_t count) const {
  for (int32_t i = 0; i < count; ++i) TransformDirection(out[i], in[i]);
}

namespace {

template <typename Vector, typename ToStored>
bool WriteVectors(UUWriter& writer, const Vector* vectors, int32_t count, ToStored toStored) {
  for (int32_t i = 0; i < count; ++i) {
    const Vector& v = vectors[i];
    const float values[4] = {toStored(v.mX), toStored(v.mY), toStored(v.mZ), toStored(v.mW)};
    if (!writer.WriteFloats(values, 4)) return false;
  }
  return true;
}

template <typename Vector, typename FromStored>
bool ReadVectors(UUReader& reader, Vector* vectors, int32_t count, FromStored fromStored) {
  for (int32_t i = 0; i < count; ++i) {
    float values[4];
    if (!reader.ReadFloats(values, 4)) return false;
    vectors[i] = Vector{fromStored(values[0]), fromStored(values[1]), fromStored(values[2]),
                        fromStored(values[3])};
  }
  return true;
}

}  // namespace

bool MM3DWriteFixedVectors(UUWriter& writer, const MM3DFixedVector* vectors, int32_t count) {
  return WriteVectors(writer, vectors, count, ToFloat);
}

bool MM3DReadFixedVectors(UUReader& reader, MM3DFixedVector* vectors, int32_t count) {
  return ReadVectors(reader, vectors, count, ToFixed);
}

bool MM3DWriteShortVectors(UUWriter& writer, const MM3DShortVector* vectors, int32_t count) {
  return WriteVectors(writer, vectors, count, [](int16_t n) { return static_cast<float>(n); });
}

bool MM3DReadShortVectors(UUReader& reader, MM3DShortVector* vectors, int32_t count) {
  return ReadVectors(reader, vectors, count, ToShort);
}
