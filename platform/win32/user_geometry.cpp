// Window state and geometry: showing, enabling, moving, sizing, ordering and
// mapping coordinates; rectangle helpers and system metrics.

#include "platform/win32/Desktop.h"
#include "platform/win32/WindowManager.h"
#include "platform/win32/WindowPixels.h"

#include <algorithm>

namespace vpl::platform {
namespace {

LPARAM PackPoint(LONG x, LONG y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

// Shows or hides on the owning thread; answers whether it was visible.
BOOL ShowOnOwnThread(HWND window, int command) {
  bool wasVisible = false;
  bool topLevel = false;
  bool minimised = false;
  bool restored = false;
  SIZE size{};
  const bool show = command != SW_HIDE;
  {
    std::lock_guard lock(WaitMutex());
    WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return FALSE;
    wasVisible = (record->style & WS_VISIBLE) != 0;
    topLevel = record->parent == nullptr;
    minimised = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED;
    size = SIZE{record->rect.right - record->rect.left, record->rect.bottom - record->rect.top};
    restored = show && !minimised && (record->style & WS_MINIMIZE);
    if (minimised) {
      record->style |= WS_MINIMIZE;
    } else if (show) {
      record->style &= ~WS_MINIMIZE;
    }
    if (show == wasVisible && !minimised && !restored) return wasVisible;
    if (show) {
      record->style |= WS_VISIBLE;
      InvalidateLocked(*record, nullptr, true);
    } else {
      record->style &= ~WS_VISIBLE;
      if (WindowRecord* parent = FindWindowRecord(record->parent)) {
        InvalidateLocked(*parent, &record->rect, true);
      }
      if (auto state = InputStateOf(record->threadId); state && state->active == window) {
        state->active = nullptr;
      }
    }
  }
  if (show != wasVisible) SendMessageA(window, WM_SHOWWINDOW, show, 0);
  if (restored) SendMessageA(window, WM_SIZE, SIZE_RESTORED, PackPoint(size.cx, size.cy));
  if (minimised) {
    SendMessageA(window, WM_SIZE, SIZE_MINIMIZED, 0);
  } else if (topLevel && show && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) {
    ActivateWindow(window, WA_ACTIVE);
  }
  NotifyWaiters();
  return wasVisible;
}

void Reorder(WindowRecord& record, HWND insertAfter, std::vector<HWND>& siblings) {
  std::erase(siblings, record.handle);
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    siblings.insert(siblings.begin(), record.handle);
  } else if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(record.handle);
  } else {
    auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(after == siblings.end() ? after : after + 1, record.handle);
  }
  if (insertAfter == HWND_TOPMOST) record.exStyle |= WS_EX_TOPMOST;
  if (insertAfter == HWND_NOTOPMOST) record.exStyle &= ~WS_EX_TOPMOST;
}

struct PositionChange {
  bool moved = false;
  bool sized = false;
  RECT rect{};
};

PositionChange ApplyPosition(WindowRecord& record, HWND insertAfter, int x, int y, int width,
                             int height, UINT flags) {
  PositionChange change;
  RECT rect = record.rect;
  if (!(flags & SWP_NOMOVE)) {
    OffsetRect(&rect, x - rect.left, y - rect.top);
  }
  if (!(flags & SWP_NOSIZE)) {
    rect.right = SaturatedEnd(rect.left, width);
    rect.bottom = SaturatedEnd(rect.top, height);
  }
  change.moved = rect.left != record.rect.left || rect.top != record.rect.top;
  change.sized = (rect.right - rect.left) != (record.rect.right - record.rect.left) ||
                 (rect.bottom - rect.top) != (record.rect.bottom - record.rect.top);
  change.rect = rect;
  WindowRecord* parent = FindWindowRecord(record.parent);
  if ((change.moved || change.sized) && parent) InvalidateLocked(*parent, &record.rect, true);
  record.rect = rect;
  if (change.sized && record.pixels) {
    std::lock_guard pixelLock(record.pixels->mutex);
    record.pixels->Resize(rect.right - rect.left, rect.bottom - rect.top);
  }
  if (!(flags & SWP_NOZORDER)) {
    std::vector<HWND>& siblings = parent ? parent->children : TopLevelWindows();
    Reorder(record, insertAfter, siblings);
  }
  if (change.moved || change.sized || !(flags & SWP_NOZORDER)) {
    InvalidateLocked(record, nullptr, true);
  }
  return change;
}

BOOL PositionOnOwnThread(HWND window, HWND insertAfter, int x, int y, int width, int height,
                         UINT flags) {
  PositionChange change;
  {
    std::lock_guard lock(WaitMutex());
    WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return FALSE;
    change = ApplyPosition(*record, insertAfter, x, y, width, height, flags);
  }
  NotifyWaiters();
  if (change.sized) {
    SendMessageA(
        window, WM_SIZE, SIZE_RESTORED,
        PackPoint(change.rect.right - change.rect.left, change.rect.bottom - change.rect.top));
  }
  if (change.moved) SendMessageA(window, WM_MOVE, 0, PackPoint(change.rect.left, change.rect.top));
  if (flags & SWP_SHOWWINDOW) {
    ShowOnOwnThread(window, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  }
  if (flags & SWP_HIDEWINDOW) ShowOnOwnThread(window, SW_HIDE);
  return TRUE;
}

HWND DeepestAt(const WindowRecord& window, POINT point) {
  for (HWND child : window.children) {
    const WindowRecord* record = FindWindowRecord(child);
    if (record == nullptr || !(record->style & WS_VISIBLE) || (record->style & WS_DISABLED) ||
        !PtInRect(&record->rect, point)) {
      continue;
    }
    return DeepestAt(*record, POINT{point.x - record->rect.left, point.y - record->rect.top});
  }
  return window.handle;
}

}  // namespace

HWND WindowAtPoint(HWND topLevel, POINT clientPoint) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(topLevel);
  return record ? DeepestAt(*record, clientPoint) : nullptr;
}

