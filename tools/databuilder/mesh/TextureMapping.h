#pragma once
// Texture coordinates for a mesh: planar (along two axes), box (each
// triangle by the axis its normal leans on most) and cylindrical (round
// the y axis). The mesh's bounds map onto a rectangle of the texture, a
// whole texture or one cell of an atlas; v grows downward in the picture,
// so the top of the mesh lands on the top of the picture.

#include "tools/databuilder/mesh/Mesh.h"

namespace databuilder {

struct TextureRect {
  float u0 = 0.0f;
  float v0 = 0.0f;
  float u1 = 1.0f;
  float v1 = 1.0f;
};

struct Bounds {
  Vec3 low;
  Vec3 high;
};

Bounds MeshBounds(const Mesh& mesh);
// The cell of an atlas of columns x rows cells, counted from the top left.
TextureRect AtlasCell(int32_t cell, int32_t columns, int32_t rows);

// Projects along z for a face seen from +z by the engine's camera, which
// has -x on its right: u grows toward -x, v downward; the bounds given (or
// the mesh's own) fill the rectangle.
void MapPlanar(Mesh& mesh, const TextureRect& rect);
void MapPlanar(Mesh& mesh, const TextureRect& rect, const Bounds& bounds);
// Repeats the texture every period units along x and z (a ground).
void MapTiled(Mesh& mesh, float period);
// Each triangle by its dominant axis; the bounds fill the whole texture.
void MapBox(Mesh& mesh);
// u round the y axis from +x, v down from the top of the bounds.
void MapCylindrical(Mesh& mesh);

}  // namespace databuilder
