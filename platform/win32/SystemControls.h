#pragma once
// Internal to the platform layer: the system's control classes, found by
// every thread without registering them.

#include "platform/win32/user.h"

#include <span>
#include <string>

namespace vpl::platform {

struct SystemClass {
  const char* name;
  UINT style;
  WNDPROC procedure;
  int windowExtra;
};

// The classes every thread finds without registering them.
std::span<const SystemClass> SystemClasses();

// The procedures of the system's control classes.
LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A control keeps its state behind the first pointer of its window extra
// bytes, made at WM_NCCREATE and freed at WM_NCDESTROY.
template <typename State>
State* ControlState(HWND window, UINT message) {
  auto* state = reinterpret_cast<State*>(GetWindowLongPtrA(window, 0));
  if (message == WM_NCCREATE && state == nullptr) {
    state = new State();
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(state));
  }
  return state;
}
template <typename State>
void FreeControlState(HWND window) {
  delete reinterpret_cast<State*>(SetWindowLongPtrA(window, 0, 0));
}

// WM_COMMAND with the control's id and the code, sent to its parent.
void NotifyParentCommand(HWND control, WORD code);
// WM_NOTIFY to the parent; the header's sender fields are filled in.
LRESULT NotifyParent(HWND control, NMHDR& header);
std::string ControlText(HWND control);
DWORD ControlStyle(HWND control);

// Plain drawing in the system colours.
void FillSolid(HDC dc, const RECT& rect, COLORREF color);
void FrameSolid(HDC dc, const RECT& rect, COLORREF color);
// One line of text in the rectangle, vertically centred; align is 0 left,
// 1 centre, 2 right.
void DrawLine(HDC dc, const RECT& rect, const std::string& text, int align, COLORREF color);

}  // namespace vpl::platform
