#include "mm3d/MM3DMatrix.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMathFunctions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

constexpr float kApproxTolerance = 0.00001f;
constexpr float kOrthonormalTolerance = 0.00004f;

float FixedAngleToRadians(int16_t angle) { return angle * kMM3DTwoPi / 4096.0f; }

}  // namespace

constinit const MM3DMatrix MM3DMatrixIdentity = {{
    {1.0f, 0.0f, 0.0f, 0.0f},
    {0.0f, 1.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 1.0f},
}};

void MM3DMatrix::SetIdentity() { *this = MM3DMatrixIdentity; }

bool MM3DMatrix::operator==(const MM3DMatrix& other) const {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      if (mElement[r][c] != other.mElement[r][c]) return false;
    }
  }
  return true;
}

bool MM3DMatrix::ApproxEquals(const MM3DMatrix& other) const {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      const float difference = other.mElement[r][c] - mElement[r][c];
      if (!(difference < kApproxTolerance && difference > -kApproxTolerance)) return false;
    }
  }
  return true;
}

bool MM3DMatrix::IsIdentity() const { return ApproxEquals(MM3DMatrixIdentity); }

MM3DMatrix& MM3DMatrix::operator+=(const MM3DMatrix& other) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) mElement[r][c] += other.mElement[r][c];
  }
  return *this;
}

MM3DMatrix& MM3DMatrix::operator-=(const MM3DMatrix& other) {
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) mElement[r][c] -= other.mElement[r][c];
  }
  return *this;
}

void MM3DMatrix::ScaleElements(float factor) {
  for (auto& row : mElement) {
    for (float& element : row) element *= factor;
  }
}

MM3DMatrix& MM3DMatrix::operator*=(const MM3DMatrix& other) {
  const MM3DMatrix left = *this;
  MM3DMatrixMultiply(*this, left, other);
  return *this;
}

void MM3DMatrix::TransformPoint(MM3DVector& out, const MM3DVector& v) const {
  const auto& m = mElement;
  out.mX = v.mX * m[0][0] + v.mY * m[1][0] + v.mZ * m[2][0] + v.mW * m[3][0];
  out.mY = v.mX * m[0][1] + v.mY * m[1][1] + v.mZ * m[2][1] + v.mW * m[3][1];
  out.mZ = v.mX * m[0][2] + v.mY * m[1][2] + v.mZ * m[2][2] + v.mW * m[3][2];
  out.mW = v.mX * m[0][3] + v.mY * m[1][3] + v.mZ * m[2][3] + v.mW * m[3][3];
}

void MM3DMatrix::TransformDirection(MM3DVector& out, const MM3DVector& v) const {
  TransformPoint(out, v);
}

void MM3DMatrix::TransformPoints(MM3DVector* out, const MM3DVector* in, int32_t count) const {
  for (int32_t i = 0; i < count; ++i) TransformPoint(out[i], in[i]);
}

void MM3DMatrix::TransformDirections(MM3DVector* out, const MM3DVector* in, int32_t count) const {
  for (int32_t i = 0; i < count; ++i) TransformDirection(out[i], in[i]);
}

void MM3DMatrix::Transpose() {
  for (int r = 0; r < 4; ++r) {
    for (int c = r + 1; c < 4; ++c) std::swap(mElement[r][c], mElement[c][r]);
  }
}

