#pragma once
// The base of every node that draws triangles: rendering it asks the node
// to rasterize itself at its world matrix. An instanced mesh rasterizes its
// target at its own matrix instead.

#include "mm3d/MM3DDisplayTreeNode.h"

class MM3DDisplayTreeNodeRasterizable : public MM3DDisplayTreeNode {
 public:
  // Rasterizes the node at its world matrix.
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) override;
  virtual void Rasterize(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer,
                         const MM3DMatrix& world) = 0;
};
