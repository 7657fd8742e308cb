#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DDisplayModeStrategy.h"
#include "mm/stage/MMStageControl.h"

namespace {

// The 2D strategy the application uses: full screen at 800 x 600.
class FullScreen2DStrategy : public MM2DDisplayModeStrategy {
 public:
  void Apply(MMStage* stage) override {
    if (!ApplyMode(stage, kMMDisplayFullScreen, UURect(0, 0, 800, 600), 32)) Fail(stage);
  }
};

TEST(MMDisplayModeStrategyTest, AWindowKeepsItsPlaceOnScreenAndTakesTheStagesSize) {
  StageOnTestThread run(nullptr);
  run.mStage->Init();
  run.mWindow->SetScreenRect(RECT{100, 50, 300, 250});
  MM2DDisplayModeStrategy strategy;
  ASSERT_TRUE(strategy.ApplyMode(run.mStage, kMMDisplayWindow, UURect(0, 0, 640, 480), 32));
  EXPECT_EQ(MMRectFromWin32(run.mWindow->GetScreenRect()), UURect(100, 50, 740, 530));
  EXPECT_EQ(MMRectFromWin32(run.mStage->GetControl()->GetRect()), UURect(0, 0, 640, 480));
  ASSERT_NE(strategy.GetDisplayMode(), nullptr);
  EXPECT_EQ(strategy.GetDisplayMode()->mBitsPerPixel, 16);
  EXPECT_FALSE(strategy.GetDisplayMode()->mFullScreen);
  // Any other mode covers the screen and centres the stage.
  strategy.ApplyMode(run.mStage, 2, UURect(0, 0, 640, 480), 32);
  const UURect screen = MMDisplayModeStrategy::GetScreenRect();
  EXPECT_EQ(MMRectFromWin32(run.mWindow->GetScreenRect()), screen);
  EXPECT_EQ(MMRectFromWin32(run.mStage->GetControl()->GetRect()).mLeft, (screen.mRight - 640) / 2);
}

TEST(MMDisplayModeStrategyTest, FullScreenGivesTheScreenBackWhenTheApplicationIsLeft) {
  FullScreen2DStrategy fullScreen;
  StageOnTestThread run(
      [&](MMStage* stage) { return new (ALGlobalAllocator) MM2DAct(stage, &fullScreen); });
  run.Start();
  HWND window = run.mWindow->GetHandle();
  EXPECT_TRUE(fullScreen.GetDisplayMode()->mFullScreen);
  EXPECT_EQ(MMRectFromWin32(run.mWindow->GetScreenRect()), UURect(0, 0, 800, 600));
  run.mStage->AppDeactivated();
  EXPECT_TRUE(IsIconic(window));
  run.mStage->AppActivated();
  EXPECT_FALSE(IsIconic(window));
  EXPECT_EQ(run.mStage->GetPauseCount(), 0);  // a 2D display never pauses
}

TEST(MMDisplayModeStrategyTest, LeavingTheApplicationInAWindowChangesNothing) {
  StageOnTestThread run([](MMStage* stage) {
    return new (ALGlobalAllocator) MM2DAct(stage, &MMStandard2DDisplayModeStrategy());
  });
  run.Start();
  run.mStage->AppDeactivated();
  EXPECT_FALSE(IsIconic(run.mWindow->GetHandle()));
}

// The 3D engine's side: OpenGL may be refused.
class FakeDriver : public MM3DDriver {
 public:
  bool IsActive() const override { return mActive; }
  void Suspend() override { mActive = false; }
  bool Resume() override { return mActive = true; }
  bool mActive = true;
};
class FakeRenderer : public MM3DRenderer {
 public:
  void BeginFrame() override {}
  void EndFrame() override {}
};
class FakePipeline : public MM3DPipeline {};
class FakeTextureStrategy : public MM3DDriverTextureStrategy {};
class FakeTextureMap : public MM3DDriverTextureMap {
 public:
  void SetDriver(const UURefCount<MM3DDriver>& driver, MM3DDriverTextureStrategy*) override {
    mDriver = driver.Get();
  }
  void LoadAll() override {}
  MM3DDriver* mDriver = nullptr;
};

class FakeFactory : public MM3DDisplayFactory {
 public:
  UURefCount<MM3DDriver> CreateGLDriver(const WinMM3DGLDriverInfo& info, const MM3DDeviceMode& mode,
                                        HWND drawing, HWND) override {
    mLog.push_back(std::string("gl ") + info.mLibraryName);
    mFullScreenOption = mode.mOption2;
    mDrawingWindow = drawing;
    return mOpenGLWorks ? UURefCount<MM3DDriver>(new (ALGlobalAllocator) FakeDriver)
                        : UURefCount<MM3DDriver>();
  }
  UURefCount<MM3DDriver> CreateDDDriver(const WinMM3DDDDriverInfo& info, const MM3DDeviceMode& mode,
                                        HWND drawing, HWND) override {
    mLog.push_back(std::string("dd ") + info.mDescription + (info.mHasDevice ? " device" : ""));
    EXPECT_EQ(mode.mDepthBuffer, 1);
    EXPECT_EQ(drawing, mDrawingWindow);
    return UURefCount<MM3DDriver>(new (ALGlobalAllocator) FakeDriver);
  }
  MM3DRenderer* CreateStandardRenderer(const UURefCount<MM3DDriver>&) override {
    return new (ALGlobalAllocator) FakeRenderer;
  }
  MM3DPipeline* CreateStandardPipeline() override { return new (ALGlobalAllocator) FakePipeline; }
  MM3DDriverTextureStrategy* CreateStandardTextureStrategy() override {
    return new (ALGlobalAllocator) FakeTextureStrategy;
  }
  MM3DDriverTextureMap* CreateTextureMap() override {
    return new (ALGlobalAllocator) FakeTextureMap;
  }

