#include "media/widgets/MM2DScrollBarMolecule.h"

#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UURect kBar(600, 10, 616, 110);
constexpr int32_t kX = 608;
constexpr int32_t kPress = kMMMousePress | kMMMouseButtonDown;
constexpr int32_t kHeld = kMMMouseButtonDown;
constexpr int32_t kRelease = kMMMouseRelease;

struct MM2DScrollBarMoleculeTest : ::testing::Test, SceneOnStage {
  void SetUp() override { Make(10, 5); }
  void TearDown() override {
    if (mBar != nullptr) mBar->Detach();
    mBar.reset();
  }
  void Make(int32_t maximum, int32_t page) {
    if (mBar != nullptr) mBar->Detach();
    mBar.reset();
    mBar = std::make_unique<MM2DScrollBarMolecule>(
        &mScene, new (ALGlobalAllocator) MM2DPlainScrollBarVisual(kBar, 3), 3);
    mBar->SetMaximum(maximum);
    mBar->SetPageSize(page);
    mBar->SetChangeBinding(Counter(mChanges));
  }
  void At(int32_t time, int32_t y, int32_t flags) {
    Act()->HandleMouse(MMMouseEvent{time, kX, y, flags});
  }
  MM2DScrollBarVisual* Visual() { return mBar->GetVisual(); }
  int32_t ThumbMiddle() {
    const UURect thumb = Visual()->GetThumbRect();
    return (thumb.mTop + thumb.mBottom) / 2;
  }

  std::unique_ptr<MM2DScrollBarMolecule> mBar;
  int mChanges = 0;
};

TEST_F(MM2DScrollBarMoleculeTest, AVerticalBarLaysOutArrowsAndAnOverlappingTrack) {
  auto* visual = new (ALGlobalAllocator) MM2DPlainScrollBarVisual(kBar, 0);
  MM2DScrollBarMolecule bar(&mScene, visual, 0);
  EXPECT_TRUE(visual->IsVertical());
  EXPECT_EQ(visual->GetArrowSize(), 16);
  EXPECT_EQ(visual->GetFirstArrowRect(), UURect(600, 10, 616, 26));
  EXPECT_EQ(visual->GetSecondArrowRect(), UURect(600, 94, 616, 110));
  EXPECT_EQ(visual->GetTrackRect(), UURect(600, 25, 616, 95));
  EXPECT_EQ(visual->GetTrackLength(), 70);
  EXPECT_EQ(visual->GetThumbLength(), 16);
  EXPECT_EQ(visual->GetFreeTrack(), 54);
  bar.Detach();
}

TEST_F(MM2DScrollBarMoleculeTest, TheThumbIsAsLongAsThePageIsOfTheWhole) {
  struct Case {
    int32_t maximum;
    int32_t page;
    int32_t thumb;
  };
  // A negative page is no page; a page and a maximum beyond the numbers
  // together make the whole.
  for (const Case c : {Case{10, 5, 23}, Case{0, 1, 70}, Case{100, 1, 16}, Case{1, 100, 69},
                       Case{10, -10, 16}, Case{5, -5, 16}, Case{INT32_MAX, INT32_MAX, 70}}) {
    mBar->SetMaximum(c.maximum);
    mBar->SetPageSize(c.page);
    EXPECT_EQ(Visual()->GetThumbLength(), c.thumb) << c.maximum << "/" << c.page;
    EXPECT_EQ(Visual()->GetFreeTrack(), 70 - c.thumb) << c.maximum << "/" << c.page;
  }
  mBar->SetValue(5);
  mBar->Step(kMMScrollBarTrackAfter);
  EXPECT_EQ(mBar->GetValue(), INT32_MAX);
  mBar->SetPageSize(-1);
  EXPECT_EQ(mBar->GetPageSize(), 0);
  mBar->SetMaximum(10);
  mBar->SetPageSize(5);
  mBar->SetValue(10);
  EXPECT_EQ(Visual()->GetThumbOffset(), 47);
}

