#include "mm3d/MM3DRenderer.h"

#include "foundation/al/ALMilliseconds.h"
#include "mm3d/MM3DDriverStateSync.h"
#include "mm3d/drivers/MM3DDriver.h"

#include <utility>

namespace {

constexpr UURect kInitialViewport(0, 0, 640, 480);

}  // namespace

MM3DRenderer::MM3DRenderer(UURefCount<MM3DDriver> driver)
    : mDriver(std::move(driver)), mViewport(kInitialViewport) {
  mViewMatrix.SetIdentity();
  const uint32_t now = ALMilliseconds();
  mStatistics.mFrameStart = now;
  mStatistics.mCreated = now;
}

// The block's texture references go before the driver that owns them.
MM3DRenderer::~MM3DRenderer() { mBlock.Reset(); }

void MM3DRenderer::SetCullMode(int32_t mode) {
  if (mode != mCullMode) ApplyCullMode(mode);
}

void MM3DRenderer::SetTarget(MMSurface* target) {
  if (target != mTarget) ApplyTarget(target);
}

void MM3DRenderer::SetViewport(const UURect& viewport) {
  if (!(viewport == mViewport)) ApplyViewport(viewport);
}

void MM3DRenderer::SetDepthRange(const MM3DDepthRange& range) {
  if (!(range == mDepthRange)) ApplyDepthRange(range);
}

bool MM3DRenderer::SetProjection(const MM3DProjectionVolume& volume) {
  if (volume == mProjection) return true;
  ApplyProjection(volume);
  return false;
}

void MM3DRenderer::SetViewMatrix(const MM3DMatrix& matrix) {
  if (!(matrix == mViewMatrix)) ApplyViewMatrix(matrix);
}

void MM3DRenderer::SetTextureStages(const MM3DRenderStateBlock& block) {
  if (!(block == mBlock)) ApplyTextureStages(block);
}

void MM3DRenderer::DrawTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count) {
  if (CountTriangles(count)) SubmitTriangles(arrays, first, count);
}

void MM3DRenderer::DrawTrianglesInOrder(const MM3DVertexArrays& arrays, int32_t first,
                                        int32_t count) {
  if (CountTriangles(count)) SubmitTrianglesInOrder(arrays, first, count);
}

bool MM3DRenderer::CountTriangles(int32_t count) {
  mFramePolygons += count;
  // A block without stages is drawn in no pass at all; its first stage
  // holds nothing to choose a path by.
  return mBlock.mStageCount != 0;
}

void MM3DRenderer::ApplyCullMode(int32_t mode) {
  FlushIfFrameOpen();
  mCullMode = mode;
  if (mDriver) MM3DSyncCullMode(*mDriver, mode);
}

void MM3DRenderer::ApplyTarget(MMSurface* target) {
  FlushIfFrameOpen();
  mTarget = target;
}

void MM3DRenderer::ApplyViewport(const UURect& viewport) {
  FlushIfFrameOpen();
  mViewport = viewport;
  if (mDriver) MM3DSyncViewport(*mDriver, viewport);
}

void MM3DRenderer::ApplyDepthRange(const MM3DDepthRange& range) {
  FlushIfFrameOpen();
  mDepthRange = range;
  if (mDriver) MM3DSyncDepthRange(*mDriver, range);
}

void MM3DRenderer::ApplyProjection(const MM3DProjectionVolume& volume) {
  FlushIfFrameOpen();
  mProjection = volume;
  if (mDriver) MM3DSyncProjection(*mDriver, volume);
}

void MM3DRenderer::ApplyViewMatrix(const MM3DMatrix& matrix) {
  FlushIfFrameOpen();
  mViewMatrix = matrix;
  if (mDriver) MM3DSyncViewMatrix(*mDriver, matrix);
}

void MM3DRenderer::ApplyTextureStages(const MM3DRenderStateBlock& block) { mBlock = block; }

void MM3DRenderer::BeginFrame() {
  mFrameOpen = true;
  mFramePolygons = 0;
  mStatistics.mFrameStart = ALMilliseconds();
  if (mDriver) {
    mDriver->BeginFrame();
    MM3DSyncDepthMode(*mDriver, kMM3DDepthTestAndWrite);
    mDriver->ClearFrame();
  }
  RegisterState();
}

void MM3DRenderer::EndFrame() {
  Flush();
  DrawSorted();
  if (mDriver) {
    mDriver->EndFrame();
    if (!mDriver->mTexture.IsEmpty()) {
      mDriver->mTexture.Release();
      mDriver->GetTextureCollection().SelectNone();
    }
  }
  mBlock.Reset();
  const int32_t n = mFramePolygons;
  mStatistics.mLastPolygons = n;
  mStatistics.mTotalPolygons += n;
  if (n > mStatistics.mMaximumPolygons) mStatistics.mMaximumPolygons = n;
  if (n < mStatistics.mMinimumPolygons) mStatistics.mMinimumPolygons = n;
  mStatistics.mRenderTime += ALMilliseconds() - mStatistics.mFrameStart;
  mStatistics.mFrames += 1;
  mFrameOpen = false;
}

void MM3DRenderer::RestoreDriverState() {
  if (!mDriver) return;
  MM3DSyncCullMode(*mDriver, mCullMode);
  MM3DSyncViewport(*mDriver, mViewport);
  MM3DSyncDepthRange(*mDriver, mDepthRange);
  MM3DSyncProjection(*mDriver, mProjection);
  MM3DSyncViewMatrix(*mDriver, mViewMatrix);
}

void MM3DRenderer::FlushIfFrameOpen() {
  if (mFrameOpen) Flush();
}
