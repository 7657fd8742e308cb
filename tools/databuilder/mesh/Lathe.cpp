#include "tools/databuilder/mesh/Lathe.h"

#include <cmath>
#include <numbers>

namespace databuilder {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vec2 Direction(float angle) { return {std::cos(angle), std::sin(angle)}; }

}  // namespace

void Profile::Add(Vec2 point, Vec2 normal) { mPoints.push_back({point, Normalize(normal)}); }

void Profile::AddArc(Vec2 centre, float radius, float a0, float a1, int32_t steps) {
  for (int32_t i = 0; i <= steps; ++i) {
    const float angle = a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps);
    const Vec2 n = Direction(angle);
    Vec2 p = centre + n * radius;
    // A point that cos and sin leave a hair off the axis lies on it.
    if (std::fabs(p.x) < 1e-5f * radius) p.x = 0.0f;
    if (i == 0 && !mPoints.empty() && Length(mPoints.back().point - p) < 1e-6f) continue;
    Add(p, n);
  }
}

void Profile::AddLine(Vec2 to, float maxStep) {
  const Vec2 from = mPoints.back().point;
  const Vec2 along = to - from;
  const Vec2 normal = Normalize(Vec2{along.y, -along.x});
  const auto steps = static_cast<int32_t>(std::ceil(Length(along) / maxStep));
  for (int32_t i = 1; i <= steps; ++i) {
    Add(from + along * (static_cast<float>(i) / static_cast<float>(steps)), normal);
  }
}

Mesh Lathe(const Profile& profile, int32_t segments, bool staggered) {
  const std::vector<ProfilePoint>& points = profile.GetPoints();
  std::vector<float> lengths(points.size(), 0.0f);
  for (size_t i = 1; i < points.size(); ++i) {
    lengths[i] = lengths[i - 1] + Length(points[i].point - points[i - 1].point);
  }
  const float total = lengths.empty() || lengths.back() <= 0.0f ? 1.0f : lengths.back();
  Mesh mesh;
  const auto columns = static_cast<uint32_t>(segments + 1);
  for (size_t i = 0; i < points.size(); ++i) {
    const float shift = staggered && i % 2 == 1 ? 0.5f : 0.0f;
    for (int32_t j = 0; j <= segments; ++j) {
      const float u = (static_cast<float>(j) + shift) / static_cast<float>(segments);
      const Vec2 d = Direction(2.0f * kPi * u);
      const ProfilePoint& p = points[i];
      Vertex v;
      v.position = {p.point.x * d.x, p.point.y, -p.point.x * d.y};
      v.normal = Normalize(Vec3{p.normal.x * d.x, p.normal.y, -p.normal.x * d.y});
      v.uv = {u, lengths[i] / total};
      mesh.AddVertex(v);
    }
  }
  for (uint32_t i = 0; i + 1 < points.size(); ++i) {
    for (uint32_t j = 0; j < static_cast<uint32_t>(segments); ++j) {
      const uint32_t a = i * columns + j, b = a + 1, c = a + columns + 1, d = a + columns;
      // The diagonal runs toward the upper ring's nearer point when the
      // rings are staggered.
      if (staggered && i % 2 == 0) {
        mesh.AddTriangle(a, b, d);
        mesh.AddTriangle(d, b, c);
      } else {
        mesh.AddTriangle(a, b, c);
        mesh.AddTriangle(a, c, d);
      }
    }
  }
  mesh.DropDegenerate();
  return mesh;
}

Mesh Sphere(float radius, int32_t segments, int32_t rings, bool staggered) {
  Profile profile;
  profile.AddArc({0.0f, 0.0f}, radius, -kPi / 2, kPi / 2, rings);
  return Lathe(profile, segments, staggered);
}

Mesh Capsule(float radius, float length, int32_t segments, int32_t capRings) {
  Profile profile;
  const float half = length / 2;
  profile.AddArc({0.0f, -half}, radius, -kPi / 2, 0.0f, capRings);
  profile.AddLine({radius, half}, radius * 2 * kPi / static_cast<float>(segments));
  profile.AddArc({0.0f, half}, radius, 0.0f, kPi / 2, capRings);
  return Lathe(profile, segments);
}

Mesh RoundedCylinder(float radius, float height, float bevel, int32_t segments, bool staggered) {
  Profile profile;
  const float step = radius * 2 * kPi / static_cast<float>(segments);
  profile.Add({0.0f, 0.0f}, {0.0f, -1.0f});
  profile.AddLine({radius - bevel, 0.0f}, step);
  profile.AddArc({radius - bevel, bevel}, bevel, -kPi / 2, 0.0f, 4);
  profile.AddLine({radius, height - bevel}, step);
  profile.AddArc({radius - bevel, height - bevel}, bevel, 0.0f, kPi / 2, 4);
  profile.AddLine({0.0f, height}, step);
  return Lathe(profile, segments, staggered);
}

Mesh RoundedCone(float radius, float height, float bevel, int32_t segments, bool staggered) {
  Profile profile;
  const float step = radius * 2 * kPi / static_cast<float>(segments);
  const float slope = std::atan2(height, radius);
  const float side = kPi / 2 - slope;  // the side's normal angle
  profile.Add({0.0f, 0.0f}, {0.0f, -1.0f});
  profile.AddLine({radius - bevel * 2, 0.0f}, step);
  const Vec2 rim{radius - bevel * 2, bevel};
  profile.AddArc(rim, bevel, -kPi / 2, side, 4);
  const float tipRadius = bevel;
  const Vec2 tip{0.0f, height - tipRadius / std::cos(slope)};
  profile.AddLine(tip + Direction(side) * tipRadius, step);
  profile.AddArc(tip, tipRadius, side, kPi / 2, 4);
  return Lathe(profile, segments, staggered);
}

Mesh Torus(float ringRadius, float tubeRadius, int32_t segments, int32_t sides) {
  Profile profile;
  profile.AddArc({ringRadius, 0.0f}, tubeRadius, -kPi, kPi, sides);
  Mesh mesh = Lathe(profile, segments);
  mesh.Weld();
  return mesh;
}

Mesh Disc(float radius, int32_t segments, int32_t rings) {
  Profile profile;
  profile.Add({radius, 0.0f}, {0.0f, 1.0f});
  for (int32_t i = 1; i <= rings; ++i) {
    const float r = radius * (1.0f - static_cast<float>(i) / static_cast<float>(rings));
    profile.Add({r, 0.0f}, {0.0f, 1.0f});
  }
  return Lathe(profile, segments);
}

}  // namespace databuilder
