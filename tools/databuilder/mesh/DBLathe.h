#pragma once
// Round shapes made by turning a profile about the y axis: the profile's
// points carry their own outward normals, so arcs shade smoothly and a
// point on the axis closes the shape there. Spheres, capsules, rounded
// cylinders and cones, tori, discs and domes are all such profiles.

#include "tools/databuilder/mesh/DBMesh.h"

#include <cstdint>
#include <vector>

struct DBProfilePoint {
  DBVec2 point;   // x: distance from the axis, y: height
  DBVec2 normal;  // outward, in the same plane
};

// A profile listed from the bottom up.
class DBProfile {
 public:
  void Add(DBVec2 point, DBVec2 normal);
  // Points on the arc about the centre from angle a0 to a1 (radians, 0 =
  // +x, pi/2 = +y), normals pointing away from the centre, the first point
  // left out when it repeats the last one added.
  void AddArc(DBVec2 centre, float radius, float a0, float a1, int32_t steps);
  // The line to the point, split so that no step is longer than maxStep,
  // with the normal of the line.
  void AddLine(DBVec2 to, float maxStep);
  const std::vector<DBProfilePoint>& GetPoints() const { return mPoints; }

 private:
  std::vector<DBProfilePoint> mPoints;
};

// The profile turned once about y in the given number of segments; u runs
// round from +x, v up the profile by its length. Triangles at the axis are
// dropped.
DBMesh DBLathe(const DBProfile& profile, int32_t segments);

DBMesh DBSphere(float radius, int32_t segments, int32_t rings);
// Centred on the origin, the length between the centres of the caps.
DBMesh DBCapsule(float radius, float length, int32_t segments, int32_t capRings);
// From y 0 to height; bevel rounds both rims.
DBMesh DBRoundedCylinder(float radius, float height, float bevel, int32_t segments);
// From y 0 to height, rounded at the base rim and the tip.
DBMesh DBRoundedCone(float radius, float height, float bevel, int32_t segments);
// About the y axis, in the xz plane.
DBMesh DBTorus(float ringRadius, float tubeRadius, int32_t segments, int32_t sides);
// Facing +y at height 0.
DBMesh DBDisc(float radius, int32_t segments, int32_t rings);
