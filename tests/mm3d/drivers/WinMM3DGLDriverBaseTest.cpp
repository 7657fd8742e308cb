#include "mm3d/drivers/win/WinMM3DGLDriverBase.h"

#include "tests/mm3d/drivers/DriverFixture.h"
#include "tests/mm3d/drivers/GLCallCounter.h"

#include <gtest/gtest.h>

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

using WinMM3DGLDriverBaseTest = GLDriverFixture;

TEST(WinMM3DGLProjectionMatrixTest, PerspectiveAndOrthographic) {
  MM3DProjectionVolume volume;
  volume.SetFrustum(-2, 2, -1, 1, 1, 3);
  float m[16];
  WinMM3DGLProjectionMatrix(volume, m);
  const float perspective[16] = {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -3, 0};
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], perspective[i]) << i;
  volume.SetOrthographic(0, 4, -1, 3, 1, 5);
  WinMM3DGLProjectionMatrix(volume, m);
  const float orthographic[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, -1, -0.5f, -1.5f, 1};
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(m[i], orthographic[i]) << i;
}

TEST_F(WinMM3DGLDriverBaseTest, StateReachesOpenGLOnlyWhenItChanges) {
  const MM3DDriverTextureFormat format{kMM3DTextureArgb8888, kMM3DFilterNearest, 1};
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStages[0].mOpaque = kMM3DBlendingOn;
  block.mStages[0].mBlendFactors = {kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha};
  block.mStages[0].mTexture = mDriver->GetTextureCollection().Load(format, SolidImage(kRed, kRed));
  CountStateCalls(GL().mDispatch);
  BeginFrame();
  Draw(Quad{}, block);
  // Blending on, its factors, and the texture enabled and bound.
  EXPECT_EQ(gGLCalls.mCalls, 4);
  gGLCalls.mCalls = 0;
  Draw(Quad{}, block);
  Draw(Quad{}, block);
  EXPECT_EQ(gGLCalls.mCalls, 0);
  mDriver->ResetState();
  // Blending off, factors (1, 0); the texture stays.
  EXPECT_EQ(gGLCalls.mCalls, 2);
  mDriver->EndFrame();
  block.Reset();
}

TEST_F(WinMM3DGLDriverBaseTest, DrawOutsideTheBufferDrawsNothing) {
  BeginFrame(kBlue);
  auto& counted = CountCalls<20>(GL().mDispatch.glDrawArrays);
  mDriver->DrawTriangleBuffer(OpaqueBlock(), *mBuffer, 15, 2);
  mDriver->DrawTriangleBuffer(OpaqueBlock(), *mBuffer, -1, 1);
  EXPECT_EQ(counted.sCount, 0);
  mDriver->DrawTriangleBuffer(OpaqueBlock(), *mBuffer, 14, 2);
  EXPECT_EQ(counted.sCount, 1);
  mDriver->EndFrame();
}

}  // namespace
