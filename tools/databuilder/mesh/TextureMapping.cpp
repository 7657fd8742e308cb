#include "tools/databuilder/mesh/TextureMapping.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace databuilder {

namespace {

float Fraction(float value, float low, float high) {
  return high > low ? std::clamp((value - low) / (high - low), 0.0f, 1.0f) : 0.5f;
}

float Component(Vec3 v, int32_t axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }

int32_t DominantAxis(Vec3 n) {
  const float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  if (ax >= ay && ax >= az) return 0;
  return ay >= az ? 1 : 2;
}

}  // namespace

Bounds MeshBounds(const Mesh& mesh) {
  Bounds bounds{{1e30f, 1e30f, 1e30f}, {-1e30f, -1e30f, -1e30f}};
  for (const Vertex& v : mesh.mVertices) {
    bounds.low = {std::min(bounds.low.x, v.position.x), std::min(bounds.low.y, v.position.y),
                  std::min(bounds.low.z, v.position.z)};
    bounds.high = {std::max(bounds.high.x, v.position.x), std::max(bounds.high.y, v.position.y),
                   std::max(bounds.high.z, v.position.z)};
  }
  return bounds;
}

TextureRect AtlasCell(int32_t cell, int32_t columns, int32_t rows) {
  const float w = 1.0f / static_cast<float>(columns), h = 1.0f / static_cast<float>(rows);
  const float u = static_cast<float>(cell % columns) * w;
  const float v = static_cast<float>(cell / columns) * h;
  return {u, v, u + w, v + h};
}

void MapPlanar(Mesh& mesh, const TextureRect& rect) { MapPlanar(mesh, rect, MeshBounds(mesh)); }

void MapPlanar(Mesh& mesh, const TextureRect& rect, const Bounds& bounds) {
  for (Vertex& v : mesh.mVertices) {
    // The engine's camera, looking at a face that faces +z, sees -x on its
    // right: u grows that way so pictures read the right way round.
    const float s = 1.0f - Fraction(v.position.x, bounds.low.x, bounds.high.x);
    const float t = 1.0f - Fraction(v.position.y, bounds.low.y, bounds.high.y);
    v.uv = {rect.u0 + (rect.u1 - rect.u0) * s, rect.v0 + (rect.v1 - rect.v0) * t};
  }
}

void MapTiled(Mesh& mesh, float period) {
  for (Vertex& v : mesh.mVertices) v.uv = {v.position.x / period, v.position.z / period};
}

void MapBox(Mesh& mesh) {
  const Bounds bounds = MeshBounds(mesh);
  Mesh mapped;
  for (int32_t t = 0; t < mesh.GetTriangleCount(); ++t) {
    const int32_t axis = DominantAxis(TriangleNormal(mesh, t));
    const int32_t uAxis = axis == 0 ? 2 : 0, vAxis = axis == 1 ? 2 : 1;
    const auto base = static_cast<uint32_t>(mapped.mVertices.size());
    for (size_t k = 0; k < 3; ++k) {
      Vertex v = mesh.mVertices[mesh.mIndices[static_cast<size_t>(t) * 3 + k]];
      v.uv = {Fraction(Component(v.position, uAxis), Component(bounds.low, uAxis),
                       Component(bounds.high, uAxis)),
              1.0f - Fraction(Component(v.position, vAxis), Component(bounds.low, vAxis),
                              Component(bounds.high, vAxis))};
      mapped.AddVertex(v);
    }
    mapped.AddTriangle(base, base + 1, base + 2);
  }
  mapped.Weld();
  mesh = std::move(mapped);
}

void MapCylindrical(Mesh& mesh) {
  const Bounds bounds = MeshBounds(mesh);
  constexpr float kTurn = 2 * std::numbers::pi_v<float>;
  for (Vertex& v : mesh.mVertices) {
    float angle = std::atan2(-v.position.z, v.position.x);
    if (angle < 0.0f) angle += kTurn;
    v.uv = {std::clamp(angle / kTurn, 0.0f, 1.0f),
            1.0f - Fraction(v.position.y, bounds.low.y, bounds.high.y)};
  }
}

}  // namespace databuilder
