#include "mm/stage/MMMouseInterpreter.h"

#include "mm/stage/MMAct.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMHighlightable.h"
#include "mm/stage/MMStage.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MMMouseInterpreterTest : ::testing::Test, SceneOnStage {};

TEST_F(MMMouseInterpreterTest, ASingleEventInterpreterFiresForEveryPressIncludingDoubleClicks) {
  int fired = 0;
  MMSingleEventInterpreter interpreter(Act(), Counter(fired), nullptr);
  EXPECT_EQ(interpreter.GetCursor(), mRun.mStage->GetCursor(0));
  for (int32_t flags : {kMMMousePress | kMMMouseButtonDown, kMMMouseButtonDown, kMMMouseRelease,
                        kMMMousePress | kMMMouseDoubleClick | kMMMouseButtonDown}) {
    EXPECT_FALSE(interpreter.HandleMouse(MMMouseEvent{0, 0, 0, flags}));
  }
  RunTasks();
  EXPECT_EQ(fired, 2);
  MMSingleEventInterpreter empty(Act());
  empty.HandleMouse(MMMouseEvent{0, 0, 0, kMMMousePress});
  EXPECT_EQ(mRun.mLog.size(), 2u);  // only the two counted runs
}

TEST_F(MMMouseInterpreterTest, EnterAndLeaveHighlightAndPostTheirBindings) {
  MMHighlightable highlight;
  MMHighlightInterpreter highlighting(Act(), &highlight, MMTaskCallback(), nullptr);
  highlighting.MouseEnter();
  EXPECT_EQ(highlight.GetHighlight(), 1);
  highlighting.MouseLeave();
  EXPECT_EQ(highlight.GetHighlight(), 0);

  int entered = 0;
  int left = 0;
  MMTrackActivationInterpreter tracking(Act(), MMTaskCallback(), nullptr);
  tracking.MouseEnter();  // empty bindings post nothing
  tracking.SetEnterBinding(Counter(entered));
  tracking.SetLeaveBinding(Counter(left));
  tracking.MouseEnter();
  tracking.MouseLeave();
  tracking.MouseLeave();
  RunTasks();
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 2);
}

TEST_F(MMMouseInterpreterTest, DetachClearsTheActsTargetOnlyWhenItIsTheTarget) {
  MMHighlightable highlight;
  MMHighlightInterpreter target(Act(), &highlight, MMTaskCallback(), nullptr);
  MMHighlightInterpreter other(Act(), nullptr, MMTaskCallback(), nullptr);
  MMMouseTarget found;
  found.SetFound(&target);
  Act()->SetMouseTarget(found);
  EXPECT_EQ(highlight.GetHighlight(), 1);
  other.Detach();
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, &target);
  target.Detach();
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, nullptr);
  EXPECT_EQ(highlight.GetHighlight(), 0);
  EXPECT_EQ(mRun.mStage->GetCursorController()->GetShownCursor(), mRun.mStage->GetCursor(0));
}

}  // namespace
