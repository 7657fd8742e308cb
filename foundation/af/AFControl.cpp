#include "foundation/af/AFControl.h"

#include "foundation/af/AFWindow.h"

AFControl::~AFControl() {
  if (mWindow == nullptr) return;
  SetWindowLongPtrA(mWindow, GWLP_USERDATA, 0);
  // The system control gets its own destruction messages, so it can free
  // what it keeps.
  if (mPreviousProc != nullptr) {
    SetWindowLongPtrA(mWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mPreviousProc));
  }
  DestroyWindow(mWindow);
}

void AFControl::Detach() {
  if (IsVisible()) Show(false);
  if (mOwner != nullptr && mOwner->GetFocusControl() == this) mOwner->SetFocusControl(nullptr);
}

bool AFControl::AcceptsFocus() { return false; }
void AFControl::OnApplicationActivate() {}
void AFControl::OnApplicationDeactivate() {}
void AFControl::OnWindowActivate() {}
void AFControl::OnWindowDeactivate() {}
void AFControl::OnWindowMoved() {}
void AFControl::OnPaletteChanged() { Invalidate(); }
void AFControl::OnSetFocus() { mHasFocus = true; }
void AFControl::OnKillFocus() { mHasFocus = false; }
void AFControl::SetRect(const RECT&) {}
void AFControl::Show(bool) {}
void AFControl::Enable(bool) {}

bool AFControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
  switch (message) {
    case WM_MOVE:
    case WM_SIZE:
      return true;
    case WM_SETFOCUS:
      OnSetFocus();
      return false;
    case WM_KILLFOCUS:
      OnKillFocus();
      return false;
    case WM_COMMAND: {
      // A notification addressed to this control itself is not sent on
      // again: that would come straight back here.
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control == nullptr || control == window) return false;
      SendNotifyMessageA(control, message, wParam, lParam);
      return true;
    }
    case AFWM_APPLICATION_ACTIVATED:
      OnApplicationActivate();
      return true;
    case AFWM_APPLICATION_DEACTIVATED:
      OnApplicationDeactivate();
      return true;
    case AFWM_WINDOW_ACTIVATED:
      OnWindowActivate();
      return true;
    case AFWM_WINDOW_DEACTIVATED:
      OnWindowDeactivate();
      return true;
    case AFWM_WINDOW_MOVED:
      OnWindowMoved();
      return true;
    case AFWM_PALETTE_CHANGED:
      OnPaletteChanged();
      return true;
    default:
      return false;
  }
}

void AFControl::Attach(HWND window) {
  mWindow = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void AFControl::SetRectIfChanged(const RECT& rect) {
  const RECT current = GetRect();
  if (!EqualRect(&current, &rect)) SetRect(rect);
}

void AFControl::SetVisibleIfChanged(bool visible) {
  if (IsVisible() != visible) Show(visible);
}

void AFControl::SetEnabledIfChanged(bool enabled) {
  if (IsEnabled() != enabled) Enable(enabled);
}

void AFControl::Invalidate(const RECT* rect) { InvalidateRect(mWindow, rect, FALSE); }

void AFControl::BringToTop() { BringWindowToTop(mWindow); }

void AFControl::PlaceControlBehind(AFControl* other) {
  SetWindowPos(other->mWindow, mWindow, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
}

void AFControl::CreateControlWindow(LPCSTR className, LPCSTR text, DWORD style, const RECT& rect) {
  HWND parent = mOwner != nullptr ? mOwner->GetHandle() : nullptr;
  HWND window = CreateWindowExA(0, className, text, WS_CHILD | style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                GetModuleHandleA(nullptr), this);
  if (window == nullptr) return;
  const auto controlProc = reinterpret_cast<LONG_PTR>(&AFControlProc);
  if (GetWindowLongPtrA(window, GWLP_WNDPROC) == controlProc) return;  // bound at WM_NCCREATE
  Attach(window);
  mPreviousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, controlProc));
  if (mPreviousProc == nullptr) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    mWindow = nullptr;
  }
}

AFControl* AFControlFromWindow(HWND window) {
  return reinterpret_cast<AFControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT AFControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  AFControl* control = nullptr;
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    control = static_cast<AFControl*>(create->lpCreateParams);
    if (control != nullptr) control->Attach(window);
  } else {
    control = AFControlFromWindow(window);
  }
  if (control != nullptr) {
    LRESULT result = 0;
    if (control->HandleMessage(window, message, wParam, lParam, result)) return result;
    if (control->mPreviousProc != nullptr) {
      return CallWindowProcA(control->mPreviousProc, window, message, wParam, lParam);
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
