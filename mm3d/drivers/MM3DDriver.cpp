#include "mm3d/drivers/MM3DDriver.h"

#include <utility>

MM3DDriver::MM3DDriver(const MM3DDeviceMode& mode) : mMode(mode) { mViewMatrix.SetIdentity(); }

MM3DDriver::~MM3DDriver() { mTexture.Release(); }

bool MM3DDriver::Suspend() {
  mActive = false;
  return Minimize();
}

void MM3DDriver::Resume() {
  Restore();
  mActive = true;
}

void MM3DDriver::BeginFrame() {
  BeginScene();
  mInFrame = true;
}

void MM3DDriver::EndFrame() {
  mInFrame = false;
  Present();
}

void MM3DDriver::SetTexture(MM3DDriverTextureHandle texture) {
  if (!texture.SameSlot(mTexture)) {
    mTexture = texture;
    GetTextureCollection().SelectHandle(texture);
  }
  texture.Release();
}

void MM3DDriver::SetState(int32_t& cached, int32_t value, void (MM3DDriver::*setter)(int32_t)) {
  if (cached == value) return;
  cached = value;
  (this->*setter)(value);
}

void MM3DDriver::ResetState() {
  SetState(mStateCache.mCullMode, kMM3DCullNone, &MM3DDriver::SetCullMode);
  SetState(mStateCache.mFillMode, kMM3DFillSolid, &MM3DDriver::SetFillMode);
  if (mMode.mDepthBufferCode != 0) {
    SetState(mStateCache.mDepthMode, kMM3DDepthTestAndWrite, &MM3DDriver::SetDepthMode);
    SetState(mStateCache.mDepthFunction, kMM3DDepthLess, &MM3DDriver::SetDepthFunction);
  } else {
    SetState(mStateCache.mDepthMode, kMM3DDepthOff, &MM3DDriver::SetDepthMode);
  }
  SetState(mStateCache.mOpaque, kMM3DBlendingOff, &MM3DDriver::SetBlending);
  if (mStateCache.mBlendSource != kMM3DBlendOne ||
      mStateCache.mBlendDestination != kMM3DBlendZero) {
    mStateCache.mBlendSource = kMM3DBlendOne;
    mStateCache.mBlendDestination = kMM3DBlendZero;
    SetBlendFactors(kMM3DBlendOne, kMM3DBlendZero);
  }
  SetState(mStateCache.mTextureMode, kMM3DTextureModulate, &MM3DDriver::SetTextureMode);
  SetState(mStateCache.mPerspectiveHint, kMM3DPerspectiveCorrect, &MM3DDriver::SetPerspectiveHint);
  SetState(mStateCache.mDithering, kMM3DDitheringOn, &MM3DDriver::SetDithering);
  mClearColor = MM3DClearColor{};
  SetClearColor(mClearColor.AsWord());
  mViewport = UURect(0, 0, mMode.mWidth, mMode.mHeight);
  SetViewport(mViewport);
  mDepthRange = MM3DDepthRange();
  SetDepthRange(mDepthRange);
  mProjection = MM3DProjectionVolume();
  SetProjection(mProjection);
  mViewMatrix.SetIdentity();
  SetViewMatrix(mViewMatrix);
}
