#pragma once
// A node that puts its light in scope for exactly its subtree: the light
// illuminates the meshes below the node, and an ambient light adds its
// colour to the ambient sum for that subtree only. It has no visibility.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DLight.h"
#include "mm3d/MM3DSceneChanges.h"

class MM3DDisplayTreeNodeLight : public MM3DDisplayTreeNodeWithChildren {
 public:
  MM3DDisplayTreeNodeLight() = default;
  explicit MM3DDisplayTreeNodeLight(const UURefCount<MM3DLight>& light) : mLight(light) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeLight; }
  // Pushes the light, renders the children, pops the light.
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) override;
  // The light's index in the database's light table (appended when absent;
  // -1 without a light), then the child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  UURefCount<MM3DLight> GetLight() const { return mLight; }
  void SetLight(const UURefCount<MM3DLight>& light) {
    mLight = light;
    MM3DSceneChanges::Note();
  }

 private:
  UURefCount<MM3DLight> mLight;
};
