// The scroll bar control over ranges as wide as an int allows.

#include "platform/win32/user.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

HWND MakeParent() {
  static const bool registered = [] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "ScrollBarTestParent";
    return RegisterClassExA(&windowClass) != 0;
  }();
  EXPECT_TRUE(registered);
  return CreateWindowExA(0, "ScrollBarTestParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 400, 100, nullptr,
                         nullptr, nullptr, nullptr);
}

SCROLLINFO Range(int minimum, int maximum, UINT page, int position) {
  return SCROLLINFO{
      sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, minimum, maximum, page, position, 0};
}

TEST(UserScrollBarTest, PositionsAndDragsOverRangesAsWideAsAnInt) {
  HWND parent = MakeParent();
  ASSERT_NE(parent, nullptr);
  // 300 pixels long: 20-pixel arrows and thumb leave 240 pixels of room.
  HWND bar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_HORZ, 0, 0, 300, 20,
                             parent, nullptr, nullptr, nullptr);
  ASSERT_NE(bar, nullptr);

  struct Case {
    SCROLLINFO info;
    int expected;
  };
  const Case cases[] = {
      {Range(INT_MIN, INT_MAX, 0, 0), 0},
      {Range(INT_MIN, INT_MAX, 0, INT_MAX), INT_MAX},
      {Range(INT_MIN, INT_MAX, UINT_MAX, 5), INT_MIN + 1},
      {Range(-5, 5, 0, 9), 5},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetScrollInfo(bar, SB_CTL, &c.info, TRUE), c.expected)
        << c.info.nMin << ".." << c.info.nMax << " page " << c.info.nPage;
  }

  // Dragging the thumb halfway along a range of a hundred million.
  const SCROLLINFO wide = Range(0, 100000000, 0, 0);
  SetScrollInfo(bar, SB_CTL, &wide, FALSE);
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 10));
  SendMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(145, 10));
  SCROLLINFO tracked{sizeof(SCROLLINFO), SIF_ALL};
  ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &tracked));
  EXPECT_EQ(tracked.nTrackPos, 50000000);
  SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(145, 10));
  DestroyWindow(parent);
}

}  // namespace
