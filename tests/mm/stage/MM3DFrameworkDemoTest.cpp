// The 3D framework end to end: a texture file and a model file made with
// the system's writers, a stage on its own thread, as the application runs
// it, with a 3D act whose scene shows the model (a lit, textured cube and a
// square its clip slides along) under a flat overlay and a textured quad;
// the frames of the OpenGL driver, of the Direct3D driver when OpenGL's
// module is missing and of the offscreen driver drawing into a drawing
// surface, and what the X server shows; each stage closed by the window's
// handshake.

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
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

using resource_fixtures::Remove;
using resource_fixtures::TempDirectory;
using resource_fixtures::UniqueName;
using vpl::test::PumpUntil;
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

MMResourceId TextureId() { return MMMakeResourceId(kTextureCollection, 0); }
MMResourceId ModelId() { return MMMakeResourceId(kModelCollection, 0); }
// Clamped and not filtered, so that each texel shows its own colour.
constexpr MM3DTextureKey kQuadKey{1, 0, 0};

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
// The reader is looked up at the first frame kept, which must come while
// OpenGL's module is there.
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

// The frames drawn on the stage's thread: the first and the last, and an
// event set after each.
class KeptFrames {
 public:
  KeptFrames() = default;
  ~KeptFrames() { CloseHandle(mKept); }
  KeptFrames(const KeptFrames&) = delete;
  KeptFrames& operator=(const KeptFrames&) = delete;

  void Keep(Frame pixels, std::string apiName) {
    {
      std::lock_guard lock(mMutex);
      if (mFirst.empty()) mFirst = pixels;
      mLast = std::move(pixels);
      mApiName = std::move(apiName);
    }
    SetEvent(mKept);
  }
  bool WaitForFirst() { return PumpUntilSet(mKept); }
  // Waits, handling the window's messages, until the last frame passes
  // the test; false when none does within the patience of PumpUntil.
  bool WaitFor(const std::function<bool(const Frame&)>& test) {
    return PumpUntil([&] { return test(Last()); });
  }
  Frame First() {
    std::lock_guard lock(mMutex);
    return mFirst;
  }
  Frame Last() {
    std::lock_guard lock(mMutex);
    return mLast;
  }
  std::string ApiName() {
    std::lock_guard lock(mMutex);
    return mApiName;
  }

 private:
  std::mutex mMutex;
  Frame mFirst;
  Frame mLast;
  std::string mApiName;
  HANDLE mKept = CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

// The standard renderer, keeping each frame's pixels once every triangle
// is drawn and before the driver shows the frame.
class FrameKeepingRenderer : public MM3DStandardRenderer {
 public:
  FrameKeepingRenderer(const UURefCount<MM3DDriver>& driver, KeptFrames& kept)
      : MM3DStandardRenderer(driver), mDriver(driver), mKept(kept) {}

 protected:
  void DrawSorted() override {
    MM3DStandardRenderer::DrawSorted();
    Flush();
    mKept.Keep(ReadBackBuffer(), mDriver->GetApiName());
  }

 private:
  UURefCount<MM3DDriver> mDriver;
  KeptFrames& mKept;
};

// The system's 3D strategy (OpenGL first, Direct3D when OpenGL cannot
// start) with a renderer that keeps the frames.
class FrameKeeping3DStrategy : public MM3DDisplayModeStrategy {
 public:
  explicit FrameKeeping3DStrategy(KeptFrames& kept) : mKept(kept) {}
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
  KeptFrames& mKept;
};

// The offscreen driver drawing into a drawing surface, which is kept after
// each frame.
class OffscreenStrategy : public Installing3DStrategy {
 public:
  explicit OffscreenStrategy(KeptFrames& kept)
      : Installing3DStrategy([this] { return MakeDriver(); }), mKept(kept) {}
  // On the stage's thread, after a frame is shown.
  void KeepSurface() { mKept.Keep(SurfacePixels(*mSurface), "offscreen"); }

 private:
  UURefCount<MM3DDriver> MakeDriver() {
    return WinMM3DGLCreateBitmapDriver(kPrimaryDriver, OffscreenMode(kWidth, kHeight), *mSurface);
  }

  KeptFrames& mKept;
  std::unique_ptr<WinMMOffscreenSurface> mSurface{
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette())};
};

// What the act shows: the model in a spatial view over the whole stage,
// and on top a planar view of a flat box over the cube and a quad of the
// texture; the model's clip plays from the act's first frame. It calls
// the function it is given after each frame is shown, and counts its end.
class DemoAct : public MM3DAct {
 public:
  DemoAct(MMStage* stage, MMDisplayModeStrategy* strategy, std::function<void()> shown,
          std::atomic<int>& ended)
      : MM3DAct(stage, strategy),
        mShown(std::move(shown)),
        mEnded(ended),
        mModel(&mScene, ModelId()),
        mQuad(stage->GetTextureMap()->GetHandle(TextureId(), kQuadKey), kTexturedQuad, 0) {
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
    ++mEnded;
  }
  void Present() override {
    MM3DAct::Present();
    if (mShown) mShown();
  }

