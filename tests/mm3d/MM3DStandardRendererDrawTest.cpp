// The pipeline and the standard renderer drawing through both drivers,
// checked on the pixels.

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "tests/mm3d/MM3DRendererSupport.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

constexpr MM3DBlendFactors kReplace(kMM3DBlendOne, kMM3DBlendZero);
constexpr MM3DBlendFactors kAlpha(kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha);
constexpr MM3DBlendFactors kAdd(kMM3DBlendOne, kMM3DBlendOne);
constexpr uint8_t kHalf = 128;
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kBlack{0, 0, 0};

// The square view filled at one depth (0 near, 2 far), counter-clockwise
// on screen, every corner one colour.
struct FullQuad : MM3DIndexedMeshVertexData {
  FullQuad(float depth, Rgb color, uint8_t alpha = 255) {
    const MM3DPackedColor packed{static_cast<uint8_t>(color.mRed),
                                 static_cast<uint8_t>(color.mGreen),
                                 static_cast<uint8_t>(color.mBlue), alpha};
    for (const auto& [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
      mPositions.Append(MM3DVector(static_cast<float>(x), static_cast<float>(y), depth, 1));
      mColors.Append(packed);
    }
    for (const int index : {0, 1, 2, 0, 2, 3}) mIndices.Append(static_cast<uint16_t>(index));
  }
};

// A vertex-colour material with untextured layers of the given blends.
std::unique_ptr<MM3DMaterial> Material(std::initializer_list<MM3DBlendFactors> layers) {
  auto material = std::make_unique<MM3DMaterialVertexColor>();
  for (const MM3DBlendFactors& blend : layers) {
    material->AddTextureLayer(MM3DMaterialTextureLayer(blend, MM3DTextureHandle()));
  }
  return material;
}

// The standard renderer, drawing what still waits on demand: the Direct3D
// back buffer is read after the renderer's drawing and before the driver
// shows it.
class DrainableRenderer : public MM3DStandardRenderer {
 public:
  using MM3DStandardRenderer::MM3DStandardRenderer;
  void DrawWaiting() {
    Flush();
    DrawSorted();
  }
};

class MM3DStandardRendererDrawTest : public BackEndDriverFixture {
 protected:
  void SetUp() override {
    BackEndDriverFixture::SetUp();
    ASSERT_FALSE(mDriver.IsEmpty());
    mRenderer = std::make_unique<DrainableRenderer>(mDriver);
    mRenderer->SetViewport(UURect(0, 0, kSize, kSize));
    MM3DProjectionVolume volume;
    volume.SetOrthographic(-1, 1, -1, 1, 0, 2);
    mPipeline.SetProjection(volume);
  }

  void TearDown() override {
    mRenderer.reset();
    BackEndDriverFixture::TearDown();
  }

  void Draw(MM3DMaterial& material, const MM3DIndexedMeshVertexData& data) {
    MM3DRenderContext context(true);
    material.Apply(context);
    mPipeline.RenderPart(data, context, *mRenderer);
    material.Unapply(context);
  }

  Rgb EndFrame() {
    mRenderer->DrawWaiting();
    EndFrameThrough([this] { mRenderer->EndFrame(); });
    return PixelAt(kSize / 2, kSize / 2);
  }

  MM3DStandardPipeline mPipeline;
  std::unique_ptr<DrainableRenderer> mRenderer;
};

TEST_P(MM3DStandardRendererDrawTest, BlendedPartsAreBlendedFarFirstOverTheOpaqueOnes) {
  auto opaque = Material({kReplace});
  auto blended = Material({kAlpha});
  mRenderer->BeginFrame();
  Draw(*blended, FullQuad(0.5f, kBlue, kHalf));
  Draw(*opaque, FullQuad(1.5f, kRed));
  Draw(*blended, FullQuad(1.0f, kGreen, kHalf));
  // Green over red, then blue over both; the other order would leave
  // green on top.
  const Rgb expected{63, 64, 128};
  const Rgb centre = EndFrame();
  EXPECT_TRUE(Near(centre, expected, 3)) << centre;
}

TEST_P(MM3DStandardRendererDrawTest, ASecondLayerIsASecondPass) {
  auto twoLayers = Material({kReplace, kAdd});
  mRenderer->BeginFrame();
  Draw(*twoLayers, FullQuad(1.0f, Rgb{100, 50, 25}));
  const Rgb centre = EndFrame();
  EXPECT_TRUE(Near(centre, Rgb{200, 100, 50})) << centre;
}

TEST_P(MM3DStandardRendererDrawTest, AMaterialWithoutLayersDrawsNothingAfterABlendedFrame) {
  auto blended = Material({kAlpha});
  auto bare = Material({});
  auto opaque = Material({kReplace});
  mRenderer->BeginFrame();
  Draw(*blended, FullQuad(1.0f, kGreen, kHalf));
  EndFrame();
  mRenderer->BeginFrame();
  Draw(*bare, FullQuad(1.0f, kBlue));
  EXPECT_EQ(EndFrame(), kBlack);
  mRenderer->BeginFrame();
  Draw(*bare, FullQuad(1.0f, kBlue));
  Draw(*opaque, FullQuad(1.0f, kRed));
  EXPECT_EQ(EndFrame(), kRed);
}

// Flat quads at one depth drawn in order paint over each other, blended
// or not: an opaque red then an opaque green give green, and a translucent
// blue panel then an opaque white button give white (through the depth
// sort the panel would be blended over the button at the end).
TEST_P(MM3DStandardRendererDrawTest, QuadsDrawnInOrderArePaintedInThatOrder) {
  const MM3DRenderStateBlock opaque =
      StageBlock(kMM3DDepthTestAndWrite, kMM3DDepthLessEqual, kMM3DBlendingOff, kReplace);
  const struct {
    FullQuad mFirst;
    MM3DRenderStateBlock mFirstBlock;
    FullQuad mSecond;
    Rgb mExpected;
  } cases[] = {
      {FullQuad(1.0f, kRed), opaque, FullQuad(1.0f, kGreen), kGreen},
      {FullQuad(1.0f, kBlue, kHalf), BlendedStages(), FullQuad(1.0f, Rgb{255, 255, 255}),
       Rgb{255, 255, 255}},
  };
  mRenderer->SetProjection(mPipeline.GetProjection());
  for (const auto& c : cases) {
    mRenderer->BeginFrame();
    for (const auto& [quad, block] : {std::pair{&c.mFirst, c.mFirstBlock}, {&c.mSecond, opaque}}) {
      mRenderer->SetTextureStages(block);
      mRenderer->DrawTrianglesInOrder(MM3DVertexArrays(*quad), 0, 2);
    }
    const Rgb centre = EndFrame();
    EXPECT_TRUE(Near(centre, c.mExpected)) << centre;
  }
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, MM3DStandardRendererDrawTest,
                         ::testing::Values(DriverBackEnd::kOffscreenOpenGL,
                                           DriverBackEnd::kDirect3D),
                         BackEndName);

}  // namespace
