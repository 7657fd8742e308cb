#pragma once
// Blend shapes move the vertices of the meshes below them by a weighted sum
// of stored target offsets: drawn = stored + sum of weight(i) x offset(i).
// Every target has one weight, which animations change over time; weights
// are not normalised and may be negative, and a zero weight costs nothing.
// Positions and normals have their own targets; blended normals are
// renormalised.
//
// Two kinds store their targets differently: the blend-shape array holds
// one offset per vertex from the block's first vertex on, the sparse blend
// shape a list of (offset, vertex index) deltas. Targets are kept per part
// and block of the mesh drawn below, one per weight.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DDeformerRecords.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"

#include <cstdint>
#include <utility>

class MM3DDisplayTreeNodeBlendShape : public MM3DIndexedMeshDeformingNode {
 public:
  // The weight count, the weights, then the child list.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const UUGrowableArray<float>& GetWeights() const { return mWeights; }
  // An index outside the weights changes nothing.
  void SetWeight(int32_t index, float weight);

 protected:
  MM3DDisplayTreeNodeBlendShape() = default;
  explicit MM3DDisplayTreeNodeBlendShape(UUGrowableArray<float>&& weights)
      : mWeights(std::move(weights)) {}

 private:
  UUGrowableArray<float> mWeights;
};

// One entry of a sparse target: offset (4 floats), then vertex index
// (int16), with no gap.
struct MM3DBlendShapeDelta {
  MM3DVector mOffset;
  uint16_t mVertexIndex;

  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);
};

// What both kinds share, over their target element: a dense offset or a
// sparse delta. The record holds the target count, the position targets
// and the normal targets per part and block (exactly one target per weight
// in each block), then the weights' record; a target count that differs
// from the weight count fails the read. Targets outside a block's vertices
// and weights without a target are skipped when drawing.
template <typename T>
class MM3DDisplayTreeNodeBlendShapeTargets : public MM3DDisplayTreeNodeBlendShape {
 public:
  MM3DDisplayTreeNodeBlendShapeTargets() = default;
  MM3DDisplayTreeNodeBlendShapeTargets(UUGrowableArray<float>&& weights,
                                       MM3DMeshTargets<T>&& positionTargets,
                                       MM3DMeshTargets<T>&& normalTargets)
      : MM3DDisplayTreeNodeBlendShape(std::move(weights)),
        mPositionTargets(std::move(positionTargets)),
        mNormalTargets(std::move(normalTargets)) {}

  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;
  void DeformPositions(MM3DVertexArrays& arrays) override;
  void DeformNormals(MM3DVertexArrays& arrays) override;

  const MM3DMeshTargets<T>& GetPositionTargets() const { return mPositionTargets; }
  const MM3DMeshTargets<T>& GetNormalTargets() const { return mNormalTargets; }

 private:
  // Points view at the blend of the view's vectors and the selected
  // block's targets in scratch; false, leaving the view alone, when there
  // is nothing to blend into.
  bool Blend(const MM3DMeshTargets<T>& targets, UUGrowableArray<MM3DVector>* scratch,
             const MM3DVector& fill, int32_t count, const MM3DVector*& view) const;

  MM3DMeshTargets<T> mPositionTargets;
  MM3DMeshTargets<T> mNormalTargets;
};

extern template class MM3DDisplayTreeNodeBlendShapeTargets<MM3DVector>;
extern template class MM3DDisplayTreeNodeBlendShapeTargets<MM3DBlendShapeDelta>;

// Dense targets: element k of a target is the offset of vertex k.
class MM3DDisplayTreeNodeIndexedBlendShapeArray
    : public MM3DDisplayTreeNodeBlendShapeTargets<MM3DVector> {
 public:
  using MM3DDisplayTreeNodeBlendShapeTargets::MM3DDisplayTreeNodeBlendShapeTargets;
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedBlendShapeArray; }
};

// Sparse targets: each delta moves the vertex it names; a vertex listed
// twice receives both deltas.
class MM3DDisplayTreeNodeIndexedBlendShape
    : public MM3DDisplayTreeNodeBlendShapeTargets<MM3DBlendShapeDelta> {
 public:
  using MM3DDisplayTreeNodeBlendShapeTargets::MM3DDisplayTreeNodeBlendShapeTargets;
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeIndexedBlendShape; }
};
