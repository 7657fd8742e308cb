// The 3D framework end to end: a texture file and a model file made with
// the system's writers, a 3D act whose scene shows the model (a lit,
// textured cube and a square its clip slides along) under a flat overlay
// and a textured quad, drawn by the OpenGL driver, again by the Direct3D
// driver when OpenGL's module is missing, and by the offscreen driver into
// a drawing surface; and the stage on its own thread, closed by the
// window's handshake.

#include "Stage3DTestSupport.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MM3DAnimationPlayer.h"
#include "mm/stage/MM3DDisplayModeStrategy.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MM3DPlanarEnclosure.h"
#include "mm/stage/MM3DPlanarView.h"
#include "mm/stage/MM3DSolidBoxVisual.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm/stage/MM3DTextureVisual.h"
#include "mm/stage/MMScene.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DTextureLoader.h"
#include "tests/mm3d/MM3DSceneModels.h"
#include "tests/mm3d/TextureTestSupport.h"
#include "tests/mm3d/drivers/DriverFixture.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

using resource_fixtures::Remove;
using resource_fixtures::TempDirectory;
using resource_fixtures::UniqueName;
using vpl::test::PumpUntilSet;
using vpl::test::ScreenOnX;

constexpr int16_t kTextureCollection = 31;
constexpr int16_t kModelCollection = 32;
constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;

// The texture: four 4 x 4 quadrants of one colour each, named by where
// they show; the engine shows a texture file's first rows at the bottom.
constexpr int32_t kTextureSide = 8;
constexpr Rgb kShownTopLeft{240, 80, 40};
constexpr Rgb kShownTopRight{80, 220, 120};
constexpr Rgb kShownBottomLeft{240, 200, 40};
constexpr Rgb kShownBottomRight{40, 160, 240};

// Where things land on the stage: the cube's faces, the square at either
// end of its clip, the overlay's box over the cube and the textured quad.
constexpr POINT kOnLitFace{258, 210};
constexpr POINT kOnUnlitFace{340, 210};
constexpr POINT kSquareAtStart{146, 95};
constexpr POINT kSquareAtEnd{494, 95};
constexpr int32_t kClipMilliseconds = 1000;
constexpr UURect kOverlayBox(300, 250, 340, 290);
constexpr POINT kOnOverlayBox{320, 270};
constexpr Rgb kOverlayColour{0, 255, 255};
constexpr UURect kTexturedQuad(40, 380, 104, 444);
constexpr POINT kQuadTopLeft{56, 396};
constexpr POINT kQuadTopRight{88, 396};
constexpr POINT kQuadBottomLeft{56, 428};
constexpr POINT kQuadBottomRight{88, 428};
constexpr POINT kOnBackground{600, 40};
constexpr Rgb kBlack{0, 0, 0};

// The window drivers draw in 16-bit colour.
constexpr int kTolerance = 8;

using Frame = std::vector<Rgb>;

Rgb At(const Frame& frame, POINT point) {
  return frame.at(static_cast<size_t>(point.y) * kWidth + static_cast<size_t>(point.x));
}

// The pixels of two whole frames that differ by more than the tolerance.
int CountDiffering(const Frame& a, const Frame& b) {
  int differing = 0;
  for (size_t i = 0; i < a.size(); ++i) differing += Near(a[i], b.at(i), kTolerance) ? 0 : 1;
  return differing;
}

void Append(std::vector<uint8_t>& texels, const Rgb& c) {
  texels.insert(texels.end(), {static_cast<uint8_t>(c.mRed), static_cast<uint8_t>(c.mGreen),
                               static_cast<uint8_t>(c.mBlue), 255});
}

texture_fixtures::Texture QuadrantTexture() {
  texture_fixtures::Texture texture{"quadrants", kTextureSide, kTextureSide, true, false, {}, {}};
  for (int32_t row = 0; row < kTextureSide; ++row) {
    const bool bottom = row < kTextureSide / 2;
    for (int32_t x = 0; x < kTextureSide; ++x) {
      const bool left = x < kTextureSide / 2;
      Append(texture.mTexels, bottom ? (left ? kShownBottomLeft : kShownBottomRight)
                                     : (left ? kShownTopLeft : kShownTopRight));
    }
  }
  return texture;
}

