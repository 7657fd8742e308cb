#include "tools/databuilder/mesh/RoundedBox.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace databuilder {

namespace {

// Grid coordinates across one side from -half to half: arcSteps within the
// radius at each end, the middle in steps of at most maxStep.
std::vector<float> Stations(float half, float radius, int32_t arcSteps, float maxStep) {
  std::vector<float> stations;
  const float inner = half - radius;
  for (int32_t i = 0; i < arcSteps; ++i) {
    stations.push_back(-half + radius * static_cast<float>(i) / static_cast<float>(arcSteps));
  }
  const auto middle = std::max(1, static_cast<int32_t>(std::ceil(2 * inner / maxStep)));
  for (int32_t i = 0; i <= middle; ++i) {
    stations.push_back(-inner + 2 * inner * static_cast<float>(i) / static_cast<float>(middle));
  }
  for (int32_t i = arcSteps - 1; i >= 0; --i) stations.push_back(-stations[static_cast<size_t>(i)]);
  if (inner <= 0.0f) stations.erase(stations.begin() + arcSteps);
  return stations;
}

struct Face {
  int32_t normalAxis;
  float sign;
  int32_t uAxis;
  int32_t vAxis;
};

float& Axis(Vec3& v, int32_t axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }

void AddFace(Mesh& mesh, const Face& face, Vec3 half, float radius,
             const std::vector<float>* stations) {
  const std::vector<float>& us = stations[face.uAxis];
  const std::vector<float>& vs = stations[face.vAxis];
  const auto base = static_cast<uint32_t>(mesh.mVertices.size());
  const auto columns = static_cast<uint32_t>(us.size());
  for (float v : vs) {
    for (float u : us) {
      Vec3 q;
      Axis(q, face.normalAxis) = face.sign * Axis(half, face.normalAxis);
      Axis(q, face.uAxis) = u;
      Axis(q, face.vAxis) = v;
      const Vec3 inner{std::clamp(q.x, radius - half.x, half.x - radius),
                       std::clamp(q.y, radius - half.y, half.y - radius),
                       std::clamp(q.z, radius - half.z, half.z - radius)};
      Vertex vertex;
      vertex.normal = Normalize(q - inner);
      vertex.position = inner + vertex.normal * radius;
      mesh.AddVertex(vertex);
    }
  }
  for (uint32_t j = 0; j + 1 < vs.size(); ++j) {
    for (uint32_t i = 0; i + 1 < columns; ++i) {
      const uint32_t a = base + j * columns + i, b = a + 1, c = b + columns, d = a + columns;
      mesh.AddTriangle(a, b, c);
      mesh.AddTriangle(a, c, d);
    }
  }
}

}  // namespace

Mesh RoundedBox(Vec3 size, float radius, int32_t arcSteps, float maxStep) {
  const Vec3 half = size * 0.5f;
  radius = std::min({radius, half.x * 0.999f, half.y * 0.999f, half.z * 0.999f});
  const std::vector<float> stations[3] = {Stations(half.x, radius, arcSteps, maxStep),
                                          Stations(half.y, radius, arcSteps, maxStep),
                                          Stations(half.z, radius, arcSteps, maxStep)};
  // u x v points along the face's outward normal, so each grid winds
  // counter-clockwise seen from outside.
  const Face faces[6] = {{0, 1.0f, 1, 2},  {0, -1.0f, 2, 1}, {1, 1.0f, 2, 0},
                         {1, -1.0f, 0, 2}, {2, 1.0f, 0, 1},  {2, -1.0f, 1, 0}};
  Mesh mesh;
  for (const Face& face : faces) AddFace(mesh, face, half, radius, stations);
  mesh.Weld();
  return mesh;
}

}  // namespace databuilder
