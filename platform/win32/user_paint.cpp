// Invalid areas, WM_PAINT, and device contexts onto a window's pixels.

#include "platform/win32/Desktop.h"
#include "platform/win32/GdiTarget.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/WindowManager.h"
#include "platform/win32/WindowPixels.h"

#include <algorithm>
#include <new>

namespace vpl::platform {
namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

RECT ClientRectOf(const WindowRecord& window) {
  return RECT{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
}

bool FindPaint(const WindowRecord& window, DWORD threadId, MSG& message) {
  if (!IsShown(window)) return false;
  if (window.threadId == threadId && !IsRectEmpty(&window.update)) {
    message = MakeMessage(window.handle, WM_PAINT, 0, 0);
    return true;
  }
  for (HWND child : window.children) {
    const WindowRecord* record = FindWindowRecord(child);
    if (record && FindPaint(*record, threadId, message)) return true;
  }
  return false;
}

bool DrawTargetLocked(const WindowRecord& window, WindowDrawTarget& target) {
  const WindowRecord* top = TopLevelOf(const_cast<WindowRecord*>(&window));
  if (top == nullptr || !top->pixels) return false;
  const POINT topOrigin = ClientOrigin(*top);
  const POINT origin = ClientOrigin(window);
  target.pixels = top->pixels;
  target.origin = POINT{origin.x - topOrigin.x, origin.y - topOrigin.y};
  RECT clip = ClientRectOf(window);
  OffsetRect(&clip, target.origin.x, target.origin.y);
  for (const WindowRecord* ancestor = FindWindowRecord(window.parent); ancestor != nullptr;
       ancestor = FindWindowRecord(ancestor->parent)) {
    RECT ancestorRect = ClientRectOf(*ancestor);
    const POINT ancestorOrigin = ClientOrigin(*ancestor);
    OffsetRect(&ancestorRect, ancestorOrigin.x - topOrigin.x, ancestorOrigin.y - topOrigin.y);
    IntersectRect(&clip, &clip, &ancestorRect);
  }
  target.clip = clip;
  return true;
}

bool IsOwnDCClass(const WindowRecord& window) {
  return (window.windowClass->style & CS_OWNDC) != 0;
}

// A window's device context does not leave its children out, so what the
// window painted may cover them: the shown ones paint again afterwards and
// end on top, as the platform shows them, whichever thread painted first.
void RepaintChildrenUnder(HWND window, const RECT& painted) {
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    for (HWND child : record->children) {
      WindowRecord* childRecord = FindWindowRecord(child);
      if (childRecord == nullptr || !IsShown(*childRecord)) continue;
      RECT area = painted;
      OffsetRect(&area, -childRecord->rect.left, -childRecord->rect.top);
      InvalidateLocked(*childRecord, &area, false);
    }
  }
  NotifyWaiters();
}

}  // namespace

bool WindowPixels::Resize(int32_t newWidth, int32_t newHeight) {
  newWidth = std::clamp(newWidth, 0, kMaxExtent);
  newHeight = std::clamp(newHeight, 0, kMaxExtent);
  std::vector<uint32_t> resized;
  try {
    resized.assign(static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight), kWhite);

  } catch (const std::bad_alloc&) {
    return false;
  }
  const int32_t keptWidth = std::min(width, newWidth);
  for (int32_t y = 0; y < std::min(height, newHeight); ++y) {
    std::copy_n(pixels.begin() + static_cast<ptrdiff_t>(y) * width, keptWidth,
                resized.begin() + static_cast<ptrdiff_t>(y) * newWidth);
  }
  pixels = std::move(resized);
  width = newWidth;
  height = newHeight;
  changed = true;
  return true;
}

bool GetWindowDrawTarget(HWND window, WindowDrawTarget& target) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record != nullptr && DrawTargetLocked(*record, target);
}

void MarkWindowPixelsChanged(WindowPixels& pixels) {
  std::lock_guard pixelLock(pixels.mutex);
  pixels.changed = true;
}

