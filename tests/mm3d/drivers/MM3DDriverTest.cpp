#include "mm3d/drivers/MM3DDriver.h"

#include "tests/mm3d/drivers/RecordingDriver.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Call = RecordingDriver::Call;

MM3DDeviceMode Mode(int32_t depthBufferCode) {
  MM3DDeviceMode mode(320, 240, 2, 0, 0);
  mode.mDepthBufferCode = depthBufferCode;
  return mode;
}

MM3DDriverTextureImage Image() {
  return MM3DDriverTextureImage(8, 8, std::make_unique<uint8_t[]>(8 * 8 * 4), 1);
}

TEST(MM3DDriverTest, FirstResetSendsEveryStateInOrder) {
  RecordingDriver driver(Mode(1));
  driver.ResetState();
  const std::vector<Call> expected = {{"Cull", 0},        {"Fill", 0},
                                      {"DepthMode", 2},   {"DepthFunction", 2},
                                      {"Blending", 1},    {"BlendFactors", 10},
                                      {"TextureMode", 0}, {"Perspective", 0},
                                      {"Dithering", 0},   {"ClearColor", 0xFF000000},
                                      {"Viewport", 320},  {"DepthRange", 0},
                                      {"Projection", 0},  {"ViewMatrix", 0}};
  EXPECT_EQ(driver.mCalls, expected);
  EXPECT_EQ(driver.mViewport, UURect(0, 0, 320, 240));
  EXPECT_TRUE(driver.mViewMatrix.IsIdentity());
  EXPECT_EQ(driver.mProjection, MM3DProjectionVolume());
}

TEST(MM3DDriverTest, SecondResetSendsOnlyTheAlwaysSentValues) {
  RecordingDriver driver(Mode(1));
  driver.ResetState();
  driver.mCalls.clear();
  driver.ResetState();
  const std::vector<Call> expected = {{"ClearColor", 0xFF000000},
                                      {"Viewport", 320},
                                      {"DepthRange", 0},
                                      {"Projection", 0},
                                      {"ViewMatrix", 0}};
  EXPECT_EQ(driver.mCalls, expected);
}

TEST(MM3DDriverTest, ResetWithoutDepthBufferLeavesDepthFunctionUnset) {
  RecordingDriver driver(Mode(0));
  driver.ResetState();
  EXPECT_EQ(driver.mStateCache.mDepthMode, kMM3DDepthOff);
  EXPECT_EQ(driver.mStateCache.mDepthFunction, kMM3DStateUnset);
  EXPECT_EQ(std::count(driver.mCalls.begin(), driver.mCalls.end(), Call{"DepthMode", 0}), 1);
}

TEST(MM3DDriverTest, FrameCallsAndSuspendResume) {
  RecordingDriver driver(Mode(1));
  driver.BeginFrame();
  EXPECT_TRUE(driver.mInFrame);
  driver.ClearFrame();
  driver.EndFrame();
  EXPECT_FALSE(driver.mInFrame);
  EXPECT_TRUE(driver.Suspend());
  EXPECT_FALSE(driver.mActive);
  driver.Resume();
  EXPECT_TRUE(driver.mActive);
  const std::vector<Call> expected = {
      {"BeginScene", 0}, {"Clear", 0}, {"Present", 0}, {"Minimize", 0}, {"Restore", 0}};
  EXPECT_EQ(driver.mCalls, expected);
}

TEST(MM3DDriverTest, SetTextureSelectsOnlyOnChangeAndKeepsCount) {
  RecordingDriver driver(Mode(1));
  MM3DDriverTextureHandle handle = driver.mTextures.Load({}, Image());
  driver.SetTexture(handle);
  EXPECT_EQ(driver.mTextures.GetReferenceCount(0), 2);
  driver.SetTexture(handle);
  EXPECT_EQ(driver.mTextures.GetReferenceCount(0), 2);
  driver.SetTexture(MM3DDriverTextureHandle());
  EXPECT_EQ(driver.mTextures.GetReferenceCount(0), 1);
  EXPECT_EQ(driver.mTextures.mSelections,
            (std::vector<int32_t>{0, RecordingTextureCollection::kNone}));
}

MM3DRenderStateBlock OneStage(int32_t depthMode, MM3DBlendFactors factors) {
  MM3DRenderStateBlock block;
  block.mStageCount = 1;
  block.mStages[0].mDepthMode = depthMode;
  block.mStages[0].mDepthFunction = kMM3DDepthLessEqual;
  block.mStages[0].mOpaque = kMM3DBlendingOn;
  block.mStages[0].mBlendFactors = factors;
  return block;
}

TEST(MM3DDriverTest, ApplyingAStageTwiceSendsNothingTheSecondTime) {
  RecordingDriver driver(Mode(1));
  driver.ResetState();
  MM3DRenderStateBlock block = OneStage(kMM3DDepthTestOnly, {4, 5});
  block.mStages[0].mTexture = driver.mTextures.Load({}, Image());
  driver.mCalls.clear();
  block.ApplyStage(driver, 0);
  const std::vector<Call> expected = {
      {"DepthMode", 1}, {"DepthFunction", 3}, {"Blending", 0}, {"BlendFactors", 45}};
  EXPECT_EQ(driver.mCalls, expected);
  EXPECT_EQ(driver.mTextures.mSelections, (std::vector<int32_t>{0}));
  block.ApplyStage(driver, 0);
  EXPECT_EQ(driver.mCalls, expected);
  EXPECT_EQ(driver.mTextures.mSelections, (std::vector<int32_t>{0}));
  EXPECT_EQ(driver.mTextures.GetReferenceCount(0), 2);
  block.Reset();
  EXPECT_EQ(block.mStageCount, 0);
  EXPECT_EQ(driver.mTextures.GetReferenceCount(0), 1);
}

TEST(MM3DDriverTest, ChangingOneBlendFactorSendsThePair) {
  RecordingDriver driver(Mode(1));
  driver.ResetState();
  driver.mCalls.clear();
  OneStage(kMM3DDepthTestAndWrite, {1, 5}).ApplyStage(driver, 0);
  EXPECT_EQ(driver.mCalls.back(), (Call{"BlendFactors", 15}));
}

TEST(MM3DDriverTest, BlocksCompareOnlyStagesInUse) {
  MM3DRenderStateBlock a = OneStage(kMM3DDepthTestOnly, {4, 5});
  MM3DRenderStateBlock b = OneStage(kMM3DDepthTestOnly, {4, 5});
  b.mStages[1].mDepthMode = kMM3DDepthWriteOnly;
  EXPECT_TRUE(a == b);
  b.mStageCount = 2;
  a.mStageCount = 2;
  EXPECT_FALSE(a == b);
  EXPECT_FALSE(OneStage(kMM3DDepthTestOnly, {4, 5}) == OneStage(kMM3DDepthTestOnly, {4, 4}));
}

TEST(MM3DDriverTest, BlockIsBlendedUnlessEmptyOrBlendingOneToZero) {
  EXPECT_FALSE(MM3DRenderStateBlock().IsBlended());
  EXPECT_TRUE(OneStage(kMM3DDepthTestOnly, {4, 5}).IsBlended());
  EXPECT_FALSE(OneStage(kMM3DDepthTestOnly, {1, 0}).IsBlended());
}

}  // namespace
