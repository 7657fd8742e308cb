// The stage's offscreen pictures and its frame-rate monitor, on a program
// stage whose act maker gives a plain creation display: the stage thread's
// part runs on the test's thread, the clock is frozen and moved by hand.

#include "app/shell/VPL2DDisplayStrategy.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLDisplayModeStrategy.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLStage.h"
#include "foundation/af/AFWindow.h"
#include "foundation/al/ALAllocator.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DRenderer.h"
#include "platform/win32/testhooks.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/drivers/DriverFixture.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using vpl::test::DrainMessages;

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kColourBytes = 0x00FFFFFF;
constexpr int32_t kPictureSize = 16;
constexpr int32_t kSceneTime = 1234;
// A reading window of 3 s: so many frames are 9 and 10 frames a second.
constexpr DWORD kWindow = 3000;
constexpr int kSlowFrames = 27;
constexpr int kFastFrames = 30;

// The creation screen's display with nothing on it, drawing its cleared
// frame into pictures, and a record of the notice it was told to show.
class NoticeMaker : public VPLActMaker {
 public:
  MMAct* MakeAct(VPLStage* stage, int32_t) override {
    return new (ALGlobalAllocator) MM3DAct(stage, &VPLCreationDisplayStrategy());
  }
  bool AgreesToClose(MMAct*) override { return true; }
  void TickCreation(MMAct*, int32_t time) override { mTicks.push_back(time); }
  bool DrawCreationView(MMAct* act) override {
    const UURefCount<MM3DRenderer> renderer = act->GetStage()->GetRenderer();
    renderer->BeginFrame();
    renderer->EndFrame();
    return true;
  }
  void ShowSlowMachineNotice(MMAct*, bool shown) override { mNotices.push_back(shown); }

  std::vector<int32_t> mTicks;
  std::vector<bool> mNotices;
};

class VPLStageTest : public ::testing::Test {
 protected:
  VPLStageTest() {
    VPLSetActMaker(&mMaker);
    vpl::platform::FreezeClock();
    mStage->Init();
    mStage->RequestAct(1);
    mStage->UpdateLoop(mStage->GetTaskManager()->GetNow(), true);
    DrainMessages();
    mMaker.mNotices.clear();
  }
  ~VPLStageTest() override {
    unsetenv("VPL3D_MISSING_MODULES");
    vpl::platform::ThawClock();
    delete mWindow;
    DrainMessages();
    VPLSetActMaker(nullptr);
  }

  // One reading window of the monitor holding so many frames.
  void RunWindow(int frames) {
    for (int frame = 1; frame < frames; ++frame) Frame(1);
    Frame(kWindow - static_cast<DWORD>(frames - 1));
  }
  void Frame(DWORD milliseconds) {
    vpl::platform::AdvanceFrozenClock(milliseconds);
    mStage->Notify(true);
  }
  void RunWindows(int count, int frames) {
    for (int window = 0; window < count; ++window) RunWindow(frames);
  }

  NoticeMaker mMaker;
  MMStageWindow* mWindow = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  VPLStage* mStage = new (ALGlobalAllocator) VPLStage(mWindow, UURect(0, 0, 640, 480));
  UUOwned<MMSurface> mPicture = shell_test::PatternSurface(kPictureSize, kPictureSize, 1);
};

TEST_F(VPLStageTest, APictureAtNowStandsAtTheStagesTimeOnWhite) {
  ASSERT_TRUE(mStage->GetRenderer());
  const int32_t now = mStage->GetTaskManager()->GetNow();
  const VPLSurfaceRendering rendering = mStage->RenderToSurface(*mPicture, kVPLNow, true);
  EXPECT_TRUE(rendering.mRendered);
  EXPECT_EQ(rendering.mTime, now);
  EXPECT_EQ(mMaker.mTicks, std::vector<int32_t>{now});
  EXPECT_EQ(shell_test::SurfacePixel(*mPicture, 0, 0) & kColourBytes, kWhite);
  EXPECT_EQ(shell_test::SurfacePixel(*mPicture, kPictureSize - 1, kPictureSize - 1) & kColourBytes,
            kWhite);
}

TEST_F(VPLStageTest, APictureLeavesTheScreenDeviceInChargeAndCanBeDrawnAgain) {
  const UURefCount<MM3DRenderer> screen = mStage->GetRenderer();
  EXPECT_EQ(mStage->RenderToSurface(*mPicture, kSceneTime, false).mTime, kSceneTime);
  EXPECT_EQ(mStage->GetRenderer().Get(), screen.Get());
  const VPLSurfaceRendering again = mStage->RenderToSurface(*mPicture, kSceneTime, true);
  EXPECT_TRUE(again.mRendered);
  EXPECT_EQ(shell_test::SurfacePixel(*mPicture, 1, 1) & kColourBytes, kWhite);
  mStage->Notify(true);
}

