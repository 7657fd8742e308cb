// The driver contract on pixels, the same frames through both back-ends:
// the offscreen OpenGL driver and the Direct3D driver.
#include "mm3d/drivers/MM3DDriver.h"

#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kWhite{255, 255, 255};
constexpr float kNearDepth = 0.5f;
constexpr float kFarDepth = 1.5f;

using MM3DDriverBackEndsTest = BackEndDriverFixture;

// The quad with its corners in clockwise order as seen.
Quad Clockwise(Quad quad) {
  std::swap(quad.mLeft, quad.mRight);
  return quad;
}

TEST_P(MM3DDriverBackEndsTest, CullModes) {
  struct Case {
    int32_t mCull;
    bool mClockwise;
    Rgb mExpected;
  };
  for (const Case& c :
       {Case{kMM3DCullNone, false, kRed}, Case{kMM3DCullNone, true, kRed},
        Case{kMM3DCullClockwise, false, kRed}, Case{kMM3DCullClockwise, true, kBlack},
        Case{kMM3DCullCounterClockwise, false, kBlack},
        Case{kMM3DCullCounterClockwise, true, kRed}}) {
    BeginFrame();
    SetState(*mDriver, mDriver->mStateCache.mCullMode, c.mCull, &MM3DDriver::SetCullMode);
    const Quad quad{.mColor = Corner(kRed)};
    Draw(c.mClockwise ? Clockwise(quad) : quad);
    EXPECT_EQ(Centre(), c.mExpected) << "cull " << c.mCull << " clockwise " << c.mClockwise;
  }
}

TEST_P(MM3DDriverBackEndsTest, WireframeLeavesTheInsideEmpty) {
  BeginFrame();
  SetState(*mDriver, mDriver->mStateCache.mFillMode, kMM3DFillWireframe, &MM3DDriver::SetFillMode);
  Draw(
      Quad{.mLeft = -0.5f, .mBottom = -0.5f, .mRight = 0.5f, .mTop = 0.5f, .mColor = Corner(kRed)});
  EndFrame();
  EXPECT_EQ(PixelAt(4, 4), kBlack);
  EXPECT_EQ(PixelAt(kSize / 4 + 2, kSize / 4 + 2), kBlack);
}

// A red quad is drawn near with test and write; a green one far with the
// case's depth mode and function.
TEST_P(MM3DDriverBackEndsTest, DepthModesAndFunctions) {
  struct Case {
    int32_t mMode;
    int32_t mFunction;
    Rgb mExpected;
  };
  const Case cases[] = {
      {kMM3DDepthTestAndWrite, kMM3DDepthLess, kRed},
      {kMM3DDepthTestAndWrite, kMM3DDepthGreater, kGreen},
      {kMM3DDepthTestAndWrite, kMM3DDepthGreaterEqual, kGreen},
      {kMM3DDepthTestOnly, kMM3DDepthLessEqual, kRed},
      {kMM3DDepthTestOnly, kMM3DDepthNotEqual, kGreen},
      {kMM3DDepthTestOnly, kMM3DDepthEqual, kRed},
      {kMM3DDepthTestOnly, kMM3DDepthNever, kRed},
      {kMM3DDepthTestOnly, kMM3DDepthAlways, kGreen},
      {kMM3DDepthOff, kMM3DDepthLess, kGreen},
      {kMM3DDepthWriteOnly, kMM3DDepthLess, kGreen},
  };
  for (const Case& c : cases) {
    BeginFrame();
    Draw(Quad{.mDepth = kNearDepth, .mColor = Corner(kRed)});
    MM3DRenderStateBlock block = OpaqueBlock();
    block.mStages[0].mDepthMode = c.mMode;
    block.mStages[0].mDepthFunction = c.mFunction;
    Draw(Quad{.mDepth = kFarDepth, .mColor = Corner(kGreen)}, block);
    EXPECT_EQ(Centre(), c.mExpected) << "mode " << c.mMode << " function " << c.mFunction;
  }
}