namespace {

// The determinant of the upper 3x3 part, its positive and negative triple
// products summed apart so that the larger terms do not swallow the small.
float Determinant3x3(const float (&m)[4][4]) {
  const float products[6] = {
      m[0][0] * m[1][1] * m[2][2],  m[0][1] * m[1][2] * m[2][0],  m[0][2] * m[1][0] * m[2][1],
      -m[0][2] * m[1][1] * m[2][0], -m[0][1] * m[1][0] * m[2][2], -m[0][0] * m[1][2] * m[2][1],
  };
  float positive = 0.0f;
  float negative = 0.0f;
  for (float product : products) {
    if (product >= 0.0f) {
      positive += product;
    } else {
      negative += product;
    }
  }
  return positive + negative;
}

// The length given to an axis that a matrix flattens to nothing, as a
// share of its longest axis (or of 1 when every axis is flat).
constexpr float kTinyScale = 0.0001f;

using Axis = std::array<float, 3>;

Axis Cross(const Axis& a, const Axis& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

float LengthSquared(const Axis& a) { return a[0] * a[0] + a[1] * a[1] + a[2] * a[2]; }

// A direction at right angles to the non-zero ones of a and b: their cross
// product, else one across the single non-zero axis, else the fallback.
Axis Perpendicular(const Axis& a, const Axis& b, const Axis& fallback) {
  const Axis both = Cross(a, b);
  if (LengthSquared(both) != 0.0f) return both;
  const Axis& one = LengthSquared(a) != 0.0f ? a : b;
  if (LengthSquared(one) == 0.0f) return fallback;
  // Crossed with the unit axis it leans on least.
  size_t least = 0;
  for (size_t i = 1; i < 3; ++i) {
    if (std::fabs(one[i]) < std::fabs(one[least])) least = i;
  }
  Axis unit = {0.0f, 0.0f, 0.0f};
  unit[least] = 1.0f;
  return Cross(one, unit);
}

Axis Row(const float (&m)[4][4], size_t r) { return {m[r][0], m[r][1], m[r][2]}; }

bool HasInverse(const float (&m)[4][4]) { return std::isfinite(1.0f / Determinant3x3(m)); }

// Gives the axes of a 3x3 part with no inverse, shortest first, a tiny
// length at right angles to the others until it has one: a model
// flattened on an axis is then inverted as if barely thick there, and
// lighting through the inverse stays finite.
void Thicken(float (&m)[4][4]) {
  std::array<size_t, 3> order = {0, 1, 2};
  std::sort(order.begin(), order.end(), [&m](size_t a, size_t b) {
    return LengthSquared(Row(m, a)) < LengthSquared(Row(m, b));
  });
  const float longest = std::sqrt(LengthSquared(Row(m, order[2])));
  const float tiny = kTinyScale * (longest > 0.0f ? longest : 1.0f);
  for (size_t r : order) {
    if (HasInverse(m)) return;
    Axis fallback = {0.0f, 0.0f, 0.0f};
    fallback[r] = 1.0f;
    const Axis p = Perpendicular(Row(m, (r + 1) % 3), Row(m, (r + 2) % 3), fallback);
    const float scale = tiny / std::sqrt(LengthSquared(p));
    for (size_t c = 0; c < 3; ++c) m[r][c] += scale * p[c];
  }
}

// The fourth column (0, 0, 0, 1) and the translation row minus the old
// translation times the new 3x3 part.
void InvertTranslation(MM3DMatrix& inverse, const float (&t)[3]) {
  auto& m = inverse.mElement;
  for (int c = 0; c < 3; ++c) {
    m[3][c] = -(t[0] * m[0][c] + t[1] * m[1][c] + t[2] * m[2][c]);
    m[c][3] = 0.0f;
  }
  m[3][3] = 1.0f;
}

}  // namespace

void MM3DMatrix::InvertAffine() {
  if (ApproxEquals(MM3DMatrixIdentity)) {
    SetIdentity();
    return;
  }
  MM3DMatrix invertible = *this;
  if (!HasInverse(invertible.mElement)) Thicken(invertible.mElement);
  const auto& m = invertible.mElement;
  const float inverseDeterminant = 1.0f / Determinant3x3(m);
  MM3DMatrix inverse;
  auto& n = inverse.mElement;
  n[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) * inverseDeterminant;
  n[0][1] = -(m[2][2] * m[0][1] - m[0][2] * m[2][1]) * inverseDeterminant;
  n[0][2] = (m[0][1] * m[1][2] - m[1][1] * m[0][2]) * inverseDeterminant;
  n[1][0] = -(m[2][2] * m[1][0] - m[2][0] * m[1][2]) * inverseDeterminant;
  n[1][1] = (m[2][2] * m[0][0] - m[0][2] * m[2][0]) * inverseDeterminant;
  n[1][2] = -(m[0][0] * m[1][2] - m[0][2] * m[1][0]) * inverseDeterminant;
  n[2][0] = (m[2][1] * m[1][0] - m[1][1] * m[2][0]) * inverseDeterminant;
  n[2][1] = -(m[2][1] * m[0][0] - m[0][1] * m[2][0]) * inverseDeterminant;
  n[2][2] = (m[1][1] * m[0][0] - m[1][0] * m[0][1]) * inverseDeterminant;
  InvertTranslation(inverse, {m[3][0], m[3][1], m[3][2]});
  *this = inverse;
}

void MM3DMatrix::InvertRigid() {
  if (ApproxEquals(MM3DMatrixIdentity)) {
    SetIdentity();
    return;
  }
  MM3DMatrix inverse;
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) inverse.mElement[r][c] = mElement[c][r];
  }
  InvertTranslation(inverse, {mElement[3][0], mElement[3][1], mElement[3][2]});
  *this = inverse;
}

bool MM3DMatrix::IsAffine() const {
  return mElement[0][3] == 0.0f && mElement[1][3] == 0.0f && mElement[2][3] == 0.0f &&
         mElement[3][3] == 1.0f;
}

bool MM3DMatrix::IsOrthonormal() const {
  const auto unit = [](float a, float b, float c) {
    const float difference = 1.0f - (a * a + b * b + c * c);
    return difference > -kOrthonormalTolerance && difference < kOrthonormalTolerance;
  };
  const auto& m = mElement;
  for (int i = 0; i < 3; ++i) {
    if (!unit(m[i][0], m[i][1], m[i][2])) return false;
  }
  for (int i = 0; i < 3; ++i) {
    if (!unit(m[0][i], m[1][i], m[2][i])) return false;
  }
  return true;
}

