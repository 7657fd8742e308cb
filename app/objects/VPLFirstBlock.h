#pragma once
// The geometry the sliders, the grey scale and the colour picker work on:
// the first block of the first part of their model's first indexed mesh,
// and the triangle of it under a world ray, met in the mesh's own space.
// The triangle is found by a pick over every visible mesh, so an index
// that does not fit this block belongs to another one and counts as a
// miss.

#include "app/objects/VPLPicking.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMatrix.h"

#include <cstdint>

class MM3DDisplayTreeNodeIndexedMesh;
class MM3DModelMolecule;

// A triangle of the block crossed by a ray: its three vertex indexes and
// the point met, in the mesh's space.
struct VPLBlockHit {
  int32_t mCorners[3] = {0, 0, 0};
  MM3DVector mPoint{0.0f, 0.0f, 0.0f, 1.0f};
};

class VPLFirstBlock {
 public:
  // Finds the first indexed mesh of the molecule's tree, if any.
  explicit VPLFirstBlock(const MM3DModelMolecule& molecule);

  // Null without a mesh, a part or a block.
  MM3DIndexedMeshVertexData* Block() const;
  MM3DDisplayTreeNodeIndexedMesh* GetMesh() const { return mMesh; }
  // Identity without a mesh.
  MM3DMatrix WorldMatrix() const;
  // The position of vertex v; false when the block lacks it.
  bool Position(int32_t v, MM3DVector& out) const;
  // The index of the molecule's first visible triangle under the ray when
  // it is a triangle of this block whose corners it holds; else -1.
  int32_t PickTriangle(const MM3DModelMolecule& molecule, const VPLSegment& ray) const;
  // Where the ray, brought into the mesh's space, crosses triangle i.
  bool HitTriangle(int32_t i, const VPLSegment& ray, VPLBlockHit& hit) const;

 private:
  bool HasTriangle(int32_t i) const;

  MM3DDisplayTreeNodeIndexedMesh* mMesh = nullptr;
};
