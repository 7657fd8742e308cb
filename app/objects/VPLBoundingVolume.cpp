#include "app/objects/VPLBoundingVolume.h"

#include <cmath>

namespace {

// A face: three corners (one and its two neighbours on the face) and the
// two axes that vary over it, in the order InRange2D reads them.
struct Face {
  int mCorners[3];
  int mAxisA;
  int mAxisB;
};

constexpr int kX = 0;
constexpr int kY = 1;
constexpr int kZ = 2;

// Near z, near y, near x, far x, far y, far z.
constexpr Face kBoxFaces[] = {
    {{0, 2, 1}, kX, kY}, {{0, 4, 1}, kX, kZ}, {{0, 4, 2}, kZ, kY},
    {{7, 3, 5}, kZ, kY}, {{7, 3, 6}, kX, kZ}, {{7, 5, 6}, kX, kY},
};

float Axis(const MM3DVector& v, int axis) { return v.GetComponent(axis); }

}  // namespace

void VPLBoundingVolume::Set(float minX, float minY, float minZ, float maxX, float maxY,
                            float maxZ) {
  mOrigin = MM3DVector(minX, minY, minZ, 1.0f);
  mExtent = MM3DVector(maxX - minX, maxY - minY, maxZ - minZ, 0.0f);
  const float xs[2] = {minX, minX + mExtent.mX};
  const float ys[2] = {minY, minY + mExtent.mY};
  const float zs[2] = {minZ, minZ + mExtent.mZ};
  for (int i = 0; i < 8; ++i)
    mCorners[i] = MM3DVector(xs[i & 1], ys[(i >> 1) & 1], zs[i >> 2], 1.0f);
}

bool VPLBoundingVolume::IntersectsFace(const MM3DVector& p0, const MM3DVector& p1,
                                       const MM3DVector& p2, const MM3DVector& start,
                                       const MM3DVector& end, MM3DVector& hit) {
  MM3DVector normal = p1.Direction(p0).Cross(p2.Direction(p0));
  const float lengthSquared = normal.LengthSquared();
  if (lengthSquared != 0.0f) normal.Divide(std::sqrt(lengthSquared));
  const MM3DVector d = end.Direction(start);
  const float denominator = normal.Dot(d);
  if (denominator == 0.0f) return false;
  const float t = -(normal.Dot(start) - normal.Dot(p0)) / denominator;
  if (t < 0.0f || t > 1.0f) return false;
  hit = MM3DVector(start.mX + d.mX * t, start.mY + d.mY * t, start.mZ + d.mZ * t, 1.0f);
  return true;
}

bool VPLBoundingVolume::InRange2D(float a1, float b1, float a2, float b2, float pa, float pb) {
  const auto between = [](float low, float high, float p) {
    return p >= low ? p <= high : p >= high;
  };
  return between(a1, a2, pa) && between(b1, b2, pb);
}

VPLBoundingBox::VPLBoundingBox(float minX, float minY, float minZ, float maxX, float maxY,
                               float maxZ) {
  Set(minX, minY, minZ, maxX, maxY, maxZ);
}

bool VPLBoundingBox::IntersectsSegment(const MM3DVector& start, const MM3DVector& end) const {
  const MM3DVector extent = GetMax().Direction(GetMin());
  if (extent.mX == 0.0f || extent.mY == 0.0f || extent.mZ == 0.0f) return false;
  for (const Face& face : kBoxFaces) {
    const MM3DVector& c0 = Corner(face.mCorners[0]);
    const MM3DVector& c1 = Corner(face.mCorners[1]);
    const MM3DVector& c2 = Corner(face.mCorners[2]);
    MM3DVector hit;
    if (!IntersectsFace(c0, c1, c2, start, end, hit)) continue;
    // The face's rectangle runs from its first corner to the far ends of
    // its two varying axes, which the other two corners hold.
    const MM3DVector& farA = Axis(c1, face.mAxisA) != Axis(c0, face.mAxisA) ? c1 : c2;
    const MM3DVector& farB = Axis(c1, face.mAxisB) != Axis(c0, face.mAxisB) ? c1 : c2;
    if (InRange2D(Axis(c0, face.mAxisA), Axis(c0, face.mAxisB), Axis(farA, face.mAxisA),
                  Axis(farB, face.mAxisB), Axis(hit, face.mAxisA), Axis(hit, face.mAxisB))) {
      return true;
    }
  }
  return false;
}

VPLBoundingXYPlane::VPLBoundingXYPlane(float minX, float minY, float minZ, float maxX, float maxY,
                                       float maxZ) {
  Set(minX, minY, minZ, maxX, maxY, maxZ);
}

bool VPLBoundingXYPlane::IntersectsSegment(const MM3DVector& start, const MM3DVector& end) const {
  MM3DVector hit;
  if (!IntersectsFace(Corner(0), Corner(2), Corner(1), start, end, hit)) return false;
  return InRange2D(Corner(0).mX, Corner(2).mY, Corner(1).mX, Corner(0).mY, hit.mX, hit.mY);
}