  StageLog mLog;
  bool mOpenGLWorks = false;
  int mFullScreenOption = -1;
  HWND mDrawingWindow = nullptr;
};

class FullScreen3DStrategy : public MM3DDisplayModeStrategy {
 public:
  void Apply(MMStage* stage) override {
    const UURect rect(0, 0, 800, 600);
    if (!ApplyMode(stage, kMMDisplayFullScreen, rect, 1, true) &&
        !ApplyMode(stage, kMMDisplayFullScreen, rect, 1, false)) {
      Fail(stage);
    }
  }
};

TEST(MMDisplayModeStrategyTest, A3DDisplayFallsBackToDirect3DAndPausesWhileLeft) {
  FakeFactory factory;
  MMSet3DDisplayFactory(&factory);
  FullScreen3DStrategy strategy;
  {
    StageOnTestThread run(
        [&](MMStage* stage) { return new (ALGlobalAllocator) MM3DAct(stage, &strategy); });
    run.Start();
    EXPECT_EQ(factory.mLog, (StageLog{"gl OPENGL32.DLL", "dd Primary Display Driver"}));
    EXPECT_EQ(factory.mFullScreenOption, 1);
    EXPECT_EQ(factory.mDrawingWindow, run.mStage->GetControl()->GetHandle());
    ASSERT_FALSE(run.mStage->LacksDisplay());
    EXPECT_EQ(static_cast<FakeTextureMap*>(run.mStage->GetTextureMap())->mDriver,
              run.mStage->GetDriver().Get());

    run.mStage->AppDeactivated();
    EXPECT_EQ(run.mStage->GetPauseCount(), 1);
    EXPECT_FALSE(run.mStage->GetDriver()->IsActive());
    run.mStage->AppActivated();
    EXPECT_EQ(run.mStage->GetPauseCount(), 0);
    EXPECT_TRUE(run.mStage->GetDriver()->IsActive());
  }
  MMSet3DDisplayFactory(nullptr);
}

TEST(MMDisplayModeStrategyTest, WithoutA3DEngineThe3DStrategyFails) {
  MM3DDisplayModeStrategy strategy;
  StageOnTestThread run(nullptr);
  run.mStage->Init();
  EXPECT_FALSE(strategy.ApplyMode(run.mStage, kMMDisplayWindow, UURect(0, 0, 640, 480), 1, true));
  EXPECT_TRUE(run.mStage->LacksDisplay());
}

}  // namespace
