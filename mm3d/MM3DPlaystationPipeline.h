#pragma once
// A second pipeline that nothing in the system constructs. It fills one
// block of its own for every part, sends the view matrix before the block,
// deforms positions only and empties its block after each part.

#include "mm3d/MM3DPipeline.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"

class MM3DPlaystationPipeline : public MM3DPipeline {
 public:
  ~MM3DPlaystationPipeline() override { mBlock.Reset(); }

  void RenderPart(const MM3DIndexedMeshVertexData& vertexData, MM3DRenderContext& context,
                  MM3DRenderer& renderer) override;

  const MM3DRenderStateBlock& GetBlock() const { return mBlock; }

 private:
  MM3DRenderStateBlock mBlock;
};
