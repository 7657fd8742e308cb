#include "tools/databuilder/mesh/Outline.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace databuilder {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

size_t Next(size_t i, size_t n) { return (i + 1) % n; }
size_t Prev(size_t i, size_t n) { return (i + n - 1) % n; }

// The outward normal of the edge from a to b of a counter-clockwise outline.
Vec2 EdgeNormal(Vec2 a, Vec2 b) { return Normalize(Vec2{b.y - a.y, a.x - b.x}); }

// The outward normal at a point: the mean of its two edges' normals.
Vec2 PointNormal(const Outline& outline, size_t i) {
  const size_t n = outline.size();
  return Normalize(EdgeNormal(outline[Prev(i, n)], outline[i]) +
                   EdgeNormal(outline[i], outline[Next(i, n)]));
}

bool InsideTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
  return Cross(b - a, p - a) >= 0.0f && Cross(c - b, p - b) >= 0.0f && Cross(a - c, p - c) >= 0.0f;
}

bool IsEar(const Outline& outline, const std::vector<size_t>& ring, size_t k) {
  const size_t n = ring.size();
  const Vec2 a = outline[ring[Prev(k, n)]], b = outline[ring[k]], c = outline[ring[Next(k, n)]];
  if (Cross(b - a, c - b) <= 0.0f) return false;
  for (size_t j = 0; j < n; ++j) {
    if (j == k || j == Prev(k, n) || j == Next(k, n)) continue;
    const Vec2 p = outline[ring[j]];
    if (InsideTriangle(p, a, b, c)) return false;
  }
  return true;
}

// The smallest of the ear's three angles, as its sine: 0 for a sliver.
float EarRoundness(const Outline& outline, const std::vector<size_t>& ring, size_t k) {
  const size_t n = ring.size();
  const Vec2 corners[3] = {outline[ring[Prev(k, n)]], outline[ring[k]], outline[ring[Next(k, n)]]};
  float least = 1.0f;
  for (size_t c = 0; c < 3; ++c) {
    const Vec2 toNext = Normalize(corners[(c + 1) % 3] - corners[c]);
    const Vec2 toLast = Normalize(corners[(c + 2) % 3] - corners[c]);
    least = std::min(least, std::fabs(Cross(toNext, toLast)));
  }
  return least;
}

Vertex FlatVertex(Vec2 p, float z, Vec3 normal) {
  Vertex v;
  v.position = {p.x, p.y, z};
  v.normal = normal;
  return v;
}

}  // namespace

Outline RoundedRectOutline(float width, float height, float radius, int32_t cornerSteps) {
  const float hx = width / 2, hy = height / 2;
  return RoundCorners({{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}}, radius, cornerSteps);
}

Outline CircleOutline(float radius, int32_t segments) {
  Outline outline;
  for (int32_t i = 0; i < segments; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / static_cast<float>(segments);
    outline.push_back({radius * std::cos(a), radius * std::sin(a)});
  }
  return outline;
}

Outline StarOutline(int32_t points, float outerRadius, float innerRadius) {
  Outline outline;
  for (int32_t i = 0; i < points * 2; ++i) {
    const float a = kPi / 2 + kPi * static_cast<float>(i) / static_cast<float>(points);
    const float r = i % 2 == 0 ? outerRadius : innerRadius;
    outline.push_back({r * std::cos(a), r * std::sin(a)});
  }
  return outline;
}

Outline HeartOutline(int32_t segments) {
  // Two round lobes whose tangents meet in a rounded point at the bottom.
  constexpr float kLobe = 0.52f, kLobeY = 0.38f, kTip = -0.95f;
  const float deg = kPi / 180.0f;
  Outline outline{{0.0f, kTip}};
  const auto lobe = [&](float cx, float a0, float a1) {
    for (int32_t i = 0; i <= segments / 2; ++i) {
      const float a = a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(segments / 2);
      outline.push_back({cx + kLobe * std::cos(a), kLobeY + kLobe * std::sin(a)});
    }
  };
  lobe(kLobe, -40.0f * deg, 165.0f * deg);
  lobe(-kLobe, 15.0f * deg, 220.0f * deg);
  return RoundCorners(outline, 0.2f, 4);
}

