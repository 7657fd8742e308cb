#include "app/creation/RU3DPolyLineVisual.h"

#include "mm/stage/MMDrawContext.h"
#include "mm/stage/MMQuadIndices.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/MM3DSceneChanges.h"

#include <cmath>

namespace {

// The vector scaled to the length; a zero vector (two equal points) gives
// a zero offset rather than a division by zero.
MM3DVector Offset(float x, float y, float z, float length) {
  const float norm = std::sqrt(x * x + y * y + z * z);
  if (norm == 0.0f) return {0.0f, 0.0f, 0.0f, 0.0f};
  const float factor = length / norm;
  return {x * factor, y * factor, z * factor, 0.0f};
}

// Opaque: depth tested and written, one to zero, no texture.
MM3DRenderStateBlock RibbonState() {
  MM3DRenderStateBlock block;
  block.mStageCount = 1;
  MM3DRenderStage& stage = block.mStages[0];
  stage.mDepthMode = kMM3DDepthTestAndWrite;
  stage.mDepthFunction = kMM3DDepthLess;
  stage.mOpaque = kMM3DBlendingOff;
  stage.mBlendFactors = MM3DBlendFactors(kMM3DBlendOne, kMM3DBlendZero);
  return block;
}

}  // namespace

RU3DPolyLineVisual::RU3DPolyLineVisual(const MM3DVector& first, const MM3DVector& second,
                                       const MM3DColor& color, float width, int32_t depth)
    : MMVisual(depth),
      mRenderState(RibbonState()),
      mRightEdge(kMaxPoints),
      mCentre(kMaxPoints),
      mLeftEdge(kMaxPoints),
      mColor(color),
      mHalfWidth(width * 0.5f) {
  const MM3DVector direction = second.Direction(first);
  StorePoint(first, direction);
  StorePoint(second, direction);
}

RU3DPolyLineVisual::~RU3DPolyLineVisual() { mRenderState.Reset(); }

bool RU3DPolyLineVisual::AddPoint(const MM3DVector& point) {
  if (mCount >= kMaxPoints) return false;
  const MM3DVector& last = mCentre[static_cast<size_t>(mCount - 1)];
  if (point.Equals(last)) return false;
  StorePoint(point, point.Direction(last));
  // A longer ribbon is a new frame to draw.
  MM3DSceneChanges::Note();
  return true;
}

int16_t RU3DPolyLineVisual::GetPoints(MM3DVector* out, int16_t n) const {
  const int16_t copied = n < mCount ? n : mCount;
  for (int16_t i = 0; i < copied; ++i) out[i] = mCentre[static_cast<size_t>(i)];
  return copied < 1 ? 0 : copied;
}

void RU3DPolyLineVisual::StorePoint(const MM3DVector& point, const MM3DVector& direction) {
  // Turned a quarter about z either way: the ribbon lies across the stroke
  // for strokes drawn facing the z axis.
  const MM3DVector left = Offset(-direction.mY, direction.mX, direction.mZ, mHalfWidth);
  const MM3DVector right = Offset(direction.mY, -direction.mX, direction.mZ, mHalfWidth);
  const auto i = static_cast<size_t>(mCount);
  mCentre[i] = point;
  mLeftEdge[i] = point.Sum(left);
  mRightEdge[i] = point.Sum(right);
  ++mCount;
}

void RU3DPolyLineVisual::Draw(const MMDrawContext& context) {
  if (!context.mRenderer || !context.mPipeline) return;
  MM3DRenderer& renderer = *context.mRenderer;
  renderer.SetTextureStages(mRenderState);
  renderer.SetProjection(context.mPipeline->GetProjection());
  renderer.SetViewMatrix(context.mPipeline->GetCameraMatrix());
  renderer.SetTarget(nullptr);
  // The stroke's winding follows the child's hand: both faces must show.
  renderer.SetCullMode(kMM3DCullNone);
  if (mCount < 2) return;
  MM3DPackedColor color;
  color.SetFromColor(mColor);
  const int32_t quads = mCount - 1;
  std::vector<MM3DVector> positions;
  std::vector<uint16_t> indices;
  positions.reserve(static_cast<size_t>(quads) * 4);
  indices.reserve(static_cast<size_t>(quads) * 6);
  for (size_t i = 0; i + 1 < static_cast<size_t>(mCount); ++i) {
    const auto base = static_cast<uint16_t>(positions.size());
    positions.insert(positions.end(),
                     {mLeftEdge[i], mRightEdge[i], mRightEdge[i + 1], mLeftEdge[i + 1]});
    for (const uint16_t corner : MMQuadIndices)
      indices.push_back(static_cast<uint16_t>(base + corner));
  }
  for (MM3DVector& position : positions) position.mW = 1.0f;
  const std::vector<MM3DPackedColor> colors(positions.size(), color);
  MM3DVertexArrays arrays;
  arrays.mVertexCount = static_cast<int32_t>(positions.size());
  arrays.mPositions = positions.data();
  arrays.mColors = colors.data();
  arrays.mIndexCount = static_cast<int32_t>(indices.size());
  arrays.mIndices = indices.data();
  renderer.DrawTriangles(arrays, 0, quads * 2);
}
