// The "STATIC" class: one line of text on the brush its parent answers to
// WM_CTLCOLORSTATIC; without a brush the parent's pixels stay beneath it.

#include "platform/win32/SystemControls.h"
#include "platform/win32/gdi.h"

namespace vpl::platform {
namespace {

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  SetBkMode(dc, OPAQUE);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(window), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(window)));
  if (brush != nullptr) FillRect(dc, &client, brush);
  DrawLine(dc, client, ControlText(window), 0, GetSysColor(COLOR_WINDOWTEXT));
  EndPaint(window, &paint);
}

}  // namespace

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painted with the parent's brush instead
    case WM_SETTEXT:
      InvalidateRect(window, nullptr, TRUE);
      return DefWindowProcA(window, message, wParam, lParam);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace vpl::platform
