// Menus, accelerator tables, and the system's cursors and icons.

#include "platform/win32/CursorFile.h"
#include "platform/win32/WindowManager.h"

#include <algorithm>
#include <atomic>
#include <unordered_map>

namespace vpl::platform {
namespace {

struct MenuItem {
  UINT_PTR id;
  UINT state;
  std::string text;
};

struct AcceleratorTable {
  std::vector<ACCEL> entries;
};

// Menus and tables by handle, guarded by the wait mutex.
std::unordered_map<HMENU, std::vector<MenuItem>>& Menus() {
  static auto* menus = new std::unordered_map<HMENU, std::vector<MenuItem>>;
  return *menus;
}

std::unordered_map<HACCEL, std::unique_ptr<AcceleratorTable>>& AcceleratorTables() {
  static auto* tables = new std::unordered_map<HACCEL, std::unique_ptr<AcceleratorTable>>;
  return *tables;
}

MenuItem* FindItem(HMENU menu, UINT id) {
  auto found = Menus().find(menu);
  if (found == Menus().end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  auto& items = found->second;
  auto item = std::find_if(items.begin(), items.end(),
                           [id](const MenuItem& entry) { return entry.id == id; });
  return item == items.end() ? nullptr : &*item;
}

bool ModifiersMatch(BYTE flags) {
  auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
  return down(VK_SHIFT) == ((flags & FSHIFT) != 0) &&
         down(VK_CONTROL) == ((flags & FCONTROL) != 0) && down(VK_MENU) == ((flags & FALT) != 0);
}

bool Matches(const ACCEL& entry, const MSG& message) {
  if (entry.fVirt & FVIRTKEY) {
    return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
           message.wParam == entry.key && ModifiersMatch(entry.fVirt);
  }
  return (message.message == WM_CHAR || message.message == WM_SYSCHAR) &&
         message.wParam == entry.key;
}

constexpr uintptr_t kFirstSystemCursor = 32512;
constexpr uintptr_t kLastSystemCursor = 32650;

}  // namespace
}  // namespace vpl::platform

using namespace vpl::platform;

HMENU CreateMenu() {
  static std::atomic<uintptr_t> next{0x20000};
  auto menu = reinterpret_cast<HMENU>(next.fetch_add(0x10));
  std::lock_guard lock(WaitMutex());
  Menus()[menu];
  return menu;
}

BOOL DestroyMenu(HMENU menu) {
  std::lock_guard lock(WaitMutex());
  if (Menus().erase(menu) == 0) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  std::lock_guard lock(WaitMutex());
  auto found = Menus().find(menu);
  if (found == Menus().end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  found->second.push_back(
      MenuItem{id, flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED), text ? text : ""});
  return TRUE;
}

HMENU GetMenu(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record ? record->menu : nullptr;
}

BOOL SetMenu(HWND window, HMENU menu) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = WindowOrError(window);
  if (record == nullptr || record->parent != nullptr) return FALSE;
  if (menu != nullptr && !Menus().contains(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  record->menu = menu;
  return TRUE;
}

UINT GetMenuState(HMENU menu, UINT id, UINT) {
  std::lock_guard lock(WaitMutex());
  const MenuItem* item = FindItem(menu, id);
  return item ? item->state : static_cast<UINT>(-1);
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT check) {
  std::lock_guard lock(WaitMutex());
  MenuItem* item = FindItem(menu, id);
  if (item == nullptr) return static_cast<DWORD>(-1);
  const DWORD previous = item->state & MF_CHECKED;
  item->state = (item->state & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT id, UINT enable) {
  std::lock_guard lock(WaitMutex());
  MenuItem* item = FindItem(menu, id);
  if (item == nullptr) return -1;
  const BOOL previous = static_cast<BOOL>(item->state & (MF_GRAYED | MF_DISABLED));
  item->state = (item->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

HACCEL LoadAcceleratorsA(HINSTANCE, LPCSTR) {
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HACCEL CreateAcceleratorTableA(LPACCEL entries, int count) {
  if (entries == nullptr || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto table = std::make_unique<AcceleratorTable>();
  table->entries.assign(entries, entries + count);
  auto handle = reinterpret_cast<HACCEL>(table.get());
  std::lock_guard lock(WaitMutex());
  AcceleratorTables()[handle] = std::move(table);
  return handle;
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  std::lock_guard lock(WaitMutex());
  return AcceleratorTables().erase(table) != 0;
}

int TranslateAcceleratorA(HWND window, HACCEL table, LPMSG message) {
  if (message == nullptr || window == nullptr) return 0;
  std::vector<ACCEL> entries;
  {
    std::lock_guard lock(WaitMutex());
    auto found = AcceleratorTables().find(table);
    if (found == AcceleratorTables().end()) {
      SetLastError(ERROR_INVALID_ACCEL_HANDLE);
      return 0;
    }
    entries = found->second->entries;
  }
  for (const ACCEL& entry : entries) {
    if (Matches(entry, *message)) {
      SendMessageA(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
      return 1;
    }
  }
  return 0;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  if (instance != nullptr && instance == GetModuleHandleA(nullptr) && name != nullptr) {
    if (const HCURSOR cursor = ProgramCursor(name)) return cursor;
  }
  const auto id = reinterpret_cast<uintptr_t>(name);
  if (instance == nullptr && IS_INTRESOURCE(name) && id >= kFirstSystemCursor &&
      id <= kLastSystemCursor) {
    return reinterpret_cast<HCURSOR>(id);
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
  if (instance != nullptr && instance == GetModuleHandleA(nullptr)) {
    if (const HICON icon = ProgramIcon(name)) return icon;
  }
  const auto id = reinterpret_cast<uintptr_t>(name);
  if (instance == nullptr && IS_INTRESOURCE(name) && id >= kFirstSystemCursor &&
      id <= kLastSystemCursor) {
    return reinterpret_cast<HICON>(id);
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}
