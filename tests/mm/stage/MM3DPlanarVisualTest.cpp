// The flat 3D visuals: the state and geometry they hand the renderer, their
// box rules, the molecule that owns one, and a quad on screen.
#include "mm/stage/MM3DPlanarVisualMolecule.h"
#include "mm/stage/MM3DSolidBoxVisual.h"
#include "mm/stage/MM3DTextureVisual.h"

#include "Stage3DTestSupport.h"
#include "mm/stage/MM3DPlanarEnclosure.h"
#include "mm/stage/MM3DPlanarView.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/MM3DRendererSupport.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Flat quads all lie at depth 0: an opaque one is written "less or equal",
// so that a later one paints over it.
MM3DRenderStateBlock FlatOpaqueStages() {
  return StageBlock(kMM3DDepthTestAndWrite, kMM3DDepthLessEqual, kMM3DBlendingOff,
                    {kMM3DBlendOne, kMM3DBlendZero});
}

// A 3D act on a stage whose driver records its draws, with a planar view
// over the whole stage.
class MM3DPlanarVisualTest : public ::testing::Test {
 protected:
  // Draws one frame with the visual in the enclosure; the runs drawn.
  const std::vector<DrawnRun>& DrawFrame(MMVisual& visual) {
    mEnclosure.AddVisual(&visual);
    mDriver->mRuns.clear();
    mStage.mRun.Frame();
    mEnclosure.RemoveVisual(&visual);
    return mDriver->mRuns;
  }
  MM3DTextureHandle Texture(bool opaque) {
    return mStage.Stage()->GetTextureMap()->GetHandle(opaque ? mOpaque : mAlpha, {1, 1, 0});
  }

  FakeTextureCollection mTextures{7};
  MMResourceId mOpaque = mTextures.Add({10, 20, 30});
  MMResourceId mAlpha = mTextures.Add({40, 50, 60, false});
  DrawRecordingDriver* mDriver = nullptr;
  Stage3DOnTestThread mStage{[this] {
    mDriver = new (ALGlobalAllocator) DrawRecordingDriver;
    return UURefCount<MM3DDriver>(mDriver);
  }};
  MM3DPlanarEnclosure mEnclosure{mStage.Stage()};
  MM3DPlanarView mView{mStage.Host(), &mEnclosure, mStage.Stage()->GetLocalRect(), 0};
};

TEST_F(MM3DPlanarVisualTest, ASolidBoxIsDrawnOpaqueOnlyAtFullAlpha) {
  struct Case {
    uint8_t mAlpha;
    MM3DRenderStateBlock mBlock;
  };
  for (const Case& c : {Case{255, FlatOpaqueStages()}, Case{254, BlendedStages()}}) {
    const MM3DPackedColor color{200, 100, 50, c.mAlpha};
    MM3DSolidBoxVisual box(color, UURect(10, 20, 50, 60), 0);
    const std::vector<DrawnRun>& runs = DrawFrame(box);
    ASSERT_EQ(runs.size(), 1u) << int{c.mAlpha};
    EXPECT_EQ(runs[0].mBlock, c.mBlock) << int{c.mAlpha};
    EXPECT_TRUE(runs[0].mBlock.mStages[0].mTexture.IsEmpty());
    // Top-left, top-right, bottom-right, then bottom-right, bottom-left,
    // top-left: the first corners are the left and the right edge.
    EXPECT_EQ(runs[0].mTags, (std::vector<float>{10, 50}));
    for (const MM3DCornerColor& corner : runs[0].mColors) {
      EXPECT_EQ((std::vector<int>{corner.mRed, corner.mGreen, corner.mBlue, corner.mAlpha}),
                (std::vector<int>{200, 100, 50, c.mAlpha}));
    }
  }
}

// A translucent panel behind an opaque button reaches the driver before
// the button, as the enclosure orders them, not after it through the depth
// sort.
TEST_F(MM3DPlanarVisualTest, FlatQuadsReachTheDriverInTheEnclosuresOrder) {
  MM3DSolidBoxVisual panel(MM3DPackedColor{0, 0, 255, 128}, UURect(10, 10, 90, 90), 0);
  MM3DSolidBoxVisual button(MM3DPackedColor{255, 255, 255, 255}, UURect(20, 20, 40, 40), 1);
  mEnclosure.AddVisual(&panel);
  const std::vector<DrawnRun>& runs = DrawFrame(button);
  mEnclosure.RemoveVisual(&panel);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].mTags, (std::vector<float>{10, 90}));
  EXPECT_EQ(runs[0].mBlock, BlendedStages());
  EXPECT_EQ(runs[1].mTags, (std::vector<float>{20, 40}));
  EXPECT_EQ(runs[1].mBlock, FlatOpaqueStages());
}

