#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "mm/stage/MMCursor.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMStageControl.h"

namespace {

class CountingCursor : public MMCursor {
 public:
  CountingCursor(MMCursorController* controller, StageLog& log)
      : MMCursor(controller, LoadCursorA(nullptr, IDC_IBEAM)), mLog(log) {}
  void Activate() override { mLog.push_back("activate"); }
  void Deactivate() override { mLog.push_back("deactivate"); }

 private:
  StageLog& mLog;
};

class MMCursorControllerTest : public ::testing::Test {
 protected:
  MMCursorControllerTest() : mRun(nullptr) { mRun.Start(); }
  MMCursorController* Controller() { return mRun.mStage->GetCursorController(); }
  MMCursor* Cursor(int32_t id) { return mRun.mStage->GetCursor(id); }
  HCURSOR ControlCursor() { return mRun.mStage->GetControl()->GetCursorHandle(); }

  StageOnTestThread mRun;
};

TEST_F(MMCursorControllerTest, TheStageStartsWithItsFourCursorsAndTheArrow) {
  EXPECT_EQ(Cursor(0)->GetHandle(), LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(Cursor(1)->GetHandle(), LoadCursorA(nullptr, IDC_IBEAM));
  EXPECT_EQ(Cursor(2)->GetHandle(), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(Cursor(3)->GetHandle(), nullptr);
  EXPECT_EQ(Controller()->GetShownCursor(), Cursor(0));
  // The hidden cursor gives the control no cursor at all.
  Controller()->SetCursor(Cursor(3));
  EXPECT_EQ(ControlCursor(), nullptr);
}

TEST_F(MMCursorControllerTest, WhileBusyOnlyTheRequestIsRecordedAndNestingShowsOnce) {
  Controller()->BeginBusy();
  Controller()->BeginBusy();
  EXPECT_EQ(ControlCursor(), LoadCursorA(nullptr, IDC_WAIT));
  Controller()->SetCursor(Cursor(1));
  EXPECT_EQ(Controller()->GetShownCursor(), Cursor(2));
  Controller()->EndBusy();
  EXPECT_EQ(Controller()->GetShownCursor(), Cursor(2));
  Controller()->EndBusy();
  EXPECT_EQ(Controller()->GetShownCursor(), Cursor(1));
  EXPECT_EQ(ControlCursor(), LoadCursorA(nullptr, IDC_IBEAM));
}

TEST_F(MMCursorControllerTest, RequestingTheRequestedCursorAgainDoesNothing) {
  Controller()->ShowCursor(Cursor(1));
  Controller()->SetCursor(Cursor(0));
  EXPECT_EQ(Controller()->GetShownCursor(), Cursor(1));
  Controller()->Refresh();
  EXPECT_EQ(Controller()->GetShownCursor(), Cursor(0));
}

TEST_F(MMCursorControllerTest, DestroyingTheShownCursorLeavesNoneShown) {
  auto* custom = new (ALGlobalAllocator) CountingCursor(Controller(), mRun.mLog);
  mRun.mLog.clear();
  Controller()->SetCursor(custom);
  EXPECT_EQ(mRun.mLog, StageLog{"activate"});
  UUOwned<MMCursor>{custom}.Reset();
  EXPECT_EQ(mRun.mLog, (StageLog{"activate", "deactivate"}));
  EXPECT_EQ(Controller()->GetShownCursor(), nullptr);
  EXPECT_EQ(Controller()->GetRequestedCursor(), nullptr);
  // The control keeps its last cursor until another is shown.
  EXPECT_EQ(ControlCursor(), LoadCursorA(nullptr, IDC_IBEAM));
}

}  // namespace
