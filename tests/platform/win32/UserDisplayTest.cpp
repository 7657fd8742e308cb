#include <gtest/gtest.h>

#include "platform/win32/DisplayState.h"
#include "platform/win32/gdi.h"
#include "platform/win32/user.h"

namespace {

DEVMODEA Mode(DWORD width, DWORD height, DWORD bits) {
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmBitsPerPel = bits;
  return mode;
}

TEST(UserDisplayTest, AFullScreenModeIsRecordedUntilTheRegistryModeReturns) {
  static_assert(sizeof(DEVMODEA) == 148);
  DEVMODEA mode = Mode(800, 600, 16);
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(vpl::platform::IsFullScreenSize(800, 600));
  EXPECT_FALSE(vpl::platform::IsFullScreenSize(640, 480));
  EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_FALSE(vpl::platform::IsFullScreenSize(800, 600));

  DEVMODEA shortRecord = Mode(800, 600, 16);
  shortRecord.dmSize = 100;
  EXPECT_EQ(ChangeDisplaySettingsA(&shortRecord, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, 0x80), DISP_CHANGE_BADFLAGS);
  DEVMODEA noDepth = Mode(800, 600, 16);
  noDepth.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  EXPECT_EQ(ChangeDisplaySettingsA(&noDepth, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
  EXPECT_FALSE(vpl::platform::IsFullScreenSize(800, 600));
}

TEST(UserDisplayTest, TheScreenDCAnswersTheDesktop) {
  constexpr int kDesktopBitsPerPixel = 32;
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(GetDeviceCaps(screen, VERTRES), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), kDesktopBitsPerPixel);
  EXPECT_TRUE(PatBlt(screen, 0, 0, 10, 10, BLACKNESS));  // shown nowhere
  EXPECT_FALSE(DeleteDC(screen));                        // handed back through ReleaseDC
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST(UserDisplayTest, AScaledPictureMapsThePointerBackIntoTheClientArea) {
  using vpl::platform::ScaledToClient;
  // 800 x 600 on 1600 x 1000: scaled by 5/3 to 1333 x 1000, centred.
  const SIZE shown{1600, 1000};
  const SIZE client{800, 600};
  EXPECT_EQ(ScaledToClient(POINT{133, 0}, shown, client).x, 0);
  EXPECT_EQ(ScaledToClient(POINT{800, 500}, shown, client).y, 300);
  const POINT same = ScaledToClient(POINT{17, 23}, client, client);
  EXPECT_EQ(same.x, 17);
  EXPECT_EQ(same.y, 23);
}

TEST(UserDisplayTest, TheCursorSetIsAnsweredAndNullHidesIt) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(arrow);
  EXPECT_EQ(SetCursor(wait), arrow);
  EXPECT_EQ(SetCursor(nullptr), wait);
  EXPECT_EQ(GetCursor(), nullptr);
  SetCursor(arrow);
}

LRESULT PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(UserDisplayTest, ChildWindowFromPointFindsTheDirectChildItMayTake) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = PlainProc;
  windowClass.lpszClassName = "ChildPointClass";
  RegisterClassExA(&windowClass);
  HWND top = CreateWindowExA(0, "ChildPointClass", "", WS_OVERLAPPED, 0, 0, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
  HWND shown = CreateWindowExA(0, "ChildPointClass", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top,
                               nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowExA(0, "ChildPointClass", "", WS_CHILD, 100, 10, 50, 50, top, nullptr,
                                nullptr, nullptr);
  HWND disabled = CreateWindowExA(0, "ChildPointClass", "", WS_CHILD | WS_VISIBLE | WS_DISABLED,
                                  200, 10, 50, 50, top, nullptr, nullptr, nullptr);
  struct Case {
    POINT point;
    UINT flags;
    HWND expected;
  };
  const Case cases[] = {
      {{20, 20}, CWP_ALL, shown},
      {{110, 20}, CWP_ALL, hidden},
      {{110, 20}, CWP_SKIPINVISIBLE, top},
      {{210, 20}, CWP_SKIPINVISIBLE, disabled},
      {{210, 20}, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED, top},
      {{5, 150}, CWP_ALL, top},
      {{300, 20}, CWP_ALL, nullptr},
      {{-1, 20}, CWP_ALL, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChildWindowFromPointEx(top, c.point, c.flags), c.expected)
        << c.point.x << "," << c.flags;
  }
  EXPECT_TRUE(CloseWindow(top));
  EXPECT_TRUE(IsIconic(top));
  EXPECT_TRUE(OpenIcon(top));
  EXPECT_FALSE(IsIconic(top));
  DestroyWindow(top);
  UnregisterClassA("ChildPointClass", nullptr);
  EXPECT_FALSE(OpenIcon(top));
}

}  // namespace
