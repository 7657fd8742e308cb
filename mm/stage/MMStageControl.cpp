#include "mm/stage/MMStageControl.h"

#include "foundation/af/AFWindow.h"
#include "foundation/al/ALMilliseconds.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageMessages.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/gdi.h"

namespace {

// Its own device context, double clicks; no icons, cursor, background or
// menu.
const AFWindowClass kStageControlClass{.mStyle = CS_OWNDC | CS_DBLCLKS,
                                       .mClassName = "MMStageControlClass",
                                       .mWindowProc = AFControlProc};

int32_t MessageClockTime() {
  return static_cast<int32_t>(ALSystemTimeToMilliseconds(static_cast<uint32_t>(GetMessageTime())));
}

bool IsButtonDown(WPARAM wParam) { return (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0; }

}  // namespace

MMStageControl::MMStageControl(MMStageWindow* window, const UURect& rect, MMStage* stage)
    : WinAFSystemControl(window, MMRectToWin32(rect)),
      mStage(stage),
      mOwnerWindow(window),
      mCursorHandle(LoadCursorA(nullptr, IDC_ARROW)) {
  if (CreateControlWindow(rect)) window->SetStageControl(this);
}

MMStageControl::~MMStageControl() {
  if (mOwnerWindow->GetStageControl() == this) mOwnerWindow->SetStageControl(nullptr);
}

// The owner's palette goes into the control's own device context, which is
// kept for the window's life and so never released.
bool MMStageControl::CreateControlWindow(const UURect& rect) {
  if (!kStageControlClass.Register()) return false;
  AFControl::CreateControlWindow(kStageControlClass.mClassName, "", WS_CLIPSIBLINGS,
                                 MMRectToWin32(rect));
  if (GetHandle() == nullptr) return false;
  HPALETTE palette = mOwnerWindow->GetPaletteHandle();
  if (palette != nullptr) {
    HPALETTE previous = SelectPalette(::GetDC(GetHandle()), palette, TRUE);
    if (previous != nullptr && previous != palette) DeleteObject(previous);
  }
  return true;
}

void MMStageControl::RecreateWindow() {
  const bool visible = IsVisible();
  const UURect rect = MMRectFromWin32(GetRect());
  mOwnerWindow->SetFocusControl(nullptr);
  SetWindowLongPtrA(GetHandle(), GWLP_USERDATA, 0);
  DestroyWindow(GetHandle());
  mWindow = nullptr;
  if (CreateControlWindow(rect)) ShowWindow(GetHandle(), visible ? SW_SHOW : SW_HIDE);
}

void MMStageControl::SetCursorHandle(HCURSOR cursor) {
  mCursorHandle = cursor;
  HWND capture = GetCapture();
  if (capture != nullptr && capture != GetHandle()) return;
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(GetHandle(), &point);
  const UURect rect = MMRectFromWin32(GetRect());
  if (point.x >= 0 && point.y >= 0 && point.x < rect.GetWidth() && point.y < rect.GetHeight()) {
    SetCursor(cursor);
  }
}

void MMStageControl::FlushInput() {
  MSG message;
  for (;;) {
    if (PeekMessageA(&message, GetHandle(), WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) continue;
    if (!PeekMessageA(&message, GetHandle(), WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) return;
  }
}

void MMStageControl::OnApplicationActivate() { mStage->AppActivated(); }
void MMStageControl::OnApplicationDeactivate() { mStage->AppDeactivated(); }
void MMStageControl::OnWindowActivate() { mStage->WindowActivated(); }
void MMStageControl::OnWindowDeactivate() { mStage->WindowDeactivated(); }

void MMStageControl::OnSetFocus() {
  WinAFSystemControl::OnSetFocus();
  mStage->GainFocus();
}

void MMStageControl::OnKillFocus() {
  mStage->LoseFocus();
  WinAFSystemControl::OnKillFocus();
}

void MMStageControl::StartLeaveTimer() {
  if (!mLeaveTimerActive &&
      SetTimer(GetHandle(), kLeaveTimerId, kLeaveTimerMilliseconds, nullptr) != 0) {
    mLeaveTimerActive = true;
  }
}

// Reports one leave once the pointer is over another window, unless the
// control holds the capture; the next mouse message starts the timer again.
void MMStageControl::CheckMouseLeave() {
  if (GetCapture() == GetHandle()) return;
  HWND owner = mOwnerWindow->GetHandle();
  POINT point{};
  GetCursorPos(&point);
  ScreenToClient(owner, &point);
  if (ChildWindowFromPointEx(owner, point, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED) == GetHandle())
    return;
  mStage->StrategyMouseLeave(MessageClockTime());
  KillTimer(GetHandle(), kLeaveTimerId);
  mLeaveTimerActive = false;
}

bool MMStageControl::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result) {
  switch (message) {
    case WM_TIMER:
      CheckMouseLeave();
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      SetCapture(GetHandle());
      StartLeaveTimer();
      break;
    case WM_MOUSEMOVE:
      StartLeaveTimer();
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (!IsButtonDown(wParam)) ReleaseCapture();
      StartLeaveTimer();
      break;
    case MMWM_REGISTERED_EVENT:
      mStage->StrategyRegisteredEvent(static_cast<int32_t>(wParam), MessageClockTime());
      return true;
    case MMWM_POSTED_MESSAGE:
      mStage->StrategyPostedMessage(wParam, lParam, MessageClockTime());
      return true;
    default:
      break;
  }
  if (mStage->StrategyHandleMessage(window, message, wParam, lParam, result)) return true;
  if (HandleOwnMessage(message, wParam, lParam, result)) return true;
  return WinAFSystemControl::HandleMessage(window, message, wParam, lParam, result);
}

// After AgreeToClose the control no longer exists: nothing touches it.
bool MMStageControl::HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      mStage->OnPaint();
      return true;
    case WM_SETCURSOR:
      SetCursor(mCursorHandle);
      result = 1;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SYSCOMMAND:
      SendNotifyMessageA(mOwnerWindow->GetHandle(), message, wParam, lParam);
      return true;
    case MMWM_CLOSE_STAGE:
      result = mStage->AgreeToClose() ? 1 : 0;
      return true;
    default:
      return false;
  }
}
