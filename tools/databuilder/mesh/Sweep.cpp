#include "tools/databuilder/mesh/Sweep.h"

#include "tools/databuilder/mesh/Lathe.h"

#include <cmath>
#include <numbers>

namespace databuilder {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

Vec3 TangentAt(const std::vector<Vec3>& curve, size_t i, bool closed) {
  const size_t n = curve.size();
  const size_t next = closed ? (i + 1) % n : std::min(i + 1, n - 1);
  const size_t prev = closed ? (i + n - 1) % n : (i == 0 ? 0 : i - 1);
  return Normalize(curve[next] - curve[prev]);
}

// Any unit vector perpendicular to the tangent.
Vec3 AnyPerpendicular(Vec3 t) {
  const Vec3 axis = std::fabs(t.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
  return Normalize(Cross(t, axis));
}

// The vector turned by the smallest rotation that takes tangent from onto
// tangent to.
Vec3 Turn(Vec3 v, Vec3 from, Vec3 to) {
  const Vec3 axis = Cross(from, to);
  const float sine = Length(axis), cosine = Dot(from, to);
  if (sine < 1e-6f) return v;
  const Vec3 k = axis * (1.0f / sine);
  return v * cosine + Cross(k, v) * sine + k * (Dot(k, v) * (1.0f - cosine));
}

void AddCap(Mesh& mesh, Vec3 centre, Vec3 tangent, Vec3 side, float radius, int32_t sides,
            bool atEnd) {
  Mesh ball = Sphere(radius, sides, sides / 2);
  // The sphere's y axis becomes the tangent, its x axis the side.
  const Vec3 up = atEnd ? tangent : tangent * -1.0f;
  const Vec3 x = side, z = Cross(x, up);
  for (Vertex& v : ball.mVertices) {
    const Vec3 p = v.position, n = v.normal;
    v.position = centre + x * p.x + up * p.y + z * p.z;
    v.normal = Normalize(x * n.x + up * n.y + z * n.z);
  }
  Mesh half;
  for (size_t i = 0; i + 2 < ball.mIndices.size(); i += 3) {
    bool outside = true;
    for (size_t k = 0; k < 3; ++k) {
      outside =
          outside && Dot(ball.mVertices[ball.mIndices[i + k]].position - centre, up) >= -1e-5f;
    }
    if (!outside) continue;
    const auto base = static_cast<uint32_t>(half.mVertices.size());
    for (size_t k = 0; k < 3; ++k) half.AddVertex(ball.mVertices[ball.mIndices[i + k]]);
    half.AddTriangle(base, base + 1, base + 2);
  }
  half.Weld();
  mesh.Append(half);
}

}  // namespace

Mesh Sweep(const std::vector<Vec3>& curve, float radius, int32_t sides, bool closed) {
  Mesh mesh;
  const size_t n = curve.size();
  if (n < 2) return mesh;
  std::vector<Vec3> normals(n);
  Vec3 previous = TangentAt(curve, 0, closed);
  Vec3 side = AnyPerpendicular(previous);
  for (size_t i = 0; i < n; ++i) {
    const Vec3 t = TangentAt(curve, i, closed);
    side = Normalize(Turn(side, previous, t));
    previous = t;
    normals[i] = side;
    const Vec3 other = Cross(t, side);
    for (int32_t s = 0; s <= sides; ++s) {
      const float a = 2 * kPi * static_cast<float>(s) / static_cast<float>(sides);
      Vertex v;
      v.normal = Normalize(side * std::cos(a) + other * std::sin(a));
      v.position = curve[i] + v.normal * radius;
      v.uv = {static_cast<float>(s) / static_cast<float>(sides),
              static_cast<float>(i) / static_cast<float>(n - 1)};
      mesh.AddVertex(v);
    }
  }
  const size_t rings = closed ? n : n - 1;
  const auto columns = static_cast<uint32_t>(sides + 1);
  for (uint32_t i = 0; i < rings; ++i) {
    const uint32_t next = static_cast<uint32_t>((i + 1) % n);
    for (uint32_t s = 0; s < static_cast<uint32_t>(sides); ++s) {
      const uint32_t a = i * columns + s, b = next * columns + s;
      mesh.AddTriangle(a, a + 1, b + 1);
      mesh.AddTriangle(a, b + 1, b);
    }
  }
  if (!closed) {
    AddCap(mesh, curve.front(), TangentAt(curve, 0, false), normals.front(), radius, sides, false);
    AddCap(mesh, curve.back(), TangentAt(curve, n - 1, false), normals.back(), radius, sides, true);
  }
  return mesh;
}

}  // namespace databuilder
