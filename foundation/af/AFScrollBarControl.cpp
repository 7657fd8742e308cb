#include "foundation/af/AFScrollBarControl.h"

#include <algorithm>

#include "foundation/win/WinAFSystemControl.h"

AFScrollBarControl::AFScrollBarControl(AFWindow* owner, const RECT& rect, bool vertical,
                                       UUCallback* callback)
    : AFControl(owner), mVertical(vertical ? 1 : 0), mCallback(callback) {
  CreateControlWindow("SCROLLBAR", nullptr, (vertical ? SBS_VERT : SBS_HORZ) | SBS_RIGHTALIGN,
                      rect);
}

AFScrollBarControl::~AFScrollBarControl() { delete mCallback; }

RECT AFScrollBarControl::GetRect() { return WinAFWindowRectInParent(mWindow); }

bool AFScrollBarControl::IsVisible() {
  return (GetWindowLongA(mWindow, GWL_STYLE) & static_cast<LONG>(WS_VISIBLE)) != 0;
}

bool AFScrollBarControl::IsEnabled() { return mEnabledWish != 0; }

void AFScrollBarControl::SetRect(const RECT& rect) { WinAFSetWindowRect(mWindow, GetRect(), rect); }

void AFScrollBarControl::Show(bool shown) { ShowWindow(mWindow, shown ? SW_SHOW : SW_HIDE); }

void AFScrollBarControl::Enable(bool enabled) {
  mEnabledWish = enabled ? 1 : 0;
  EnableWindow(mWindow, enabled && mTotal > mPageSize);
}

bool AFScrollBarControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
  if (message != WM_HSCROLL && message != WM_VSCROLL) {
    return AFControl::HandleMessage(window, message, wParam, lParam, result);
  }
  int16_t wanted = mPosition;
  switch (LOWORD(wParam)) {
    case SB_LINEUP:
      wanted = static_cast<int16_t>(mPosition - mLineStep);
      break;
    case SB_LINEDOWN:
      wanted = static_cast<int16_t>(mPosition + mLineStep);
      break;
    case SB_PAGEUP:
      wanted = static_cast<int16_t>(mPosition - mPageSize);
      break;
    case SB_PAGEDOWN:
      wanted = static_cast<int16_t>(mPosition + mPageSize);
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      wanted = static_cast<int16_t>(HIWORD(wParam));
      break;
    default:
      break;
  }
  const int16_t largest =
      mTotal > mPageSize ? static_cast<int16_t>(mTotal - mPageSize) : int16_t{0};
  MoveTo(std::clamp<int16_t>(wanted, 0, largest));
  return true;
}

void AFScrollBarControl::OnAction() {
  if (mCallback != nullptr) mCallback->Invoke();
}

void AFScrollBarControl::MoveTo(int16_t position) {
  if (position == mPosition) return;
  mPosition = position;
  SendMessageA(mWindow, SBM_SETPOS, static_cast<WPARAM>(position), TRUE);
  OnAction();
}

void AFScrollBarControl::SetRange(int16_t total, int16_t pageSize, int16_t lineStep,
                                  int16_t position) {
  mTotal = total;
  mPageSize = pageSize;
  mLineStep = lineStep;
  mPosition = position;
  const bool scrolls = pageSize < total;
  SCROLLINFO info{sizeof(SCROLLINFO),
                  SIF_ALL,
                  0,
                  scrolls ? total - 1 : 0,
                  scrolls ? static_cast<UINT>(pageSize) : 0,
                  scrolls ? position : 0,
                  0};
  SetScrollInfo(mWindow, SB_CTL, &info, TRUE);
  // The wish stays as it was, so a bar whose range comes back is enabled
  // again.
  EnableWindow(mWindow, mEnabledWish != 0 && total > pageSize);
  OnAction();
}

void AFScrollBarControl::SetPosition(int16_t position) { MoveTo(position); }

int AFScrollBarControl::StandardThickness() { return GetSystemMetrics(SM_CXHSCROLL); }