void InvalidateLocked(WindowRecord& window, const RECT* rect, bool erase) {
  RECT area = ClientRectOf(window);
  if (rect != nullptr) IntersectRect(&area, &area, rect);
  if (IsRectEmpty(&area)) return;
  UnionRect(&window.update, &window.update, &area);
  window.erase = window.erase || erase;
  for (HWND child : window.children) {
    WindowRecord* record = FindWindowRecord(child);
    if (record == nullptr) continue;
    RECT childArea = area;
    OffsetRect(&childArea, -record->rect.left, -record->rect.top);
    InvalidateLocked(*record, &childArea, erase);
  }
  if (auto queue = QueueOfThread(window.threadId)) queue->MarkNew();
}

bool TakePaintMessage(DWORD threadId, MSG& message, HWND filterWindow, UINT filterMin,
                      UINT filterMax) {
  if ((filterMin != 0 || filterMax != 0) && (WM_PAINT < filterMin || WM_PAINT > filterMax)) {
    return false;
  }
  if (filterWindow != nullptr) {
    const WindowRecord* record = FindWindowRecord(filterWindow);
    return record && record->threadId == threadId && IsShown(*record) &&
           !IsRectEmpty(&record->update) &&
           (message = MakeMessage(filterWindow, WM_PAINT, 0, 0), true);
  }
  for (HWND top : TopLevelWindows()) {
    const WindowRecord* record = FindWindowRecord(top);
    if (record && FindPaint(*record, threadId, message)) return true;
  }
  return false;
}

void ReleaseOwnDC(WindowRecord& window) {
  if (window.ownDC == nullptr) return;
  DeleteWindowDC(window.ownDC);
  window.ownDC = nullptr;
}

}  // namespace vpl::platform

using namespace vpl::platform;

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  {
    std::lock_guard lock(WaitMutex());
    WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return FALSE;
    InvalidateLocked(*record, rect, erase != FALSE);
  }
  NotifyWaiters();
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = WindowOrError(window);
  if (record == nullptr) return FALSE;
  // One rectangle stands for the invalid area: it goes when the validated
  // rectangle covers it.
  RECT covered{};
  if (rect == nullptr ||
      (UnionRect(&covered, rect, &record->update) && EqualRect(&covered, rect))) {
    record->update = RECT{0, 0, 0, 0};
    record->erase = false;
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  if (record == nullptr) return FALSE;
  if (rect != nullptr) *rect = record->update;
  return !IsRectEmpty(&record->update);
}

BOOL UpdateWindow(HWND window) {
  bool due = false;
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return FALSE;
    due = IsShown(*record) && !IsRectEmpty(&record->update);
  }
  if (due) SendMessageA(window, WM_PAINT, 0, 0);
  return TRUE;
}

HDC GetDC(HWND window) {
  if (window == nullptr) return CreateScreenDC();
  WindowDrawTarget target;
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = WindowOrError(window);
  if (record == nullptr || !DrawTargetLocked(*record, target)) return nullptr;
  if (!IsOwnDCClass(*record)) return CreateWindowDC(target);
  if (record->ownDC != nullptr && record->ownDCOrigin.x == target.origin.x &&
      record->ownDCOrigin.y == target.origin.y && EqualRect(&record->ownDCClip, &target.clip)) {
    return record->ownDC;
  }
  ReleaseOwnDC(*record);
  record->ownDC = CreateWindowDC(target);
  record->ownDCOrigin = target.origin;
  record->ownDCClip = target.clip;
  return record->ownDC;
}

int ReleaseDC(HWND window, HDC dc) {
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = FindWindowRecord(window);
    if (record != nullptr && record->ownDC == dc) return 1;
  }
  return DeleteWindowDC(dc) ? 1 : 0;
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  if (paint == nullptr) return nullptr;
  *paint = PAINTSTRUCT{};
  {
    std::lock_guard lock(WaitMutex());
    WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return nullptr;
    paint->rcPaint = IsRectEmpty(&record->update) ? ClientRectOf(*record) : record->update;
    paint->fErase = record->erase;
    record->update = RECT{0, 0, 0, 0};
    record->erase = false;
  }
  paint->hdc = GetDC(window);
  if (paint->fErase && paint->hdc != nullptr) {
    paint->fErase =
        SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  }
  return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (paint == nullptr || paint->hdc == nullptr) return FALSE;
  ReleaseDC(window, paint->hdc);
  RepaintChildrenUnder(window, paint->rcPaint);
  WindowDrawTarget target;
  if (GetWindowDrawTarget(window, target)) MarkWindowPixelsChanged(*target.pixels);
  return TRUE;
}
