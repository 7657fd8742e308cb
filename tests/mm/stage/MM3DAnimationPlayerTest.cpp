#include "mm/stage/MM3DAnimationPlayer.h"

#include "tests/mm/stage/MM3DPlayerSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Calls a function when the play completes.
class CompletionCallback : public UUCallback {
 public:
  explicit CompletionCallback(std::function<void()> action) : mAction(std::move(action)) {}
  void Invoke() override { mAction(); }

 private:
  std::function<void()> mAction;
};

struct MM3DAnimationPlayerTest : ::testing::Test, ClipOnStage {
  UUCallback* Completion() {
    return new CompletionCallback([this] { ++mCompletions; });
  }

  MM3DAnimationPlayer mPlayer{&mScene, &mClip};
  int mCompletions = 0;
};

TEST_F(MM3DAnimationPlayerTest, APlayRunsToItsEndAndThenCompletesOnce) {
  mPlayer.SetCompletionCallback(Completion());
  mPlayer.Play(1000, 3000, false);
  FrameAfter(500);
  EXPECT_FLOAT_EQ(ClipTime(), 1.5f);
  FrameAfter(1500);  // exactly the span: the end, not yet finished
  EXPECT_FLOAT_EQ(ClipTime(), 3.0f);
  EXPECT_TRUE(mPlayer.IsPlaying());
  FrameAfter(500);
  EXPECT_FLOAT_EQ(ClipTime(), 3.0f);
  EXPECT_FALSE(mPlayer.IsPlaying());
  FrameAfter(500);
  EXPECT_EQ(mCompletions, 1);
}

TEST_F(MM3DAnimationPlayerTest, AnEndBeforeTheStartPlaysBackwards) {
  mPlayer.Play(3000, 1000, false);
  FrameAfter(500);
  EXPECT_FLOAT_EQ(ClipTime(), 2.5f);
  FrameAfter(2000);
  EXPECT_FLOAT_EQ(ClipTime(), 1.0f);
  EXPECT_FALSE(mPlayer.IsPlaying());
}

TEST_F(MM3DAnimationPlayerTest, ALoopWrapsAndNeverCompletes) {
  mPlayer.SetCompletionCallback(Completion());
  mPlayer.Play(0, 2000, true);
  EXPECT_TRUE(mPlayer.IsLooping());
  FrameAfter(4500);
  EXPECT_FLOAT_EQ(ClipTime(), 0.5f);
  EXPECT_TRUE(mPlayer.IsPlaying());
  EXPECT_EQ(mCompletions, 0);
}

TEST_F(MM3DAnimationPlayerTest, ALoopOfNoLengthStaysAtItsStart) {
  mPlayer.Play(4000, 4000, true);
  FrameAfter(700);
  EXPECT_FLOAT_EQ(ClipTime(), 4.0f);
}

TEST_F(MM3DAnimationPlayerTest, StopKeepsThePoseAndTheCallbackForTheNextPlay) {
  mPlayer.SetCompletionCallback(Completion());
  mPlayer.Play(0, 1000, false);
  FrameAfter(250);
  mPlayer.Stop();
  FrameAfter(250);
  EXPECT_FLOAT_EQ(ClipTime(), 0.25f);
  EXPECT_EQ(mCompletions, 0);
  mPlayer.Play(0, 1000, false);
  FrameAfter(1001);
  EXPECT_EQ(mCompletions, 1);
}

TEST_F(MM3DAnimationPlayerTest, ACompletionMayStartTheNextPlay) {
  mPlayer.SetCompletionCallback(new CompletionCallback([this] {
    ++mCompletions;
    mPlayer.Play(5000, 6000, false);
  }));
  mPlayer.Play(0, 1000, false);
  FrameAfter(1001);
  EXPECT_EQ(mCompletions, 1);
  EXPECT_TRUE(mPlayer.IsPlaying());
  FrameAfter(500);
  EXPECT_FLOAT_EQ(ClipTime(), 5.5f);
}

TEST_F(MM3DAnimationPlayerTest, PlayingTwiceRegistersOnceAndStopLeavesNoNotification) {
  MM3DAnimationPlayer* player = new MM3DAnimationPlayer(&mScene, &mClip);
  player->Play(0, 1000, false);
  player->Play(0, 1000, false);
  delete player;
  FrameAfter(100);  // a notification left behind would call the freed player
  mPlayer.Play(0, 1000, false);
  mPlayer.Play(0, 1000, false);
  mPlayer.Stop();
  mNode.SetTranslationX(-1.0f);
  FrameAfter(100);
  EXPECT_EQ(ClipTime(), -1.0f);
}

TEST_F(MM3DAnimationPlayerTest, PlayClipPlaysTheClipsOwnRange) {
  mClip.SetStartTime(0.5f);
  mClip.SetEndTime(2.0f);
  EXPECT_EQ(mPlayer.GetClipDuration(), 1500);
  mPlayer.PlayClip(false);
  FrameAfter(0);
  EXPECT_FLOAT_EQ(ClipTime(), 0.5f);
  FrameAfter(1500);
  EXPECT_FLOAT_EQ(ClipTime(), 2.0f);
  FrameAfter(1);
  EXPECT_FALSE(mPlayer.IsPlaying());
}

TEST_F(MM3DAnimationPlayerTest, AnOpenEndedPlayFollowsTheClock) {
  mPlayer.PlayOpenEnded();
  FrameAfter(7000);
  EXPECT_FLOAT_EQ(ClipTime(), 7.0f);
  EXPECT_TRUE(mPlayer.IsPlaying());
}

}  // namespace
