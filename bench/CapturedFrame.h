#pragma once
// The driver calls of one frame of a stage, caught once and then handed to
// the stage's driver directly: the same triangles (positions, finished
// colours, texture coordinates) under the same blocks, textures, view
// matrices, viewports and projections, with no scene, pipeline or renderer
// in between. The floor of a frame.

#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDriverStateSync.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "mm3d/drivers/MM3DDriver.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace captured_frame {

// Keeps what it is given, corner by corner.
class KeepingBuffer : public MM3DTriangleBuffer {
 public:
  KeepingBuffer(int32_t capacity, int32_t texCoordSets)
      : MM3DTriangleBuffer(capacity, texCoordSets),
        mPositions(3 * static_cast<size_t>(capacity)),
        mColors(mPositions.size()),
        mTexCoords{std::vector<MM3DTexCoord>(mPositions.size()),
                   std::vector<MM3DTexCoord>(mPositions.size())} {}

  void SetTrianglePositions(int32_t t, const MM3DVector& a, const MM3DVector& b,
                            const MM3DVector& c) override {
    const MM3DVector corners[] = {a, b, c};
    SetPositions(t, 1, corners);
  }
  void SetTriangleColors(int32_t t, MM3DCornerColor a, MM3DCornerColor b,
                         MM3DCornerColor c) override {
    const MM3DCornerColor corners[] = {a, b, c};
    SetColors(t, 1, corners);
  }
  void SetTriangleTexCoords(int32_t t, int32_t set, MM3DTexCoord a, MM3DTexCoord b,
                            MM3DTexCoord c) override {
    const MM3DTexCoord corners[] = {a, b, c};
    SetTexCoords(t, 1, set, corners);
  }
  void SetPositions(int32_t first, int32_t count, const MM3DVector* positions) override {
    std::copy_n(positions, 3 * count, mPositions.begin() + 3 * first);
  }
  void SetColors(int32_t first, int32_t count, const MM3DCornerColor* colors) override {
    std::copy_n(colors, 3 * count, mColors.begin() + 3 * first);
  }
  void SetTexCoords(int32_t first, int32_t count, int32_t set,
                    const MM3DTexCoord* coords) override {
    std::copy_n(coords, 3 * count, mTexCoords[set].begin() + 3 * first);
  }
  void SetIndexedPositions(int32_t first, int32_t count, const MM3DVector* positions,
                           const uint16_t* indexes) override {
    for (int32_t k = 0; k < 3 * count; ++k) mPositions[3 * first + k] = positions[indexes[k]];
  }
  void SetIndexedColors(int32_t first, int32_t count, const MM3DCornerColor* colors,
                        const uint16_t* indexes) override {
    for (int32_t k = 0; k < 3 * count; ++k) mColors[3 * first + k] = colors[indexes[k]];
  }
  void SetIndexedTexCoords(int32_t first, int32_t count, int32_t set, const MM3DTexCoord* coords,
                           const uint16_t* indexes) override {
    for (int32_t k = 0; k < 3 * count; ++k) mTexCoords[set][3 * first + k] = coords[indexes[k]];
  }

  std::vector<MM3DVector> mPositions;
  std::vector<MM3DCornerColor> mColors;
  std::vector<MM3DTexCoord> mTexCoords[kMM3DMaxTexCoordSets];
};

// One driver call of the frame; a draw keeps its corners and the states it
// was drawn under.
struct Call {
  enum Kind { kBeginScene, kClear, kPresent, kDraw } mKind = kDraw;
  int32_t mDepthMode = kMM3DStateUnset;
  MM3DRenderStateBlock mBlock;
  int32_t mCullMode = kMM3DCullNone;
  UURect mViewport;
  MM3DDepthRange mDepthRange;
  MM3DProjectionVolume mProjection;
  MM3DMatrix mViewMatrix;
  int32_t mCount = 0;
  std::vector<MM3DVector> mPositions;
  std::vector<MM3DCornerColor> mColors;
  std::vector<MM3DTexCoord> mTexCoords[kMM3DMaxTexCoordSets];
};

// Draws nothing and notes every call; its textures are the real driver's,
// so that the blocks it keeps name slots the real driver can draw with. It
// starts in the real driver's states: a renderer sends only what changes.
class KeepingDriver : public MM3DDriver {
 public:
  explicit KeepingDriver(MM3DDriver& real) : MM3DDriver(real.mMode), mReal(real) {
    mClearColor = real.mClearColor;
    mStateCache = real.mStateCache;
    mViewport = real.mViewport;
    mDepthRange = real.mDepthRange;
    mProjection = real.mProjection;
    mViewMatrix = real.mViewMatrix;
  }

