#include "app/creation/VPLDrawingPlane.h"

#include <cmath>

bool VPLDrawingPlane::Face(const MM3DVector& eye) {
  const float h = std::sqrt(eye.mX * eye.mX + eye.mZ * eye.mZ);
  if (!(h > 0.0f) || !std::isfinite(h)) return false;
  mOrigin = {0.0f, 0.0f, 0.0f, 1.0f};
  mTop = {0.0f, 9.0f, 0.0f, 1.0f};
  mSide = {eye.mZ, eye.mY, -eye.mX, 1.0f};
  mEyeDirection = {eye.mX / h, 0.0f, eye.mZ / h, 0.0f};
  mYaw = std::atan2(eye.mX, -eye.mZ);
  mCos = std::cos(mYaw);
  mSin = std::sin(mYaw);
  return true;
}

bool VPLDrawingPlane::Intersect(const VPLSegment& segment, MM3DVector& out) const {
  return VPLIntersectSegmentPlane(segment, mOrigin, mTop, mSide, out);
}

MM3DVector VPLDrawingPlane::Turn(const MM3DVector& v, float cosine, float sine) {
  return {v.mX * cosine + v.mZ * sine, v.mY, v.mZ * cosine - v.mX * sine, v.mW};
}
