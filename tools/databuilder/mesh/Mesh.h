#pragma once
// A triangle list under construction: vertices with position, normal,
// texture coordinate and colour, and three indices per triangle, wound
// counter-clockwise seen from outside. The shapes make meshes, the edits
// here join, move, weld, refine and shade them, and the model builder
// turns them into the engine's blocks.

#include "tools/databuilder/mesh/Vec.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace databuilder {

struct Color {
  float r = 1.0f;
  float g = 1.0f;
  float b = 1.0f;
  float a = 1.0f;
};

struct Vertex {
  Vec3 position;
  Vec3 normal;
  Vec2 uv;
  Color color;
};

// Moves a point that refining placed on a chord back onto the surface,
// fixing its normal as well.
using SurfaceProjector = std::function<void(Vertex&)>;

class Mesh {
 public:
  uint32_t AddVertex(const Vertex& vertex);
  void AddTriangle(uint32_t a, uint32_t b, uint32_t c);
  // The other mesh's triangles after this one's.
  void Append(const Mesh& other);

  int32_t GetTriangleCount() const { return static_cast<int32_t>(mIndices.size() / 3); }
  bool FitsBudget(int32_t triangles) const { return GetTriangleCount() <= triangles; }

  // Scales, then translates; normals follow the inverse scale.
  void Transform(Vec3 scale, Vec3 offset);
  // Turns the mesh about the y axis (radians), then about x.
  void Rotate(float aboutY, float aboutX);
  // Reverses every triangle and normal.
  void Flip();
  void SetColor(const Color& color);

  // Merges vertices whose position, normal, coordinate and colour agree
  // within the tolerance; the first of each group stays, order kept.
  void Weld(float tolerance = 1e-4f);
  // Drops triangles of no area, such as those a pole leaves.
  void DropDegenerate(float minArea = 1e-9f);
  // Each vertex's normal becomes the area-weighted mean of its triangles'.
  void SetSmoothNormals();
  // Every triangle gets its own three vertices with the face's normal.
  void SetFlatNormals();
  // Splits every edge longer than maxLength at its middle until none is
  // left; the projector, when given, puts new points back on the surface.
  void RefineEdges(float maxLength, const SurfaceProjector& projector = {});
  float GetLongestEdge() const;
  // Exchanges two vertices' places, the triangles keeping their corners.
  void SwapVertices(uint32_t a, uint32_t b);

  std::vector<Vertex> mVertices;
  std::vector<uint32_t> mIndices;
};

Vec3 TriangleNormal(const Mesh& mesh, int32_t triangle);

}  // namespace databuilder
