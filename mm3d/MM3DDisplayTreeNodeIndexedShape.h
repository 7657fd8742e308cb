#pragma once
// Replaces the positions of the meshes below it by one of several stored
// shapes, chosen by a fractional shape index that an animation drives: a
// whole index selects a shape, a fraction between two whole indexes blends
// the two neighbouring shapes linearly, and an index outside the range
// (or not a number) holds the first or the last shape. At the ends and
// outside the range the view points straight at the stored shape. Normals
// are left as they are.
//
// Shapes are kept per part and block of the mesh drawn below, each with
// the full positions of its block. A block whose shapes are missing or
// shorter than its vertices keeps its incoming positions.

#include "mm3d/MM3DDeformerRecords.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"

#include <cstdint>
#include <utility>

class MM3DDisplayTreeNodeIndexedShape : public MM3DIndexedMeshDeformingNode {
 public:
  MM3DDisplayTreeNodeIndexedShape() = default;
  MM3DDisplayTreeNodeIndexedShape(float shapeIndex, MM3DMeshTargets<MM3DVector>&& shapes)
      : mShapes(std::move(shapes)), mShapeIndex(shapeIndex) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedShape; }
  // The shape count, the shapes per part and block (exactly that many in
  // each block, each a position count and the positions), then the child
  // list. The shape index is not part of the record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  void DeformPositions(MM3DVertexArrays& arrays) override;
  void DeformNormals(MM3DVertexArrays& /*arrays*/) override {}

  // The shape count of the first block of the first part; 0 without one.
  int32_t GetShapeCount() const;
  float GetShapeIndex() const { return mShapeIndex; }
  void SetShapeIndex(float shapeIndex) { mShapeIndex = shapeIndex; }
  const MM3DMeshTargets<MM3DVector>& GetShapes() const { return mShapes; }

 private:
  MM3DMeshTargets<MM3DVector> mShapes;
  // Until its animation first applies, the first shape.
  float mShapeIndex = 0.0f;
};