Outline RoundCorners(const Outline& outline, float radius, int32_t steps) {
  const size_t n = outline.size();
  Outline rounded;
  for (size_t i = 0; i < n; ++i) {
    const Vec2 p = outline[i], a = outline[Prev(i, n)], b = outline[Next(i, n)];
    const Vec2 toA = Normalize(a - p), toB = Normalize(b - p);
    const float half = std::acos(std::clamp(Dot(toA, toB), -1.0f, 1.0f)) / 2;
    const float limit = std::min(Length(a - p), Length(b - p)) / 2;
    const float cut = std::min(radius / std::tan(half), limit);
    const float r = cut * std::tan(half);
    const Vec2 start = p + toA * cut, end = p + toB * cut;
    const float turn = Cross(toA * -1.0f, toB);
    // Corners that already turn gently (curves drawn point by point) stay.
    constexpr float kGentleTurn = 0.3f;
    if (r <= 1e-6f || kPi - 2 * half < kGentleTurn) {
      rounded.push_back(p);
      continue;
    }
    const Vec2 centre = p + Normalize(toA + toB) * (r / std::sin(half));
    const float a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    float a1 = std::atan2(end.y - centre.y, end.x - centre.x);
    // Convex corners turn left round the centre, reflex ones right.
    if (turn > 0 && a1 < a0) a1 += 2 * kPi;
    if (turn < 0 && a1 > a0) a1 -= 2 * kPi;
    for (int32_t s = 0; s <= steps; ++s) {
      const float angle = a0 + (a1 - a0) * static_cast<float>(s) / static_cast<float>(steps);
      rounded.push_back(centre + Vec2{std::cos(angle), std::sin(angle)} * r);
    }
  }
  // Arcs that meet where an edge was used up leave a point twice.
  Outline distinct;
  for (Vec2 p : rounded) {
    if (distinct.empty() || Length(p - distinct.back()) > 1e-5f) distinct.push_back(p);
  }
  while (distinct.size() > 1 && Length(distinct.front() - distinct.back()) <= 1e-5f) {
    distinct.pop_back();
  }
  return distinct;
}

Outline ResampleOutline(const Outline& outline, float maxStep) {
  Outline resampled;
  for (size_t i = 0; i < outline.size(); ++i) {
    const Vec2 a = outline[i], b = outline[Next(i, outline.size())];
    const auto steps = std::max(1, static_cast<int32_t>(std::ceil(Length(b - a) / maxStep)));
    for (int32_t s = 0; s < steps; ++s) {
      resampled.push_back(a + (b - a) * (static_cast<float>(s) / static_cast<float>(steps)));
    }
  }
  return resampled;
}

float OutlineArea(const Outline& outline) {
  float area = 0.0f;
  for (size_t i = 0; i < outline.size(); ++i) {
    area += Cross(outline[i], outline[Next(i, outline.size())]);
  }
  return area / 2;
}

Outline InsetOutline(const Outline& outline, float distance) {
  Outline inset;
  const size_t n = outline.size();
  for (size_t i = 0; i < n; ++i) {
    const Vec2 normal = PointNormal(outline, i);
    const float cosHalf = Dot(normal, EdgeNormal(outline[i], outline[Next(i, n)]));
    inset.push_back(outline[i] - normal * (distance / std::max(cosHalf, 0.25f)));
  }
  return inset;
}

std::vector<uint32_t> Triangulate(const Outline& outline) {
  std::vector<size_t> ring(outline.size());
  for (size_t i = 0; i < ring.size(); ++i) ring[i] = i;
  std::vector<uint32_t> triangles;
  while (ring.size() > 3) {
    // The roundest ear: clipping the first one found leaves slivers along
    // straight runs of points, too thin to keep once a shape is scaled.
    size_t ear = 0;
    float best = -1.0f;
    for (size_t k = 0; k < ring.size(); ++k) {
      if (!IsEar(outline, ring, k)) continue;
      const float roundness = EarRoundness(outline, ring, k);
      if (roundness > best) {
        best = roundness;
        ear = k;
      }
    }
    // A polygon that has no ear left (it touches itself) is closed as a fan.
    const size_t n = ring.size();
    triangles.insert(triangles.end(),
                     {static_cast<uint32_t>(ring[Prev(ear, n)]), static_cast<uint32_t>(ring[ear]),
                      static_cast<uint32_t>(ring[Next(ear, n)])});
    ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(ear));
  }
  if (ring.size() == 3) {
    triangles.insert(triangles.end(),
                     {static_cast<uint32_t>(ring[0]), static_cast<uint32_t>(ring[1]),
                      static_cast<uint32_t>(ring[2])});
  }
  return triangles;
}

