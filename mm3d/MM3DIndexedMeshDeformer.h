#pragma once
// The protocol by which a node changes the shape of every mesh below it
// while that mesh is drawn, without touching the stored vertex data. A
// deforming node pushes itself on the render context's deformer list for
// its subtree only, so nested deformers stand outermost first; each one
// reads the view as its predecessor left it and points the view at its own
// result in the scratch arrays.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <cstdint>

class MM3DIndexedMeshDeformer {
 public:
  virtual ~MM3DIndexedMeshDeformer() = default;

  // A mesh below the deformer is about to be drawn.
  virtual void BeginFrame() = 0;
  // The next block handed over belongs to this part and block of the mesh.
  virtual void SelectPart(int32_t partIndex, int32_t blockIndex) = 0;
  // Replace the view's positions, or its normals, keeping everything else.
  virtual void DeformPositions(MM3DVertexArrays& arrays) = 0;
  virtual void DeformNormals(MM3DVertexArrays& arrays) = 0;
  // The mesh is done.
  virtual void EndFrame() = 0;
};

// The node side shared by every deformer kind, with the state common to all.
class MM3DIndexedMeshDeformingNode : public MM3DDisplayTreeNodeWithChildren,
                                     public MM3DIndexedMeshDeformer {
 public:
  // Renders the children with this deformer on the context's list.
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) override;

  void BeginFrame() override { mInFrame = true; }
  void SelectPart(int32_t partIndex, int32_t blockIndex) override;
  void EndFrame() override { mInFrame = false; }

  bool IsInFrame() const { return mInFrame; }
  int32_t GetPartIndex() const { return mPartIndex; }
  int32_t GetBlockIndex() const { return mBlockIndex; }

 private:
  bool mInFrame = false;
  int32_t mPartIndex = 0;
  int32_t mBlockIndex = 0;
};

// Grows a scratch array to at least count entries, new ones set to fill;
// it never shrinks, so entries beyond count keep earlier contents.
template <typename T>
void MM3DGrowScratch(UUGrowableArray<T>& scratch, int32_t count, const T& fill) {
  if (scratch.Count() < count) scratch.Insert(scratch.Count(), count - scratch.Count(), fill);
}
// The scratch array's storage for a view, or null while it is empty.
template <typename T>
const T* MM3DScratchData(const UUGrowableArray<T>& scratch) {
  return scratch.Count() == 0 ? nullptr : scratch.Begin();
}
// Scales x, y and z of count normals to unit length with the fast inverse
// square root; w is kept and a zero normal stays zero.
void MM3DNormalizeNormals(MM3DVector* normals, int32_t count);
