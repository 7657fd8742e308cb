#include "app/creation/VPLToolGroup.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationGroup.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace creation_support;

const MM3DVector kA(-4.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kB(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kC(4.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kD(0.0f, 4.0f, 0.0f, 1.0f);

class VPLToolGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mA = mStage.AddBlock(kA);
    mB = mStage.AddBlock(kB);
    mC = mStage.AddBlock(kC);
    mTool = mStage.Make(kVPLToolGroup);
    ASSERT_NE(mTool, nullptr);
    mSound = &mStage.Record(*mTool);
  }
  void Click(const MM3DVector& at, int32_t flags = 0) { mStage.Drag(*mTool, {at, at}, flags); }
  VPLCreation& Creation() { return mStage.Creation(); }
  VPLObjCreationGroup* Current() {
    return static_cast<VPLObjCreationGroup*>(Creation().GetCurrentGroup());
  }
  static std::vector<VPLObjCreation*> Members(const VPLObjCreationGroup& group) {
    std::vector<VPLObjCreation*> members;
    for (int32_t i = 0; i < group.GetChildCount(); ++i) members.push_back(group.GetChild(i));
    return members;
  }
  // A group of the objects, filed but not current.
  VPLObjCreationGroup* GroupOf(const std::vector<VPLObjCreation*>& objects) {
    auto* group = new VPLObjCreationGroup(&mStage.Area(), objects.front()->GetModel(), &Creation());
    for (VPLObjCreation* object : objects) {
      Creation().DetachObject(object);
      group->AddChild(object, false);
    }
    Creation().AddObject(group);
    return group;
  }

  ToolStage mStage;
  VPLObjCreation* mA = nullptr;
  VPLObjCreation* mB = nullptr;
  VPLObjCreation* mC = nullptr;
  std::unique_ptr<VPLTool> mTool;
  RecordingSound* mSound = nullptr;
};

TEST_F(VPLToolGroupTest, ClicksGatherFreeObjectsIntoTheCurrentGroup) {
  Click(kA);
  ASSERT_NE(Current(), nullptr);
  EXPECT_EQ(Members(*Current()), (std::vector<VPLObjCreation*>{mA}));
  EXPECT_TRUE(Current()->IsHighlighted());
  Click(kB);
  Click(kC);
  EXPECT_EQ(Members(*Current()), (std::vector<VPLObjCreation*>{mA, mB, mC}));
  EXPECT_TRUE(Creation().GetUserObjects().empty());
  EXPECT_EQ(mSound->mCounts[RecordingSound::kRelease], 3);
}

TEST_F(VPLToolGroupTest, TakingOutTheFirstOfThreeLeavesTheOthersSecondFirst) {
  Click(kA);
  Click(kB);
  Click(kC);
  Click(kA);
  ASSERT_NE(Current(), nullptr);
  EXPECT_EQ(Members(*Current()), (std::vector<VPLObjCreation*>{mB, mC}));
  EXPECT_EQ(Creation().GetUserObjects(), (std::vector<VPLObjCreation*>{mA}));
  EXPECT_EQ(Creation().GetGroups().size(), 1u);
  // Taking a member out sounds the action, not the release.
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 1);
}

TEST_F(VPLToolGroupTest, TakingOutMembersDownToNoneDeletesTheGroup) {
  Click(kA);
  Click(kB);
  Click(kA);
  ASSERT_NE(Current(), nullptr);
  EXPECT_EQ(Members(*Current()), (std::vector<VPLObjCreation*>{mB}));
  Click(kB);
  EXPECT_TRUE(Creation().GetGroups().empty());
  EXPECT_EQ(Creation().GetCurrentGroup(), nullptr);
  EXPECT_EQ(Creation().GetUserObjects().size(), 3u);
}

TEST_F(VPLToolGroupTest, ClickingAnotherGroupNestsItOnlyWhenThereIsACurrentGroup) {
  VPLObjCreationGroup* other = GroupOf({mC});
  Creation().SetModified(false);
  Click(kC);
  EXPECT_EQ(Creation().GetGroups().size(), 1u);
  EXPECT_TRUE(Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());

  Click(kA);
  Click(kC);
  ASSERT_NE(Current(), nullptr);
  EXPECT_EQ(Members(*Current()), (std::vector<VPLObjCreation*>{mA, other}));
  EXPECT_EQ(Creation().GetGroups().size(), 1u);
}

TEST_F(VPLToolGroupTest, ShiftClicksStartANewGroupOrMakeAGroupCurrent) {
  Click(kA);
  VPLObjCreation* first = Current();
  Click(kB, kVPLAlternate);
  EXPECT_NE(Current(), first);
  EXPECT_EQ(Members(*Current()), (std::vector<VPLObjCreation*>{mB}));
  EXPECT_EQ(Members(*static_cast<VPLObjCreationGroup*>(first)), (std::vector<VPLObjCreation*>{mA}));
  Click(kA, kVPLAlternate);
  EXPECT_EQ(Current(), first);
  EXPECT_TRUE(mSound->mLastAlternate);
}

TEST_F(VPLToolGroupTest, TheCharacterIsNeverGroupedOnlyHeard) {
  auto* character = new TestCharacter(&mStage.Area(), MakeBlock(), &Creation());
  Creation().AddObjectAt(character, kD);
  Creation().SetModified(false);
  Click(kD);
  EXPECT_TRUE(Creation().GetGroups().empty());
  EXPECT_FALSE(Creation().IsModified());
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 1);
  EXPECT_TRUE(mSound->mLastAlternate);
}

TEST_F(VPLToolGroupTest, TheCurrentGroupGlowsOnlyWhileTheToolIsActive) {
  Click(kA);
  ASSERT_NE(Current(), nullptr);
  mTool.reset();
  EXPECT_FALSE(Current()->IsHighlighted());
  mTool = mStage.Make(kVPLToolGroup);
  EXPECT_TRUE(Current()->IsHighlighted());
}

// A group record holds at most 256 levels of groups, so the tool counts
// the levels a nest would make before it nests.
TEST_F(VPLToolGroupTest, ALevelIsEachGroupOnTheDeepestWayDown) {
  VPLObjCreationGroup* inner = GroupOf({mA});
  VPLObjCreationGroup* middle = GroupOf({inner, mB});
  VPLObjCreationGroup* outer = GroupOf({mC, middle});
  EXPECT_EQ(VPLToolGroup::Levels(*inner), 1);
  EXPECT_EQ(VPLToolGroup::Levels(*middle), 2);
  EXPECT_EQ(VPLToolGroup::Levels(*outer), 3);
}

}  // namespace
