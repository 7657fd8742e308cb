#include "mm/stage/MMView.h"

#include "StageTestSupport.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMEnclosure.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MMViewTest : ::testing::Test {
  MMViewTest() { mHost.mInvalidated.clear(); }
  std::vector<UURect>& Invalidated() { return mHost.mInvalidated; }

  RecordingViewServices mHost;
  MM2DPlanarEnclosure mEnclosure{nullptr};
  MM2DPlanarView mView{&mHost, &mEnclosure, UURect(100, 50, 300, 250), 0};
};

TEST_F(MMViewTest, ItTranslatesAndClipsBetweenStageAndEnclosure) {
  UUPoint point{100, 50};
  mView.StageToEnclosure(point);
  EXPECT_EQ(point, (UUPoint{0, 0}));
  mView.Invalidate(UURect(0, 0, 10, 10));
  mView.Invalidate(UURect(195, -5, 210, 5));  // clipped
  mView.Invalidate(UURect(-20, 0, 0, 10));    // outside
  EXPECT_EQ(Invalidated(),
            (std::vector<UURect>{UURect(100, 50, 110, 60), UURect(295, 50, 300, 55)}));
  Invalidated().clear();
  mView.SetOrigin(UUPoint{10, 20});
  mView.Invalidate(UURect(10, 20, 11, 21));
  EXPECT_EQ(Invalidated(),
            (std::vector<UURect>{UURect(100, 50, 300, 250), UURect(100, 50, 101, 51)}));
  point = UUPoint{0, 0};
  mView.EnclosureToStage(point);
  EXPECT_EQ(point, (UUPoint{90, 30}));
}

TEST_F(MMViewTest, SettersActOnlyOnChangesAndAHiddenViewNeverInvalidates) {
  mView.SetRect(UURect(100, 50, 300, 250));
  mView.SetDepth(0);
  mView.SetOrigin(UUPoint{0, 0});
  mView.SetVisibility(kMMShown);
  EXPECT_TRUE(Invalidated().empty());
  EXPECT_EQ(mHost.mSorts, 0);

  mView.SetVisibility(kMMHidden);  // erases
  mView.SetRect(UURect(0, 0, 10, 10));
  mView.SetDepth(3);
  mView.SetOrigin(UUPoint{1, 1});
  mView.Invalidate(UURect(0, 0, 5, 5));
  EXPECT_EQ(Invalidated(), std::vector<UURect>{UURect(100, 50, 300, 250)});
  EXPECT_EQ(mHost.mSorts, 1);
  mView.SetVisibility(kMMShown);  // draws
  mView.SetRect(UURect(0, 0, 20, 20));
  EXPECT_EQ(Invalidated(), (std::vector<UURect>{UURect(100, 50, 300, 250), UURect(0, 0, 10, 10),
                                                UURect(0, 0, 10, 10), UURect(0, 0, 20, 20)}));
  EXPECT_EQ(mHost.mVisibilityChanges, 2);
}

TEST(MMViewDrawTest, A2DViewDrawsEnclosurePointsInsideItsRectangleAndRestoresTheSurface) {
  StageOnTestThread run([&run](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, run.mLog, "act");
  });
  run.Start();
  MMDrawingSurface* back = run.mStage->GetBackSurface();
  const UURect savedRect = back->GetRect();
  const UURect savedClip = back->GetClipRect();
  RecordingViewServices host;
  host.mAct = run.mStage->GetAct();
  MM2DPlanarEnclosure enclosure(run.mStage);
  MM2DPlanarView view(&host, &enclosure, UURect(100, 50, 300, 250), 0);
  view.SetOrigin(UUPoint{10, 10});
  MM2DSolidBoxVisual box(AFColor(AFRGB(0, 255, 0)), UURect(0, 0, 40, 40), 0);
  enclosure.AddVisual(&box);
  MMRegion region;
  region.Set(UURect(0, 0, 640, 480));
  view.Draw(region);
  EXPECT_EQ(back->GetRect(), savedRect);
  EXPECT_EQ(back->GetClipRect(), savedClip);
  MMBitmap bitmap;
  back->GetImageDescription(bitmap);
  // Enclosure (10, 10) to (40, 40) is shown at stage (100, 50) to (130, 80).
  EXPECT_EQ(bitmap.GetPixelAddress(100, 50)[1], 255);
  EXPECT_EQ(bitmap.GetPixelAddress(129, 79)[1], 255);
  EXPECT_NE(bitmap.GetPixelAddress(130, 79)[1], 255);
  EXPECT_NE(bitmap.GetPixelAddress(99, 50)[1], 255);
  enclosure.RemoveVisual(&box);
}

}  // namespace
