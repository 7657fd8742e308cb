// The table of the system's control classes and what the controls share.

#include <array>

#include "platform/win32/SystemControls.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {

std::span<const SystemClass> SystemClasses() {
  static constexpr int kStateSlot = sizeof(LONG_PTR);
  static const std::array<SystemClass, 5> kClasses = {{
      {"BUTTON", CS_DBLCLKS, ButtonProc, kStateSlot},
      {"EDIT", CS_DBLCLKS, EditProc, kStateSlot},
      {"STATIC", 0, StaticProc, kStateSlot},
      {"SCROLLBAR", CS_DBLCLKS, ScrollBarProc, kStateSlot},
      {"SysListView32", CS_DBLCLKS, ListViewProc, kStateSlot},
  }};
  return kClasses;
}

void NotifyParentCommand(HWND control, WORD code) {
  const auto id = static_cast<WORD>(GetWindowLongPtrA(control, GWLP_ID));
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, NMHDR& header) {
  header.hwndFrom = control;
  header.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(control, GWLP_ID));
  return SendMessageA(GetParent(control), WM_NOTIFY, header.idFrom,
                      reinterpret_cast<LPARAM>(&header));
}

std::string ControlText(HWND control) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

DWORD ControlStyle(HWND control) { return static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)); }

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF color) {
  FillSolid(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, color);
  FillSolid(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
  FillSolid(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, color);
  FillSolid(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void DrawLine(HDC dc, const RECT& rect, const std::string& text, int align, COLORREF color) {
  SIZE extent{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  int x = rect.left;
  if (align == 1) x = (rect.left + rect.right - extent.cx) / 2;
  if (align == 2) x = rect.right - extent.cx;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  TextOutA(dc, x, (rect.top + rect.bottom - extent.cy) / 2, text.c_str(),
           static_cast<int>(text.size()));
}

}  // namespace vpl::platform
