#include "mm3d/MM3DStandardRenderer.h"

#include <utility>

MM3DStandardRenderer::MM3DStandardRenderer(UURefCount<MM3DDriver> driver)
    : MM3DSortingRenderer(driver, kSortedCapacity), mBatch(std::move(driver)) {}

void MM3DStandardRenderer::ApplyTextureStages(const MM3DRenderStateBlock& block) {
  if (!(mBatch.GetBlock() == block)) {
    mBatch.Draw();
    mBatch.GetBlock() = block;
  }
  MM3DSortingRenderer::ApplyTextureStages(block);
}

void MM3DStandardRenderer::DrawSorted() {
  mBatch.GetBlock().Reset();
  MM3DSortingRenderer::DrawSorted();
}

void MM3DStandardRenderer::SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first,
                                           int32_t count) {
  if (GetTextureStages().mStages[0].mOpaque == kMM3DBlendingOff) {
    mBatch.Add(arrays, first, count);
  } else {
    MM3DSortingRenderer::SubmitTriangles(arrays, first, count);
  }
}