TEST_F(MM3DPlanarVisualTest, ATextureVisualIsBlendedWhenItsTextureHasAlpha) {
  struct Case {
    bool mOpaqueTexture;
    uint8_t mTintAlpha;
    bool mBlended;
  };
  for (const Case& c : {Case{true, 255, false}, Case{false, 255, true}, Case{true, 128, true}}) {
    MM3DTextureVisual visual(Texture(c.mOpaqueTexture), UURect(0, 0, 8, 8), 0);
    visual.SetTint(MM3DPackedColor{255, 255, 255, c.mTintAlpha});
    const std::vector<DrawnRun>& runs = DrawFrame(visual);
    ASSERT_EQ(runs.size(), 1u);
    const MM3DRenderStage& drawn = runs[0].mBlock.mStages[0];
    const MM3DRenderStage& expected =
        (c.mBlended ? BlendedStages() : FlatOpaqueStages()).mStages[0];
    EXPECT_EQ(drawn.mDepthMode, expected.mDepthMode);
    EXPECT_EQ(drawn.mDepthFunction, expected.mDepthFunction);
    EXPECT_EQ(drawn.mOpaque, expected.mOpaque);
    EXPECT_EQ(drawn.mBlendFactors, expected.mBlendFactors);
    EXPECT_FALSE(drawn.mTexture.IsEmpty());
  }
}

TEST_F(MM3DPlanarVisualTest, ATextureVisualMapsItsSourceRectangleWithVRunningUpward) {
  MM3DTextureVisual visual(Texture(true), UURect(0, 0, 8, 8), 0);
  EXPECT_EQ(visual.GetSourceRect(), UURect(0, 0, 8, 8));
  struct Case {
    UURect mSource;
    std::vector<MM3DTexCoord> mFirstTriangle;  // top-left, top-right, bottom-right
  };
  const Case cases[] = {{UURect(0, 0, 8, 8), {{0, 1}, {1, 1}, {1, 0}}},
                        {UURect(2, 4, 6, 8), {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.75f, 0}}}};
  for (const Case& c : cases) {
    visual.SetSourceRect(c.mSource);
    const std::vector<DrawnRun>& runs = DrawFrame(visual);
    ASSERT_EQ(runs.size(), 1u);
    for (size_t k = 0; k < 3; ++k) {
      EXPECT_FLOAT_EQ(runs[0].mStage0[k].mU, c.mFirstTriangle[k].mU) << k;
      EXPECT_FLOAT_EQ(runs[0].mStage0[k].mV, c.mFirstTriangle[k].mV) << k;
    }
  }
}

TEST(MM3DPlanarVisualBoxTest, AFlatVisualMovesWithoutInvalidatingWhileHiddenAndIsHitInItsBox) {
  RecordingViewServices host;
  MM3DPlanarEnclosure enclosure(nullptr);
  MM3DPlanarView view(&host, &enclosure, UURect(0, 0, 100, 100), 0);
  MM3DSolidBoxVisual box(MM3DPackedColor{1, 2, 3, 255}, UURect(10, 10, 21, 31), 0);
  enclosure.AddVisual(&box);
  host.mInvalidated.clear();
  box.SetBox(UURect(10, 10, 21, 31));
  box.SetBox(UURect(0, 0, 11, 21));
  box.SetVisibility(kMMHidden);
  box.MoveTo(UUPoint{5, 5});
  EXPECT_EQ(host.mInvalidated, std::vector<UURect>{UURect(0, 0, 11, 21)});  // the hiding
  EXPECT_EQ(box.GetBounds(), UURect(5, 5, 16, 26));
  box.CenterOn(UUPoint{50, 50});
  EXPECT_EQ(box.GetBounds(), UURect(45, 40, 56, 61));

  box.SetVisibility(kMMShown);
  MMMouseTarget inside;
  enclosure.FindTarget(UUPoint{45, 40}, inside);
  EXPECT_EQ(inside.mStatus, kMMTargetBlocked);
  MMMouseTarget outside;
  enclosure.FindTarget(UUPoint{56, 40}, outside);
  EXPECT_EQ(outside.mStatus, kMMTargetSearching);
  enclosure.RemoveVisual(&box);
}