POINT ClientOrigin(const WindowRecord& window) {
  POINT origin{window.rect.left, window.rect.top};
  if (const WindowRecord* parent = FindWindowRecord(window.parent)) {
    const POINT parentOrigin = ClientOrigin(*parent);
    origin.x += parentOrigin.x;
    origin.y += parentOrigin.y;
  }
  return origin;
}

bool IsShown(const WindowRecord& window) {
  for (const WindowRecord* record = &window; record != nullptr;
       record = FindWindowRecord(record->parent)) {
    if (!(record->style & WS_VISIBLE) || record->destroying) return false;
  }
  return true;
}

}  // namespace vpl::platform

using namespace vpl::platform;

BOOL ShowWindow(HWND window, int command) {
  return static_cast<BOOL>(
      CallOnWindowThread(window, [=] { return LRESULT{ShowOnOwnThread(window, command)}; }));
}

BOOL IsWindowVisible(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record != nullptr && IsShown(*record);
}

BOOL IsIconic(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record != nullptr && (record->style & WS_MINIMIZE) != 0;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  bool wasDisabled = false;
  {
    std::lock_guard lock(WaitMutex());
    WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return FALSE;
    wasDisabled = (record->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled;
    record->style = enable ? (record->style & ~WS_DISABLED) : (record->style | WS_DISABLED);
    InvalidateLocked(*record, nullptr, true);
    if (auto state = InputStateOf(record->threadId); state && !enable && state->focus == window) {
      state->focus = nullptr;
    }
  }
  NotifyWaiters();
  SendMessageA(window, WM_ENABLE, static_cast<WPARAM>(enable), 0);

  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record != nullptr && !(record->style & WS_DISABLED);
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  return static_cast<BOOL>(CallOnWindowThread(window, [=] {
    return LRESULT{PositionOnOwnThread(window, insertAfter, x, y, width, height, flags)};
  }));
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL BringWindowToTop(HWND window) {
  return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = WindowOrError(window);
  if (record == nullptr || rect == nullptr) return FALSE;
  const POINT origin = ClientOrigin(*record);
  *rect = RECT{origin.x, origin.y, origin.x + (record->rect.right - record->rect.left),
               origin.y + (record->rect.bottom - record->rect.top)};
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = WindowOrError(window);
  if (record == nullptr || rect == nullptr) return FALSE;
  *rect =
      RECT{0, 0, record->rect.right - record->rect.left, record->rect.bottom - record->rect.top};
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT offset{0, 0};
  {
    std::lock_guard lock(WaitMutex());
    for (auto [window, sign] : {std::pair{from, 1}, std::pair{to, -1}}) {
      if (window == nullptr) continue;
      const WindowRecord* record = WindowOrError(window);
      if (record == nullptr) return 0;
      const POINT origin = ClientOrigin(*record);
      offset.x += sign * origin.x;
      offset.y += sign * origin.y;
    }
  }
  for (UINT i = 0; points != nullptr && i < count; ++i) {
    points[i].x += offset.x;
    points[i].y += offset.y;
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<int>(MAKELONG(static_cast<WORD>(offset.x), static_cast<WORD>(offset.y)));
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  if (point == nullptr || !IsWindow(window)) return FALSE;
  MapWindowPoints(nullptr, window, point, 1);
  return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
  if (point == nullptr || !IsWindow(window)) return FALSE;
  MapWindowPoints(window, nullptr, point, 1);
  return TRUE;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD, BOOL, DWORD) { return rect != nullptr; }

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (rect == nullptr) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL IsRectEmpty(const RECT* rect) {
  return rect == nullptr || rect->left >= rect->right || rect->top >= rect->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  return rect != nullptr && point.x >= rect->left && point.x < rect->right &&
         point.y >= rect->top && point.y < rect->bottom;
}

BOOL IntersectRect(LPRECT destination, const RECT* a, const RECT* b) {
  if (destination == nullptr || a == nullptr || b == nullptr) return FALSE;
  RECT result{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
              std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&result)) result = RECT{0, 0, 0, 0};
  *destination = result;
  return !IsRectEmpty(&result);
}

BOOL UnionRect(LPRECT destination, const RECT* a, const RECT* b) {
  if (destination == nullptr || a == nullptr || b == nullptr) return FALSE;
  if (IsRectEmpty(a)) {
    *destination = IsRectEmpty(b) ? RECT{0, 0, 0, 0} : *b;
  } else if (IsRectEmpty(b)) {
    *destination = *a;
  } else {
    *destination = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                        std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
  }
  return !IsRectEmpty(destination);
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (rect == nullptr) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a != nullptr && b != nullptr && a->left == b->left && a->top == b->top &&
         a->right == b->right && a->bottom == b->bottom;
}

int GetSystemMetrics(int index) {
  constexpr int kScrollBarSize = 16;
  constexpr int kDoubleClickDistance = 4;
  switch (index) {
    case SM_CXSCREEN:
      return DesktopSize().cx;
    case SM_CYSCREEN:
      return DesktopSize().cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
      return kScrollBarSize;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return kDoubleClickDistance;
    case SM_MOUSEPRESENT:
      return 1;
    default:
      return 0;
  }
}
