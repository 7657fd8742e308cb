// The default window procedure and the system colours it paints with.

#include "platform/win32/WindowManager.h"
#include "platform/win32/gdi.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vpl::platform {
namespace {

constexpr int kSystemColorCount = 31;

// The largest value a class background can have when it names a system
// colour (index + 1) instead of a brush.
constexpr uintptr_t kLastColorBackground = kSystemColorCount;

LRESULT CopyText(HWND window, WPARAM size, LPARAM buffer) {
  auto* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || size == 0) return 0;
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  const std::string text = record ? record->text : std::string();
  const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
  return static_cast<LRESULT>(length);
}

LRESULT StoreText(HWND window, LPARAM text) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = FindWindowRecord(window);
  if (record == nullptr) return FALSE;
  record->text = text ? reinterpret_cast<const char*>(text) : "";
  return TRUE;
}

LRESULT TextLength(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record ? static_cast<LRESULT>(record->text.size()) : 0;
}

HBRUSH ClassBackground(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  if (record == nullptr) return nullptr;
  HBRUSH background = record->windowClass->background;
  const auto value = reinterpret_cast<uintptr_t>(background);
  if (value != 0 && value <= kLastColorBackground) {
    return GetSysColorBrush(static_cast<int>(value - 1));
  }
  return background;
}

LRESULT EraseBackground(HWND window, HDC dc) {
  HBRUSH background = ClassBackground(window);
  if (background == nullptr) return 0;
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, background);
  return 1;
}

LRESULT HandleSystemCommand(HWND window, WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_CLOSE:
      SendMessageA(window, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
      ShowWindow(window, SW_MINIMIZE);
      break;
    case SC_RESTORE:
      ShowWindow(window, SW_RESTORE);
      break;
    default:
      break;
  }
  return 0;
}

// An activated window takes the focus unless it or one of its children has it.
void FocusOnActivate(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE || HIWORD(wParam) != 0) return;
  HWND focus = GetFocus();
  if (focus != window && !IsChild(window, focus)) SetFocus(window);
}

}  // namespace
}  // namespace vpl::platform

using namespace vpl::platform;

DWORD GetSysColor(int index) {
  // Windows-1252-era light grey scheme, as COLORREF (0x00BBGGRR).
  static constexpr std::array<DWORD, kSystemColorCount> kColors = {
      0xC8D0D4, 0x808000, 0x800000, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
      0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
      0xE1FFFF, 0x000000, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4};
  return (index >= 0 && index < kSystemColorCount) ? kColors[static_cast<size_t>(index)] : 0;
}

HBRUSH GetSysColorBrush(int index) {
  static std::array<HBRUSH, kSystemColorCount> brushes{};
  static std::mutex mutex;
  if (index < 0 || index >= kSystemColorCount) return nullptr;
  std::lock_guard lock(mutex);
  HBRUSH& brush = brushes[static_cast<size_t>(index)];
  if (brush == nullptr) brush = CreateSolidBrush(GetSysColor(index));
  return brush;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      return TRUE;
    case WM_SETTEXT:
      return StoreText(window, lParam);
    case WM_GETTEXT:
      return CopyText(window, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return TextLength(window);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return EraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_SYSCOMMAND:
      return HandleSystemCommand(window, wParam);
    case WM_ACTIVATE:
      FocusOnActivate(window, wParam);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    default:
      return 0;
  }
}
