#include "mm/stage/MMEnclosure.h"

#include "StageTestSupport.h"
#include "mm/stage/MMMouseInterpreter.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMView.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

class LoggingBox : public RecordingBoxVisual {
 public:
  LoggingBox(StageLog& log, std::string name, int32_t depth)
      : RecordingBoxVisual(UURect(0, 0, 10, 10), depth), mLog(log), mName(std::move(name)) {}
  void DrawClipped(MMSurface*) override { mLog.push_back(mName); }
  void HitTest(UUPoint point, MMMouseTarget& target) override {
    mLog.push_back("hit " + mName);
    RecordingBoxVisual::HitTest(point, target);
  }

 private:
  StageLog& mLog;
  std::string mName;
};

struct MMEnclosureTest : ::testing::Test {
  MMEnclosureTest() {
    mRun.Start();
    mRun.mLog.clear();
  }
  // Draws the whole enclosure, then hit-tests a point that every box holds.
  StageLog DrawAndHit() {
    mRun.mLog.clear();
    MMRegion region;
    region.Set(UURect(0, 0, 10, 10));
    mEnclosure.Draw(region);
    MMMouseTarget target;
    mEnclosure.FindTarget(UUPoint{5, 5}, target);
    EXPECT_EQ(target.mStatus, kMMTargetBlocked);
    return mRun.mLog;
  }

  StageOnTestThread mRun{[this](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
  }};
  MM2DPlanarEnclosure mEnclosure{mRun.mStage};
};

TEST_F(MMEnclosureTest, VisualsAreDrawnBackToFrontAndHitFrontToBackInStableDepthOrder) {
  LoggingBox a(mRun.mLog, "a", 1), b(mRun.mLog, "b", 1), c(mRun.mLog, "c", 5), d(mRun.mLog, "d", 0);
  mEnclosure.AddVisual(&a);
  mEnclosure.AddVisual(&b);
  mEnclosure.AddVisual(&c);
  EXPECT_TRUE(mEnclosure.IsOrderValid());
  EXPECT_EQ(DrawAndHit(), (StageLog{"a", "b", "c", "hit c"}));
  mEnclosure.AddVisual(&d);
  EXPECT_FALSE(mEnclosure.IsOrderValid());
  c.SetVisibility(kMMHidden);
  EXPECT_EQ(DrawAndHit(), (StageLog{"d", "a", "b", "hit b"}));
  EXPECT_TRUE(mEnclosure.IsOrderValid());
  b.SetDepth(-1);  // behind everything
  EXPECT_EQ(DrawAndHit(), (StageLog{"b", "d", "a", "hit a"}));
  for (MMVisual* visual : {&a, &b, &c, &d}) mEnclosure.RemoveVisual(visual);
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
}

TEST_F(MMEnclosureTest, EmptyRectanglesAndRegionsReachNothing) {
  RecordingViewServices host;
  MM2DPlanarView view(&host, &mEnclosure, UURect(0, 0, 100, 100), 0);
  host.mInvalidated.clear();
  mEnclosure.Invalidate(UURect(5, 5, 5, 9));
  mEnclosure.Invalidate(UURect(5, 5, 6, 6));
  EXPECT_EQ(host.mInvalidated, std::vector<UURect>{UURect(5, 5, 6, 6)});
  // Nothing touches the stage's surface for an empty region, so an
  // enclosure without stage draws it safely.
  LoggingBox a(mRun.mLog, "a", 0);
  MM2DPlanarEnclosure stageless(nullptr);
  stageless.AddVisual(&a);
  stageless.Draw(MMRegion());
  EXPECT_TRUE(mRun.mLog.empty());
  stageless.RemoveVisual(&a);
}

}  // namespace
