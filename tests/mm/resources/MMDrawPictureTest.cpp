#include "mm/resources/MMDrawPicture.h"

#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMStageControl.h"
#include "tests/mm/resources/PictureTestSupport.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vpl::test::ScreenOnX;

struct MMDrawPictureTest : ::testing::Test {
  void SetUp() override {
    mSurface = WinMMCreateOffscreenSurface(32, UURect(0, 0, 8, 2), AFPalette());
    mSurface->FillRect(UURect(0, 0, 8, 2), AFColor(AFRGB(0, 0, 0)));
    for (uint8_t blue = 1; blue <= 3; ++blue) mColumns.push_back(mCollection.Add(1, 1, blue, 0, 0));
    mPicture = mCollection.Add(3, 1, 0, 0, 0, UURect(0, 0, 1, 1));
  }
  void TearDown() override {
    mSurface->Detach();
    delete mSurface;
  }
  std::vector<int> Row(int32_t y) {
    MMBitmap bitmap;
    mSurface->GetImageDescription(bitmap);
    std::vector<int> row;
    for (int32_t x = 0; x < 8; ++x) row.push_back(bitmap.GetPixelAddress(x, y)[0]);
    return row;
  }
  FakePictureCollection mCollection{6};
  std::vector<int16_t> mColumns;
  int16_t mPicture = -1;
  WinMMOffscreenSurface* mSurface = nullptr;
};

TEST_F(MMDrawPictureTest, DrawsStretchedMirroredAndKeyedThenUnlocks) {
  const MMPictureReference picture(&mCollection, mColumns[1]);
  MMDrawPicture(mSurface, picture, UURect(0, 0, 1, 1), UURect(1, 0, 3, 1), nullptr, nullptr);
  EXPECT_EQ(Row(0), (std::vector<int>{0, 2, 2, 0, 0, 0, 0, 0}));
  // Mirrored, the hole in the picture's first column lands on the last
  // and keeps what was under it.
  const MMPictureReference holed(&mCollection, mPicture);
  mSurface->FillRect(UURect(4, 1, 8, 2), AFColor(AFRGB(0, 0, 9)));
  MMDrawPicture(mSurface, holed, UURect(3, 0, 0, 1), UURect(4, 1, 7, 2), nullptr, nullptr);
  EXPECT_EQ(Row(1), (std::vector<int>{0, 0, 0, 0, 0, 0, 9, 9}));
  EXPECT_EQ(mCollection.mLocks, 0);
  EXPECT_EQ(mCollection.References(), 2);
}

TEST_F(MMDrawPictureTest, NothingIsDrawnOutsideTheSurfaceOrForAnEmptyReference) {
  const MMPictureReference picture(&mCollection, mColumns[0]);
  MMDrawPicture(mSurface, picture, UURect(0, 0, 1, 1), UURect(20, 0, 22, 1), nullptr, nullptr);
  MMDrawPicture(mSurface, MMPictureReference(), UURect(0, 0, 1, 1), UURect(0, 0, 2, 1), nullptr,
                nullptr);
  EXPECT_EQ(Row(0), std::vector<int>(8, 0));
  EXPECT_EQ(mCollection.mLocks, 0);
  EXPECT_EQ(mCollection.References(), 1);
}

// A source rectangle that reaches past the picture has no pixels to give:
// nothing is read outside the picture and nothing is drawn.
TEST_F(MMDrawPictureTest, ASourceReachingPastThePictureDrawsNothing) {
  const MMPictureReference picture(&mCollection, mPicture);
  for (const UURect& source :
       {UURect(0, 0, 40, 20), UURect(-5, 0, 2, 1), UURect(3, 0, -4, 1), UURect(3, 0, 3, 1)}) {
    MMDrawPicture(mSurface, picture, source, UURect(0, 0, 8, 2), nullptr, nullptr);
  }
  EXPECT_EQ(Row(0), std::vector<int>(8, 0));
  EXPECT_EQ(Row(1), std::vector<int>(8, 0));
  EXPECT_EQ(mCollection.mLocks, 0);
}

// Shapes, a text and a picture drawn on the stage's back surface reach the
// window that the X server shows.
TEST_F(MMDrawPictureTest, ShapesTextAndAPictureReachTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs a real X display (VPL3D_XVFB)";
  StageOnTestThread run([&run](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, run.mLog, "act");
  });
  run.Start();
  MMDrawingSurface* back = run.mStage->GetBackSurface();
  const UURect whole = run.mStage->GetLocalRect();
  back->FillRect(whole, AFColor(AFRGB(255, 255, 255)));
  back->FillRect(UURect(10, 10, 60, 40), AFColor(AFRGB(255, 0, 0)));
  back->FillEllipse(UURect(100, 10, 160, 70), AFColor(AFRGB(0, 0, 255)));
  MMSystemFont font("DejaVu Sans", 32, 700, false, false);
  MMTextStyle style;
  style.mFont = &font;
  style.mColor = AFColor(AFRGB(0, 0, 0));
  back->DrawText("Plorvia", 20, 140, style);
  // The second column picture (blue 2) stretched over 40 x 30.
  const MMPictureReference picture(&mCollection, mColumns[1]);
  MMDrawPicture(back, picture, UURect(0, 0, 1, 1), UURect(200, 10, 240, 40), nullptr, nullptr);
  EXPECT_EQ(mCollection.mLocks, 0);
  run.mStage->GetAct()->Invalidate(whole);
  run.Frame();

  ScreenOnX screen;
  ASSERT_TRUE(screen.CaptureUntil(run.mWindow->GetHandle(), 30, 20, 0xFF0000));
  EXPECT_EQ(screen.At(130, 40), 0x0000FFu);  // the ellipse's centre
  EXPECT_EQ(screen.At(101, 11), 0xFFFFFFu);  // outside its curve
  EXPECT_EQ(screen.At(220, 25), 0x000002u);
  EXPECT_EQ(screen.At(240, 25), 0xFFFFFFu);
  int inked = 0;
  for (int32_t y = 105; y < 150; ++y) {
    for (int32_t x = 20; x < 150; ++x) inked += screen.At(x, y) == 0 ? 1 : 0;
  }
  EXPECT_GT(inked, 50);
}

}  // namespace
