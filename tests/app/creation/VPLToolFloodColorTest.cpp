#include "app/creation/VPLToolFloodColor.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/objects/VPLMaterializer.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kLeft(-2.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kRight(2.0f, 0.0f, 0.0f, 1.0f);
// Inside the box around both blocks, on neither.
const MM3DVector kBetween(0.0f, 0.0f, 0.0f, 1.0f);
constexpr MM3DColor kRed{1.0f, 0.0f, 0.0f, 0.0f};
constexpr MM3DColor kBlue{0.0f, 0.0f, 1.0f, 0.0f};

class VPLToolFloodColorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mLeft = mStage.AddBlock(kLeft);
    mRight = mStage.AddBlock(kRight);
    for (VPLObjCreation* object : {mLeft, mRight}) object->SetColor(kBlue);
    mStage.Area().GetMaterializer()->SetKind(kVPLConstantMaterial);
    mStage.Area().GetMaterializer()->SetColor(kRed);
    mStage.Area().GetMaterializer()->ClearLayers();
    mTool = mStage.Make(kVPLToolFloodColor);
    ASSERT_NE(mTool, nullptr);
  }
  void Click(const MM3DVector& at) { mStage.Drag(*mTool, {at, at}); }
  VPLObjCreationGroup* GroupBoth() {
    auto* group = new VPLObjCreationGroup(&mStage.Area(), mLeft->GetModel(), &mStage.Creation());
    for (VPLObjCreation* member : {mLeft, mRight}) {
      mStage.Creation().DetachObject(member);
      group->AddChild(member, false);
    }
    mStage.Creation().AddObject(group);
    return group;
  }

  ToolStage mStage;
  VPLObjCreation* mLeft = nullptr;
  VPLObjCreation* mRight = nullptr;
  std::unique_ptr<VPLTool> mTool;
};

TEST_F(VPLToolFloodColorTest, AClickGivesTheCurrentMaterialToTheObject) {
  Click(kLeft);
  EXPECT_TRUE(mLeft->GetColor() == kRed);
  EXPECT_TRUE(mRight->GetColor() == kBlue);
  EXPECT_FALSE(mStage.Area().IsUntouched());
}

TEST_F(VPLToolFloodColorTest, OnAGroupTheMemberUnderTheReleaseTakesIt) {
  GroupBoth();
  mStage.Send(*mTool, kLeft, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, kRight, kVPLRelease);
  EXPECT_TRUE(mLeft->GetColor() == kBlue);
  EXPECT_TRUE(mRight->GetColor() == kRed);
}

TEST_F(VPLToolFloodColorTest, AGroupReleaseOnNoMemberIsACheckpointThatColoursNothing) {
  GroupBoth();
  mStage.Creation().SetModified(false);
  mStage.Send(*mTool, kLeft, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, kBetween, kVPLRelease);
  EXPECT_TRUE(mLeft->GetColor() == kBlue);
  EXPECT_TRUE(mRight->GetColor() == kBlue);
  EXPECT_TRUE(mStage.Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());
}

}  // namespace
