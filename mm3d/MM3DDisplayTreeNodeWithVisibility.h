#pragma once
// Nodes that switch their subtree on and off: MM3DDisplayTreeNodeWithVisibility
// and the Root, the top node of a model's tree. An invisible node draws
// nothing below it, yet its world matrices still compute.

#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DSceneChanges.h"

#include <cstdint>

class MM3DDisplayTreeNodeWithVisibility : public MM3DDisplayTreeNodeWithChildren {
 public:
  explicit MM3DDisplayTreeNodeWithVisibility(int32_t visible = 1) : mVisible(visible) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeWithVisibility; }
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) override;
  // The visible flag (int32), then the child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;
  virtual void SetVisibility(int32_t visible) {
    mVisible = visible;
    MM3DSceneChanges::Note();
  }

  int32_t GetVisibility() const { return mVisible; }
  bool IsVisible() const { return mVisible != 0; }
  // SetVisibility only when the value differs from the flag.
  void ChangeVisibility(int32_t visible);
  // An animation channel: visible when the value is not 0.
  void SetVisibilityFromValue(float value);

 private:
  int32_t mVisible;
};

class MM3DDisplayTreeNodeRoot : public MM3DDisplayTreeNodeWithVisibility {
 public:
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeRoot; }
};
