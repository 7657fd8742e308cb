#include "mm/drawing/MMControlSurface.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "platform/win32/user.h"

#include <gtest/gtest.h>

namespace {

struct MMControlSurfaceTest : ::testing::Test {
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSA windowClass{};
      windowClass.lpfnWndProc = DefWindowProcA;
      windowClass.lpszClassName = "MMControlSurfaceTest";
      return RegisterClassA(&windowClass) != 0;
    }();
    ASSERT_TRUE(registered);
    mTop = CreateWindowExA(0, "MMControlSurfaceTest", "Top", WS_POPUP, 0, 0, 100, 60, nullptr,
                           nullptr, nullptr, nullptr);
    mControl = CreateWindowExA(0, "MMControlSurfaceTest", "", WS_CHILD | WS_VISIBLE, 10, 5, 40, 30,
                               mTop, nullptr, nullptr, nullptr);
    ASSERT_NE(mControl, nullptr);
  }
  void TearDown() override { DestroyWindow(mTop); }
  HWND mTop = nullptr;
  HWND mControl = nullptr;
};

TEST_F(MMControlSurfaceTest, CopiesOffscreenPicturesIntoTheWindow) {
  MMControlSurface surface(mControl);
  EXPECT_EQ(surface.GetRect(), UURect(0, 0, 40, 30));
  EXPECT_EQ(surface.GetPixelFormat(), 3);
  MMBitmap bitmap;
  EXPECT_FALSE(surface.LockBits(bitmap));
  WinMMOffscreenSurface* picture =
      WinMMCreateOffscreenSurface(32, UURect(0, 0, 40, 30), AFPalette());
  picture->FillRect(UURect(0, 0, 40, 30), AFColor(AFRGB(0, 0, 0)));
  picture->FillRect(UURect(4, 4, 8, 8), AFColor(AFRGB(200, 100, 50)));
  EXPECT_NE(surface.CopyFrom(*picture, UURect(0, 0, 20, 20)), 0);
  EXPECT_EQ(GetPixel(surface.GetDC(), 5, 5), RGB(200, 100, 50));
  EXPECT_EQ(GetPixel(surface.GetDC(), 3, 3), RGB(0, 0, 0));
  EXPECT_NE(surface.CopyFromAt(*picture, UUPoint{4, 4}, UURect(30, 20, 32, 22)), 0);
  EXPECT_EQ(GetPixel(surface.GetDC(), 31, 21), RGB(200, 100, 50));
  // In the parent, the control's pixels lie at the control's place.
  HDC top = GetDC(mTop);
  EXPECT_EQ(GetPixel(top, 10 + 5, 5 + 5), RGB(200, 100, 50));
  ReleaseDC(mTop, top);
  picture->Detach();
  delete picture;
}

TEST_F(MMControlSurfaceTest, ScrollingReportsWhetherOnlyTheUncoveredStripNeedsPainting) {
  MMControlSurface surface(mControl);
  EXPECT_TRUE(surface.Scroll(UURect(0, 0, 40, 30), 0, 0));
  EXPECT_TRUE(surface.Scroll(UURect(0, 0, 40, 30), 5, 0));
  EXPECT_TRUE(surface.Scroll(UURect(0, 0, 40, 30), 0, -3));
  EXPECT_FALSE(surface.Scroll(UURect(0, 0, 40, 30), 2, 2));
}

}  // namespace
