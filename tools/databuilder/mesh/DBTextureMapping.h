#pragma once
// Texture coordinates for a mesh: planar (along two axes), box (each
// triangle by the axis its normal leans on most) and cylindrical (round
// the y axis). The mesh's bounds map onto a rectangle of the texture, a
// whole texture or one cell of an atlas; v grows downward in the picture,
// so the top of the mesh lands on the top of the picture.

#include "tools/databuilder/mesh/DBMesh.h"

struct DBTextureRect {
  float u0 = 0.0f;
  float v0 = 0.0f;
  float u1 = 1.0f;
  float v1 = 1.0f;
};

struct DBBounds {
  DBVec3 low;
  DBVec3 high;
};

DBBounds DBMeshBounds(const DBMesh& mesh);
// The cell of an atlas of columns x rows cells, counted from the top left.
DBTextureRect DBAtlasCell(int32_t cell, int32_t columns, int32_t rows);

// Projects along z: x across, y up; the bounds given (or the mesh's own)
// fill the rectangle.
void DBMapPlanar(DBMesh& mesh, const DBTextureRect& rect);
void DBMapPlanar(DBMesh& mesh, const DBTextureRect& rect, const DBBounds& bounds);
// Repeats the texture every period units along x and z (a ground).
void DBMapTiled(DBMesh& mesh, float period);
// Each triangle by its dominant axis; the bounds fill the whole texture.
void DBMapBox(DBMesh& mesh);
// u round the y axis from +x, v down from the top of the bounds.
void DBMapCylindrical(DBMesh& mesh);