// Only a mode that writes leaves the near depth behind for a second quad.
// Direct3D turns all depth buffering off with its test, so its write-only
// mode writes nothing; the OpenGL driver writes through a test that always
// passes.
TEST_P(MM3DDriverBackEndsTest, DepthWritesFollowTheMode) {
  const bool writeOnlyWrites = !OnDirect3D();
  for (const int32_t mode : {kMM3DDepthTestOnly, kMM3DDepthWriteOnly}) {
    BeginFrame();
    MM3DRenderStateBlock block = OpaqueBlock();
    block.mStages[0].mDepthMode = mode;
    block.mStages[0].mDepthFunction = kMM3DDepthAlways;
    Draw(Quad{.mDepth = kNearDepth, .mColor = Corner(kRed)}, block);
    Draw(Quad{.mDepth = kFarDepth, .mColor = Corner(kGreen)});
    const Rgb expected = mode == kMM3DDepthWriteOnly && writeOnlyWrites ? kRed : kGreen;
    EXPECT_EQ(Centre(), expected) << "mode " << mode;
  }
}

// The depth of the last frame must not survive a clear made while the
// depth mode does not write.
TEST_P(MM3DDriverBackEndsTest, ClearResetsDepthWhateverTheDepthMode) {
  BeginFrame();
  Draw(Quad{.mDepth = kNearDepth, .mColor = Corner(kRed)});
  EndFrame();
  SetState(*mDriver, mDriver->mStateCache.mDepthMode, kMM3DDepthTestOnly,
           &MM3DDriver::SetDepthMode);
  BeginFrame();
  Draw(Quad{.mDepth = kFarDepth, .mColor = Corner(kGreen)});
  EXPECT_EQ(Centre(), kGreen);
}

TEST_P(MM3DDriverBackEndsTest, BlendPairs) {
  struct Case {
    int32_t mOpaque;
    MM3DBlendFactors mFactors;
    Rgb mExpected;
  };
  // Red with alpha 128 over blue.
  const Case cases[] = {
      {kMM3DBlendingOn, {kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha}, {128, 0, 127}},
      {kMM3DBlendingOn, {kMM3DBlendOne, kMM3DBlendZero}, kRed},
      {kMM3DBlendingOn, {kMM3DBlendOne, kMM3DBlendOne}, {255, 0, 255}},
      {kMM3DBlendingOn, {kMM3DBlendZero, kMM3DBlendSourceColor}, kBlack},
      {kMM3DBlendingOn, {kMM3DBlendDestColor, kMM3DBlendZero}, kBlack},
      {kMM3DBlendingOff, {kMM3DBlendOne, kMM3DBlendOne}, kRed},
  };
  for (const Case& c : cases) {
    BeginFrame(kBlue);
    MM3DRenderStateBlock block = OpaqueBlock();
    block.mStages[0].mOpaque = c.mOpaque;
    block.mStages[0].mBlendFactors = c.mFactors;
    Draw(Quad{.mColor = Corner(kRed, 128)}, block);
    const Rgb centre = Centre();
    EXPECT_TRUE(Near(centre, c.mExpected))
        << centre << " for " << c.mFactors.mSource << "," << c.mFactors.mDestination;
  }
}

