#include "foundation/win/WinHUD.h"

#include "platform/win32/gdi.h"
#include "platform/win32/testhooks.h"
#include "tests/foundation/win/ScratchRegistry.h"
#include "tests/platform/win32/GdiTestPixels.h"
#include "tests/support/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using vpl::test::DrainMessages;

constexpr char kPlacementPath[] = "Software\\Corvane Software\\VPL3D\\1.0\\HUD";

RECT ScreenRectOf(const WinHUD& hud) { return hud.GetWindow()->GetScreenRect(); }

constexpr int kFiguresWidth = 100;
constexpr int kFiguresHeight = 48;

// The pixels of the figures' area as 0x00RRGGBB, top row first.
using Figures = std::vector<uint32_t>;

// What the window must show: the three lines in red over the window's
// background, drawn the same way into a bitmap.
Figures ExpectedFigures(const char* const (&lines)[3]) {
  vpl::test::DibCanvas canvas(kFiguresWidth, kFiguresHeight, 32);
  canvas.Fill(GetSysColor(COLOR_MENU));
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(canvas.dc(), RGB(255, 0, 0));
  SetBkMode(canvas.dc(), TRANSPARENT);
  for (int i = 0; i < 3; ++i) {
    TextOutA(canvas.dc(), 0, 16 * i, lines[i], static_cast<int>(std::strlen(lines[i])));
  }
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
  Figures pixels;
  for (int y = 0; y < kFiguresHeight; ++y) {
    for (int x = 0; x < kFiguresWidth; ++x) {
      const COLORREF c = canvas.At(x, y);
      pixels.push_back(uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c));
    }
  }
  return pixels;
}

Figures ShownFigures(HWND window) {
  Figures pixels;
  for (int y = 0; y < kFiguresHeight; ++y) {
    for (int x = 0; x < kFiguresWidth; ++x) {
      pixels.push_back(vpl::platform::WindowPixelAt(window, POINT{x, y}));
    }
  }
  return pixels;
}

// Pure red pixels of the line starting at the row, so that a comparison
// of two blank areas cannot pass.
int RedPixelsOfLine(const Figures& pixels, int line) {
  const auto first = pixels.begin() + line * 16 * kFiguresWidth;
  return static_cast<int>(std::count(first, first + 16 * kFiguresWidth, 0xFF0000u));
}

class WinHUDTest : public ::testing::Test {
 protected:
  void TearDown() override {
    vpl::platform::ThawClock();
    DrainMessages();
  }
  ScratchRegistry mRegistry;
};

TEST_F(WinHUDTest, TheFirstRunShowsTheWindowAtItsDefaultPlaceAndStoresItsPlace) {
  {
    WinHUD hud;
    ASSERT_NE(hud.GetWindow(), nullptr);
    const RECT rect = ScreenRectOf(hud);
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right, 130);
    EXPECT_EQ(rect.bottom, 130);
    EXPECT_TRUE(hud.GetWindow()->IsVisible());
    char title[256];
    hud.GetWindow()->GetTitle(title);
    EXPECT_STREQ(title, "VPL3D HUD");
    hud.GetWindow()->SetScreenRect(RECT{200, 150, 520, 240});
  }
  const char* names[] = {"XPos", "YPos", "Width", "Height"};
  const DWORD stored[] = {200, 150, 320, 90};
  for (int i = 0; i < 4; ++i) {
    DWORD type = 0;
    DWORD value = 0;
    ASSERT_TRUE(ScratchRegistry::Read(kPlacementPath, names[i], type, value)) << names[i];
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(value, stored[i]) << names[i];
  }
  mRegistry.Restart();
  WinHUD again;
  const RECT rect = ScreenRectOf(again);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 150);
  EXPECT_EQ(rect.right, 520);
  EXPECT_EQ(rect.bottom, 240);
}

TEST_F(WinHUDTest, AFinishedFrameRepaintsTheFiguresInRed) {
  vpl::platform::FreezeClock();
  WinHUD hud;
  DrainMessages();
  HWND window = hud.GetWindow()->GetHandle();
  const char* const before[3] = {"FPS:   0", "% render time:   0", "Polygons out:  -1"};
  EXPECT_EQ(ShownFigures(window), ExpectedFigures(before));
  EXPECT_EQ(vpl::platform::WindowPixelAt(window, POINT{99, 99}), 0xD4D0C8u);

  vpl::platform::AdvanceFrozenClock(10);
  hud.BeginRender();
  vpl::platform::AdvanceFrozenClock(30);
  hud.SetPolygonCount(4321);
  hud.EndFrame();
  DrainMessages();
  const char* const after[3] = {"FPS:  25", "% render time:  75", "Polygons out: 4321"};
  const Figures shown = ShownFigures(window);
  EXPECT_EQ(shown, ExpectedFigures(after));
  for (int line = 0; line < 3; ++line) EXPECT_GT(RedPixelsOfLine(shown, line), 3) << line;
}

TEST_F(WinHUDTest, ClosingTheWindowLeavesTheDisplayWithoutOne) {
  vpl::platform::FreezeClock();
  WinHUD hud;
  HWND window = hud.GetWindow()->GetHandle();
  hud.GetWindow()->SetScreenRect(RECT{60, 70, 160, 170});
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(hud.GetWindow(), nullptr);
  vpl::platform::AdvanceFrozenClock(10);
  hud.EndFrame();
  DWORD type = 0;
  DWORD value = 0;
  ASSERT_TRUE(ScratchRegistry::Read(kPlacementPath, "YPos", type, value));
  EXPECT_EQ(value, 70u);
}

}  // namespace