TEST_F(VPLStageTest, WithoutTheOffscreenDeviceNothingIsDrawnAndTheTimeStays) {
  const uint32_t before = shell_test::SurfacePixel(*mPicture, 2, 2);
  setenv("VPL3D_MISSING_MODULES", "OPENGL32.DLL", 1);
  const VPLSurfaceRendering rendering = mStage->RenderToSurface(*mPicture, kSceneTime, true);
  EXPECT_FALSE(rendering.mRendered);
  EXPECT_EQ(rendering.mTime, kSceneTime);
  EXPECT_TRUE(mMaker.mTicks.empty());
  EXPECT_EQ(shell_test::SurfacePixel(*mPicture, 2, 2), before);
}

// The intro starts loading the 3D library before its end; the creation
// screen's driver, with either driver first, is made once that load is done.
TEST(VPLStageDisplayLibraryTest, ALibraryLoadedAheadServesTheCreationScreensDriver) {
  for (const uint8_t openGLFirst : {uint8_t{0}, uint8_t{1}}) {
    SCOPED_TRACE(openGLFirst != 0 ? "OpenGL" : "Direct3D");
    VPLOpenGLFirst = openGLFirst;
    NoticeMaker maker;
    VPLSetActMaker(&maker);
    auto* window = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
    auto* stage = new (ALGlobalAllocator) VPLStage(window, UURect(0, 0, 640, 480));
    stage->Init();
    stage->LoadDisplayLibraryAhead();
    stage->RequestAct(1);
    stage->UpdateLoop(stage->GetTaskManager()->GetNow(), true);
    DrainMessages();
    EXPECT_TRUE(stage->GetRenderer());
    delete window;
    DrainMessages();
    VPLSetActMaker(nullptr);
  }
  VPLOpenGLFirst = 0;
}

TEST_F(VPLStageTest, NineFramesASecondShowTheNoticeAfterTheFourthWindow) {
  RunWindows(3, kSlowFrames);
  EXPECT_TRUE(mMaker.mNotices.empty());
  RunWindow(kSlowFrames);
  EXPECT_EQ(mMaker.mNotices, std::vector<bool>{true});
  RunWindows(3, kSlowFrames);
  EXPECT_EQ(mMaker.mNotices, std::vector<bool>{true});
}

TEST_F(VPLStageTest, TenFramesASecondNeverShowTheNotice) {
  RunWindows(6, kFastFrames);
  EXPECT_TRUE(mMaker.mNotices.empty());
}

TEST_F(VPLStageTest, TheNoticeGoesOnlyAfterFourFastWindows) {
  RunWindows(4, kSlowFrames);
  RunWindows(3, kFastFrames);
  EXPECT_EQ(mMaker.mNotices, std::vector<bool>{true});
  RunWindow(kFastFrames);
  EXPECT_EQ(mMaker.mNotices, (std::vector<bool>{true, false}));
}

TEST_F(VPLStageTest, APictureHidesTheNotice) {
  mStage->RenderToSurface(*mPicture, kSceneTime, false);
  EXPECT_EQ(mMaker.mNotices, std::vector<bool>{false});
}

// The creation view drawn on the screen's device, as its driver holds it
// before it is shown.
std::vector<Rgb> ScreenFrame(shell_test::ProgramStage& stage) {
  EXPECT_TRUE(VPLGetActMaker().DrawCreationView(stage.Act()));
  return ReadBackBufferOf(800, 600);
}

// The picture takes the textures and the clear colour for a moment: the
// screen gets both back, with either driver.
TEST(VPLStagePictureTest, TheNextScreenFrameMatchesTheOneBeforeThePicture) {
  shell_test::ProgramDataFiles files;
  ASSERT_TRUE(files.Ready());
  for (const uint8_t openGLFirst : {uint8_t{0}, uint8_t{1}}) {
    SCOPED_TRACE(openGLFirst != 0 ? "OpenGL" : "Direct3D");
    VPLOpenGLFirst = openGLFirst;
    shell_test::CreationActMaker maker;
    auto stage = std::make_unique<shell_test::ProgramStage>(&maker, 1);
    ASSERT_TRUE(stage->Stage().GetRenderer());
    const std::vector<Rgb> before = ScreenFrame(*stage);
    // The frame shows the meadow, not one plain colour.
    ASSERT_FALSE(before.empty());
    EXPECT_NE(std::count(before.begin(), before.end(), before.front()),
              static_cast<std::ptrdiff_t>(before.size()));
    const UUOwned<MMSurface> picture = shell_test::PatternSurface(64, 48, 1);
    ASSERT_TRUE(stage->Stage().RenderToSurface(*picture, kVPLNow, true).mRendered);
    EXPECT_TRUE(ScreenFrame(*stage) == before);
    stage.reset();
  }
  VPLOpenGLFirst = 0;
}

