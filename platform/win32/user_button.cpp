// The "BUTTON" class: push buttons, automatic check boxes and automatic
// radio buttons. A click is a press and a release over the button (or the
// space key while it has the focus).

#include "platform/win32/SystemControls.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {
namespace {

constexpr int kMarkSize = 13;
constexpr int kMarkGap = 4;

struct ButtonState {
  WPARAM check = BST_UNCHECKED;
  bool pressed = false;
};

DWORD ButtonType(HWND window) { return ControlStyle(window) & BS_TYPEMASK; }

void SetCheck(HWND window, ButtonState& state, WPARAM check) {
  if (state.check == check) return;
  state.check = check;
  InvalidateRect(window, nullptr, TRUE);
}

// The radio buttons of a group: from the last sibling at or before the
// window that starts a group (WS_GROUP) up to the next one that does.
void UncheckGroup(HWND window) {
  HWND first = window;
  while (!(ControlStyle(first) & WS_GROUP)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (previous == nullptr) break;
    first = previous;
  }
  for (HWND sibling = first; sibling != nullptr; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling != first && (ControlStyle(sibling) & WS_GROUP)) break;
    if (sibling != window && ButtonType(sibling) == BS_AUTORADIOBUTTON) {
      SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void Click(HWND window, ButtonState& state) {
  switch (ButtonType(window)) {
    case BS_AUTOCHECKBOX:
      SetCheck(window, state, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    case BS_AUTORADIOBUTTON:
      UncheckGroup(window);
      SetCheck(window, state, BST_CHECKED);
      break;
    default:
      break;
  }
  NotifyParentCommand(window, BN_CLICKED);
}

void DrawMark(HDC dc, const RECT& box, bool radio, bool checked) {
  FillSolid(dc, box, GetSysColor(COLOR_WINDOW));
  FrameSolid(dc, box, GetSysColor(COLOR_WINDOWTEXT));
  if (!checked) return;
  const RECT inner{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
  if (radio) {
    FillSolid(dc, inner, GetSysColor(COLOR_WINDOWTEXT));
    return;
  }
  for (int i = 0; i < inner.right - inner.left; ++i) {
    SetPixelV(dc, inner.left + i, inner.top + i, GetSysColor(COLOR_WINDOWTEXT));
    SetPixelV(dc, inner.right - 1 - i, inner.top + i, GetSysColor(COLOR_WINDOWTEXT));
  }
}

void Paint(HWND window, const ButtonState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  const COLORREF text =
      IsWindowEnabled(window) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
  const DWORD type = ButtonType(window);
  FillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
  if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) {
    const int top = (client.bottom - kMarkSize) / 2;
    DrawMark(dc, RECT{0, top, kMarkSize, top + kMarkSize}, type == BS_AUTORADIOBUTTON,
             state.check == BST_CHECKED);
    DrawLine(dc, RECT{kMarkSize + kMarkGap, 0, client.right, client.bottom}, ControlText(window), 0,
             text);
  } else {
    if (state.pressed) FillSolid(dc, client, GetSysColor(COLOR_BTNSHADOW));
    FrameSolid(dc, client, GetSysColor(COLOR_WINDOWFRAME));
    DrawLine(dc, client, ControlText(window), 1, text);
  }
  EndPaint(window, &paint);
}

bool IsInside(HWND window, LPARAM point) {
  RECT client{};
  GetClientRect(window, &client);
  return PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE;
}

void SetPressed(HWND window, ButtonState& state, bool pressed) {
  if (state.pressed == pressed) return;
  state.pressed = pressed;
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonState* state = ControlState<ButtonState>(window, message);
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      FreeControlState<ButtonState>(window);
      return 0;
    case BM_GETCHECK:
      return static_cast<LRESULT>(state->check);
    case BM_SETCHECK:
      SetCheck(window, *state, wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(window);
      SetCapture(window);
      SetPressed(window, *state, true);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == window) SetPressed(window, *state, IsInside(window, lParam));
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != window) return 0;
      ReleaseCapture();
      const bool clicked = state->pressed && IsInside(window, lParam);
      SetPressed(window, *state, false);
      if (clicked) Click(window, *state);
      return 0;
    }
    case WM_KEYUP:
      if (wParam == VK_SPACE) Click(window, *state);
      return 0;
    case WM_SETTEXT:
      InvalidateRect(window, nullptr, TRUE);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_ENABLE:
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace vpl::platform
