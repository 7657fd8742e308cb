#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DDisplayModeStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "tests/mm3d/FakeTextureCollection.h"

#include <cstdlib>

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

// Names modules as missing for the life of the scope.
class MissingModules {
 public:
  explicit MissingModules(const char* names) { setenv("VPL3D_MISSING_MODULES", names, 1); }
  ~MissingModules() { unsetenv("VPL3D_MISSING_MODULES"); }
};

TEST(MMDisplayModeStrategyTest, A3DDisplayStartsOnOpenGL) {
  StageOnTestThread run(nullptr);
  run.mStage->Init();
  ASSERT_TRUE(MMStandard3DDisplayModeStrategy().ApplyMode(run.mStage, kMMDisplayWindow,
                                                          UURect(0, 0, 640, 480), 1, true));
  EXPECT_EQ(run.mStage->GetDriver()->GetApiName(), "OpenGL 1.1");
  EXPECT_EQ(run.mStage->GetDriver()->mMode.mDepthBufferCode, 1);
  EXPECT_EQ(run.mStage->GetDriver()->mMode.mFullScreen, 0);
  EXPECT_NE(run.mStage->GetTextureMap(), nullptr);
}

// One texture map serves the stage's life: a handle taken before a
// display change stays valid and gets its texture from the new driver.
TEST(MMDisplayModeStrategyTest, TextureHandlesOutliveADisplayChange) {
  StageOnTestThread run(nullptr);
  run.mStage->Init();
  FakeTextureCollection textures{9};
  const MMResourceId id = textures.Add({10, 20, 30});
  MM3DDriverTextureMap* map = run.mStage->GetTextureMap();
  ASSERT_NE(map, nullptr);
  MM3DTextureHandle handle = map->GetHandle(id, {1, 1, 0});
  for (const int32_t width : {640, 320}) {
    SCOPED_TRACE(width);
    ASSERT_TRUE(MMStandard3DDisplayModeStrategy().ApplyMode(run.mStage, kMMDisplayWindow,
                                                            UURect(0, 0, width, 480), 1, true));
    EXPECT_EQ(run.mStage->GetTextureMap(), map);
    EXPECT_FALSE(handle.GetDriverTexture().IsEmpty());
  }
}

TEST(MMDisplayModeStrategyTest, A3DDisplayFallsBackToDirect3DAndPausesWhileLeft) {
  MissingModules noOpenGL("OPENGL32.DLL");
  FullScreen3DStrategy strategy;
  StageOnTestThread run(
      [&](MMStage* stage) { return new (ALGlobalAllocator) MM3DAct(stage, &strategy); });
  run.Start();
  ASSERT_FALSE(run.mStage->LacksDisplay());
  MM3DDriver& driver = *run.mStage->GetDriver();
  EXPECT_EQ(driver.GetApiName(), "Direct3D 7");
  EXPECT_EQ(driver.mMode.mFullScreen, 1);

  run.mStage->AppDeactivated();
  EXPECT_EQ(run.mStage->GetPauseCount(), 1);
  EXPECT_FALSE(driver.mActive);
  run.mStage->AppActivated();
  EXPECT_EQ(run.mStage->GetPauseCount(), 0);
  EXPECT_TRUE(driver.mActive);
}

TEST(MMDisplayModeStrategyTest, WithoutEitherDriverThe3DStrategyBuildsNothing) {
  MissingModules noDrivers("OPENGL32.DLL;DDRAW.DLL");
  StageOnTestThread run(nullptr);
  run.mStage->Init();
  for (const bool useOpenGL : {true, false}) {
    EXPECT_FALSE(MMStandard3DDisplayModeStrategy().ApplyMode(run.mStage, kMMDisplayWindow,
                                                             UURect(0, 0, 640, 480), 1, useOpenGL));
  }
  EXPECT_TRUE(run.mStage->LacksDisplay());
}

}  // namespace
