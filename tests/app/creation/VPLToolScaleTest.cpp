#include "app/creation/VPLToolScale.h"

#include "app/creation/VPLCreation.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
constexpr float kPixelTolerance = 0.05f;

TEST(VPLToolScaleFactorTest, GrowsToFourAtMostAndShrinksWithoutABound) {
  struct Case {
    float mOffset;
    float mFactor;
  };
  for (const Case& c : {Case{0.0f, 1.0f}, Case{1.0f, 1.3f}, Case{10.0f, 4.0f}, Case{25.0f, 4.0f},
                        Case{-1.0f, 0.901f}, Case{-10.0f, 0.01f}, Case{-20.0f, -0.98f}})
    EXPECT_NEAR(VPLToolScale::Factor(c.mOffset), c.mFactor, 1e-5f) << c.mOffset;
  // The object refuses a step at or below 0.15.
  EXPECT_LE(VPLToolScale::Factor(-8.59f), 0.15f);
}

class VPLToolScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mTool = mStage.Make(kVPLToolScale);
    ASSERT_NE(mTool, nullptr);
  }
  static MM3DVector Scale(const VPLObj& object) {
    const MM3DMatrix& m = object.GetScaleNode()->GetMatrix();
    return MM3DVector(m.mElement[0][0], m.mElement[1][1], m.mElement[2][2], 0.0f);
  }

  ToolStage mStage;
  std::unique_ptr<VPLTool> mTool;
};

TEST_F(VPLToolScaleTest, RisingGrowsUniformlyAndShiftSplitsHeightFromWidth) {
  VPLObjCreation* object = mStage.AddBlock(kOrigin);
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, MM3DVector(0.0f, 2.0f, 0.0f, 1.0f), kVPLHeld);
  const MM3DVector uniform = Scale(*object);
  EXPECT_NEAR(uniform.mX, 1.6f, kPixelTolerance);
  EXPECT_NEAR(uniform.mZ, uniform.mX, 1e-6f);
  mStage.Send(*mTool, MM3DVector(0.0f, 2.0f, 0.0f, 1.0f), kVPLRelease);

  VPLObjCreation* other = mStage.AddBlock(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  mStage.Creation().RemoveObject(object);
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld | kVPLAlternate);
  // The camera looks along z: travel along x is the world's x.
  mStage.Send(*mTool, MM3DVector(1.0f, 2.0f, 0.0f, 1.0f), kVPLHeld | kVPLAlternate);
  const MM3DVector split = Scale(*other);
  EXPECT_NEAR(split.mY, 1.6f, kPixelTolerance);
  EXPECT_NEAR(split.mX, 1.3f, kPixelTolerance);
  EXPECT_NEAR(split.mZ, split.mX, 1e-6f);
}

TEST_F(VPLToolScaleTest, ScalingTheCharacterIsSilent) {
  auto* character = new TestCharacter(&mStage.Area(), MakeBlock(), &mStage.Creation());
  mStage.Creation().AddObjectAt(character, kOrigin);
  RecordingSound& sound = mStage.Record(*mTool);
  mStage.Drag(*mTool, {kOrigin, MM3DVector(0.0f, 1.0f, 0.0f, 1.0f), kOrigin});
  EXPECT_GT(Scale(*character).mX, 1.0f);
  for (int32_t count : sound.mCounts) EXPECT_EQ(count, 0);
}

}  // namespace
