#include "mm/stage/MM3DMorphingAnimationPlayer.h"

#include "tests/mm/stage/MM3DPlayerSupport.h"

#include <gtest/gtest.h>

namespace {

struct MM3DMorphingAnimationPlayerTest : ::testing::Test, ClipOnStage {
  MM3DMorphingAnimationPlayer mPlayer{&mScene, &mClip};
};

TEST_F(MM3DMorphingAnimationPlayerTest, AFirstPlayAppliesWithoutBlendingAndEnds) {
  mPlayer.Play(1000, 3000, 500);
  FrameAfter(100);
  EXPECT_FLOAT_EQ(ClipTime(), 1.1f);
  FrameAfter(2000);
  EXPECT_FLOAT_EQ(ClipTime(), 3.0f);
  EXPECT_FALSE(mPlayer.IsPlaying());
}

TEST_F(MM3DMorphingAnimationPlayerTest, APlayDuringAnotherBlendsFromWhereItStood) {
  mPlayer.Play(0, 10000, 0);
  FrameAfter(2000);  // the old play stands at 2 s
  mPlayer.Play(6000, 10000, 500);
  FrameAfter(250);  // halfway: half of 2 s and half of 6.25 s
  EXPECT_FLOAT_EQ(ClipTime(), 0.5f * 2.0f + 0.5f * 6.25f);
  FrameAfter(250);
  EXPECT_FLOAT_EQ(ClipTime(), 6.5f);
}

TEST_F(MM3DMorphingAnimationPlayerTest, ABackwardPlayWithoutMorphAppliesItsTime) {
  mPlayer.Play(3000, 1000, 0);
  FrameAfter(500);
  EXPECT_FLOAT_EQ(ClipTime(), 2.5f);
  bool finished = true;
  EXPECT_FLOAT_EQ(mPlayer.GetCurrentTime(&finished), 2.5f);
  EXPECT_FALSE(finished);
}

TEST_F(MM3DMorphingAnimationPlayerTest, StopLeavesNoNotification) {
  mPlayer.Play(0, 1000, 0);
  mPlayer.Stop();
  mNode.SetTranslationX(-1.0f);
  FrameAfter(100);
  EXPECT_EQ(ClipTime(), -1.0f);
  EXPECT_FALSE(mPlayer.IsPlaying());
}

}  // namespace
