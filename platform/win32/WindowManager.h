#pragma once
// Internal to the platform layer: the window table, the window classes and
// the input state of threads. All of it is guarded by the layer's wait mutex
// (like the queues), so that changing a window and waking the thread that
// must repaint it is one step. Window procedures are never called with the
// mutex held.

#include "platform/win32/KernelObject.h"
#include "platform/win32/user.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vpl::platform {

struct WindowPixels;

struct WindowClassRecord {
  std::string name;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCSTR menuName = nullptr;  // as registered: an id, or a text kept in menuText
  std::string menuText;
  bool system = false;  // registered by the layer, found for any instance
};

struct WindowRecord {
  HWND handle = nullptr;
  DWORD threadId = 0;
  std::shared_ptr<const WindowClassRecord> windowClass;
  WNDPROC procedure = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  HINSTANCE instance = nullptr;
  LONG_PTR id = 0;
  LONG_PTR userData = 0;
  std::vector<LONG_PTR> extra;
  std::vector<HWND> children;  // top of the order first
  RECT rect{};                 // in the parent's client coordinates, or the screen's
  std::string text;
  std::vector<std::pair<std::string, HANDLE>> properties;
  RECT update{};  // invalid area in client coordinates; empty when valid
  bool erase = false;
  HMENU menu = nullptr;
  bool destroying = false;
  std::shared_ptr<WindowPixels> pixels;  // top-level windows only
  // Windows of CS_OWNDC classes keep one device context; it is made again
  // when the window's place in the pixels changed.
  HDC ownDC = nullptr;
  POINT ownDCOrigin{};
  RECT ownDCClip{};
};

// Focus, activation and capture shared by threads whose input is attached.
struct InputState {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
};

// The following are called with the wait mutex held.
WindowRecord* FindWindowRecord(HWND window);
// Like FindWindowRecord, but sets ERROR_INVALID_WINDOW_HANDLE when absent.
WindowRecord* WindowOrError(HWND window);
std::vector<HWND>& TopLevelWindows();  // top of the order first
std::shared_ptr<InputState> InputStateOf(DWORD threadId);
// The window's client origin in screen coordinates.
POINT ClientOrigin(const WindowRecord& window);
WindowRecord* TopLevelOf(WindowRecord* window);
// Visible itself and all its ancestors.
bool IsShown(const WindowRecord& window);
// Adds to the window's invalid area (client coordinates; null: all of it)
// and to the children it covers, and wakes the owning threads.
void InvalidateLocked(WindowRecord& window, const RECT* rect, bool erase);
// A thread's WM_PAINT: a shown window of the thread with an invalid area,
// parents before children.
bool TakePaintMessage(DWORD threadId, MSG& message, HWND filterWindow, UINT filterMin,
                      UINT filterMax);
// The deepest shown, enabled window under a point of a top-level client area.
HWND WindowAtPoint(HWND topLevel, POINT clientPoint);
bool IsWindowOfThread(HWND window, DWORD threadId);
// Ends the device contexts a destroyed window kept.
void ReleaseOwnDC(WindowRecord& window);

// Called without the lock: the window procedure of a window (null when gone).
WNDPROC ProcedureOf(HWND window);
DWORD ThreadOf(HWND window);

// Key state and cursor, kept by the desktop's input and read by
// GetAsyncKeyState and GetCursorPos.
void SetKeyDown(int virtualKey, bool down);
// With the lock held: the thread takes an input message, and GetKeyState
// follows it.
void ApplyInputLocked(const MSG& message);
void SetCursorPoint(POINT point);

// Runs an operation on the thread that owns the window, waiting for it.
LRESULT CallOnWindowThread(HWND window, std::function<LRESULT()> call);

// Activation (on the active window's thread): WM_ACTIVATEAPP when the
// application was inactive, WM_ACTIVATE to the old and the new window.
void ActivateWindow(HWND window, WORD how);
// The application loses the desktop's focus.
void DeactivateApplication();

}  // namespace vpl::platform