TEST_F(MM2DScrollBarMoleculeTest, ArrowsStepByALineAndTheTrackByAPage) {
  mBar->SetValue(5);
  struct Step {
    const char* what;
    int32_t y;
    int32_t value;
  };
  const Step steps[] = {
      {"up arrow", 12, 4},     {"down arrow", 108, 5},      {"track below", 90, 9},
      {"down arrow", 108, 10}, {"at the maximum", 108, 10}, {"track above", 30, 6},
  };
  int32_t time = 1000;
  for (const Step& step : steps) {
    At(time, step.y, kPress);
    EXPECT_EQ(mBar->GetValue(), step.value) << step.what;
    At(time + 10, step.y, kRelease);
    time += 1000;
  }
  EXPECT_EQ(Visual()->GetThumbOffset(), 6 * 47 / 10);
  EXPECT_FALSE(Act()->IsMouseCaptured());
  RunTasks();
  EXPECT_EQ(mChanges, 6);
}

TEST_F(MM2DScrollBarMoleculeTest, HoldingThePressRepeatsAfterHalfASecondWithEveryEvent) {
  At(1000, 90, kPress);
  EXPECT_EQ(mBar->GetValue(), 4);
  EXPECT_EQ(Visual()->GetPressedPart(), kMMScrollBarTrackAfter);
  EXPECT_TRUE(Act()->IsMouseCaptured());
  At(1500, 92, kHeld);  // not yet later than the repeat time
  EXPECT_EQ(mBar->GetValue(), 4);
  At(1510, 105, kHeld);  // off the pressed part: over the arrow
  EXPECT_EQ(mBar->GetValue(), 4);
  EXPECT_EQ(Visual()->GetPressedPart(), kMMScrollBarNone);
  At(1520, 92, kHeld);
  EXPECT_EQ(mBar->GetValue(), 8);
  At(1530, 92, kHeld);
  EXPECT_EQ(mBar->GetValue(), 10);
  At(1540, 92, kRelease);
  EXPECT_EQ(Visual()->GetPressedPart(), kMMScrollBarNone);
  EXPECT_FALSE(Act()->IsMouseCaptured());
}

TEST_F(MM2DScrollBarMoleculeTest, ADraggedThumbSetsTheValueOnlyWhenReleased) {
  const int32_t start = ThumbMiddle();
  At(1000, start, kPress);
  EXPECT_EQ(Visual()->GetPressedPart(), kMMScrollBarThumb);
  At(1100, start + 20, kHeld);
  EXPECT_EQ(Visual()->GetThumbOffset(), 20);
  EXPECT_EQ(mBar->GetValue(), 0);
  At(1200, start + 200, kHeld);
  EXPECT_EQ(Visual()->GetThumbOffset(), 47);
  At(1300, start + 30, kRelease);
  EXPECT_EQ(mBar->GetValue(), 10 * 47 / 47);
  RunTasks();
  EXPECT_EQ(mChanges, 1);
}

TEST_F(MM2DScrollBarMoleculeTest, WithLiveTrackingTheValueFollowsTheThumb) {
  mBar->SetLiveTracking(true);
  const int32_t start = ThumbMiddle();
  At(1000, start, kPress);
  At(1100, start + 47, kHeld);
  EXPECT_EQ(mBar->GetValue(), 10);
  At(1200, start + 47, kRelease);
  EXPECT_EQ(mBar->GetValue(), 10);
}

TEST_F(MM2DScrollBarMoleculeTest, LeavingEndsThePressWithoutChangingTheValue) {
  const int32_t start = ThumbMiddle();
  At(1000, start, kPress);
  At(1100, start + 20, kHeld);
  Act()->HandleMouseLeave();
  EXPECT_EQ(Visual()->GetPressedPart(), kMMScrollBarNone);
  EXPECT_EQ(mBar->GetInterpreter()->GetPressedPart(), kMMScrollBarNone);
  EXPECT_EQ(mBar->GetValue(), 0);
  EXPECT_EQ(Visual()->GetThumbOffset(), 20);
}

TEST_F(MM2DScrollBarMoleculeTest, WithoutARangeEveryStepLeavesTheValueAtZero) {
  mBar->SetMaximum(0);
  EXPECT_EQ(Visual()->GetThumbLength(), Visual()->GetTrackLength());
  for (int32_t y : {12, 60, 108}) {
    At(1000, y, kPress);
    At(1010, y, kRelease);
    EXPECT_EQ(mBar->GetValue(), 0) << y;
  }
}

}  // namespace