// A texture mode reaches the texture selected after it. A change while the
// texture stays selected shows at once under OpenGL; Direct3D sets its
// texture stage only when a texture is selected.
TEST_P(MM3DDriverBackEndsTest, TextureModulatesOrReplaces) {
  constexpr Rgb kTexel{0, 200, 100};
  constexpr Rgb kModulated{0, 100, 0};
  const MM3DDriverTextureFormat format{kMM3DTextureArgb8888, kMM3DFilterNearest, 1};
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStages[0].mTexture =
      mDriver->GetTextureCollection().Load(format, SolidImage(kTexel, kTexel));
  ASSERT_FALSE(block.mStages[0].mTexture.IsEmpty());
  const Quad quad{.mColor = Corner({255, 128, 0})};
  for (const int32_t mode : {kMM3DTextureModulate, kMM3DTextureReplace}) {
    BeginFrame();
    mDriver->SetTexture(MM3DDriverTextureHandle());
    SetState(*mDriver, mDriver->mStateCache.mTextureMode, mode, &MM3DDriver::SetTextureMode);
    Draw(quad, block);
    const Rgb expected = mode == kMM3DTextureReplace ? kTexel : kModulated;
    const Rgb centre = Centre();
    EXPECT_TRUE(Near(centre, expected)) << centre << " in mode " << mode;
  }
  BeginFrame();
  SetState(*mDriver, mDriver->mStateCache.mTextureMode, kMM3DTextureModulate,
           &MM3DDriver::SetTextureMode);
  Draw(quad, block);
  const Rgb centre = Centre();
  EXPECT_TRUE(Near(centre, OnDirect3D() ? kTexel : kModulated)) << centre;
  block.Reset();
}

MM3DRenderStateBlock AlphaBlendedBlock() {
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStages[0].mOpaque = kMM3DBlendingOn;
  block.mStages[0].mBlendFactors = {kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};
  return block;
}

// An 8 x 8 image of one colour as indexes into a palette of two entries,
// the first for the left half and the second for the right.
MM3DDriverTextureImage PalettedHalves(Rgb color, uint8_t leftAlpha, uint8_t rightAlpha) {
  const auto entry = [color](uint8_t alpha) {
    return MM3DPaletteEntry{static_cast<uint8_t>(color.mRed), static_cast<uint8_t>(color.mGreen),
                            static_cast<uint8_t>(color.mBlue), alpha};
  };
  const MM3DPaletteEntry palette[2] = {entry(leftAlpha), entry(rightAlpha)};
  auto indexes = std::make_unique<uint8_t[]>(8 * 8);
  for (size_t i = 0; i < 8 * 8; ++i) indexes[i] = i % 8 < 4 ? 0 : 1;
  return MM3DDriverTextureImage(8, 8, std::move(indexes), 2, palette, 1);
}

// Each texture format keeps a texel's colour to its precision and its
// alpha to its bits, from true-colour and paletted images alike: a texture
// of alpha 136 on the left and 68 on the right, blended over black. A
// single alpha bit is set from 128 up.
TEST_P(MM3DDriverBackEndsTest, TextureFormatsKeepColourAndAlpha) {
  constexpr Rgb kTexel{200, 100, 50};
  constexpr Rgb kLeftBlend{107, 53, 27};  // 136 / 255 of the texel
  constexpr Rgb kRightBlend{53, 27, 13};  // 68 / 255
  constexpr int kSixteenBitTolerance = 8;
  constexpr int kByteTolerance = 2;
  struct Case {
    int32_t mFormat;
    Rgb mLeft;
    Rgb mRight;
    int mTolerance;
  };
  const Case cases[] = {
      {kMM3DTextureRgb565, kTexel, kTexel, kSixteenBitTolerance},
      {kMM3DTextureArgb4444, kLeftBlend, kRightBlend, kSixteenBitTolerance},
      {kMM3DTextureArgb1555, kTexel, kBlack, kSixteenBitTolerance},
      {kMM3DTextureRgb888, kTexel, kTexel, kByteTolerance},
      {kMM3DTextureArgb8888, kLeftBlend, kRightBlend, kByteTolerance},
  };
  MM3DRenderStateBlock block = AlphaBlendedBlock();
  for (const Case& c : cases) {
    for (const bool paletted : {false, true}) {
      block.mStages[0].mTexture = mDriver->GetTextureCollection().Load(
          {c.mFormat, kMM3DFilterNearest, 1},
          paletted ? PalettedHalves(kTexel, 136, 68) : SolidImage(kTexel, kTexel, 136, 68));
      ASSERT_FALSE(block.mStages[0].mTexture.IsEmpty()) << "format " << c.mFormat;
      BeginFrame();
      Draw(Quad{}, block);
      EndFrame();
      const Rgb left = PixelAt(4, kSize / 2);
      const Rgb right = PixelAt(kSize - 4, kSize / 2);
      const auto where = [&] {
        return ::testing::Message() << " in format " << c.mFormat << (paletted ? ", paletted" : "");
      };
      EXPECT_TRUE(Near(left, c.mLeft, c.mTolerance)) << left << where();
      EXPECT_TRUE(Near(right, c.mRight, c.mTolerance)) << right << where();
    }
  }
  block.Reset();
}

