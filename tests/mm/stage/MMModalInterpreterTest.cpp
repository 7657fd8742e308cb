#include "mm/stage/MMModalInterpreter.h"

#include "mm/stage/MM2DPictureVisual.h"
#include "tests/mm/resources/PictureTestSupport.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kPress = kMMMousePress | kMMMouseButtonDown;
constexpr int32_t kDrag = kMMMouseButtonDown;
constexpr int32_t kRelease = kMMMouseRelease;

struct MMModalInterpreterTest : ::testing::Test, SceneOnStage {
  FakePictureCollection mCollection{8};
  MM2DPictureButtonVisual mButton{
      MMPictureReference(&mCollection, mCollection.Add(10, 10, 1, 1, 1)),
      MMPictureReference(&mCollection, mCollection.Add(10, 10, 2, 2, 2)), UUPoint{20, 20}, 0};
  int mFired = 0;
  MM2DPushButtonInterpreter mInterpreter{Act(), Counter(mFired), &mButton, nullptr};
};

TEST_F(MMModalInterpreterTest, APushButtonHighlightsWhileHeldInsideAndFiresOnAReleaseInside) {
  struct Step {
    int32_t x, y, flags;
    bool captured;
    int32_t highlight;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    int fired;
    int32_t mask = kMMDefaultEventMask;  // the value is the mask
  };
  const std::vector<Case> cases = {
      {"press, out, in, release inside",
       {{25, 25, kPress, true, 1},
        {5, 5, kDrag, true, 0},
        {29, 29, kDrag, true, 1},
        {29, 29, kRelease, false, 0}},
       1},
      {"release outside", {{25, 25, kPress, true, 1}, {50, 25, kRelease, false, 0}}, 0},
      {"lost release", {{25, 25, kPress, true, 1}, {25, 25, 0, false, 0}}, 0},
      {"double click",
       {{25, 25, kPress | kMMMouseDoubleClick, true, 1}, {25, 25, kRelease, false, 0}},
       1},
      {"press without the Shift the mask asks",
       {{25, 25, kPress, false, 0}},
       0,
       kMMMousePress | kMMMouseShift},
  };
  for (const Case& c : cases) {
    mFired = 0;
    mInterpreter.SetEventMask(c.mask, c.mask);
    for (const Step& step : c.steps) {
      EXPECT_EQ(mInterpreter.HandleMouse(MMMouseEvent{0, step.x, step.y, step.flags}),
                step.captured)
          << c.name;
      EXPECT_EQ(mButton.GetHighlight(), step.highlight) << c.name;
    }
    EXPECT_EQ(mFired, 0) << c.name;  // posted, not yet run
    RunTasks();
    EXPECT_EQ(mFired, c.fired) << c.name;
  }
}

TEST_F(MMModalInterpreterTest, LeavingEndsTheCaptureWithoutFiring) {
  EXPECT_TRUE(mInterpreter.HandleMouse(MMMouseEvent{0, 25, 25, kPress}));
  mInterpreter.MouseLeave();
  EXPECT_FALSE(mInterpreter.IsCaptured());
  EXPECT_EQ(mButton.GetHighlight(), 0);
  EXPECT_FALSE(mInterpreter.HandleMouse(MMMouseEvent{0, 25, 25, kRelease}));
  RunTasks();
  EXPECT_EQ(mFired, 0);
}

}  // namespace
