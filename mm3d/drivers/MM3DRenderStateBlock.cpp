#include "mm3d/drivers/MM3DRenderStateBlock.h"

#include "mm3d/drivers/MM3DDriver.h"

void MM3DRenderStateBlock::Reset() {
  for (int32_t i = 0; i < mStageCount && i < kMM3DMaxStages; ++i) mStages[i].mTexture.Release();
  mStageCount = 0;
}

bool MM3DRenderStateBlock::operator==(const MM3DRenderStateBlock& other) const {
  if (mStageCount != other.mStageCount) return false;
  for (int32_t i = 0; i < mStageCount && i < kMM3DMaxStages; ++i) {
    const MM3DRenderStage& a = mStages[i];
    const MM3DRenderStage& b = other.mStages[i];
    if (a.mDepthMode != b.mDepthMode || a.mDepthFunction != b.mDepthFunction ||
        a.mOpaque != b.mOpaque || !(a.mBlendFactors == b.mBlendFactors) ||
        !a.mTexture.SameSlot(b.mTexture)) {
      return false;
    }
  }
  return true;
}

bool MM3DRenderStateBlock::IsBlended() const {
  if (mStageCount == 0) return false;
  const MM3DBlendFactors opaquePair(kMM3DBlendOne, kMM3DBlendZero);
  for (int32_t i = 0; i < mStageCount && i < kMM3DMaxStages; ++i) {
    if (mStages[i].mOpaque == kMM3DBlendingOn && mStages[i].mBlendFactors == opaquePair) {
      return false;
    }
  }
  return true;
}

void MM3DRenderStateBlock::ApplyStage(MM3DDriver& driver, int32_t stage) const {
  const MM3DRenderStage& state = mStages[stage];
  MM3DDriverStateCache& cache = driver.mStateCache;
  if (cache.mDepthMode != state.mDepthMode) {
    cache.mDepthMode = state.mDepthMode;
    driver.SetDepthMode(state.mDepthMode);
  }
  if (cache.mDepthFunction != state.mDepthFunction) {
    cache.mDepthFunction = state.mDepthFunction;
    driver.SetDepthFunction(state.mDepthFunction);
  }
  if (cache.mOpaque != state.mOpaque) {
    cache.mOpaque = state.mOpaque;
    driver.SetBlending(state.mOpaque);
  }
  const MM3DBlendFactors& factors = state.mBlendFactors;
  if (cache.mBlendSource != factors.mSource || cache.mBlendDestination != factors.mDestination) {
    cache.mBlendSource = factors.mSource;
    cache.mBlendDestination = factors.mDestination;
    driver.SetBlendFactors(factors.mSource, factors.mDestination);
  }
  driver.SetTexture(state.mTexture);
}