// The creation screen's display showing one texture of the test's own over
// the whole view, through the stage's texture map, on whichever device the
// stage draws with.
class TextureMaker : public NoticeMaker {
 public:
  bool DrawCreationView(MMAct* act) override {
    MM3DDriver& driver = *act->GetStage()->GetDriver();
    MM3DTriangleBuffer* buffer = driver.CreateTriangleBuffer(16, 2);
    SetSquareView(driver);
    driver.BeginFrame();
    driver.ClearFrame();
    MM3DRenderStateBlock block = OpaqueBlock();
    block.mStages[0].mTexture = mTexture.GetDriverTexture();
    DrawQuad(driver, *buffer, Quad{}, block);
    block.Reset();
    driver.EndFrame();
    driver.DestroyTriangleBuffer(buffer);
    return true;
  }

  MM3DTextureHandle mTexture;
};

Rgb PictureCentre(VPLStage& stage, MMSurface& picture) {
  EXPECT_TRUE(stage.RenderToSurface(picture, kSceneTime, false).mRendered);
  const uint32_t pixel = shell_test::SurfacePixel(picture, kPictureSize / 2, kPictureSize / 2);
  return Rgb{static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF),
             static_cast<int>(pixel & 0xFF)};
}

// The pictures' device keeps its textures between pictures while the
// screen draws with its own: a texture whose texels change (the program
// then lets go of every driver texture) is pictured changed, and so is one
// changed while the screen's device was lost and made again.
TEST(VPLStagePictureTest, APictureShowsTheTexturesAsTheyAreNow) {
  constexpr Rgb kRed{255, 0, 0};
  constexpr Rgb kBlue{0, 0, 255};
  constexpr Rgb kGreen{0, 255, 0};
  for (const uint8_t openGLFirst : {uint8_t{0}, uint8_t{1}}) {
    SCOPED_TRACE(openGLFirst != 0 ? "OpenGL" : "Direct3D");
    VPLOpenGLFirst = openGLFirst;
    FakeTextureCollection colours(3);
    const MMResourceId id = colours.Add({.mRed = 255, .mGreen = 0, .mBlue = 0});
    TextureMaker maker;
    auto stage = std::make_unique<shell_test::ProgramStage>(&maker, 1);
    VPLStage& programStage = stage->Stage();
    ASSERT_TRUE(programStage.GetRenderer());
    maker.mTexture = programStage.GetTextureMap()->GetHandle(id, {1, 0, 0});
    const UUOwned<MMSurface> picture = shell_test::PatternSurface(kPictureSize, kPictureSize, 1);
    EXPECT_TRUE(Near(PictureCentre(programStage, *picture), kRed, 8));
    ASSERT_TRUE(maker.DrawCreationView(stage->Act()));
    const int32_t loads = colours.mLoads;
    EXPECT_TRUE(Near(PictureCentre(programStage, *picture), kRed, 8));
    EXPECT_EQ(colours.mLoads, loads);  // neither device loaded it again

    colours.mTextures[0] = {.mRed = 0, .mGreen = 0, .mBlue = 255};
    programStage.GetTextureMap()->ReleaseAll();
    ASSERT_TRUE(maker.DrawCreationView(stage->Act()));
    EXPECT_TRUE(Near(PictureCentre(programStage, *picture), kBlue, 8));

    programStage.SetDisplayModeStrategy(&VPLIntroDisplayStrategy());
    colours.mTextures[0] = {.mRed = 0, .mGreen = 255, .mBlue = 0};
    programStage.SetDisplayModeStrategy(&VPLCreationDisplayStrategy());
    ASSERT_TRUE(programStage.GetRenderer());
    EXPECT_TRUE(Near(PictureCentre(programStage, *picture), kGreen, 8));
    maker.mTexture.Release();
    stage.reset();
  }
  VPLOpenGLFirst = 0;
}

}  // namespace
