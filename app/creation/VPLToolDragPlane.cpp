#include "app/creation/VPLToolDragPlane.h"

#include "mm3d/MM3DMatrix.h"

#include <algorithm>
#include <cmath>

namespace {

// B lies this far above A on the object's plane, and on the axis' plane.
constexpr float kObjectPlaneHeight = 5.0f;
constexpr float kAxisPlaneHeight = 9.0f;

MM3DVector Point(float x, float y, float z) { return MM3DVector(x, y, z, 1.0f); }

}  // namespace

MM3DVector VPLSideOf(const MM3DVector& camera) {
  MM3DMatrix turn;
  MM3DMatrixRotationY(turn, VPLToolDragPlane::kQuarterTurn);
  MM3DVector side;
  turn.TransformPoint(side, camera);
  return side;
}

VPLToolDragPlane VPLToolDragPlane::Through(const MM3DVector& point, const MM3DVector& camera) {
  const MM3DVector side = VPLSideOf(camera);
  const MM3DVector c(point.mX + side.mX, point.mY + side.mY, point.mZ + side.mZ, side.mW);
  return {point, Point(point.mX, point.mY + kObjectPlaneHeight, point.mZ), c};
}

VPLToolDragPlane VPLToolDragPlane::ThroughAxis(const MM3DVector& camera) {
  return {Point(0.0f, 0.0f, 0.0f), Point(0.0f, kAxisPlaneHeight, 0.0f), VPLSideOf(camera)};
}

bool VPLToolDragPlane::Meet(const VPLSegment& segment, MM3DVector& out) const {
  return VPLIntersectSegmentPlane(segment, mA, mB, mC, out);
}

VPLFlatDirection::VPLFlatDirection(float x, float z) {
  const float length = std::sqrt(x * x + z * z);
  if (!(length > 0.0f) || !std::isfinite(length)) return;
  mX = x / length;
  mZ = z / length;
  mValid = true;
}

float VPLYaw(const VPLFlatDirection& direction, float cosine, bool negate) {
  if (!direction.mValid) return 0.0f;
  const float angle = std::acos(std::clamp(cosine, -1.0f, 1.0f));
  return negate ? -angle : angle;
}
