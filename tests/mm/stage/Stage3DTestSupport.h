#pragma once
// A started stage showing a 3D act, whose display is a driver the test
// makes, under the engine's own renderer, pipeline and texture strategy.

#include "StageTestSupport.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MMDisplayModeStrategy.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"

#include <functional>
#include <utility>

class Installing3DStrategy : public MMDisplayModeStrategy {
 public:
  using DriverMaker = std::function<UURefCount<MM3DDriver>()>;
  // The renderer over the driver; the engine's standard one when none is
  // given.
  using RendererMaker = std::function<MM3DRenderer*(const UURefCount<MM3DDriver>&)>;
  explicit Installing3DStrategy(DriverMaker maker, RendererMaker rendererMaker = {})
      : mMaker(std::move(maker)), mRendererMaker(std::move(rendererMaker)) {}

  void Apply(MMStage* stage) override {
    const UURefCount<MM3DDriver> driver = mMaker();
    MM3DRenderer* renderer = mRendererMaker ? mRendererMaker(driver)
                                            : new (ALGlobalAllocator) MM3DStandardRenderer(driver);
    stage->Set3DDisplay(driver, UURefCount<MM3DRenderer>(renderer),
                        UURefCount<MM3DPipeline>(new (ALGlobalAllocator) MM3DStandardPipeline),
                        new (ALGlobalAllocator) MM3DStandardDriverTextureStrategy);
  }
  bool RestoreDisplay(MMStage*) override { return true; }
  void ReleaseDisplay(MMStage*) override {}

 private:
  DriverMaker mMaker;
  RendererMaker mRendererMaker;
};

struct Stage3DOnTestThread {
  explicit Stage3DOnTestThread(Installing3DStrategy::DriverMaker maker,
                               Installing3DStrategy::RendererMaker rendererMaker = {})
      : mStrategy(std::move(maker), std::move(rendererMaker)) {
    mRun.Start();
    mRun.mLog.clear();
  }

  MMStage* Stage() { return mRun.mStage; }
  MMViewServices* Host() { return mRun.mStage->GetAct()->GetViewServices(); }
  MM3DRenderer& Renderer() { return *mRun.mStage->GetRenderer(); }
  MM3DPipeline& Pipeline() { return *mRun.mStage->GetPipeline(); }

  Installing3DStrategy mStrategy;
  StageOnTestThread mRun{
      [this](MMStage* stage) { return new (ALGlobalAllocator) MM3DAct(stage, &mStrategy); }};
};