// A 256 x 64 texture, black in the first eighth of its width, repeated
// twice across each pixel so that every pixel samples the smallest level, at the
// middle of the first texel of a level 4 wide. The Direct3D chain ends
// at 4 x 1 (7 levels), whose first texel is half black; the OpenGL chain
// goes on to 1 x 1, the whole image's average.
TEST_P(MM3DDriverBackEndsTest, MipChainEndsAtTheSmallestLevelOfTheBackEnd) {
  constexpr int32_t kWidth = 256;
  constexpr Rgb kFirstQuarter{127, 127, 127};
  constexpr Rgb kWholeImage{223, 223, 223};
  const auto paint = [](int32_t x) {
    return std::pair{x < kWidth / 8 ? kBlack : kWhite, uint8_t{255}};
  };
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStages[0].mTexture = mDriver->GetTextureCollection().Load(
      {kMM3DTextureArgb8888, kMM3DFilterNearestMipNearest, 0}, PaintedImage(kWidth, 64, paint));
  ASSERT_FALSE(block.mStages[0].mTexture.IsEmpty());
  BeginFrame();
  Draw(Quad{.mSet0Origin = {0.125f, 0}, .mSet0Span = 2.0f * kSize}, block);
  const Rgb centre = Centre();
  EXPECT_TRUE(Near(centre, OnDirect3D() ? kFirstQuarter : kWholeImage)) << centre;
  block.Reset();
}

// The second stage adds the right half of its texture, reached through
// texture-coordinate set 1, onto the first stage's texture.
TEST_P(MM3DDriverBackEndsTest, TwoStagesDrawTwoPasses) {
  const MM3DDriverTextureFormat format{kMM3DTextureArgb8888, kMM3DFilterNearest, 1};
  MM3DDriverTextureCollection& textures = mDriver->GetTextureCollection();
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStageCount = 2;
  block.mStages[0].mTexture = textures.Load(format, SolidImage({100, 0, 0}, {100, 0, 0}));
  block.mStages[1] =
      MM3DRenderStage{.mDepthMode = kMM3DDepthTestOnly,
                      .mDepthFunction = kMM3DDepthLessEqual,
                      .mOpaque = kMM3DBlendingOn,
                      .mBlendFactors = {kMM3DBlendOne, kMM3DBlendOne},
                      .mTexture = textures.Load(format, SolidImage(kBlack, {0, 0, 150}))};
  BeginFrame();
  Draw(Quad{.mSet1Coord = {0.875f, 0.5f}}, block);
  const Rgb centre = Centre();
  EXPECT_TRUE(Near(centre, {100, 0, 150})) << centre;
  block.Reset();
}

TEST_P(MM3DDriverBackEndsTest, BlockWithoutStagesDrawsNothing) {
  BeginFrame(kBlue);
  Draw(Quad{.mColor = Corner(kRed)}, MM3DRenderStateBlock());
  EXPECT_EQ(Centre(), kBlue);
}

