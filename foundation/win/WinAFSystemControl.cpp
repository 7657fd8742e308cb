#include "foundation/win/WinAFSystemControl.h"

RECT WinAFWindowRectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  HWND parent = GetParent(window);
  POINT topLeft{rect.left, rect.top};
  POINT bottomRight{rect.right, rect.bottom};
  ScreenToClient(parent, &topLeft);
  ScreenToClient(parent, &bottomRight);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void WinAFSetWindowRect(HWND window, const RECT& current, const RECT& wanted) {
  const bool sameCorner = current.left == wanted.left && current.top == wanted.top;
  const bool sameSize = current.right - current.left == wanted.right - wanted.left &&
                        current.bottom - current.top == wanted.bottom - wanted.top;
  if (sameCorner && sameSize) return;
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
  if (sameSize) flags |= SWP_NOSIZE;
  if (sameCorner) flags |= SWP_NOMOVE;
  SetWindowPos(window, nullptr, wanted.left, wanted.top, wanted.right - wanted.left,
               wanted.bottom - wanted.top, flags);
}

RECT WinAFSystemControl::GetRect() { return WinAFWindowRectInParent(mWindow); }

bool WinAFSystemControl::IsVisible() {
  return (GetWindowLongA(mWindow, GWL_STYLE) & static_cast<LONG>(WS_VISIBLE)) != 0;
}

bool WinAFSystemControl::IsEnabled() { return IsWindowEnabled(mWindow) != FALSE; }

void WinAFSystemControl::SetRect(const RECT& rect) { WinAFSetWindowRect(mWindow, GetRect(), rect); }

void WinAFSystemControl::Show(bool shown) { ShowWindow(mWindow, shown ? SW_SHOW : SW_HIDE); }

void WinAFSystemControl::Enable(bool enabled) { EnableWindow(mWindow, enabled ? TRUE : FALSE); }
