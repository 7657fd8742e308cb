#include "mm/stage/MMVisual.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMDrawContext.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMMouseInterpreter.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMView.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

// A view at the stage's top-left, so enclosure and host coordinates agree.
struct MMVisualTest : ::testing::Test {
  MMVisualTest() { mHost.mInvalidated.clear(); }
  std::vector<UURect>& Invalidated() { return mHost.mInvalidated; }

  RecordingViewServices mHost;
  MM2DPlanarEnclosure mEnclosure{nullptr};
  MM2DPlanarView mView{&mHost, &mEnclosure, UURect(0, 0, 800, 600), 0};
  RecordingBoxVisual mBox{UURect(10, 10, 20, 20), 0};
};

TEST_F(MMVisualTest, MovingInvalidatesTheOldAndNewBoundsOnlyWhenShownAndChanged) {
  mBox.MoveTo(UUPoint{30, 30});  // in no enclosure
  mEnclosure.AddVisual(&mBox);
  EXPECT_EQ(Invalidated(), std::vector<UURect>{UURect(30, 30, 40, 40)});
  Invalidated().clear();
  mBox.MoveTo(UUPoint{30, 30});
  EXPECT_TRUE(Invalidated().empty());
  mBox.MoveTo(UUPoint{0, 5});
  EXPECT_EQ(Invalidated(), (std::vector<UURect>{UURect(30, 30, 40, 40), UURect(0, 5, 10, 15)}));

  Invalidated().clear();
  mBox.SetVisibility(kMMHidden);  // the old area only
  mBox.MoveTo(UUPoint{50, 50});   // nothing while hidden
  mBox.SetVisibility(kMMShown);   // the new area only
  EXPECT_EQ(Invalidated(), (std::vector<UURect>{UURect(0, 5, 10, 15), UURect(50, 50, 60, 60)}));
  EXPECT_EQ(mBox.GetBounds(), UURect(50, 50, 60, 60));

  Invalidated().clear();
  mEnclosure.RemoveVisual(&mBox);
  EXPECT_EQ(Invalidated(), std::vector<UURect>{UURect(50, 50, 60, 60)});
  EXPECT_EQ(mBox.GetEnclosure(), nullptr);
}

TEST_F(MMVisualTest, AHitFindsTheInterpreterOrBlocksAndAMissLeavesTheSearchOn) {
  // The hit test only hands the pointer on; no act is needed behind it.
  MMMouseInterpreter* interpreter = reinterpret_cast<MMMouseInterpreter*>(&mHost);
  MMMouseTarget target;
  mBox.HitTest(UUPoint{20, 15}, target);
  EXPECT_EQ(target.mStatus, kMMTargetSearching);
  mBox.HitTest(UUPoint{10, 19}, target);
  EXPECT_EQ(target.mStatus, kMMTargetBlocked);
  mBox.SetInterpreter(interpreter);
  target.Reset();
  target.PushView(&mView);
  mBox.HitTest(UUPoint{19, 10}, target);
  EXPECT_EQ(target.mStatus, kMMTargetFound);
  EXPECT_EQ(target.mTarget, interpreter);
  EXPECT_EQ(target.mViewCount, 0);
}

TEST_F(MMVisualTest, ItDrawsOncePerRegionRectangleThatMeetsItsBoundsClippedToIt) {
  WinMMOffscreenSurface* surface =
      WinMMCreateOffscreenSurface(32, UURect(0, 0, 40, 40), AFPalette());
  surface->SetClipRect(UURect(0, 0, 40, 18));
  MMDrawContext context;
  context.mSurface = surface;
  context.mRegion.AddRect(UURect(0, 0, 12, 12));
  context.mRegion.AddRect(UURect(15, 0, 40, 12));
  context.mRegion.AddRect(UURect(0, 14, 40, 30));
  context.mRegion.AddRect(UURect(25, 25, 30, 30));  // misses the box
  mBox.Draw(context);
  EXPECT_EQ(mBox.mClips, (std::vector<UURect>{UURect(10, 10, 12, 12), UURect(15, 10, 20, 12),
                                              UURect(10, 14, 20, 18)}));
  EXPECT_EQ(surface->GetClipRect(), UURect(0, 0, 40, 18));
  surface->Detach();
  delete surface;
}

}  // namespace
