#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/af/AFApplication.h"
#include "foundation/af/AFButtonControls.h"
#include "foundation/af/AFMemoryPool.h"
#include "foundation/af/AFWindow.h"
#include "foundation/win/WinAFSystemControl.h"
#include "platform/win32/gdi.h"
#include "platform/win32/testhooks.h"
#include "tests/support/DesktopTestSupport.h"

namespace {

using vpl::test::ScreenOnX;

// Records the window-state operations the owner's broadcasts reach.
class RecordingControl : public WinAFSystemControl {
 public:
  RecordingControl(AFWindow* owner, const RECT& rect, bool acceptsFocus)
      : WinAFSystemControl(owner, rect), mAcceptsFocus(acceptsFocus) {
    CreateControlWindow("STATIC", "", WS_VISIBLE, rect);
  }
  bool AcceptsFocus() override { return mAcceptsFocus; }
  void OnApplicationActivate() override { mEvents.push_back("app-on"); }
  void OnWindowActivate() override { mEvents.push_back("window-on"); }
  void OnWindowDeactivate() override { mEvents.push_back("window-off"); }
  void OnWindowMoved() override { mEvents.push_back("moved"); }
  void OnPaletteChanged() override { mEvents.push_back("palette"); }

  bool mAcceptsFocus;
  std::vector<std::string> mEvents;
};

class TestWindow : public AFWindow {
 public:
  TestWindow() : AFWindow(AFDefaultWindowDescription) {}
  bool CanClose() override { return mCanClose; }
  void Detach() override { ++mDetached; }
  bool mCanClose = true;
  int mDetached = 0;
};

bool QuitIsQueued() {
  MSG message;
  return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class AFWindowTest : public ::testing::Test {
 protected:
  void TearDown() override { vpl::test::DrainMessages(); }
  AFMemoryPool mPool{4 * 1024 * 1024};
};

TEST_F(AFWindowTest, TheWindowIsBoundToItsObjectUntilDeleted) {
  auto* window = new TestWindow;
  HWND handle = window->GetHandle();
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(AFWindowGetObject(handle), window);
  RECT client = window->GetClientRect();
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 480);
  delete window;
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(GlobalFindAtomA("Corvane ZIZU"), 0);
}

TEST_F(AFWindowTest, ClosingTheLastWindowObjectQuitsOnce) {
  AFApplication application(&mPool);
  auto* first = new TestWindow;
  auto* second = new TestWindow;
  HWND firstHandle = first->GetHandle();
  first->mCanClose = false;
  SendMessageA(firstHandle, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(firstHandle));
  EXPECT_EQ(first->mDetached, 0);
  first->mCanClose = true;
  SendMessageA(firstHandle, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(firstHandle));
  EXPECT_FALSE(QuitIsQueued());
  EXPECT_EQ(application.FindFirstWindowObject(), second);
  SendMessageA(second->GetHandle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(QuitIsQueued());
  EXPECT_FALSE(QuitIsQueued());
}

TEST_F(AFWindowTest, OnlyARestoredActivationMakesTheActiveWindow) {
  AFApplication application(&mPool);
  auto* window = new TestWindow;
  SendMessageA(window->GetHandle(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
  EXPECT_EQ(application.GetActiveWindow(), nullptr);
  SendMessageA(window->GetHandle(), WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 0), 0);
  EXPECT_EQ(application.GetActiveWindow(), window);
  delete window;
  EXPECT_EQ(application.GetActiveWindow(), nullptr);
}

TEST_F(AFWindowTest, StateChangesReachEveryControlAndFocusComesBack) {
  TestWindow window;
  auto* plain = new RecordingControl(&window, RECT{0, 0, 10, 10}, false);
  auto* focusable = new RecordingControl(&window, RECT{20, 0, 30, 10}, true);
  SendMessageA(window.GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
  SendMessageA(window.GetHandle(), WM_MOVE, 0, 0);
  SendMessageA(window.GetHandle(), WM_QUERYNEWPALETTE, 0, 0);
  const std::vector<std::string> expected = {"app-on", "moved", "palette"};
  EXPECT_EQ(plain->mEvents, expected);
  EXPECT_EQ(focusable->mEvents, expected);

  window.SetFocusControl(focusable);
  EXPECT_EQ(window.GetFocusControl(), focusable);
  EXPECT_TRUE(focusable->HasFocus());
  SendMessageA(window.GetHandle(), WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(nullptr);
  SendMessageA(window.GetHandle(), WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(window.GetFocusControl(), focusable);
  EXPECT_EQ(focusable->mEvents.back(), "window-on");
}

TEST_F(AFWindowTest, FocusWalkFindsTheOneFocusableControlFromAnyStart) {
  TestWindow window;
  EXPECT_EQ(window.NextFocusControl(nullptr, true), nullptr);
  auto* a = new RecordingControl(&window, RECT{0, 0, 10, 10}, false);
  EXPECT_EQ(window.NextFocusControl(a, true), nullptr);
  auto* b = new RecordingControl(&window, RECT{10, 0, 20, 10}, true);
  auto* c = new RecordingControl(&window, RECT{20, 0, 30, 10}, false);
  for (AFControl* from : std::vector<AFControl*>{a, c, nullptr}) {
    EXPECT_EQ(window.NextFocusControl(from, true), b);
    EXPECT_EQ(window.NextFocusControl(from, false), b);
  }
  EXPECT_EQ(window.NextFocusControl(b, true), nullptr);
}

TEST_F(AFWindowTest, PalettesAreRealisedAndDeletedByTheirWindowOnly) {
  AFPalette palette;
  palette.mEntries[7] = AFPaletteEntry{30, 20, 10, 0};
  HPALETTE first = nullptr;
  {
    TestWindow window;
    window.SetPalette(palette);
    first = window.GetPaletteHandle();
    ASSERT_NE(first, nullptr);
    palette.mEntries[7].mRed = 200;
    window.SetPalette(palette);
    HPALETTE second = window.GetPaletteHandle();
    EXPECT_NE(second, first);
    PALETTEENTRY entry{};
    ASSERT_EQ(GetPaletteEntries(second, 7, 1, &entry), 1u);
    EXPECT_EQ(entry.peRed, 200);
    EXPECT_EQ(entry.peBlue, 30);
    EXPECT_EQ(GetPaletteEntries(first, 0, 1, &entry), 0u);  // the replaced one is gone
    EXPECT_EQ(GetNearestPaletteIndex(second, RGB(200, 20, 30)), 7u);
  }
}

TEST_F(AFWindowTest, GetMinMaxInfoLimitsOnlyBeyondTheLargestClientSize) {
  TestWindow window;
  MINMAXINFO info{};
  info.ptMaxSize = POINT{800, 600};
  info.ptMaxTrackSize = POINT{40000, 40000};
  info.ptMinTrackSize = POINT{5, 5};
  SendMessageA(window.GetHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMaxSize.x, 800);
  EXPECT_EQ(info.ptMaxTrackSize.x, 30000);
  EXPECT_EQ(info.ptMinTrackSize.x, 5);
}

// A window that paints one filled rectangle over its class background.
class PaintingWindow : public AFWindow {
 public:
  static constexpr RECT kFilled{20, 20, 100, 80};
  static constexpr COLORREF kFill = RGB(0, 128, 255);

  PaintingWindow() : AFWindow(Description()) {}

  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override {
    if (message != WM_PAINT) {
      return AFWindow::HandleMessage(window, message, wParam, lParam, result);
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH brush = CreateSolidBrush(kFill);
    FillRect(dc, &kFilled, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    result = 0;
    return true;
  }

 private:
  static AFWindowDescription Description() {
    AFWindowDescription description = AFDefaultWindowDescription;
    description.mLeft = 40;
    description.mTop = 40;
    description.mRight = 280;
    description.mBottom = 200;
    return description;
  }
};

uint32_t AsPixel(COLORREF color) {
  return uint32_t{GetRValue(color)} << 16 | uint32_t{GetGValue(color)} << 8 | GetBValue(color);
}

// Shows a framework window with a push button on the X server and checks
// that the server shows exactly the pixels the window drew.
TEST_F(AFWindowTest, PaintingAndControlsReachTheScreenOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs the X display (VPL3D_XVFB)";
  PaintingWindow window;
  ASSERT_NE(window.GetHandle(), nullptr);
  auto* button = new AFTextButtonControl(&window, RECT{120, 20, 220, 60}, "OK", nullptr);
  button->SetVisibleIfChanged(true);
  window.SetVisibleIfChanged(true);
  vpl::test::DrainMessages();

  ScreenOnX screen;
  ASSERT_TRUE(screen.Capture(window.GetHandle()));
  ASSERT_EQ(screen.Width(), 240);
  ASSERT_EQ(screen.Height(), 160);
  const auto at = [&](int x, int y) { return screen.At(x, y); };
  for (const POINT corner : {POINT{20, 20}, POINT{99, 20}, POINT{20, 79}, POINT{99, 79}}) {
    EXPECT_EQ(at(corner.x, corner.y), AsPixel(PaintingWindow::kFill))
        << corner.x << "," << corner.y;
  }
  EXPECT_EQ(at(19, 20), AsPixel(GetSysColor(COLOR_APPWORKSPACE)));
  EXPECT_EQ(at(100, 79), AsPixel(GetSysColor(COLOR_APPWORKSPACE)));
  EXPECT_EQ(at(120, 20), AsPixel(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(at(125, 25), AsPixel(GetSysColor(COLOR_BTNFACE)));
  int textPixels = 0;
  for (int y = 21; y < 59; ++y) {
    for (int x = 121; x < 219; ++x) textPixels += at(x, y) != AsPixel(GetSysColor(COLOR_BTNFACE));
  }
  EXPECT_GT(textPixels, 20);
  int differing = 0;
  for (int y = 0; y < screen.Height(); ++y) {
    for (int x = 0; x < screen.Width(); ++x) {
      differing += at(x, y) != vpl::platform::WindowPixelAt(window.GetHandle(), POINT{x, y});
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
