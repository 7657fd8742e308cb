#include "tools/databuilder/mesh/DBLathe.h"

#include <cmath>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

DBVec2 Direction(float angle) { return {std::cos(angle), std::sin(angle)}; }

}  // namespace

void DBProfile::Add(DBVec2 point, DBVec2 normal) {
  mPoints.push_back({point, DBNormalize(normal)});
}

void DBProfile::AddArc(DBVec2 centre, float radius, float a0, float a1, int32_t steps) {
  for (int32_t i = 0; i <= steps; ++i) {
    const float angle = a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps);
    const DBVec2 n = Direction(angle);
    DBVec2 p = centre + n * radius;
    // A point that cos and sin leave a hair off the axis lies on it.
    if (std::fabs(p.x) < 1e-5f * radius) p.x = 0.0f;
    if (i == 0 && !mPoints.empty() && DBLength(mPoints.back().point - p) < 1e-6f) continue;
    Add(p, n);
  }
}

void DBProfile::AddLine(DBVec2 to, float maxStep) {
  const DBVec2 from = mPoints.back().point;
  const DBVec2 along = to - from;
  const DBVec2 normal = DBNormalize(DBVec2{along.y, -along.x});
  const auto steps = static_cast<int32_t>(std::ceil(DBLength(along) / maxStep));
  for (int32_t i = 1; i <= steps; ++i) {
    Add(from + along * (static_cast<float>(i) / static_cast<float>(steps)), normal);
  }
}

DBMesh DBLathe(const DBProfile& profile, int32_t segments) {
  const std::vector<DBProfilePoint>& points = profile.GetPoints();
  std::vector<float> lengths(points.size(), 0.0f);
  for (size_t i = 1; i < points.size(); ++i) {
    lengths[i] = lengths[i - 1] + DBLength(points[i].point - points[i - 1].point);
  }
  const float total = lengths.empty() || lengths.back() <= 0.0f ? 1.0f : lengths.back();
  DBMesh mesh;
  const auto columns = static_cast<uint32_t>(segments + 1);
  for (size_t i = 0; i < points.size(); ++i) {
    for (int32_t j = 0; j <= segments; ++j) {
      const float u = static_cast<float>(j) / static_cast<float>(segments);
      const DBVec2 d = Direction(2.0f * kPi * u);
      const DBProfilePoint& p = points[i];
      DBVertex v;
      v.position = {p.point.x * d.x, p.point.y, -p.point.x * d.y};
      v.normal = DBNormalize(DBVec3{p.normal.x * d.x, p.normal.y, -p.normal.x * d.y});
      v.uv = {u, lengths[i] / total};
      mesh.AddVertex(v);
    }
  }
  for (uint32_t i = 0; i + 1 < points.size(); ++i) {
    for (uint32_t j = 0; j < static_cast<uint32_t>(segments); ++j) {
      const uint32_t a = i * columns + j, b = a + 1, c = a + columns + 1, d = a + columns;
      mesh.AddTriangle(a, b, c);
      mesh.AddTriangle(a, c, d);
    }
  }
  mesh.DropDegenerate();
  return mesh;
}

DBMesh DBSphere(float radius, int32_t segments, int32_t rings) {
  DBProfile profile;
  profile.AddArc({0.0f, 0.0f}, radius, -kPi / 2, kPi / 2, rings);
  return DBLathe(profile, segments);
}

DBMesh DBCapsule(float radius, float length, int32_t segments, int32_t capRings) {
  DBProfile profile;
  const float half = length / 2;
  profile.AddArc({0.0f, -half}, radius, -kPi / 2, 0.0f, capRings);
  profile.AddLine({radius, half}, radius * 2 * kPi / static_cast<float>(segments));
  profile.AddArc({0.0f, half}, radius, 0.0f, kPi / 2, capRings);
  return DBLathe(profile, segments);
}

DBMesh DBRoundedCylinder(float radius, float height, float bevel, int32_t segments) {
  DBProfile profile;
  const float step = radius * 2 * kPi / static_cast<float>(segments);
  profile.Add({0.0f, 0.0f}, {0.0f, -1.0f});
  profile.AddLine({radius - bevel, 0.0f}, step);
  profile.AddArc({radius - bevel, bevel}, bevel, -kPi / 2, 0.0f, 4);
  profile.AddLine({radius, height - bevel}, step);
  profile.AddArc({radius - bevel, height - bevel}, bevel, 0.0f, kPi / 2, 4);
  profile.AddLine({0.0f, height}, step);
  return DBLathe(profile, segments);
}

DBMesh DBRoundedCone(float radius, float height, float bevel, int32_t segments) {
  DBProfile profile;
  const float step = radius * 2 * kPi / static_cast<float>(segments);
  const float slope = std::atan2(height, radius);
  const float side = kPi / 2 - slope;  // the side's normal angle
  profile.Add({0.0f, 0.0f}, {0.0f, -1.0f});
  profile.AddLine({radius - bevel * 2, 0.0f}, step);
  const DBVec2 rim{radius - bevel * 2, bevel};
  profile.AddArc(rim, bevel, -kPi / 2, side, 4);
  const float tipRadius = bevel;
  const DBVec2 tip{0.0f, height - tipRadius / std::cos(slope)};
  profile.AddLine(tip + Direction(side) * tipRadius, step);
  profile.AddArc(tip, tipRadius, side, kPi / 2, 4);
  return DBLathe(profile, segments);
}

DBMesh DBTorus(float ringRadius, float tubeRadius, int32_t segments, int32_t sides) {
  DBProfile profile;
  profile.AddArc({ringRadius, 0.0f}, tubeRadius, -kPi, kPi, sides);
  DBMesh mesh = DBLathe(profile, segments);
  mesh.Weld();
  return mesh;
}

DBMesh DBDisc(float radius, int32_t segments, int32_t rings) {
  DBProfile profile;
  profile.Add({radius, 0.0f}, {0.0f, 1.0f});
  for (int32_t i = 1; i <= rings; ++i) {
    const float r = radius * (1.0f - static_cast<float>(i) / static_cast<float>(rings));
    profile.Add({r, 0.0f}, {0.0f, 1.0f});
  }
  return DBLathe(profile, segments);
}
