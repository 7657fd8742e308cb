#include "mm3d/MM3DSortingRenderer.h"

#include <utility>

MM3DSortingRenderer::MM3DSortingRenderer(UURefCount<MM3DDriver> driver, int32_t sortedCapacity)
    : MM3DRenderer(driver), mSorted(std::move(driver), sortedCapacity) {}

void MM3DSortingRenderer::ApplyCullMode(int32_t mode) {
  MM3DRenderer::ApplyCullMode(mode);
  mSorted.RegisterCullMode(mode);
}

void MM3DSortingRenderer::ApplyViewport(const UURect& viewport) {
  MM3DRenderer::ApplyViewport(viewport);
  mSorted.RegisterViewport(viewport);
}

void MM3DSortingRenderer::ApplyDepthRange(const MM3DDepthRange& range) {
  MM3DRenderer::ApplyDepthRange(range);
  mSorted.RegisterDepthRange(range);
}

void MM3DSortingRenderer::ApplyProjection(const MM3DProjectionVolume& volume) {
  MM3DRenderer::ApplyProjection(volume);
  mSorted.RegisterProjection(volume);
}

void MM3DSortingRenderer::ApplyViewMatrix(const MM3DMatrix& matrix) {
  MM3DRenderer::ApplyViewMatrix(matrix);
  mSorted.RegisterViewMatrix(matrix);
}

void MM3DSortingRenderer::ApplyTextureStages(const MM3DRenderStateBlock& block) {
  MM3DRenderer::ApplyTextureStages(block);
  mSorted.RegisterBlock(block);
}

void MM3DSortingRenderer::RegisterState() {
  mSorted.RegisterCullMode(GetCullMode());
  mSorted.RegisterViewport(GetViewport());
  mSorted.RegisterDepthRange(GetDepthRange());
  mSorted.RegisterProjection(GetProjection());
  mSorted.RegisterViewMatrix(GetViewMatrix());
}

void MM3DSortingRenderer::DrawSorted() {
  mSorted.Draw();
  mSorted.ClearTables();
  RestoreDriverState();
}

void MM3DSortingRenderer::SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first,
                                          int32_t count) {
  mSorted.Add(arrays, first, count);
}
