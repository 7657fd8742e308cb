#pragma once

#include "foundation/uu/UURect.h"
#include "foundation/win/WinAFSystemControl.h"
#include "platform/win32/user.h"

class MMStage;
class MMStageWindow;

// Between the framework's rectangles and the platform's.
inline UURect MMRectFromWin32(const RECT& rect) {
  return UURect(rect.left, rect.top, rect.right, rect.bottom);
}
inline RECT MMRectToWin32(const UURect& rect) {
  return RECT{rect.mLeft, rect.mTop, rect.mRight, rect.mBottom};
}

// The child control in which the stage draws. Its window is made by the
// stage thread, so all its messages arrive there. It notices the mouse
// leaving with a timer, keeps the capture while a button is down, gives
// every message first to the stage's input strategy, and handles painting,
// the cursor and the close handshake.
class MMStageControl : public WinAFSystemControl {
 public:
  MMStageControl(MMStageWindow* window, const UURect& rect, MMStage* stage);
  ~MMStageControl() override;

  bool AcceptsFocus() override { return true; }
  void OnApplicationActivate() override;
  void OnApplicationDeactivate() override;
  void OnWindowActivate() override;
  void OnWindowDeactivate() override;
  void OnWindowMoved() override {}
  void OnSetFocus() override;
  void OnKillFocus() override;
  bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     LRESULT& result) override;

  bool CreateControlWindow(const UURect& rect);
  // A window that had a 3D driver bound to it is not reused.
  void RecreateWindow();
  // Set at once when the pointer is over the control and no other window
  // holds the capture.
  void SetCursorHandle(HCURSOR cursor);
  // Drops the pending mouse and keyboard messages of the control.
  void FlushInput();

  MMStage* GetStage() const { return mStage; }
  MMStageWindow* GetOwnerWindow() const { return mOwnerWindow; }
  HCURSOR GetCursorHandle() const { return mCursorHandle; }
  bool IsLeaveTimerActive() const { return mLeaveTimerActive; }

  static constexpr UINT_PTR kLeaveTimerId = 1;
  static constexpr UINT kLeaveTimerMilliseconds = 500;

 private:
  void StartLeaveTimer();
  void CheckMouseLeave();
  bool HandleOwnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  MMStage* mStage;
  MMStageWindow* mOwnerWindow;
  bool mLeaveTimerActive = false;
  HCURSOR mCursorHandle;
};