 private:
  std::function<void()> mShown;
  std::atomic<int>& mEnded;
  MM3DSpatialEnclosure mSpace{GetStage()};
  MM3DSpatialView mSpaceView{GetViewServices(), &mSpace, GetStage()->GetLocalRect(), 0};
  MMScene mScene{GetSceneServices(), &mSpace};
  MM3DModelMolecule mModel;
  MM3DPlanarEnclosure mOverlay{GetStage()};
  MM3DPlanarView mOverlayView{GetViewServices(), &mOverlay, GetStage()->GetLocalRect(), 1};
  MM3DSolidBoxVisual mBox{MM3DPackedColor{0, 255, 255, 255}, kOverlayBox, 0};
  MM3DTextureVisual mQuad;
};

// The application's stage: every act is the demo act.
class DemoStage : public MMStage {
 public:
  DemoStage(MMStageWindow* window, MMDisplayModeStrategy* strategy, std::function<void()> shown,
            std::atomic<int>& actsEnded)
      : MMStage(window, UURect(0, 0, kWidth, kHeight), nullptr),
        mStrategy(strategy),
        mShown(std::move(shown)),
        mActsEnded(actsEnded) {}
  MMAct* CreateNextAct() override {
    return new (ALGlobalAllocator) DemoAct(this, mStrategy, mShown, mActsEnded);
  }

 private:
  MMDisplayModeStrategy* mStrategy;
  std::function<void()> mShown;
  std::atomic<int>& mActsEnded;
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
        scene_models::MakeCubeAndSquare(map.GetHandle(TextureId(), kQuadKey));
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

 private:
  std::string mTextureName = UniqueName("textures");
  std::string mModelName = UniqueName("models");
  std::unique_ptr<MM3DTextureLoader> mTextures;
  std::unique_ptr<MM3DModelLoader> mModels;
  bool mWritten = false;
};

// Names modules as missing for the life of the scope.
class MissingModules {
 public:
  explicit MissingModules(const char* names) { setenv("VPL3D_MISSING_MODULES", names, 1); }
  ~MissingModules() { unsetenv("VPL3D_MISSING_MODULES"); }
};

// A stage on its own thread, as the application runs it, showing the demo
// act under a strategy the test chooses; closed by the window's handshake.
class MM3DFrameworkDemoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }
  void TearDown() override { Close(); }

  // Starts the stage and waits for its first frame.
  void Show(MMDisplayModeStrategy* strategy, std::function<void()> shown = {}) {
    mWindow = MakeStageWindow();
    auto* stage =
        new (ALGlobalAllocator) DemoStage(mWindow, strategy, std::move(shown), mActsEnded);
    stage->StartThread();
    ASSERT_TRUE(mKept.WaitForFirst());
  }
  // The window asks the stage's thread to close, then the stage goes.
  void Close() {
    delete mWindow;
    mWindow = nullptr;
  }
  // The first frame of a stage on the system's own strategy, closed again.
  Frame FirstFrameOnOpenGL() {
    KeptFrames kept;
    FrameKeeping3DStrategy strategy(kept);
    MMStageWindow* window = MakeStageWindow();
    auto* stage = new (ALGlobalAllocator) DemoStage(window, &strategy, {}, mActsEnded);
    stage->StartThread();
    const bool shown = kept.WaitForFirst();
    delete window;
    EXPECT_TRUE(shown);
    EXPECT_EQ(kept.ApiName(), "OpenGL 1.1");
    return kept.First();
  }

  DemoFiles mFiles;
  KeptFrames mKept;
  FrameKeeping3DStrategy mOpenGL{mKept};
  OffscreenStrategy mOffscreen{mKept};
  std::atomic<int> mActsEnded = 0;
  MMStageWindow* mWindow = nullptr;
};

TEST_F(MM3DFrameworkDemoTest, TheFaceTowardTheLightIsBrighterThanTheFaceEdgeOnToIt) {
  Show(&mOpenGL);
  EXPECT_EQ(mKept.ApiName(), "OpenGL 1.1");
  const Frame first = mKept.First();
  const Rgb lit = At(first, kOnLitFace);
  const Rgb unlit = At(first, kOnUnlitFace);
  EXPECT_GT(lit.mRed, 2 * unlit.mRed) << lit << " " << unlit;
  EXPECT_GT(lit.mGreen, 2 * unlit.mGreen) << lit << " " << unlit;
  // The unlit face takes the ambient light only.
  const auto ambient = [](int c) {
    return static_cast<int>(static_cast<float>(c) * scene_models::kAmbient);
  };
  EXPECT_TRUE(Near(
      unlit,
      {ambient(kShownTopLeft.mRed), ambient(kShownTopLeft.mGreen), ambient(kShownTopLeft.mBlue)},
      kTolerance))
      << unlit;
}

