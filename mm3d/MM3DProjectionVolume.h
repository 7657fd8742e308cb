#pragma once
// How a view projects camera space (looking along +z, x right, y up) onto
// the screen: a perspective or parallel volume bounded by six values, with
// its projection matrix and inverse, and the bounds and slopes that
// outcodes are computed against.

#include "foundation/uu/UURect.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class UUReader;
class UUWriter;

// Outcode bits: outside the x minimum, x maximum, y minimum, y maximum,
// near and far planes.
enum MM3DOutcode : uint8_t {
  kMM3DOutsideLeft = 1,
  kMM3DOutsideRight = 2,
  kMM3DOutsideBottom = 4,
  kMM3DOutsideTop = 8,
  kMM3DOutsideNear = 16,
  kMM3DOutsideFar = 32,
  kMM3DOutsideAll = 63
};

class MM3DProjectionVolume {
 public:
  // Perspective, near 1, far 1000, a vertical field of view of 45 degrees
  // and an aspect of 4:3.
  MM3DProjectionVolume();

  void SetPerspective(float fieldOfView, float aspect, float nearZ, float farZ);
  // Focal length in millimetres, aperture in inches.
  void SetLens(float focalLength, float aperture, float aspect, float nearZ, float farZ);
  // A perspective volume whose window on the near plane is given.
  void SetFrustum(float left, float right, float bottom, float top, float nearZ, float farZ);
  void SetOrthographic(float left, float right, float bottom, float top, float nearZ, float farZ);

  // The flag and the six values; the cached matrices are not compared.
  bool operator==(const MM3DProjectionVolume& other) const;

  // One MM3DOutcode byte per camera-space point; 0 is inside.
  void ComputeOutcodes(int32_t count, const MM3DVector* points, uint8_t* codes) const;
  // Whether the codes share an outside bit: the points lie wholly outside
  // one plane.
  static bool AllOutside(int32_t count, const uint8_t* codes);

  // The screen point (x, y, depth 0 near to 1 far, w 1) of a camera-space
  // point in the viewport.
  MM3DVector Project(const MM3DVector& point, const UURect& viewport) const;
  // The camera-space point under a screen point at a depth: depth 0 lies on
  // the near plane and 1 on the far plane, so two calls make a picking ray.
  MM3DVector Unproject(float x, float y, float depth, const UURect& viewport) const;

  // The flag as one boolean, then left, right, bottom, top, near, far.
  bool Write(UUWriter& writer) const;
  // A failed read keeps the fields read so far and recomputes nothing.
  bool Read(UUReader& reader);

  void UpdateMatrices();
  void UpdateBounds();

  bool IsPerspective() const { return mPerspective; }
  float GetNear() const { return mNear; }
  float GetFar() const { return mFar; }
  float GetLeft() const { return mLeft; }
  float GetRight() const { return mRight; }
  float GetBottom() const { return mBottom; }
  float GetTop() const { return mTop; }
  const MM3DMatrix& GetProjection() const { return mProjection; }
  const MM3DMatrix& GetInverse() const { return mInverse; }

 private:
  void Set(bool perspective, float left, float right, float bottom, float top, float nearZ,
           float farZ);
  void UpdatePerspectiveMatrices();
  void UpdateParallelMatrices();

  bool mPerspective;
  float mNear;
  float mFar;
  float mLeft;
  float mRight;
  float mBottom;
  float mTop;
  MM3DMatrix mProjection;
  MM3DMatrix mInverse;
  float mXMin;
  float mXMax;
  float mYMin;
  float mYMax;
  float mZMin;
  float mZMax;
  float mSlopeXMin;
  float mSlopeXMax;
  float mSlopeYMin;
  float mSlopeYMax;
};