TEST_F(MM3DPlanarVisualTest, TheMoleculeKeepsItsVisualInTheEnclosureWhileItLives) {
  MMScene scene(mStage.Stage()->GetAct()->GetSceneServices(), &mEnclosure);
  auto* box =
      new (ALGlobalAllocator) MM3DSolidBoxVisual(MM3DPackedColor{1, 2, 3, 255}, UURect(), 4);
  {
    MM3DPlanarVisualMolecule molecule(&scene, box);
    EXPECT_EQ(box->GetEnclosure(), &mEnclosure);
    molecule.SetDepth(6);
    molecule.MoveTo(UUPoint{3, 4});
    molecule.SetVisibility(kMMHidden);
    EXPECT_EQ(box->GetDepth(), 6);
    EXPECT_EQ(molecule.GetPosition(), (UUPoint{3, 4}));
    EXPECT_EQ(box->GetVisibility(), kMMHidden);
    molecule.Detach();
  }
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
  scene.ResignFocus();
}

// The standard renderer, keeping the back buffer once every triangle of
// the frame is drawn and before the driver shows it (showing may leave
// the back buffer undefined).
class BackBufferKeepingRenderer : public MM3DStandardRenderer {
 public:
  BackBufferKeepingRenderer(const UURefCount<MM3DDriver>& driver, UURect rect,
                            std::vector<Rgb>& kept)
      : MM3DStandardRenderer(driver), mRect(rect), mKept(kept) {}

 protected:
  void DrawSorted() override {
    MM3DStandardRenderer::DrawSorted();
    Flush();
    mKept = ReadBackBufferOf(mRect.GetWidth(), mRect.GetHeight());
  }

 private:
  UURect mRect;
  std::vector<Rgb>& mKept;
};

// The stage's frames on either driver: the offscreen OpenGL driver draws
// into a bitmap, the Direct3D driver into a window of its own.
class MM3DPlanarVisualPixelTest : public ::testing::TestWithParam<DriverBackEnd> {
 protected:
  void SetUp() override {
    const UURefCount<MM3DDriver>& driver = mStage.Stage()->GetDriver();
    ASSERT_FALSE(driver.IsEmpty());
    ASSERT_EQ(driver->GetApiName() == "Direct3D 7", OnDirect3D()) << driver->GetApiName();
  }
  bool OnDirect3D() const { return GetParam() == DriverBackEnd::kDirect3D; }
  // Draws a frame and keeps its pixels.
  void DrawFrame() {
    mStage.mRun.Frame();
    if (!OnDirect3D()) mFrame = SurfacePixels();
  }
  Rgb PixelAt(int32_t x, int32_t y) const {
    return mFrame.at(static_cast<size_t>(y) * static_cast<size_t>(kStageRect.GetWidth()) +
                     static_cast<size_t>(x));
  }

  static inline const UURect kStageRect{0, 0, 640, 480};
  // The Direct3D driver's own window, which outlives the stage.
  struct DriverWindow {
    explicit DriverWindow(bool open)
        : mHandle(open ? OpenDriverWindow(kStageRect.GetWidth(), kStageRect.GetHeight())
                       : nullptr) {}
    ~DriverWindow() {
      if (mHandle != nullptr) DestroyWindow(mHandle);
      vpl::test::DrainMessages();
    }
    DriverWindow(const DriverWindow&) = delete;
    DriverWindow& operator=(const DriverWindow&) = delete;
    HWND mHandle;
  };
  DriverWindow mWindow{OnDirect3D()};
  std::unique_ptr<WinMMOffscreenSurface> mSurface{
      WinMMCreateOffscreenSurface(32, kStageRect, AFPalette())};
  std::vector<Rgb> mFrame;
  FakeTextureCollection mTextures{8};
  MMResourceId mGreen = mTextures.Add({0, 255, 0});
  Stage3DOnTestThread mStage{[this] { return MakeDriver(); },
                             [this](const UURefCount<MM3DDriver>& driver) -> MM3DRenderer* {
                               return new (ALGlobalAllocator)
                                   BackBufferKeepingRenderer(driver, kStageRect, mFrame);
                             }};

 private:
  UURefCount<MM3DDriver> MakeDriver() {
    const int32_t width = kStageRect.GetWidth();
    const int32_t height = kStageRect.GetHeight();
    if (!OnDirect3D()) {
      return WinMM3DGLCreateBitmapDriver(kPrimaryDriver, OffscreenMode(width, height), *mSurface);
    }
    // Windowed, accelerated, with a 16-bit depth buffer, as the program asks.
    MM3DDeviceMode windowed(width, height, 2, 1, 0);
    windowed.mDepthBufferCode = 1;
    return WinMM3DDDCreateDriver(kPrimaryDisplay, windowed, mWindow.mHandle, mWindow.mHandle);
  }
  // Every pixel of the bitmap, top row first.
  std::vector<Rgb> SurfacePixels() const {
    const BITMAPINFOHEADER& header = mSurface->GetInfoHeader();
    const auto* bits = static_cast<const uint8_t*>(mSurface->GetBits());
    std::vector<Rgb> pixels;
    for (int32_t y = 0; y < header.biHeight; ++y) {
      for (int32_t x = 0; x < header.biWidth; ++x) {
        const uint8_t* pixel =
            bits + (static_cast<ptrdiff_t>(header.biHeight - 1 - y) * header.biWidth + x) * 4;
        pixels.push_back(Rgb{pixel[2], pixel[1], pixel[0]});
      }
    }
    return pixels;
  }
};