TEST_F(MM3DFrameworkDemoTest, TheCubeAndTheQuadShowTheTexelsOfTheTextureFile) {
  Show(&mOpenGL);
  const Frame first = mKept.First();
  EXPECT_TRUE(Near(At(first, kOnLitFace), kShownTopLeft, kTolerance)) << At(first, kOnLitFace);
  const std::pair<POINT, Rgb> quadrants[] = {{kQuadTopLeft, kShownTopLeft},
                                             {kQuadTopRight, kShownTopRight},
                                             {kQuadBottomLeft, kShownBottomLeft},
                                             {kQuadBottomRight, kShownBottomRight}};
  for (const auto& [point, texel] : quadrants) {
    EXPECT_TRUE(Near(At(first, point), texel, kTolerance))
        << point.x << "," << point.y << ": " << At(first, point);
  }
  EXPECT_EQ(At(first, kOnBackground), kBlack);
}

TEST_F(MM3DFrameworkDemoTest, TheOverlayIsDrawnOverTheModel) {
  Show(&mOpenGL);
  const Frame first = mKept.First();
  EXPECT_EQ(At(first, kOnOverlayBox), kOverlayColour);
  // Just outside the box the cube shows.
  const POINT belowTheBox{kOnOverlayBox.x, kOverlayBox.mBottom + 2};
  EXPECT_NE(At(first, belowTheBox), kOverlayColour);
  EXPECT_NE(At(first, belowTheBox), kBlack);
}

// The stage's frames follow the clock; the clip ends a second after the
// first frame, with the square at its other end.
TEST_F(MM3DFrameworkDemoTest, TheClipMovesTheSquareBetweenTwoFrames) {
  Show(&mOpenGL);
  const Rgb square{scene_models::kSquareColor.mR, scene_models::kSquareColor.mG,
                   scene_models::kSquareColor.mB};
  const Frame first = mKept.First();
  EXPECT_EQ(At(first, kSquareAtStart), square);
  EXPECT_EQ(At(first, kSquareAtEnd), kBlack);
  EXPECT_TRUE(mKept.WaitFor([&](const Frame& frame) {
    return At(frame, kSquareAtEnd) == square && At(frame, kSquareAtStart) == kBlack;
  }));
}

TEST_F(MM3DFrameworkDemoTest, WithoutOpenGLsModuleTheDirect3DDriverDrawsTheSamePixels) {
  const Frame openGL = FirstFrameOnOpenGL();
  {
    MissingModules noOpenGL("OPENGL32.DLL");
    Show(&mOpenGL);
  }
  EXPECT_EQ(mKept.ApiName(), "Direct3D 7");
  const Frame direct3D = mKept.First();
  ASSERT_EQ(direct3D.size(), openGL.size());
  EXPECT_EQ(CountDiffering(direct3D, openGL), 0);
}

TEST_F(MM3DFrameworkDemoTest, TheOffscreenDriverDrawsTheSameFrameIntoADrawingSurface) {
  const Frame openGL = FirstFrameOnOpenGL();
  Show(&mOffscreen, [this] { mOffscreen.KeepSurface(); });
  const Frame drawn = mKept.First();
  ASSERT_EQ(drawn.size(), openGL.size());
  EXPECT_EQ(CountDiffering(drawn, openGL), 0);
}

TEST_F(MM3DFrameworkDemoTest, ClosingTheWindowEndsTheActOnTheStagesThread) {
  Show(&mOpenGL);
  EXPECT_EQ(mActsEnded, 0);
  Close();
  EXPECT_EQ(mActsEnded, 1);
}

uint32_t Packed(const Rgb& c) {
  return static_cast<uint32_t>(c.mRed << 16 | c.mGreen << 8 | c.mBlue);
}

// The X server shows what the driver drew.
TEST_F(MM3DFrameworkDemoTest, TheSceneReachesTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs a real X display (VPL3D_XVFB)";
  Show(&mOpenGL);
  const Frame first = mKept.First();
  ScreenOnX screen;
  HWND top = mWindow->GetHandle();
  ASSERT_TRUE(screen.CaptureUntil(top, kOnOverlayBox.x, kOnOverlayBox.y, Packed(kOverlayColour)));
  for (const POINT point : {kOnLitFace, kOnUnlitFace, kQuadTopLeft, kOnBackground}) {
    const uint32_t shown = screen.At(point.x, point.y);
    const Rgb c{static_cast<int>(shown >> 16), static_cast<int>(shown >> 8 & 0xFF),
                static_cast<int>(shown & 0xFF)};
    EXPECT_TRUE(Near(c, At(first, point), kTolerance))
        << point.x << "," << point.y << ": " << c << " drawn " << At(first, point);
  }
}

}  // namespace
