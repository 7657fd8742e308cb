// Finding the child under a point, and minimising and restoring windows.

#include "platform/win32/MessageQueue.h"
#include "platform/win32/WindowManager.h"

using namespace vpl::platform;

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = WindowOrError(parent);
  if (record == nullptr) return nullptr;
  const LONG width = record->rect.right - record->rect.left;
  const LONG height = record->rect.bottom - record->rect.top;
  if (point.x < 0 || point.y < 0 || point.x >= width || point.y >= height) return nullptr;
  for (HWND handle : record->children) {
    const WindowRecord* child = FindWindowRecord(handle);
    if (child == nullptr || child->destroying) continue;
    if ((flags & CWP_SKIPINVISIBLE) != 0 && (child->style & WS_VISIBLE) == 0) continue;
    if ((flags & CWP_SKIPDISABLED) != 0 && (child->style & WS_DISABLED) != 0) continue;
    if (PtInRect(&child->rect, point)) return handle;
  }
  return parent;
}

BOOL CloseWindow(HWND window) {
  if (!IsWindow(window)) return FALSE;
  ShowWindow(window, SW_MINIMIZE);
  return TRUE;
}

BOOL OpenIcon(HWND window) {
  if (!IsWindow(window)) return FALSE;
  ShowWindow(window, SW_RESTORE);
  return TRUE;
}