// Rectangles are measured from the top-left corner of the target.
TEST_P(MM3DDriverBackEndsTest, ViewportIsTopLeft) {
  BeginFrame(kBlue);
  mDriver->mViewport = UURect(0, 0, kSize / 2, kSize / 4);
  mDriver->SetViewport(mDriver->mViewport);
  Draw(Quad{.mColor = Corner(kRed)});
  EndFrame();
  EXPECT_EQ(PixelAt(2, 2), kRed);
  EXPECT_EQ(PixelAt(kSize / 2 - 1, kSize / 4 - 1), kRed);
  EXPECT_EQ(PixelAt(kSize / 2, 2), kBlue);
  EXPECT_EQ(PixelAt(2, kSize / 4), kBlue);
  EXPECT_EQ(PixelAt(2, kSize - 2), kBlue);
}

TEST_P(MM3DDriverBackEndsTest, DepthRangeMovesTheStoredDepth) {
  BeginFrame();
  // Squeezed into the far half, the near red quad (stored at 0.55) loses
  // against a green one in the middle drawn at full range (0.5).
  mDriver->mDepthRange = MM3DDepthRange(0.5f, 1.0f);
  mDriver->SetDepthRange(mDriver->mDepthRange);
  Draw(Quad{.mDepth = 0.2f, .mColor = Corner(kRed)});
  mDriver->mDepthRange = MM3DDepthRange();
  mDriver->SetDepthRange(mDriver->mDepthRange);
  Draw(Quad{.mDepth = 1.0f, .mColor = Corner(kGreen)});
  EXPECT_EQ(Centre(), kGreen);
}

// The view matrix moves the quad; its fourth column is ignored.
TEST_P(MM3DDriverBackEndsTest, ViewMatrixTranslatesAndDropsFourthColumn) {
  BeginFrame(kBlue);
  MM3DMatrixTranslation(mDriver->mViewMatrix, 1.0f, 0.0f, 0.0f);
  mDriver->mViewMatrix.mElement[0][3] = 0.5f;
  mDriver->mViewMatrix.mElement[3][3] = 2.0f;
  mDriver->SetViewMatrix(mDriver->mViewMatrix);
  Draw(Quad{.mLeft = -1, .mBottom = -1, .mRight = 0, .mTop = 1, .mColor = Corner(kRed)});
  EndFrame();
  EXPECT_EQ(PixelAt(kSize - 4, kSize / 2), kRed);
  EXPECT_EQ(PixelAt(4, kSize / 2), kBlue);
}

// A buffer made without coordinate sets still draws a textured second
// stage: the stage samples its texture at (0, 0).
TEST_P(MM3DDriverBackEndsTest, BufferWithoutTexCoordSetsDraws) {
  MM3DTriangleBuffer* bare = mDriver->CreateTriangleBuffer(2, 0);
  ASSERT_NE(bare, nullptr);
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStageCount = 2;
  block.mStages[1] = block.mStages[0];
  block.mStages[1].mDepthMode = kMM3DDepthTestOnly;
  block.mStages[1].mDepthFunction = kMM3DDepthLessEqual;
  block.mStages[1].mTexture = mDriver->GetTextureCollection().Load(
      {kMM3DTextureArgb8888, kMM3DFilterNearest, 0}, SolidImage(kRed, kRed));
  BeginFrame(kBlue);
  const MM3DVector corners[6] = {{-1, -1, 1, 1}, {1, -1, 1, 1}, {1, 1, 1, 1},
                                 {-1, -1, 1, 1}, {1, 1, 1, 1},  {-1, 1, 1, 1}};
  MM3DCornerColor colors[6];
  std::fill_n(colors, 6, Corner({255, 255, 255}));
  bare->SetPositions(0, 2, corners);
  bare->SetColors(0, 2, colors);
  mDriver->DrawTriangleBuffer(block, *bare, 0, 2);
  EXPECT_EQ(Centre(), kRed);
  mDriver->DestroyTriangleBuffer(bare);
  block.Reset();
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, MM3DDriverBackEndsTest,
                         ::testing::Values(DriverBackEnd::kOffscreenOpenGL,
                                           DriverBackEnd::kDirect3D),
                         BackEndName);

}  // namespace