// The back buffer of the context current after drawing, top row first.
// The reader is looked up at the first frame, while OpenGL's module is
// there.
Frame ReadBackBuffer() {
  using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
  static const auto read =
      reinterpret_cast<ReadPixels>(GetProcAddress(LoadLibraryA("OPENGL32.DLL"), "glReadPixels"));
  std::vector<uint8_t> bytes(static_cast<size_t>(kWidth) * kHeight * 4);
  read(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
  Frame pixels;
  for (int32_t y = kHeight - 1; y >= 0; --y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint8_t* p = &bytes[(static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 4];
      pixels.push_back(Rgb{p[0], p[1], p[2]});
    }
  }
  return pixels;
}

// Every pixel of a 32-bit surface, top row first.
Frame SurfacePixels(const WinMMOffscreenSurface& surface) {
  const BITMAPINFOHEADER& header = surface.GetInfoHeader();
  const auto* bits = static_cast<const uint8_t*>(surface.GetBits());
  const size_t stride = static_cast<size_t>(header.biWidth) * 4;
  Frame pixels;
  for (int32_t y = 0; y < kHeight; ++y) {
    const uint8_t* row = bits + static_cast<size_t>(header.biHeight - 1 - y) * stride;
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * 4;
      pixels.push_back(Rgb{p[2], p[1], p[0]});
    }
  }
  return pixels;
}

// The last frame drawn, and an event set after each, shared between the
// stage's thread and the test's.
struct KeptFrame {
  std::mutex mMutex;
  Frame mPixels;
  HANDLE mPresented = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ~KeptFrame() { CloseHandle(mPresented); }
  void Keep(Frame pixels) {
    {
      std::lock_guard lock(mMutex);
      mPixels = std::move(pixels);
    }
    SetEvent(mPresented);
  }
  Frame Get() {
    std::lock_guard lock(mMutex);
    return mPixels;
  }
};

// The standard renderer, keeping each frame's pixels once every triangle
// is drawn and before the driver shows the frame.
class FrameKeepingRenderer : public MM3DStandardRenderer {
 public:
  FrameKeepingRenderer(UURefCount<MM3DDriver> driver, KeptFrame& kept)
      : MM3DStandardRenderer(std::move(driver)), mKept(kept) {}

 protected:
  void DrawSorted() override {
    MM3DStandardRenderer::DrawSorted();
    Flush();
    mKept.Keep(ReadBackBuffer());
  }

 private:
  KeptFrame& mKept;
};

// The system's 3D strategy (OpenGL first, Direct3D when OpenGL cannot
// start) with a renderer that keeps the frames.
class FrameKeeping3DStrategy : public MM3DDisplayModeStrategy {
 public:
  explicit FrameKeeping3DStrategy(KeptFrame& kept) : mKept(kept) {}
  void Apply(MMStage* stage) override {
    MM3DDisplayModeStrategy::Apply(stage);
    if (stage->LacksDisplay()) return;
    const UURefCount<MM3DDriver> driver = stage->GetDriver();
    stage->Set3DDisplay(
        driver,
        UURefCount<MM3DRenderer>(new (ALGlobalAllocator) FrameKeepingRenderer(driver, mKept)),
        stage->GetPipeline(), new (ALGlobalAllocator) MM3DStandardDriverTextureStrategy);
  }

 private:
  KeptFrame& mKept;
};

