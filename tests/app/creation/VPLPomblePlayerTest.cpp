#include "app/creation/VPLPomblePlayer.h"

#include "foundation/uu/UUCallback.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

namespace {

using namespace pomble_support;

class Counting : public UUCallback {
 public:
  explicit Counting(std::function<void()> action) : mAction(std::move(action)) {}
  void Invoke() override { mAction(); }

 private:
  std::function<void()> mAction;
};

class VPLPomblePlayerTest : public ::testing::Test {
 protected:
  // The clip time, in whole milliseconds.
  int32_t ClipMs() const { return static_cast<int32_t>(std::lround(ClipTime(*mModel) * 1000)); }
  void Frame(int32_t milliseconds) { Advance(mStage.Stage(), milliseconds, milliseconds); }
  // The completion task counts its runs, the base callback its calls.
  void CountCompletions() {
    mPlayer.SetCompletionTask(
        MMTaskCallback(mStage.Scene().GetTaskClient(), new Counting([this] { ++mTasks; })));
    mPlayer.SetCompletionCallback(new Counting([this] { ++mCallbacks; }));
  }

  InterfaceStage mStage;
  UURefCount<MM3DModel> mModel = MakePombleFixture();
  VPLPomblePlayer mPlayer{&mStage.Scene(), mModel->GetAnimationClip(), nullptr};
  int mTasks = 0;
  int mCallbacks = 0;
};

TEST_F(VPLPomblePlayerTest, FramesCountThirtyASecondEitherWay) {
  EXPECT_EQ(VPLPomblePlayer::FrameToMilliseconds(1), 33);
  EXPECT_EQ(VPLPomblePlayer::FrameToMilliseconds(30), 1000);
  EXPECT_EQ(VPLPomblePlayer::FrameToMilliseconds(5000), 166666);
  mPlayer.PlayFrames(0, 1, false);
  Frame(40);
  EXPECT_EQ(ClipMs(), 33);
  EXPECT_FALSE(mPlayer.IsPlaying());
  mPlayer.PlayFrames(30, 0, false);
  Frame(250);
  EXPECT_EQ(ClipMs(), 750);
  Frame(800);
  EXPECT_EQ(ClipMs(), 0);
}

TEST_F(VPLPomblePlayerTest, TheEndPostsTheTaskOnceAndCallsTheCallbackOnce) {
  CountCompletions();
  mPlayer.PlayFrames(0, 90, false);
  Frame(3000);
  EXPECT_TRUE(mPlayer.IsPlaying());
  EXPECT_EQ(ClipMs(), 3000);
  Frame(1);
  EXPECT_FALSE(mPlayer.IsPlaying());
  // Posted, not run: the task runs at the manager's next run.
  EXPECT_EQ(mTasks, 0);
  EXPECT_EQ(mCallbacks, 1);
  Frame(100);
  Frame(100);
  EXPECT_EQ(mTasks, 1);
  EXPECT_EQ(mCallbacks, 1);
}

TEST_F(VPLPomblePlayerTest, ALoopOrAStopCompletesNothing) {
  CountCompletions();
  mPlayer.PlayFrames(0, 30, true);
  Frame(2500);
  EXPECT_EQ(ClipMs(), 500);
  mPlayer.Stop();
  Frame(100);
  EXPECT_EQ(mTasks, 0);
  EXPECT_EQ(mCallbacks, 0);
  EXPECT_FALSE(mPlayer.Resume());
}

// A loop of no length shows its start instead of dividing by zero.
TEST_F(VPLPomblePlayerTest, ALoopOfNoLengthShowsItsStart) {
  mPlayer.PlayFrames(60, 60, true);
  Frame(500);
  EXPECT_EQ(ClipMs(), 2000);
  EXPECT_TRUE(mPlayer.IsPlaying());
}

TEST_F(VPLPomblePlayerTest, APlayStartedWhilePlayingPulsesOncePerFrame) {
  mPlayer.PlayFrames(0, 300, false);
  mPlayer.PlayFrames(0, 300, false);
  Frame(500);
  EXPECT_EQ(ClipMs(), 500);
  mPlayer.Stop();
  Frame(100);
  EXPECT_EQ(ClipMs(), 500);
}

}  // namespace
