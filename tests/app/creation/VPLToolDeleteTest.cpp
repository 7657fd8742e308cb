#include "app/creation/VPLToolDelete.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kAside(6.0f, 0.0f, 0.0f, 1.0f);

class VPLToolDeleteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mTool = mStage.Make(kVPLToolDelete);
    ASSERT_NE(mTool, nullptr);
    mSound = &mStage.Record(*mTool);
  }
  void Click(const MM3DVector& at) { mStage.Drag(*mTool, {at, at}); }

  ToolStage mStage;
  std::unique_ptr<VPLTool> mTool;
  RecordingSound* mSound = nullptr;
};

TEST_F(VPLToolDeleteTest, AClickRemovesTheObjectWithTheActionSoundOnly) {
  mStage.AddBlock(kOrigin);
  mStage.Creation().SetModified(false);
  Click(kOrigin);
  EXPECT_TRUE(mStage.Creation().IsEmpty());
  EXPECT_TRUE(mStage.Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 1);
  EXPECT_EQ(mSound->mCounts[RecordingSound::kRelease], 0);
}

TEST_F(VPLToolDeleteTest, TheCharacterIsOnlyPutBackAtRest) {
  auto* character = new TestCharacter(&mStage.Area(), MakeBlock(), &mStage.Creation());
  mStage.Creation().AddObjectAt(character, kOrigin);
  Click(kOrigin);
  EXPECT_EQ(mStage.Creation().FindCharacter(), character);
  EXPECT_EQ(character->mResets, 1);
}

TEST_F(VPLToolDeleteTest, AReleaseOutsideTheObjectsBoxKeepsItButSoundsTheRelease) {
  mStage.AddBlock(kOrigin);
  mStage.Send(*mTool, kOrigin, kVPLPress | kVPLHeld);
  mStage.Send(*mTool, kAside, kVPLRelease);
  EXPECT_EQ(mStage.Creation().GetUserObjects().size(), 1u);
  EXPECT_TRUE(mStage.Area().IsUntouched());
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 0);
  EXPECT_EQ(mSound->mCounts[RecordingSound::kRelease], 1);
}

}  // namespace