// What the act shows: the model in a spatial view over the whole stage,
// and on top a planar view of a flat box over the cube and a quad of the
// texture; the model's clip plays from the act's first frame.
class DemoAct : public MM3DAct {
 public:
  DemoAct(MMStage* stage, MMDisplayModeStrategy* strategy, MMResourceId modelId,
          MMResourceId textureId, std::atomic<int>* ended)
      : MM3DAct(stage, strategy),
        mEnded(ended),
        mModel(&mScene, modelId),
        mQuad(stage->GetTextureMap()->GetHandle(textureId, MM3DTextureKey{1, 0, 0}), kTexturedQuad,
              0) {
    mOverlay.AddVisual(&mBox);
    mOverlay.AddVisual(&mQuad);
    if (MM3DAnimationPlayer* player = mModel.GetAnimationPlayer()) player->PlayClip(false);
  }
  ~DemoAct() override {
    mModel.Detach();
    mOverlay.RemoveVisual(&mBox);
    mOverlay.RemoveVisual(&mQuad);
    mScene.ResignFocus();
    mOverlayView.Detach();
    mSpaceView.Detach();
    if (mEnded != nullptr) ++*mEnded;
  }

 private:
  std::atomic<int>* mEnded;
  MM3DSpatialEnclosure mSpace{GetStage()};
  MM3DSpatialView mSpaceView{GetViewServices(), &mSpace, GetStage()->GetLocalRect(), 0};
  MMScene mScene{GetSceneServices(), &mSpace};
  MM3DModelMolecule mModel;
  MM3DPlanarEnclosure mOverlay{GetStage()};
  MM3DPlanarView mOverlayView{GetViewServices(), &mOverlay, GetStage()->GetLocalRect(), 1};
  MM3DSolidBoxVisual mBox{MM3DPackedColor{0, 255, 255, 255}, kOverlayBox, 0};
  MM3DTextureVisual mQuad;
};

// The texture and model files, written and opened before any act exists,
// and the engine's shading scratch.
class DemoFiles {
 public:
  DemoFiles() {
    MM3DCreateShadingScratch();
    texture_fixtures::WriteTextures(mTextureName, kTextureCollection, {QuadrantTexture()});
    mTextures.reset(MM3DOpenTextureResourceFile(TempDirectory(), mTextureName.c_str(), false));
    MM3DDriverTextureMap map;
    const UURefCount<MM3DModel> model =
        scene_models::MakeCubeAndSquare(map.GetHandle(TextureId(), MM3DTextureKey{1, 0, 0}));
    mWritten = model_fixtures::WriteModelFile(TempDirectory(), mModelName.c_str(), kModelCollection,
                                              {model});
    mModels.reset(MM3DOpenModelResourceFile(TempDirectory(), mModelName.c_str(), false));
  }
  ~DemoFiles() {
    mModels.reset();
    mTextures.reset();
    Remove(mModelName);
    Remove(mTextureName);
    MM3DDestroyShadingScratch();
  }
  bool Ready() const { return mWritten && mTextures != nullptr && mModels != nullptr; }
  static MMResourceId TextureId() { return MMMakeResourceId(kTextureCollection, 0); }
  static MMResourceId ModelId() { return MMMakeResourceId(kModelCollection, 0); }

 private:
  std::string mTextureName = UniqueName("textures");
  std::string mModelName = UniqueName("models");
  std::unique_ptr<MM3DTextureLoader> mTextures;
  std::unique_ptr<MM3DModelLoader> mModels;
  bool mWritten = false;
};

// Counts its acts' ends when given a counter.
MMAct* MakeDemoAct(MMStage* stage, MMDisplayModeStrategy* strategy,
                   std::atomic<int>* ended = nullptr) {
  return new (ALGlobalAllocator)
      DemoAct(stage, strategy, DemoFiles::ModelId(), DemoFiles::TextureId(), ended);
}

// Names modules as missing for the life of the scope.
class MissingModules {
 public:
  explicit MissingModules(const char* names) { setenv("VPL3D_MISSING_MODULES", names, 1); }
  ~MissingModules() { unsetenv("VPL3D_MISSING_MODULES"); }
};

