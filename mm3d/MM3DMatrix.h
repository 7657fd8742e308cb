#pragma once
// The 4x4 float matrix, stored row by row. Vectors are rows multiplied on
// the left (v' = v M), the translation lies in the fourth row, and a
// product A x B applies A first: a world matrix is local x parent's world.

#include "mm3d/MM3DVector.h"

#include <cstdint>

class MM3DFixedVector;
class MM3DShortVector;
class UUReader;
class UUWriter;

class MM3DMatrix {
 public:
  void SetIdentity();
  // Exact equality of all sixteen elements: the change test of the views.
  bool operator==(const MM3DMatrix& other) const;
  // Every element of other minus this lies strictly within 0.00001.
  bool ApproxEquals(const MM3DMatrix& other) const;
  bool IsIdentity() const;
  MM3DMatrix& operator+=(const MM3DMatrix& other);
  MM3DMatrix& operator-=(const MM3DMatrix& other);
  void ScaleElements(float factor);
  // this = this x other; other must not be this matrix.
  MM3DMatrix& operator*=(const MM3DMatrix& other);

  // out = v x M over all four components; out must not be v. A direction
  // passes w 0 and a point w 1, so both transforms compute the same.
  void TransformPoint(MM3DVector& out, const MM3DVector& v) const;
  void TransformDirection(MM3DVector& out, const MM3DVector& v) const;
  void TransformPoints(MM3DVector* out, const MM3DVector* in, int32_t count) const;
  void TransformDirections(MM3DVector* out, const MM3DVector* in, int32_t count) const;

  // Each output component is the float sum of the raw integer components
  // times the matrix column, truncated toward zero.
  void TransformPoint(MM3DFixedVector& out, const MM3DFixedVector& v) const;
  void TransformDirection(MM3DFixedVector& out, const MM3DFixedVector& v) const;
  void TransformPoints(MM3DFixedVector* out, const MM3DFixedVector* in, int32_t count) const;
  void TransformDirections(MM3DFixedVector* out, const MM3DFixedVector* in, int32_t count) const;
  // Integer positions: the sum rounded half away from zero. Unit
  // directions in 1/4096: the sum divided by 4096, rounded the same way.
  void TransformPoint(MM3DShortVector& out, const MM3DShortVector& v) const;
  void TransformDirection(MM3DShortVector& out, const MM3DShortVector& v) const;
  void TransformPoints(MM3DShortVector* out, const MM3DShortVector* in, int32_t count) const;
  void TransformDirections(MM3DShortVector* out, const MM3DShortVector* in, int32_t count) const;

  void Transpose();
  // The inverse of an affine matrix, in place; a matrix within 0.00001 of
  // the identity becomes exactly the identity. A 3x3 part with no inverse
  // (an axis scaled to 0) is inverted as if that axis had a tiny length.
  void InvertAffine();
  // The inverse of a rotation-plus-translation matrix, in place.
  void InvertRigid();
  bool IsAffine() const;
  // Every row and column of the upper 3x3 part has a squared length within
  // 0.00004 of 1.
  bool IsOrthonormal() const;

  // The sixteen floats in element order.
  bool Write(UUWriter& writer) const;
  // The matrix changes only when all sixteen floats were read.
  bool Read(UUReader& reader);

  float mElement[4][4];
};

// The one shared identity, filled before any code runs.
extern const MM3DMatrix MM3DMatrixIdentity;

// out = a x b; out must be neither a nor b.
void MM3DMatrixMultiply(MM3DMatrix& out, const MM3DMatrix& a, const MM3DMatrix& b);

// Builders: each writes a fresh matrix into out. Angles are radians,
// right-handed for row vectors; the fixed forms take 4096 per turn.
void MM3DMatrixTranslation(MM3DMatrix& out, float tx, float ty, float tz);
void MM3DMatrixScale(MM3DMatrix& out, float sx, float sy, float sz);
void MM3DMatrixRotationX(MM3DMatrix& out, float angle);
void MM3DMatrixRotationY(MM3DMatrix& out, float angle);
void MM3DMatrixRotationZ(MM3DMatrix& out, float angle);
// The X rotation first, then Y, then Z.
void MM3DMatrixRotationXYZ(MM3DMatrix& out, float x, float y, float z);
// About a unit axis.
void MM3DMatrixRotationAxis(MM3DMatrix& out, const MM3DVector& axis, float angle);
void MM3DMatrixRotationXFixed(MM3DMatrix& out, int16_t angle);
void MM3DMatrixRotationYFixed(MM3DMatrix& out, int16_t angle);
void MM3DMatrixRotationZFixed(MM3DMatrix& out, int16_t angle);
void MM3DMatrixRotationXYZFixed(MM3DMatrix& out, int16_t x, int16_t y, int16_t z);
// Diagonal n / 4096.
void MM3DMatrixScaleFixed(MM3DMatrix& out, int16_t sx, int16_t sy, int16_t sz);
void MM3DMatrixScaleInteger(MM3DMatrix& out, int32_t sx, int32_t sy, int32_t sz);
