#pragma once
// The framework's top-level window: an object bound to a window through a
// window property, owning its menu, accelerator table, palette and the child
// controls made with the delete-with-owner mark. One window procedure finds
// the object and its message switch turns the messages the framework cares
// about into virtual operations and broadcasts activation, movement and
// palette changes to the children as private messages.

#include "foundation/af/AFPalette.h"
#include "foundation/al/ALCriticalSection.h"
#include "platform/win32/gdi.h"
#include "platform/win32/user.h"

#include <cstdint>

class AFControl;

// A window class, registered on first use.
struct AFWindowClass {
  uint32_t mStyle;
  int16_t mClassExtra;
  int16_t mWindowExtra;
  bool mIconFromModule;  // else the system's icons
  LPCSTR mIconName;
  LPCSTR mSmallIconName;
  bool mCursorFromModule;  // else the system's cursors
  LPCSTR mCursorName;
  HBRUSH mBackground;  // a brush, or a system colour index + 1
  LPCSTR mMenuName;    // names the menu and the accelerator table
  LPCSTR mClassName;
  WNDPROC mWindowProc;

  // True when the class exists for the module or could be registered.
  bool Register() const;
};

// The class and wanted client rectangle (screen coordinates) of a window.
struct AFWindowDescription {
  const AFWindowClass* mWindowClass;
  int32_t mLeft;
  int32_t mTop;
  int32_t mRight;
  int32_t mBottom;
  uint32_t mStyle;
  uint32_t mExStyle;
};

// "AFDefaultWindowClass": double clicks, its own device context, icon and
// menu 425, the arrow cursor and the application-workspace background.
extern const AFWindowClass AFDefaultWindowClass;
// The default class with a 640 x 480 client area at the screen's corner.
extern AFWindowDescription AFDefaultWindowDescription;

// The sizes a window's client area may take.
struct AFSizeLimits {
  int32_t mMinWidth;
  int32_t mMinHeight;
  int32_t mMaxWidth;
  int32_t mMaxHeight;
};

// Window-state messages sent to every child window.
constexpr UINT AFWM_APPLICATION_ACTIVATED = 0x8000;
constexpr UINT AFWM_APPLICATION_DEACTIVATED = 0x8001;
constexpr UINT AFWM_WINDOW_ACTIVATED = 0x8002;
constexpr UINT AFWM_WINDOW_DEACTIVATED = 0x8003;
constexpr UINT AFWM_WINDOW_MOVED = 0x8004;
constexpr UINT AFWM_PALETTE_CHANGED = 0x8005;

class AFWindow {
 public:
  // Creates the window; a class that cannot be registered or a window that
  // cannot be made leaves the object without a window (GetHandle is null).
  explicit AFWindow(const AFWindowDescription& description);
  // Deletes the owned controls and the palette, then destroys the window.
  virtual ~AFWindow();
  AFWindow(const AFWindow&) = delete;
  AFWindow& operator=(const AFWindow&) = delete;

  // Called just before the framework deletes the object.
  virtual void Detach();
  // Asked on WM_CLOSE: true lets the window close and be deleted.
  virtual bool CanClose();
  virtual void OnInitMenu();
  // A menu or accelerator command; answers whether it was handled.
  virtual bool OnCommand(uint16_t id);
  // The next control (in window order, wrapping) that accepts the focus.
  virtual AFControl* NextFocusControl(AFControl* from, bool forward);
  virtual void OnApplicationActivate();
  virtual void OnApplicationDeactivate();
  // Broadcasts, then gives the focus back to the saved control.
  virtual void OnActivate();
  // Saves the focused control, then broadcasts.
  virtual void OnDeactivate();
  virtual void OnMoveOrSize();
  virtual void OnPaletteChanged();
  virtual AFSizeLimits GetSizeLimits();
  virtual void Show(bool shown);
  // The message switch: answers whether the message was handled, and then
  // the result the window procedure returns.
  virtual bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result);

  HWND GetHandle() const { return mWindow; }
  HACCEL GetAccelerators() const { return mAccelerators; }
  const AFPalette& GetPalette() const { return mPalette; }
  HPALETTE GetPaletteHandle() const { return mPaletteHandle; }

  // The client area in screen coordinates.
  void SetScreenRect(const RECT& rect);
  RECT GetScreenRect() const;
  RECT GetClientRect() const;
  void Invalidate(const RECT* rect);
  void Validate(const RECT* rect);
  void Update();

  void SetVisibleIfChanged(bool visible);
  bool IsVisible() const;
  bool IsActive() const;
  void BringToFront();
  void SetTopMost(bool topMost);
  bool IsTopMost() const;
  void SetTitle(const char* title);
  // Into a buffer of 256 characters.
  void GetTitle(char* buffer) const;

  void ShowMenu(bool shown);
  bool HasMenu() const { return mMenu != nullptr; }
  bool IsMenuShown() const { return mMenu != nullptr && !mMenuHidden; }
  bool MenuItemExists(UINT id) const;
  bool IsMenuItemChecked(UINT id) const;
  void CheckMenuItem(UINT id, bool checked);
  void EnableMenuItem(UINT id, bool enabled);

  // The control of the focused window when this window is its parent.
  AFControl* GetFocusControl() const;
  void SetFocusControl(AFControl* control);

  // Realises the palette in the window; the previous one stays in use when
  // the new one cannot be made.
  void SetPalette(const AFPalette& palette);

 protected:
  HWND mWindow = nullptr;
  HPALETTE mPaletteHandle = nullptr;
  HMENU mMenu = nullptr;
  HACCEL mAccelerators = nullptr;
  bool mMenuHidden = false;
  ALCriticalSection mPaletteLock;
  AFControl* mSavedFocusControl = nullptr;
  AFPalette mPalette;

 private:
  void Broadcast(UINT message);
  void ClampMinMaxInfo(MINMAXINFO& info);
  void RealizeOwnPalette(HWND window);
  void Close();
  void DeleteOwnedControls();
  bool IsOwnControl(HWND window) const;
};

// The window procedure of every framework window class.
LRESULT AFWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The window's bound object; null when it has none.
AFWindow* AFWindowGetObject(HWND window);

// A modal dialog from the program's dialog templates.
class AFMovableModalDialog {
 public:
  explicit AFMovableModalDialog(uint16_t templateId) : mTemplateId(templateId) {}
  virtual ~AFMovableModalDialog() = default;

  // Owned by the application's active window while dialogs use it.
  INT_PTR RunModal();
  INT_PTR RunModal(HWND owner);
  // Base: ends the dialog with 0 on IDCANCEL.
  virtual INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  uint16_t mTemplateId;
};

// An animated cursor of the module, else the module's cursor or the file
// "CUR<id>.ANI".
HCURSOR AFLoadCursor(uint16_t id);