  std::string GetApiName() const override { return mReal.GetApiName(); }
  std::string GetDescription() const override { return mReal.GetDescription(); }
  MM3DDriverTextureCollection& GetTextureCollection() override {
    return mReal.GetTextureCollection();
  }
  bool Minimize() override { return true; }
  bool Restore() override { return true; }
  void BeginScene() override { mCalls.push_back(Call{.mKind = Call::kBeginScene}); }
  // A clear is drawn again under the depth mode it met.
  void Clear() override {
    mCalls.push_back(Call{.mKind = Call::kClear, .mDepthMode = mStateCache.mDepthMode});
  }
  void Present() override { mCalls.push_back(Call{.mKind = Call::kPresent}); }
  // The states stay in the cache the draws read.
  void SetClearColor(uint32_t) override {}
  void SetCullMode(int32_t) override {}
  void SetFillMode(int32_t) override {}
  void SetDepthMode(int32_t) override {}
  void SetDepthFunction(int32_t) override {}
  void SetBlending(int32_t) override {}
  void SetBlendFactors(int32_t, int32_t) override {}
  void SetTextureMode(int32_t) override {}
  void SetPerspectiveHint(int32_t) override {}
  void SetDithering(int32_t) override {}
  void SetViewport(const UURect&) override {}
  void SetDepthRange(const MM3DDepthRange&) override {}
  void SetProjection(const MM3DProjectionVolume&) override {}
  void SetViewMatrix(const MM3DMatrix&) override {}
  MM3DTriangleBuffer* CreateTriangleBuffer(int32_t capacity, int32_t texCoordSets) override {
    return new KeepingBuffer(capacity, texCoordSets);
  }
  void DestroyTriangleBuffer(MM3DTriangleBuffer* buffer) override { delete buffer; }
  void DrawTriangleBuffer(const MM3DRenderStateBlock& block, MM3DTriangleBuffer& buffer,
                          int32_t first, int32_t count) override {
    const auto& kept = static_cast<const KeepingBuffer&>(buffer);
    Call call{.mBlock = block,
              .mCullMode = mStateCache.mCullMode,
              .mViewport = mViewport,
              .mDepthRange = mDepthRange,
              .mProjection = mProjection,
              .mViewMatrix = mViewMatrix,
              .mCount = count};
    const auto from = static_cast<size_t>(3 * first);
    const auto to = from + static_cast<size_t>(3 * count);
    call.mPositions.assign(kept.mPositions.begin() + from, kept.mPositions.begin() + to);
    call.mColors.assign(kept.mColors.begin() + from, kept.mColors.begin() + to);
    for (int32_t s = 0; s < kMM3DMaxTexCoordSets; ++s) {
      call.mTexCoords[s].assign(kept.mTexCoords[s].begin() + from, kept.mTexCoords[s].begin() + to);
    }
    mCalls.push_back(std::move(call));
  }

  std::vector<Call> mCalls;

 private:
  MM3DDriver& mReal;
};

}  // namespace captured_frame

class CapturedFrame {
 public:
  // Runs one frame of the stage with a renderer over a driver that only
  // keeps what it gets, then gives the stage its own renderer back.
  template <typename RunFrame>
  CapturedFrame(MMStage& stage, RunFrame runFrame) : mDriver(stage.GetDriver()) {
    if (!mDriver) return;
    const UURefCount<captured_frame::KeepingDriver> keeping(
        new captured_frame::KeepingDriver(*mDriver));
    const UURefCount<MM3DRenderer> own = stage.GetRenderer();
    stage.Set3DDisplay(mDriver, UURefCount<MM3DRenderer>(new MM3DStandardRenderer(keeping)),
                       stage.GetPipeline(), stage.GetTextureStrategy());
    runFrame();
    stage.Set3DDisplay(mDriver, own, stage.GetPipeline(), stage.GetTextureStrategy());
    mCalls = std::move(keeping->mCalls);
    int32_t largest = 0;
    for (const captured_frame::Call& call : mCalls) {
      largest = std::max(largest, call.mCount);
      mTriangles += call.mCount;
    }
    if (largest > 0) mBuffer = mDriver->CreateTriangleBuffer(largest, kMM3DMaxTexCoordSets);
  }
  ~CapturedFrame() {
    mCalls.clear();
    if (mDriver) mDriver->DestroyTriangleBuffer(mBuffer);
  }
  CapturedFrame(const CapturedFrame&) = delete;
  CapturedFrame& operator=(const CapturedFrame&) = delete;

  bool Ready() const { return mBuffer != nullptr; }
  int32_t GetTriangles() const { return mTriangles; }

  // The frame's calls again, straight to the driver, its states through
  // its cache as the renderer sends them.
  void Draw() {
    MM3DDriver& driver = *mDriver;
    for (const captured_frame::Call& call : mCalls) {
      switch (call.mKind) {
        case captured_frame::Call::kBeginScene:
          driver.BeginFrame();
          break;
        case captured_frame::Call::kClear:
          MM3DSyncDepthMode(driver, call.mDepthMode);
          driver.ClearFrame();
          break;
        case captured_frame::Call::kPresent:
          driver.EndFrame();
          break;
        case captured_frame::Call::kDraw:
          DrawCall(driver, call);
          break;
      }
    }
    if (!driver.mTexture.IsEmpty()) {
      driver.mTexture.Release();
      driver.GetTextureCollection().SelectNone();
    }
  }

 private:
  void DrawCall(MM3DDriver& driver, const captured_frame::Call& call) {
    MM3DSyncCullMode(driver, call.mCullMode);
    MM3DSyncViewport(driver, call.mViewport);
    MM3DSyncDepthRange(driver, call.mDepthRange);
    MM3DSyncProjection(driver, call.mProjection);
    MM3DSyncViewMatrix(driver, call.mViewMatrix);
    mBuffer->SetPositions(0, call.mCount, call.mPositions.data());
    mBuffer->SetColors(0, call.mCount, call.mColors.data());
    for (int32_t s = 0; s < call.mBlock.mStageCount && s < kMM3DMaxTexCoordSets; ++s) {
      if (!call.mBlock.mStages[s].mTexture.IsEmpty()) {
        mBuffer->SetTexCoords(0, call.mCount, s, call.mTexCoords[s].data());
      }
    }
    driver.DrawTriangleBuffer(call.mBlock, *mBuffer, 0, call.mCount);
  }

  UURefCount<MM3DDriver> mDriver;
  std::vector<captured_frame::Call> mCalls;
  MM3DTriangleBuffer* mBuffer = nullptr;
  int32_t mTriangles = 0;
};