bool MM3DMatrix::Write(UUWriter& writer) const { return writer.WriteFloats(&mElement[0][0], 16); }

bool MM3DMatrix::Read(UUReader& reader) {
  MM3DMatrix read;
  if (!reader.ReadFloats(&read.mElement[0][0], 16)) return false;
  *this = read;
  return true;
}

void MM3DMatrixMultiply(MM3DMatrix& out, const MM3DMatrix& a, const MM3DMatrix& b) {
  const auto& x = a.mElement;
  const auto& y = b.mElement;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      out.mElement[r][c] =
          x[r][0] * y[0][c] + x[r][1] * y[1][c] + x[r][2] * y[2][c] + x[r][3] * y[3][c];
    }
  }
}

void MM3DMatrixTranslation(MM3DMatrix& out, float tx, float ty, float tz) {
  out = MM3DMatrixIdentity;
  out.mElement[3][0] = tx;
  out.mElement[3][1] = ty;
  out.mElement[3][2] = tz;
}

void MM3DMatrixScale(MM3DMatrix& out, float sx, float sy, float sz) {
  out = MM3DMatrixIdentity;
  out.mElement[0][0] = sx;
  out.mElement[1][1] = sy;
  out.mElement[2][2] = sz;
}

namespace {

// A rotation in the plane of the axes a and b: a turns toward b.
void PlaneRotation(MM3DMatrix& out, int a, int b, float angle) {
  const float cosine = MM3DMathFunctions.mCos(angle);
  const float sine = MM3DMathFunctions.mSin(angle);
  out = MM3DMatrixIdentity;
  out.mElement[a][a] = cosine;
  out.mElement[a][b] = sine;
  out.mElement[b][a] = -sine;
  out.mElement[b][b] = cosine;
}

}  // namespace

void MM3DMatrixRotationX(MM3DMatrix& out, float angle) { PlaneRotation(out, 1, 2, angle); }

void MM3DMatrixRotationY(MM3DMatrix& out, float angle) { PlaneRotation(out, 2, 0, angle); }

void MM3DMatrixRotationZ(MM3DMatrix& out, float angle) { PlaneRotation(out, 0, 1, angle); }

void MM3DMatrixRotationXYZ(MM3DMatrix& out, float x, float y, float z) {
  MM3DMatrix rotationX;
  MM3DMatrix rotationY;
  MM3DMatrix rotationZ;
  MM3DMatrix xy;
  MM3DMatrixRotationX(rotationX, x);
  MM3DMatrixRotationY(rotationY, y);
  MM3DMatrixRotationZ(rotationZ, z);
  MM3DMatrixMultiply(xy, rotationX, rotationY);
  MM3DMatrixMultiply(out, xy, rotationZ);
}

void MM3DMatrixRotationAxis(MM3DMatrix& out, const MM3DVector& axis, float angle) {
  const float c = MM3DMathFunctions.mCos(angle);
  const float s = MM3DMathFunctions.mSin(angle);
  const float t = 1.0f - c;
  const float x = axis.mX;
  const float y = axis.mY;
  const float z = axis.mZ;
  out = MM3DMatrixIdentity;
  auto& m = out.mElement;
  m[0][0] = c + t * x * x;
  m[0][1] = t * x * y + s * z;
  m[0][2] = t * x * z - s * y;
  m[1][0] = t * x * y - s * z;
  m[1][1] = c + t * y * y;
  m[1][2] = t * y * z + s * x;
  m[2][0] = t * x * z + s * y;
  m[2][1] = t * y * z - s * x;
  m[2][2] = c + t * z * z;
}

void MM3DMatrixRotationXFixed(MM3DMatrix& out, int16_t angle) {
  MM3DMatrixRotationX(out, FixedAngleToRadians(angle));
}

void MM3DMatrixRotationYFixed(MM3DMatrix& out, int16_t angle) {
  MM3DMatrixRotationY(out, FixedAngleToRadians(angle));
}

void MM3DMatrixRotationZFixed(MM3DMatrix& out, int16_t angle) {
  MM3DMatrixRotationZ(out, FixedAngleToRadians(angle));
}

void MM3DMatrixRotationXYZFixed(MM3DMatrix& out, int16_t x, int16_t y, int16_t z) {
  MM3DMatrixRotationXYZ(out, FixedAngleToRadians(x), FixedAngleToRadians(y),
                        FixedAngleToRadians(z));
}

void MM3DMatrixScaleFixed(MM3DMatrix& out, int16_t sx, int16_t sy, int16_t sz) {
  MM3DMatrixScale(out, sx / 4096.0f, sy / 4096.0f, sz / 4096.0f);
}

void MM3DMatrixScaleInteger(MM3DMatrix& out, int32_t sx, int32_t sy, int32_t sz) {
  MM3DMatrixScale(out, static_cast<float>(sx), static_cast<float>(sy), static_cast<float>(sz));
}
