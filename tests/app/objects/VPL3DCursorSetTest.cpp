#include "app/objects/VPL3DCursorSet.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLObjCursor.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMStage.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace app_fixtures;

// Rows of the fixture's cursor table: two models and a row without one.
constexpr int32_t kQuadCursor = 0;
constexpr int32_t kTwoMeshCursor = 1;
constexpr int32_t kEmptyCursor = 2;
constexpr int32_t kBeyondTheTable = 3;
constexpr int32_t kStageHiddenCursor = 3;
constexpr int32_t kStageArrowCursor = 0;
constexpr UUPoint kLeft{100, 200};
constexpr UUPoint kRight{500, 120};

class VPL3DCursorSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mCursors->Load(mStage.Stage());
    ASSERT_EQ(mCursors->GetModelCount(), 3);
  }
  // A set leaves the cursor it shows to its scene: the scenes hide it
  // when they are deactivated, as the test does here.
  void TearDown() override {
    VPL3DCursorSet::SetGlobal(nullptr);
    if (mCursors) mCursors->Hide();
  }

  MMCursor* StageCursor() { return mStage.Stage()->GetCursorController()->GetRequestedCursor(); }
  MMCursor* StageCursor(int32_t id) { return mStage.Stage()->GetCursor(id); }

  AppFiles mFiles;
  InterfaceStage mStage;
  std::unique_ptr<VPL3DCursorSet> mCursors = std::make_unique<VPL3DCursorSet>();
};

TEST_F(VPL3DCursorSetTest, ShowingACursorPutsItInTheSceneAndHidesTheStagePointer) {
  mCursors->ShowDefault(&mStage.Scene());
  EXPECT_EQ(mCursors->GetCurrentIndex(), kQuadCursor);
  ASSERT_NE(mCursors->GetCursorObject(), nullptr);
  EXPECT_TRUE(mStage.Scene().HasObject(mCursors->GetCursorObject()));
  EXPECT_EQ(mCursors->GetCursorObject()->GetVisibility(), kMMShown);
  EXPECT_EQ(StageCursor(), StageCursor(kStageHiddenCursor));
}

TEST_F(VPL3DCursorSetTest, SelectingNoneTheShownOneOrOneBeyondTheTableChangesNothing) {
  mCursors->ShowDefault(&mStage.Scene());
  VPLObjCursor* shown = mCursors->GetCursorObject();
  for (int32_t n : {VPL3DCursorSet::kNoCursor, kQuadCursor, kBeyondTheTable, -1}) {
    mCursors->Select(&mStage.Scene(), n);
    EXPECT_EQ(mCursors->GetCurrentIndex(), kQuadCursor);
    EXPECT_EQ(mCursors->GetCursorObject(), shown);
  }
  mCursors->ShowDefault(&mStage.Scene());
  EXPECT_EQ(mCursors->GetCursorObject(), shown);
}

TEST_F(VPL3DCursorSetTest, SelectingAnotherCursorReplacesTheObject) {
  mCursors->ShowDefault(&mStage.Scene());
  mCursors->Select(&mStage.Scene(), kTwoMeshCursor);
  EXPECT_EQ(mCursors->GetCurrentIndex(), kTwoMeshCursor);
  ASSERT_NE(mCursors->GetCursorObject(), nullptr);
  EXPECT_EQ(VPLFindMeshes(mCursors->GetCursorObject()->GetDisplayTreeRoot()).Count(), 2);
  mCursors->ShowDefault(&mStage.Scene());
  EXPECT_EQ(mCursors->GetCurrentIndex(), kQuadCursor);
}

TEST_F(VPL3DCursorSetTest, ARowWithoutAModelHidesTheCursorShown) {
  mCursors->ShowDefault(&mStage.Scene());
  mCursors->Select(&mStage.Scene(), kEmptyCursor);
  ASSERT_NE(mCursors->GetCursorObject(), nullptr);
  EXPECT_EQ(mCursors->GetCursorObject()->GetVisibility(), kMMHidden);
  EXPECT_TRUE(mStage.Scene().HasObject(mCursors->GetCursorObject()));
}

TEST_F(VPL3DCursorSetTest, HidingTwiceDeletesTheCursorOnce) {
  mCursors->ShowDefault(&mStage.Scene());
  VPLObjCursor* shown = mCursors->GetCursorObject();
  mCursors->Hide();
  EXPECT_FALSE(mStage.Scene().HasObject(shown));
  EXPECT_EQ(mCursors->GetCursorObject(), nullptr);
  EXPECT_EQ(mCursors->GetCurrentIndex(), VPL3DCursorSet::kNoCursor);
  mCursors->Hide();
  EXPECT_EQ(mCursors->GetCurrentIndex(), VPL3DCursorSet::kNoCursor);
  mStage.RunFrame();
}

TEST_F(VPL3DCursorSetTest, TheBusyCountEndsInTheCurrentIndex) {
  EXPECT_EQ(mCursors->EndBusy(), VPL3DCursorSet::kNoCursor);
  mCursors->BeginBusy();  // no scene yet: only counted
  EXPECT_EQ(mCursors->EndBusy(), VPL3DCursorSet::kNoCursor);
  mCursors->ShowDefault(&mStage.Scene());
  mCursors->BeginBusy();
  mCursors->BeginBusy();
  EXPECT_EQ(mCursors->EndBusy(), 1);
  EXPECT_EQ(mCursors->EndBusy(), kQuadCursor);
}

TEST_F(VPL3DCursorSetTest, TheCursorFollowsThePointerJustInFrontOfItsRay) {
  mCursors->ShowDefault(&mStage.Scene());
  for (UUPoint at : {kLeft, kRight}) {
    mStage.Move(at);
    mStage.RunFrame();
    const VPLSegment ray = mStage.Scene().MakeViewRay(at.mX, at.mY);
    const MM3DVector expected(ray.mStart.mX, ray.mStart.mY,
                              ray.mStart.mZ - VPLObjCursor::kDepthOffset, 1.0f);
    EXPECT_TRUE(mCursors->GetCursorObject()->GetWorldPosition().Equals(expected));
  }
}

TEST_F(VPL3DCursorSetTest, InterfaceScenesShowTheDefaultWhileActive) {
  VPL3DCursorSet::SetGlobal(mCursors.get());
  mStage.Scene().Activate();
  EXPECT_EQ(mCursors->GetCurrentIndex(), kQuadCursor);
  mStage.Scene().Deactivate();
  EXPECT_EQ(mCursors->GetCursorObject(), nullptr);
}

TEST_F(VPL3DCursorSetTest, TheSetGivesTheStageItsArrowBackWhenItGoes) {
  mCursors->Select(&mStage.Scene(), kTwoMeshCursor);
  const std::unique_ptr<VPLObjCursor> shown(mCursors->GetCursorObject());
  mCursors.reset();
  EXPECT_EQ(StageCursor(), StageCursor(kStageArrowCursor));
}

}  // namespace