// The stage's thread part runs on the test's thread; each act is the demo
// act under the strategy the test chose last, first the system's own.
class MM3DFrameworkDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mRun.Start();
    ASSERT_FALSE(mRun.mStage->LacksDisplay());
    mFirstFrame = mKept.Get();
  }

  // The next act, under another strategy, and its first frame.
  void SwitchActTo(MMDisplayModeStrategy* strategy) {
    mStrategy = strategy;
    mRun.mStage->RequestActSwitch();
    mRun.Frame();
  }
  void FrameAfter(int32_t milliseconds) {
    MMTaskManager* manager = mRun.mStage->GetTaskManager();
    manager->RunUntil(manager->GetNow() + milliseconds);
    mRun.Frame();
  }
  std::string ApiName() const { return mRun.mStage->GetDriver()->GetApiName(); }

  DemoFiles mFiles;
  KeptFrame mKept;
  Frame mFirstFrame;
  FrameKeeping3DStrategy mWindowStrategy{mKept};
  MMDisplayModeStrategy* mStrategy = &mWindowStrategy;
  StageOnTestThread mRun{[this](MMStage* stage) { return MakeDemoAct(stage, mStrategy); }};
};

TEST_F(MM3DFrameworkDemoTest, TheFaceTowardTheLightIsBrighterThanTheFaceEdgeOnToIt) {
  EXPECT_EQ(ApiName(), "OpenGL 1.1");
  const Rgb lit = At(mFirstFrame, kOnLitFace);
  const Rgb unlit = At(mFirstFrame, kOnUnlitFace);
  EXPECT_GT(lit.mRed, 2 * unlit.mRed) << lit << " " << unlit;
  EXPECT_GT(lit.mGreen, 2 * unlit.mGreen) << lit << " " << unlit;
  // The unlit face takes the ambient light only.
  const auto ambient = [](int c) { return static_cast<int>(c * scene_models::kAmbient); };
  EXPECT_TRUE(Near(
      unlit,
      {ambient(kShownTopLeft.mRed), ambient(kShownTopLeft.mGreen), ambient(kShownTopLeft.mBlue)},
      kTolerance))
      << unlit;
}

TEST_F(MM3DFrameworkDemoTest, TheCubeAndTheQuadShowTheTexelsOfTheTextureFile) {
  EXPECT_TRUE(Near(At(mFirstFrame, kOnLitFace), kShownTopLeft, kTolerance))
      << At(mFirstFrame, kOnLitFace);
  const std::pair<POINT, Rgb> quadrants[] = {{kQuadTopLeft, kShownTopLeft},
                                             {kQuadTopRight, kShownTopRight},
                                             {kQuadBottomLeft, kShownBottomLeft},
                                             {kQuadBottomRight, kShownBottomRight}};
  for (const auto& [point, texel] : quadrants) {
    EXPECT_TRUE(Near(At(mFirstFrame, point), texel, kTolerance))
        << point.x << "," << point.y << ": " << At(mFirstFrame, point);
  }
  EXPECT_EQ(At(mFirstFrame, kOnBackground), kBlack);
}

TEST_F(MM3DFrameworkDemoTest, TheOverlayIsDrawnOverTheModel) {
  EXPECT_EQ(At(mFirstFrame, kOnOverlayBox), kOverlayColour);
  // Just outside the box the cube shows.
  const POINT belowTheBox{kOnOverlayBox.x, kOverlayBox.mBottom + 2};
  EXPECT_NE(At(mFirstFrame, belowTheBox), kOverlayColour);
  EXPECT_NE(At(mFirstFrame, belowTheBox), kBlack);
}

TEST_F(MM3DFrameworkDemoTest, TheClipMovesTheSquareBetweenTwoFrames) {
  const Rgb square{scene_models::kSquareColor.mR, scene_models::kSquareColor.mG,
                   scene_models::kSquareColor.mB};
  EXPECT_EQ(At(mFirstFrame, kSquareAtStart), square);
  EXPECT_EQ(At(mFirstFrame, kSquareAtEnd), kBlack);
  FrameAfter(kClipMilliseconds);
  const Frame later = mKept.Get();
  EXPECT_EQ(At(later, kSquareAtStart), kBlack);
  EXPECT_EQ(At(later, kSquareAtEnd), square);
}

