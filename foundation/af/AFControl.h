#pragma once
// A control object wraps a child window of an AFWindow. It is bound to its
// window through the window's user data and takes the window's messages
// through AFControlProc: the system's control classes by subclassing, the
// framework's own control classes as their class procedure. The owner sends
// control notifications back to the control that raised them.

#include "platform/win32/user.h"

#include <cstdint>

class AFWindow;

class AFControl {
 public:
  explicit AFControl(AFWindow* owner) : mOwner(owner) {}
  // Clears the window's user data, gives the window back its own procedure
  // and destroys it.
  virtual ~AFControl();
  AFControl(const AFControl&) = delete;
  AFControl& operator=(const AFControl&) = delete;

  // Hides the control and takes its owner's focus away from it.
  virtual void Detach();
  // In the owner's client coordinates.
  virtual RECT GetRect() = 0;
  virtual bool IsVisible() = 0;
  virtual bool IsEnabled() = 0;
  virtual bool AcceptsFocus();
  virtual void OnApplicationActivate();
  virtual void OnApplicationDeactivate();
  virtual void OnWindowActivate();
  virtual void OnWindowDeactivate();
  virtual void OnWindowMoved();
  // Invalidates the whole control without erasing.
  virtual void OnPaletteChanged();
  virtual void OnSetFocus();
  virtual void OnKillFocus();
  virtual void SetRect(const RECT& rect);
  virtual void Show(bool shown);
  virtual void Enable(bool enabled);
  // Answers whether the message was handled, and then its result.
  virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);

  // Binds the object to the window through its user data.
  void Attach(HWND window);
  HWND GetHandle() const { return mWindow; }
  AFWindow* GetOwner() const { return mOwner; }
  bool HasFocus() const { return mHasFocus; }
  bool IsDeletedWithOwner() const { return mDeleteWithOwner != 0; }
  void SetDeleteWithOwner(bool deleted) { mDeleteWithOwner = deleted ? 1 : 0; }

  void SetRectIfChanged(const RECT& rect);
  void SetVisibleIfChanged(bool visible);
  void SetEnabledIfChanged(bool enabled);
  // Null invalidates the whole control; nothing is erased.
  void Invalidate(const RECT* rect = nullptr);
  void BringToTop();
  // Puts the other control right after this one in the window order, which
  // is the order of the owner's focus walk.
  void PlaceControlBehind(AFControl* other);

 protected:
  // Makes the control's window as a child of the owner, bound to this
  // object; for a system class the window is subclassed with AFControlProc.
  // When creation or subclassing fails, the window is destroyed and the
  // object stays without one.
  void CreateControlWindow(LPCSTR className, LPCSTR text, DWORD style, const RECT& rect);

  AFWindow* mOwner;
  HWND mWindow = nullptr;
  WNDPROC mPreviousProc = nullptr;
  int32_t mDeleteWithOwner = 1;
  bool mHasFocus = false;

  friend LRESULT AFControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The procedure of every control window.
LRESULT AFControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The object in the window's user data.
AFControl* AFControlFromWindow(HWND window);
