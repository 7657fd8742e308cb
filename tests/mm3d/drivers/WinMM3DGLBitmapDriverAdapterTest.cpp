#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"

#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

using WinMM3DGLBitmapDriverAdapterTest = GLDriverFixture;

TEST_F(WinMM3DGLBitmapDriverAdapterTest, HasNoNameOrDescription) {
  EXPECT_EQ(mDriver->GetApiName(), "");
  EXPECT_EQ(mDriver->GetDescription(), "");
  EXPECT_TRUE(mDriver->MakeCurrent());
  EXPECT_TRUE(mDriver->Minimize());
  EXPECT_TRUE(mDriver->Restore());
}

TEST_F(WinMM3DGLBitmapDriverAdapterTest, ClearFillsTheSurfaceAfterEndFrame) {
  BeginFrame(kBlue);
  EndFrame();
  for (const auto& [x, y] : {std::pair{0, 0}, {kSize - 1, 0}, {0, kSize - 1}, {12, 20}}) {
    EXPECT_EQ(PixelAt(x, y), kBlue) << x << "," << y;
  }
}

TEST_F(WinMM3DGLBitmapDriverAdapterTest, QuadCoversTheSquare) {
  BeginFrame(kBlue);
  Draw(Quad{.mLeft = -1, .mBottom = 0, .mRight = 0, .mTop = 1, .mColor = Corner(kRed)});
  EndFrame();
  EXPECT_EQ(PixelAt(4, 4), kRed);  // top-left quarter
  EXPECT_EQ(PixelAt(kSize - 4, 4), kBlue);
  EXPECT_EQ(PixelAt(4, kSize - 4), kBlue);
}

TEST(WinMM3DGLBitmapDriverAdapterSizeTest, ResetSetsViewportToWholeSurface) {
  std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, 320, 240), AFPalette()));
  ASSERT_NE(surface, nullptr);
  UURefCount<MM3DDriver> driver =
      WinMM3DGLCreateBitmapDriver(kPrimaryDriver, OffscreenMode(320, 240), *surface);
  ASSERT_FALSE(driver.IsEmpty());
  EXPECT_EQ(driver->mViewport, UURect(0, 0, 320, 240));
}

}  // namespace