TEST_F(MM3DFrameworkDemoTest, WithoutOpenGLsModuleTheDirect3DDriverDrawsTheSamePixels) {
  FrameKeeping3DStrategy fallback(mKept);
  {
    MissingModules noOpenGL("OPENGL32.DLL");
    SwitchActTo(&fallback);
  }
  ASSERT_FALSE(mRun.mStage->LacksDisplay());
  EXPECT_EQ(ApiName(), "Direct3D 7");
  const Frame direct3D = mKept.Get();
  ASSERT_EQ(direct3D.size(), mFirstFrame.size());
  EXPECT_EQ(CountDiffering(direct3D, mFirstFrame), 0);
}

TEST_F(MM3DFrameworkDemoTest, TheOffscreenDriverDrawsTheSameFrameIntoADrawingSurface) {
  std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette()));
  ASSERT_NE(surface, nullptr);
  Installing3DStrategy offscreen([&surface] {
    return WinMM3DGLCreateBitmapDriver(kPrimaryDriver, OffscreenMode(kWidth, kHeight), *surface);
  });
  SwitchActTo(&offscreen);
  ASSERT_FALSE(mRun.mStage->LacksDisplay());
  EXPECT_EQ(CountDiffering(SurfacePixels(*surface), mFirstFrame), 0);
}

uint32_t Packed(const Rgb& c) {
  return static_cast<uint32_t>(c.mRed << 16 | c.mGreen << 8 | c.mBlue);
}

// The X server shows what the driver drew.
TEST_F(MM3DFrameworkDemoTest, TheSceneReachesTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs a real X display (VPL3D_XVFB)";
  ScreenOnX screen;
  HWND top = mRun.mWindow->GetHandle();
  ASSERT_TRUE(screen.CaptureUntil(top, kOnOverlayBox.x, kOnOverlayBox.y, Packed(kOverlayColour)));
  for (const POINT point :
       {kOnLitFace, kOnUnlitFace, kQuadTopLeft, kSquareAtStart, kOnBackground}) {
    const uint32_t shown = screen.At(point.x, point.y);
    const Rgb c{static_cast<int>(shown >> 16), static_cast<int>(shown >> 8 & 0xFF),
                static_cast<int>(shown & 0xFF)};
    EXPECT_TRUE(Near(c, At(mFirstFrame, point), kTolerance))
        << point.x << "," << point.y << ": " << c << " drawn " << At(mFirstFrame, point);
  }
}

// The application's stage: every act is the demo act.
class DemoStage : public MMStage {
 public:
  DemoStage(MMStageWindow* window, MMDisplayModeStrategy* strategy, std::atomic<int>& actsEnded)
      : MMStage(window, UURect(0, 0, kWidth, kHeight), nullptr),
        mStrategy(strategy),
        mActsEnded(actsEnded) {}
  MMAct* CreateNextAct() override { return MakeDemoAct(this, mStrategy, &mActsEnded); }

 private:
  MMDisplayModeStrategy* mStrategy;
  std::atomic<int>& mActsEnded;
};

TEST(MM3DFrameworkDemoOnItsThreadTest, TheStageShowsTheSceneAndClosesThroughTheHandshake) {
  DemoFiles files;
  ASSERT_TRUE(files.Ready());
  KeptFrame kept;
  FrameKeeping3DStrategy strategy(kept);
  std::atomic<int> actsEnded = 0;
  MMStageWindow* window = MakeStageWindow();
  auto* stage = new (ALGlobalAllocator) DemoStage(window, &strategy, actsEnded);
  stage->StartThread();
  ASSERT_TRUE(PumpUntilSet(kept.mPresented));
  const Frame first = kept.Get();
  EXPECT_EQ(At(first, kOnOverlayBox), kOverlayColour);
  EXPECT_TRUE(Near(At(first, kOnLitFace), kShownTopLeft, kTolerance)) << At(first, kOnLitFace);
  EXPECT_EQ(actsEnded, 0);
  // The window asks the stage's thread to close; the act ends there, and
  // the stage with the window.
  delete window;
  EXPECT_EQ(actsEnded, 1);
}

}  // namespace