TEST_P(MM3DPlanarVisualPixelTest, FlatQuadsLandOnTheViewsRectangle) {
  MM3DPlanarEnclosure enclosure(mStage.Stage());
  MM3DPlanarView view(mStage.Host(), &enclosure, UURect(100, 50, 300, 250), 0);
  view.SetOrigin(UUPoint{10, 10});
  // Enclosure (20, 30) to (60, 70) is stage (110, 70) to (150, 110).
  MM3DSolidBoxVisual red(MM3DPackedColor{255, 0, 0, 255}, UURect(20, 30, 60, 70), 0);
  MM3DTextureVisual green(mStage.Stage()->GetTextureMap()->GetHandle(mGreen, {1, 1, 0}),
                          UURect(100, 100, 140, 140), 1);
  // Reaches past the view's right edge, which cuts it off.
  MM3DSolidBoxVisual blue(MM3DPackedColor{0, 0, 255, 255}, UURect(150, 0, 400, 20), 0);
  for (MMVisual* visual : std::initializer_list<MMVisual*>{&red, &green, &blue}) {
    enclosure.AddVisual(visual);
  }
  DrawFrame();

  const Rgb black{0, 0, 0};
  EXPECT_TRUE(Near(PixelAt(111, 71), {255, 0, 0})) << PixelAt(111, 71);
  EXPECT_TRUE(Near(PixelAt(149, 109), {255, 0, 0})) << PixelAt(149, 109);
  EXPECT_TRUE(Near(PixelAt(108, 71), black)) << PixelAt(108, 71);
  EXPECT_TRUE(Near(PixelAt(111, 68), black)) << PixelAt(111, 68);
  EXPECT_TRUE(Near(PixelAt(152, 109), black)) << PixelAt(152, 109);
  EXPECT_TRUE(Near(PixelAt(210, 170), {0, 255, 0}, 8)) << PixelAt(210, 170);
  EXPECT_TRUE(Near(PixelAt(298, 55), {0, 0, 255})) << PixelAt(298, 55);
  EXPECT_TRUE(Near(PixelAt(302, 55), black)) << PixelAt(302, 55);
  for (MMVisual* visual : std::initializer_list<MMVisual*>{&red, &green, &blue}) {
    enclosure.RemoveVisual(visual);
  }
  view.Detach();
}

// Painted in the enclosure's order: a red box, then a green one over its
// right half; a translucent blue panel, then an opaque white button on it.
TEST_P(MM3DPlanarVisualPixelTest, FlatQuadsArePaintedInTheEnclosuresOrder) {
  MM3DPlanarEnclosure enclosure(mStage.Stage());
  MM3DPlanarView view(mStage.Host(), &enclosure, mStage.Stage()->GetLocalRect(), 0);
  MM3DSolidBoxVisual red(MM3DPackedColor{255, 0, 0, 255}, UURect(0, 0, 40, 40), 0);
  MM3DSolidBoxVisual green(MM3DPackedColor{0, 255, 0, 255}, UURect(20, 0, 60, 40), 1);
  MM3DSolidBoxVisual panel(MM3DPackedColor{0, 0, 255, 128}, UURect(100, 0, 200, 100), 2);
  MM3DSolidBoxVisual button(MM3DPackedColor{255, 255, 255, 255}, UURect(120, 20, 160, 60), 3);
  const std::initializer_list<MMVisual*> visuals = {&red, &green, &panel, &button};
  for (MMVisual* visual : visuals) enclosure.AddVisual(visual);
  DrawFrame();

  EXPECT_TRUE(Near(PixelAt(10, 10), {255, 0, 0})) << PixelAt(10, 10);
  EXPECT_TRUE(Near(PixelAt(30, 10), {0, 255, 0})) << PixelAt(30, 10);
  EXPECT_TRUE(Near(PixelAt(110, 10), {0, 0, 128}, 2)) << PixelAt(110, 10);
  EXPECT_TRUE(Near(PixelAt(140, 40), {255, 255, 255})) << PixelAt(140, 40);
  for (MMVisual* visual : visuals) enclosure.RemoveVisual(visual);
  view.Detach();
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, MM3DPlanarVisualPixelTest,
                         ::testing::Values(DriverBackEnd::kOffscreenOpenGL,
                                           DriverBackEnd::kDirect3D),
                         BackEndName);

}  // namespace
