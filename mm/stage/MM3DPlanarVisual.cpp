#include "mm/stage/MM3DPlanarVisual.h"

#include "mm/stage/MMDrawContext.h"
#include "mm/stage/MMQuadIndices.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"

bool MM3DPlanarVisual::Contains(int32_t x, int32_t y) const {
  return x >= mBox.mLeft && x < mBox.mRight && y >= mBox.mTop && y < mBox.mBottom;
}

void MM3DPlanarVisual::SetBox(const UURect& box) {
  if (box != mBox) StoreBox(box);
}

void MM3DPlanarVisual::CenterOn(UUPoint point) {
  MoveTo(UUPoint{point.mX - mBox.GetWidth() / 2, point.mY - mBox.GetHeight() / 2});
}

void MM3DPlanarVisual::StorePosition(UUPoint point) {
  UURect box;
  box.FromPointAndSize(point, mBox.GetWidth(), mBox.GetHeight());
  StoreBox(box);
}

MM3DRenderStateBlock MM3DPlanarVisual::QuadBlock(bool opaque) {
  MM3DRenderStateBlock block;
  block.mStageCount = 1;
  MM3DRenderStage& stage = block.mStages[0];
  // Every flat quad lies at depth 0: "less or equal" lets a later one
  // paint over an earlier one, as the enclosure's order says.
  if (opaque) {
    stage.mDepthMode = kMM3DDepthTestAndWrite;
    stage.mDepthFunction = kMM3DDepthLessEqual;
    stage.mOpaque = kMM3DBlendingOff;
    stage.mBlendFactors = MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendZero);
  } else {
    stage.mDepthMode = kMM3DDepthTestOnly;
    stage.mDepthFunction = kMM3DDepthLessEqual;
    stage.mOpaque = kMM3DBlendingOn;
    stage.mBlendFactors = MM3DBlendFactors(kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha);
  }
  return block;
}

void MM3DPlanarVisual::DrawQuad(const MMDrawContext& context, MM3DRenderStateBlock& block,
                                MM3DPackedColor color,
                                const MM3DTextureCoordinate* coordinates) const {
  const UURect box = GetBounds();
  const auto left = static_cast<float>(box.mLeft);
  const auto top = static_cast<float>(box.mTop);
  const auto right = static_cast<float>(box.mRight);
  const auto bottom = static_cast<float>(box.mBottom);
  const MM3DVector positions[4] = {{left, top, 0.0f, 1.0f},
                                   {right, top, 0.0f, 1.0f},
                                   {right, bottom, 0.0f, 1.0f},
                                   {left, bottom, 0.0f, 1.0f}};
  const MM3DPackedColor colors[4] = {color, color, color, color};
  MM3DVertexArrays arrays;
  arrays.mVertexCount = 4;
  arrays.mPositions = positions;
  arrays.mColors = colors;
  arrays.mTextureCoordinates0 = coordinates;
  arrays.mIndexCount = 6;
  arrays.mIndices = MMQuadIndices;
  context.mRenderer->SetTextureStages(block);
  context.mRenderer->DrawTrianglesInOrder(arrays, 0, 2);
  block.Reset();
}
