#include "app/creation/VPLToolMagnet.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "app/creation/VPLObjCreationUser.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace creation_support;

const MM3DVector kLeft(-2.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kRight(2.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kEmpty(0.0f, 6.0f, 0.0f, 1.0f);

TEST(VPLToolMagnetReachTest, ASizeWithoutAWholeFractionReachesNothing) {
  ToolStage stage;
  ASSERT_TRUE(stage.Ready());
  struct Case {
    int32_t mSize;
    float mReach;
  };
  // 1: denominator 0; 2: no denominator; 3: no table; 4 and -1: no row.
  for (const Case& c : {Case{0, kSizeZeroReach}, Case{1, 0.0f}, Case{2, 0.0f}, Case{3, 0.0f},
                        Case{kMagnetSizeCount, 0.0f}, Case{-1, 0.0f}})
    EXPECT_EQ(VPLToolMagnet::Reach(c.mSize), c.mReach) << c.mSize;
}

// Notes the magnet steps it gets, as "pull begin 1.5" and so on.
class StepRecordingBlock : public VPLObjCreationUser {
 public:
  StepRecordingBlock(MMScene* scene, VPLCreation* creation, std::vector<std::string>& log,
                     const char* name)
      : VPLObjCreationUser(scene, MakeBlock(), creation), mLog(log), mName(name) {}
  void BeginMagnetPull(const MM3DVector&, const MM3DVector&, float r) override { Note("pull", r); }
  void DragMagnetPull(const MM3DVector&, const MM3DVector&, float r) override { Note("drag", r); }
  void EndMagnetPull(const MM3DVector&, const MM3DVector&, float r) override { Note("end", r); }
  void BeginMagnetPush(const MM3DVector&, const MM3DVector&, float r) override { Note("push", r); }

 private:
  void Note(const char* step, float reach) {
    mLog.push_back(mName + " " + step + " " + std::to_string(reach));
  }
  std::vector<std::string>& mLog;
  std::string mName;
};

class VPLToolMagnetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mStage.Area().SetMagnetSize(0);
    mTool = mStage.Make(kVPLToolMagnetPull);
    ASSERT_NE(mTool, nullptr);
    mSound = &mStage.Record(*mTool);
  }
  VPLObjCreation* Add(const char* name, const MM3DVector& at) {
    auto* object = new StepRecordingBlock(&mStage.Area(), &mStage.Creation(), mLog, name);
    mStage.Creation().AddObjectAt(object, at);
    return object;
  }
  static std::string Step(const char* name, const char* step) {
    return std::string(name) + " " + step + " " + std::to_string(kSizeZeroReach);
  }

  ToolStage mStage;
  std::unique_ptr<VPLTool> mTool;
  RecordingSound* mSound = nullptr;
  std::vector<std::string> mLog;
};

TEST_F(VPLToolMagnetTest, EveryEventWhileHeldIsAStepOnTheObjectTheSizeReaches) {
  Add("a", kLeft);
  mStage.Drag(*mTool, {kLeft, kLeft, kLeft, kLeft});
  EXPECT_EQ(mLog, (std::vector<std::string>{Step("a", "pull"), Step("a", "drag"), Step("a", "drag"),
                                            Step("a", "end")}));
  EXPECT_EQ(mSound->mCounts[RecordingSound::kPress], 1);
  EXPECT_EQ(mSound->mCounts[RecordingSound::kRelease], 1);
}

TEST_F(VPLToolMagnetTest, OnAGroupEachStepWorksOnTheMemberUnderThePointer) {
  VPLObjCreation* a = Add("a", kLeft);
  VPLObjCreation* b = Add("b", kRight);
  auto* group = new VPLObjCreationGroup(&mStage.Area(), a->GetModel(), &mStage.Creation());
  for (VPLObjCreation* member : {a, b}) {
    mStage.Creation().DetachObject(member);
    group->AddChild(member, false);
  }
  mStage.Creation().AddObject(group);
  mStage.Send(*mTool, kLeft, kVPLPress | kVPLHeld);
  EXPECT_TRUE(group->IsMagnetBusy());
  mStage.Send(*mTool, kRight, kVPLHeld);
  // A release over no member ends nothing and leaves the jiggle held.
  mStage.Send(*mTool, kEmpty, kVPLRelease);
  EXPECT_EQ(mLog, (std::vector<std::string>{Step("a", "pull"), Step("b", "drag")}));
  EXPECT_TRUE(group->IsMagnetBusy());
  mStage.Drag(*mTool, {kRight, kRight});
  EXPECT_FALSE(group->IsMagnetBusy());
}

TEST_F(VPLToolMagnetTest, APressOnTheCharacterIsACheckpointWithoutSound) {
  auto* character = new TestCharacter(&mStage.Area(), MakeBlock(), &mStage.Creation());
  mStage.Creation().AddObjectAt(character, kLeft);
  mStage.Creation().SetModified(false);
  mStage.Drag(*mTool, {kLeft, kLeft});
  EXPECT_TRUE(mStage.Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());
  for (int32_t count : mSound->mCounts) EXPECT_EQ(count, 0);
}

TEST_F(VPLToolMagnetTest, ThePushToolCallsThePushSteps) {
  Add("a", kLeft);
  std::unique_ptr<VPLTool> push = mStage.Make(kVPLToolMagnetPush);
  mStage.Send(*push, kLeft, kVPLPress | kVPLHeld);
  EXPECT_EQ(mLog, (std::vector<std::string>{Step("a", "push")}));
  EXPECT_EQ(push->GetToolType(), kVPLToolMagnetPush);
}

}  // namespace
