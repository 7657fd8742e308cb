#pragma once
// Round shapes made by turning a profile about the y axis: the profile's
// points carry their own outward normals, so arcs shade smoothly and a
// point on the axis closes the shape there. Spheres, capsules, rounded
// cylinders and cones, tori, discs and domes are all such profiles.

#include "tools/databuilder/mesh/Mesh.h"

#include <cstdint>
#include <vector>

namespace databuilder {

struct ProfilePoint {
  Vec2 point;   // x: distance from the axis, y: height
  Vec2 normal;  // outward, in the same plane
};

// A profile listed from the bottom up.
class Profile {
 public:
  void Add(Vec2 point, Vec2 normal);
  // Points on the arc about the centre from angle a0 to a1 (radians, 0 =
  // +x, pi/2 = +y), normals pointing away from the centre, the first point
  // left out when it repeats the last one added.
  void AddArc(Vec2 centre, float radius, float a0, float a1, int32_t steps);
  // The line to the point, split so that no step is longer than maxStep,
  // with the normal of the line.
  void AddLine(Vec2 to, float maxStep);
  const std::vector<ProfilePoint>& GetPoints() const { return mPoints; }

 private:
  std::vector<ProfilePoint> mPoints;
};

// The profile turned once about y in the given number of segments; u runs
// round from +x, v up the profile by its length. Triangles at the axis are
// dropped.
// The profile turned once about y in the given number of segments; u runs
// round from +x, v up the profile by its length. Triangles at the axis are
// dropped. Staggered turns every other ring by half a segment, so the
// triangles come out nearly equilateral (u then runs half a segment past
// 1 on those rings).
Mesh Lathe(const Profile& profile, int32_t segments, bool staggered = false);

Mesh Sphere(float radius, int32_t segments, int32_t rings, bool staggered = false);
// Centred on the origin, the length between the centres of the caps.
Mesh Capsule(float radius, float length, int32_t segments, int32_t capRings);
// From y 0 to height; bevel rounds both rims.
Mesh RoundedCylinder(float radius, float height, float bevel, int32_t segments,
                     bool staggered = false);
// From y 0 to height, rounded at the base rim and the tip.
Mesh RoundedCone(float radius, float height, float bevel, int32_t segments, bool staggered = false);
// About the y axis, in the xz plane.
Mesh Torus(float ringRadius, float tubeRadius, int32_t segments, int32_t sides);
// Facing +y at height 0.
Mesh Disc(float radius, int32_t segments, int32_t rings);

}  // namespace databuilder
