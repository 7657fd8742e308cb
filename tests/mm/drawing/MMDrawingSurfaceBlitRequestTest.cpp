#include "mm/drawing/MMDrawingSurfaceBlitRequest.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct MMDrawingSurfaceBlitRequestTest : ::testing::Test {
  void SetUp() override {
    mSurface = WinMMCreateOffscreenSurface(32, UURect(10, 10, 20, 14), AFPalette());
    mSurface->FillRect(UURect(10, 10, 20, 14), AFColor(AFRGB(0, 0, 0)));
    mImage.reset(MMBitmapWithPixels::Create(UURect(0, 0, 3, 1), kMMFormat8, nullptr));
    for (int i = 0; i < 3; ++i) mImage->mPixels[i] = static_cast<uint8_t>(i + 1);
    for (int i = 0; i < 4; ++i) mPalette.mEntries[i] = {static_cast<uint8_t>(i * 10), 0, 0, 0};
  }
  void TearDown() override {
    mSurface->Detach();
    delete mSurface;
  }
  // The blue byte of each pixel of a row of the surface.
  std::vector<int> Row(int32_t y) {
    MMBitmap bitmap;
    mSurface->GetImageDescription(bitmap);
    std::vector<int> row;
    for (int32_t x = 10; x < 20; ++x) row.push_back(bitmap.GetPixelAddress(x, y)[0]);
    return row;
  }
  WinMMOffscreenSurface* mSurface = nullptr;
  std::unique_ptr<MMBitmapWithPixels> mImage;
  MMPalette mPalette{};
};

TEST_F(MMDrawingSurfaceBlitRequestTest, DrawsStretchedAndClippedToTheSurface) {
  MMDrawingSurfaceBlitRequest request;
  request.mPalette = &mPalette;
  ASSERT_TRUE(request.Prepare(mImage.get(), mSurface, UURect(8, 11, 14, 12)));
  ASSERT_TRUE(request.Execute());
  EXPECT_EQ(Row(11), (std::vector<int>{20, 20, 30, 30, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Row(10), std::vector<int>(10, 0));
}

TEST_F(MMDrawingSurfaceBlitRequestTest, NothingIsDrawnOutsideTheClip) {
  mSurface->SetClipRect(UURect(12, 10, 14, 14));
  MMDrawingSurfaceBlitRequest request;
  request.mPalette = &mPalette;
  ASSERT_TRUE(
      request.PrepareRect(mImage.get(), mSurface, UURect(3, 0, 0, 1), UURect(11, 12, 14, 13)));
  ASSERT_TRUE(request.Execute());
  EXPECT_EQ(Row(12),
            (std::vector<int>{0, 0, 20, 10, 0, 0, 0, 0, 0, 0}));  // mirrored: 3 2 1, first cut
}

TEST_F(MMDrawingSurfaceBlitRequestTest, ABlitOutsideTheSurfaceOrClipDrawsNothing) {
  MMDrawingSurfaceBlitRequest outside;
  outside.mPalette = &mPalette;
  EXPECT_FALSE(outside.Prepare(mImage.get(), mSurface, UURect(30, 30, 33, 31)));
  EXPECT_FALSE(outside.Execute());
  mSurface->SetClipRect(UURect(18, 10, 20, 14));
  MMDrawingSurfaceBlitRequest clipped;
  clipped.mPalette = &mPalette;
  ASSERT_TRUE(clipped.Prepare(mImage.get(), mSurface, UURect(10, 10, 13, 11)));
  EXPECT_FALSE(clipped.Execute());
  EXPECT_EQ(Row(10), std::vector<int>(10, 0));
}

}  // namespace
