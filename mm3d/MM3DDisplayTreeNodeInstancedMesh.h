#pragma once
// Draws another rasterizable node of the same file a second time, at this
// node's place in the tree: the target is rasterized at this node's world
// matrix, under the deformers and lights in scope here. The target is not
// owned and must outlive the node; until the file's delayed references are
// resolved it is empty, and an empty target draws nothing.

#include "mm3d/MM3DDelayedReference.h"
#include "mm3d/MM3DDisplayTreeNodeRasterizable.h"

class MM3DDisplayTreeNodeInstancedMesh : public MM3DDisplayTreeNode {
 public:
  MM3DDisplayTreeNodeInstancedMesh() = default;
  explicit MM3DDisplayTreeNodeInstancedMesh(MM3DDisplayTreeNodeRasterizable* target) {
    mTarget.Set(target);
  }

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeInstancedMesh; }
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) override;
  // The delayed reference to the target (int32, -1 for none).
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  MM3DDisplayTreeNodeRasterizable* GetTarget() const { return mTarget.Get(); }
  void SetTarget(MM3DDisplayTreeNodeRasterizable* target) { mTarget.Set(target); }

 private:
  MM3DDelayedReference<MM3DDisplayTreeNodeRasterizable> mTarget;
};
