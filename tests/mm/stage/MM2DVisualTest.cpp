#include "mm/stage/MM2DVisual.h"

#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMView.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(MM2DVisualTest, AnInvisibleBoxIsHitButNeverInvalidates) {
  RecordingViewServices host;
  MM2DPlanarEnclosure enclosure(nullptr);
  MM2DPlanarView view(&host, &enclosure, UURect(0, 0, 800, 600), 0);
  host.mInvalidated.clear();
  MM2DBoxVisual box(UURect(10, 10, 20, 20), 0);
  enclosure.AddVisual(&box);
  box.MoveTo(UUPoint{40, 40});
  box.SetBox(UURect(0, 0, 4, 4));
  box.SetVisibility(kMMHidden);
  EXPECT_TRUE(host.mInvalidated.empty());
  EXPECT_TRUE(box.Contains(3, 0));
  EXPECT_FALSE(box.Contains(4, 0));
  enclosure.RemoveVisual(&box);
}

TEST(MM2DVisualTest, CenteringTruncatesTowardZeroAndKeepsTheSize) {
  struct Case {
    UURect box;
    UUPoint center;
    UURect moved;
  };
  for (const Case& c : {Case{UURect(0, 0, 5, 4), UUPoint{10, 10}, UURect(8, 8, 13, 12)},
                        Case{UURect(0, 0, 3, 3), UUPoint{0, 0}, UURect(-1, -1, 2, 2)}}) {
    MM2DSolidBoxVisual box(AFColor(AFRGB(1, 2, 3)), c.box, 0);
    box.CenterOn(c.center);
    EXPECT_EQ(box.GetBounds(), c.moved);
  }
}

}  // namespace
