#include "mm/stage/MM2DPictureVisual.h"

#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMView.h"
#include "tests/mm/resources/PictureTestSupport.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MM2DPictureVisualTest : ::testing::Test {
  MM2DPictureVisualTest() { mHost.mInvalidated.clear(); }

  FakePictureCollection mCollection{7};
  // 10 x 2, its first column transparent.
  MMPictureReference mHoled{&mCollection, mCollection.Add(10, 2, 0, 0, 0, UURect(0, 0, 1, 2))};
  MMPictureReference mSmall{&mCollection, mCollection.Add(4, 4, 9, 9, 9)};
  RecordingViewServices mHost;
  MM2DPlanarEnclosure mEnclosure{nullptr};
  MM2DPlanarView mView{&mHost, &mEnclosure, UURect(0, 0, 800, 600), 0};
};

TEST_F(MM2DPictureVisualTest, TheHitTestReadsThePicturesTransparencyMirroredWhenAsked) {
  MM2DPictureVisual visual(UUPoint{0, 0}, mHoled, 0);
  EXPECT_EQ(visual.GetBounds(), UURect(0, 0, 10, 2));
  EXPECT_FALSE(visual.Contains(0, 0));
  EXPECT_TRUE(visual.Contains(9, 1));
  EXPECT_FALSE(visual.Contains(10, 1));
  visual.SetMirror(true, false);  // (0, y) now reads column 9
  EXPECT_TRUE(visual.Contains(0, 0));
  EXPECT_FALSE(visual.Contains(9, 1));
  visual.SetHitThreshold(255);
  EXPECT_TRUE(visual.Contains(9, 1));
  EXPECT_EQ(mCollection.mLocks, 0);
}

TEST_F(MM2DPictureVisualTest, WithoutAPictureThereIsNothingToShowOrHit) {
  MM2DPictureVisual visual(UUPoint{5, 5}, 0);
  EXPECT_EQ(visual.GetBounds(), UURect());
  EXPECT_FALSE(visual.Contains(5, 5));
  EXPECT_FALSE(visual.IsPlainPicture());
  mEnclosure.AddVisual(&visual);
  EXPECT_TRUE(mHost.mInvalidated.empty());
  visual.SetPicture(mSmall);
  EXPECT_EQ(mHost.mInvalidated, std::vector<UURect>{UURect(5, 5, 9, 9)});
  mEnclosure.RemoveVisual(&visual);
}

TEST_F(MM2DPictureVisualTest, AButtonSwapsItsPictureWithTheHighlightOnlyWhenTheyDiffer) {
  MM2DPictureButtonVisual button(mSmall, mHoled, UUPoint{0, 0}, 0);
  MM2DPictureButtonVisual same(mSmall, mSmall, UUPoint{0, 0}, 0);
  mEnclosure.AddVisual(&button);
  mEnclosure.AddVisual(&same);
  mHost.mInvalidated.clear();
  same.SetHighlight(1);
  EXPECT_TRUE(mHost.mInvalidated.empty());
  button.SetHighlight(1);
  EXPECT_TRUE(button.GetPicture() == mHoled);
  EXPECT_EQ(mHost.mInvalidated, (std::vector<UURect>{UURect(0, 0, 4, 4), UURect(0, 0, 10, 2)}));
  button.SetNormalPicture(mHoled);  // stored; the highlighted one stays shown
  button.SetHighlight(0);
  EXPECT_TRUE(button.GetPicture() == mHoled);
  EXPECT_EQ(mHost.mInvalidated.size(), 2u);
  mEnclosure.RemoveVisual(&button);
  mEnclosure.RemoveVisual(&same);
  const MMPictureReference none{kMMNoResource};
  const MM2DPictureButtonVisual empty(none, none, UUPoint{0, 0}, 0);
  EXPECT_TRUE(empty.GetPicture().IsEmpty());
  EXPECT_EQ(empty.GetBounds(), UURect());
}

}  // namespace
