#include "mm/stage/MMMouseTarget.h"

#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(MMMouseTargetTest, ThePathHoldsFourViewsAndRefusesMoreWithoutWritingPastThem) {
  RecordingViewServices host;
  MM2DPlanarEnclosure enclosure(nullptr);
  std::vector<std::unique_ptr<MM2DPlanarView>> views;
  for (int32_t i = 0; i < 5; ++i) {
    views.push_back(
        std::make_unique<MM2DPlanarView>(&host, &enclosure, UURect(i, 10 * i, 800, 600), 0));
  }
  MMMouseTarget target;
  for (int32_t i = 0; i < 4; ++i)
    EXPECT_EQ(target.PushView(views[static_cast<size_t>(i)].get()), i);
  const MMMouseTarget full = target;
  EXPECT_EQ(target.PushView(views[4].get()), -1);
  EXPECT_EQ(target.mViewCount, 4);
  EXPECT_TRUE(target == full);
  EXPECT_FALSE(target.ContainsView(views[4].get()));
  EXPECT_TRUE(target.ContainsView(views[3].get()));
  // Every view subtracts its top-left: 0 + 1 + 2 + 3 and 0 + 10 + 20 + 30.
  UUPoint point{100, 100};
  target.StageToTarget(point);
  EXPECT_EQ(point, (UUPoint{94, 40}));
  target.TargetToStage(point);
  EXPECT_EQ(point, (UUPoint{100, 100}));
  target.SetBlocked();
  EXPECT_EQ(target.mViewCount, 0);
  EXPECT_EQ(target.mStatus, kMMTargetBlocked);
  EXPECT_FALSE(target == full);
}

}  // namespace
