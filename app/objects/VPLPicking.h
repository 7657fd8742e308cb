#pragma once
// Picking and geometry: the world segment under a pointer, segments against
// planes, triangles and a model's visible meshes, and two small vector
// helpers. Matrices are row-vector (p' = p M), so points carry w = 1.
// Picking is exhaustive: every triangle of every visible mesh is tried on
// every pick; a hit reported is the one nearest the segment's start.

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class MM3DModelMolecule;
class MMView;
class VPLVertexHolder;

// Two points, start then end (also a line as a point and a vector).
struct VPLSegment {
  MM3DVector mStart;
  MM3DVector mEnd;
};

// The segment from the near to the far plane under the screen point, the
// point first clamped into the view's rectangle; lengthen puts the far end
// five times as far from the near one, on the same ray.
VPLSegment VPLScreenToWorldSegment(const MMView& view, int32_t x, int32_t y, bool lengthen);

// Where the segment meets the plane through a, b and c, both ends included.
// Parallel segments and three points on one line meet nothing.
bool VPLIntersectSegmentPlane(const VPLSegment& segment, const MM3DVector& a, const MM3DVector& b,
                              const MM3DVector& c, MM3DVector& out);
// Where the segment crosses the triangle, edges and corners included; a
// triangle with two equal corners is never crossed.
bool VPLIntersectSegmentTriangle(const MM3DVector& p0, const MM3DVector& p1, const MM3DVector& t0,
                                 const MM3DVector& t1, const MM3DVector& t2, MM3DVector& out);

// The hit nearest p0 on the model's visible triangles, in world space;
// the holder, when given, receives the hit's mesh node only.
bool VPLPickModel(const MM3DModelMolecule& molecule, const MM3DVector& p0, const MM3DVector& p1,
                  MM3DVector& out, VPLVertexHolder* hit);
// The same on the shapes the meshes' skins and blend shapes make of them.
bool VPLPickDeformedModel(const MM3DModelMolecule& molecule, const MM3DVector& p0,
                          const MM3DVector& p1, MM3DVector& out, VPLVertexHolder* hit);
// True at the first visible triangle crossed.
bool VPLHitsModel(const MM3DModelMolecule& molecule, const MM3DVector& p0, const MM3DVector& p1);
// The index, within its block, of the first visible triangle crossed; -1.
int32_t VPLPickTriangleIndex(const MM3DModelMolecule& molecule, const MM3DVector& p0,
                             const MM3DVector& p1);

// line.mStart + x times line.mEnd made unit length.
MM3DVector VPLPointToLineVector(const VPLSegment& line, float x);
float VPLSegmentLength(const VPLSegment& line);
// Appends a copy of vertex i (position, colour, normal and the coordinate
// pair of set s) to the block; out is the copy's index. False, adding
// nothing, for an index outside the block or a full block.
bool VPLDuplicateVertex(int32_t i, MM3DIndexedMeshVertexData& block, int32_t& out, int32_t s);