Mesh FillOutline(const Outline& outline, float z, bool facingBack) {
  Mesh mesh;
  const Vec3 normal{0.0f, 0.0f, facingBack ? -1.0f : 1.0f};
  for (Vec2 p : outline) mesh.AddVertex(FlatVertex(p, z, normal));
  const std::vector<uint32_t> triangles = Triangulate(outline);
  for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
    if (facingBack) {
      mesh.AddTriangle(triangles[i], triangles[i + 2], triangles[i + 1]);
    } else {
      mesh.AddTriangle(triangles[i], triangles[i + 1], triangles[i + 2]);
    }
  }
  return mesh;
}

Mesh FillOutlineRings(const Outline& outline, float z, int32_t rings, bool facingBack) {
  // The middle of the bounds: a mean of the points leans toward where
  // they lie densest.
  Vec2 low = outline[0], high = outline[0];
  for (Vec2 p : outline) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  const Vec2 centre = (low + high) * 0.5f;
  Mesh mesh;
  const Vec3 normal{0.0f, 0.0f, facingBack ? -1.0f : 1.0f};
  const auto n = static_cast<uint32_t>(outline.size());
  for (int32_t r = 0; r < rings; ++r) {
    const float keep = 1.0f - static_cast<float>(r) / static_cast<float>(rings);
    for (Vec2 p : outline) mesh.AddVertex(FlatVertex(centre + (p - centre) * keep, z, normal));
  }
  const uint32_t middle = mesh.AddVertex(FlatVertex(centre, z, normal));
  for (uint32_t r = 0; r < static_cast<uint32_t>(rings); ++r) {
    for (uint32_t i = 0; i < n; ++i) {
      const uint32_t j = (i + 1) % n, a = r * n;
      const bool last = r + 1 == static_cast<uint32_t>(rings);
      const uint32_t c = last ? middle : a + n + j, d = last ? middle : a + n + i;
      if (facingBack) {
        mesh.AddTriangle(a + i, c, a + j);
        if (!last) mesh.AddTriangle(a + i, d, c);
      } else {
        mesh.AddTriangle(a + i, a + j, c);
        if (!last) mesh.AddTriangle(a + i, c, d);
      }
    }
  }
  return mesh;
}

Mesh ExtrudeOutline(const Outline& outline, float depth, float bevel, int32_t bevelSteps,
                    int32_t capRings, int32_t wallSteps) {
  // Rings from the back face round the rims to the front face: at each
  // ring the outline is inset by the bevel's profile and the normal leans
  // from the side toward the face.
  struct Ring {
    float inset, z, side, face;
  };
  std::vector<Ring> rings;
  for (int32_t s = 0; s <= bevelSteps; ++s) {
    const float a = (kPi / 2) * static_cast<float>(bevelSteps - s) / static_cast<float>(bevelSteps);
    rings.push_back(
        {bevel * (1 - std::cos(a)), bevel * (1 - std::sin(a)), std::cos(a), -std::sin(a)});
  }
  const Ring side = rings.back();
  for (int32_t s = 1; s < wallSteps; ++s) {
    const float t = static_cast<float>(s) / static_cast<float>(wallSteps);
    rings.push_back({side.inset, side.z + (depth - 2 * side.z) * t, side.side, side.face});
  }
  for (int32_t s = bevelSteps; s >= 0; --s) {
    const Ring& back = rings[static_cast<size_t>(s)];
    rings.push_back({back.inset, depth - back.z, back.side, -back.face});
  }
  const size_t n = outline.size();
  Mesh mesh;
  for (const Ring& ring : rings) {
    const Outline inset = InsetOutline(outline, ring.inset);
    for (size_t i = 0; i < n; ++i) {
      const Vec2 normal = PointNormal(outline, i);
      Vertex v;
      v.position = {inset[i].x, inset[i].y, ring.z};
      v.normal = Normalize(Vec3{normal.x * ring.side, normal.y * ring.side, ring.face});
      mesh.AddVertex(v);
    }
  }
  for (uint32_t r = 0; r + 1 < rings.size(); ++r) {
    for (uint32_t i = 0; i < n; ++i) {
      const auto j = static_cast<uint32_t>(Next(i, n));
      const uint32_t a = r * static_cast<uint32_t>(n);
      const uint32_t b = a + static_cast<uint32_t>(n);
      mesh.AddTriangle(a + i, a + j, b + j);
      mesh.AddTriangle(a + i, b + j, b + i);
    }
  }
  mesh.DropDegenerate();
  const Outline face = InsetOutline(outline, bevel);
  mesh.Append(capRings > 0 ? FillOutlineRings(face, 0.0f, capRings, true)
                           : FillOutline(face, 0.0f, true));
  mesh.Append(capRings > 0 ? FillOutlineRings(face, depth, capRings, false)
                           : FillOutline(face, depth, false));
  return mesh;
}

}  // namespace databuilder
