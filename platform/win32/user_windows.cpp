// Window classes, the window table, creation and destruction, window long
// values, properties, texts and the window order.

#include "platform/win32/Desktop.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/SystemControls.h"
#include "platform/win32/WindowManager.h"
#include "platform/win32/WindowPixels.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <map>
#include <type_traits>
#include <unordered_map>
#include <utility>

namespace vpl::platform {
namespace {

std::string Lowered(const char* text) {
  std::string lowered = text ? text : "";
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

using ClassTable = std::map<std::string, std::shared_ptr<const WindowClassRecord>>;

// The classes the program registered, by lower-cased name; guarded by the
// wait mutex. While registered, such a class hides a system class of the
// same name.
ClassTable& Classes() {
  static auto* classes = new ClassTable;
  return *classes;
}

// The layer's own classes, by lower-cased name; never changed.
const ClassTable& SystemClassTable() {
  static const auto* classes = [] {
    auto* table = new ClassTable;
    for (const SystemClass& system : SystemClasses()) {
      auto record = std::make_shared<WindowClassRecord>();
      record->name = system.name;
      record->style = system.style;
      record->procedure = system.procedure;
      record->windowExtra = system.windowExtra;
      record->system = true;
      (*table)[Lowered(system.name)] = std::move(record);
    }
    return table;
  }();
  return *classes;
}

std::unordered_map<HWND, std::unique_ptr<WindowRecord>>& Windows() {
  static auto* windows = new std::unordered_map<HWND, std::unique_ptr<WindowRecord>>;
  return *windows;
}

HWND NewHandle() {
  static std::atomic<uintptr_t> next{0x10000};
  return reinterpret_cast<HWND>(next.fetch_add(0x10));
}

// The class text of a class name given as a text or an atom.
std::string ClassKey(LPCSTR name) {
  if (!IS_INTRESOURCE(name)) return Lowered(name);
  char text[256] = {};
  GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<uintptr_t>(name)), text, sizeof text);
  return Lowered(text);
}

std::shared_ptr<const WindowClassRecord> FindClassLocked(LPCSTR name) {
  if (name == nullptr) return nullptr;
  const std::string key = ClassKey(name);
  for (const ClassTable* table : {&std::as_const(Classes()), &SystemClassTable()}) {
    auto found = table->find(key);
    if (found != table->end()) return found->second;
  }
  return nullptr;
}

// The property key of a name given as a text or an atom.
std::string PropertyKey(LPCSTR name) { return ClassKey(name); }

ATOM RegisterRecord(std::shared_ptr<WindowClassRecord> record) {
  if (record->procedure == nullptr || record->name.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(WaitMutex());
  auto& slot = Classes()[Lowered(record->name.c_str())];
  if (slot) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  slot = std::move(record);
  return GlobalAddAtomA(slot->name.c_str());
}

template <typename ClassInfo>
std::shared_ptr<WindowClassRecord> RecordOf(const ClassInfo& info) {
  auto record = std::make_shared<WindowClassRecord>();
  record->name = IS_INTRESOURCE(info.lpszClassName) ? "" : info.lpszClassName;
  record->style = info.style;
  record->procedure = info.lpfnWndProc;
  record->classExtra = info.cbClsExtra;
  record->windowExtra = info.cbWndExtra;
  record->instance = info.hInstance;
  record->icon = info.hIcon;
  record->cursor = info.hCursor;
  record->background = info.hbrBackground;
  if (info.lpszMenuName != nullptr && !IS_INTRESOURCE(info.lpszMenuName)) {
    record->menuText = info.lpszMenuName;
  }
  record->menuName = info.lpszMenuName;
  return record;
}

template <typename ClassInfo>
void FillInfo(const WindowClassRecord& record, ClassInfo& info) {
  info.style = record.style;
  info.lpfnWndProc = record.procedure;
  info.cbClsExtra = record.classExtra;
  info.cbWndExtra = record.windowExtra;
  info.hInstance = record.instance;
  info.hIcon = record.icon;
  info.hCursor = record.cursor;
  info.hbrBackground = record.background;
  info.lpszMenuName = record.menuText.empty() ? record.menuName : record.menuText.c_str();
  info.lpszClassName = record.name.c_str();
}

void AppendDescendants(const WindowRecord& window, std::vector<HWND>& out) {
  for (HWND child : window.children) {
    out.push_back(child);
    if (const WindowRecord* record = FindWindowRecord(child)) AppendDescendants(*record, out);
  }
}

std::vector<HWND>& SiblingsOf(WindowRecord& window) {
  if (WindowRecord* parent = FindWindowRecord(window.parent)) return parent->children;
  return TopLevelWindows();
}

// The window's record leaves the table; references to it are dropped.
void RemoveRecord(HWND handle) {
  std::unique_lock lock(WaitMutex());
  WindowRecord* window = FindWindowRecord(handle);
  if (window == nullptr) return;
  std::erase(SiblingsOf(*window), handle);
  if (WindowRecord* parent = FindWindowRecord(window->parent)) {
    InvalidateLocked(*parent, &window->rect, true);
  }
  if (auto state = InputStateOf(window->threadId)) {
    if (state->focus == handle) state->focus = nullptr;
    if (state->active == handle) state->active = nullptr;
    if (state->capture == handle) state->capture = nullptr;
  }
  if (auto queue = QueueOfThread(window->threadId)) queue->ForgetWindow(handle);
  ReleaseOwnDC(*window);
  Windows().erase(handle);
}

// WM_DESTROY goes down the tree before the children go, WM_NCDESTROY up.
void DestroyTree(HWND handle) {
  std::vector<HWND> children;
  {
    std::lock_guard lock(WaitMutex());
    WindowRecord* window = FindWindowRecord(handle);
    if (window == nullptr) return;
    window->destroying = true;
    window->style &= ~WS_VISIBLE;
    children = window->children;
  }
  SendMessageA(handle, WM_DESTROY, 0, 0);
  for (HWND child : children) {
    CallOnWindowThread(child, [child] {
      DestroyTree(child);
      return LRESULT{1};
    });
  }
  SendMessageA(handle, WM_NCDESTROY, 0, 0);
  RemoveRecord(handle);
}

RECT InitialRect(DWORD style, int x, int y, int width, int height) {
  if (x == CW_USEDEFAULT) {
    x = (style & WS_CHILD) ? 0 : 100;
    y = (style & WS_CHILD) ? 0 : 100;
  }
  if (width == CW_USEDEFAULT) {
    width = 640;
    height = 480;
  }
  return RECT{x, y, SaturatedEnd(x, width), SaturatedEnd(y, height)};
}

// The record of a new window, in the table and the window order.
HWND AddRecord(std::shared_ptr<const WindowClassRecord> windowClass, DWORD exStyle,
               LPCSTR windowName, DWORD style, RECT rect, HWND parent, HMENU menu,
               HINSTANCE instance) {
  auto window = std::make_unique<WindowRecord>();
  window->handle = NewHandle();
  window->threadId = GetCurrentThreadId();
  window->procedure = windowClass->procedure;
  window->extra.assign(
      (static_cast<size_t>(std::max(windowClass->windowExtra, 0)) + sizeof(LONG_PTR) - 1) /
          sizeof(LONG_PTR),
      0);

  window->windowClass = std::move(windowClass);
  window->style = style & ~WS_VISIBLE;
  window->exStyle = exStyle;
  window->instance = instance;
  window->rect = rect;
  window->text = windowName ? windowName : "";
  if (style & WS_CHILD) {
    window->parent = parent;
    window->id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    window->menu = menu;
    window->pixels = std::make_shared<WindowPixels>();
    std::lock_guard pixelLock(window->pixels->mutex);
    if (!window->pixels->Resize(rect.right - rect.left, rect.bottom - rect.top)) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
  }
  HWND handle = window->handle;
  std::lock_guard lock(WaitMutex());
  if (style & WS_CHILD) {
    WindowRecord* parentRecord = FindWindowRecord(parent);
    if (parentRecord == nullptr || parentRecord->destroying) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    parentRecord->children.push_back(handle);
  } else {
    TopLevelWindows().insert(TopLevelWindows().begin(), handle);
  }
  Windows()[handle] = std::move(window);
  return handle;
}

LONG_PTR* ExtraSlot(WindowRecord& window, int index) {
  if (index < 0 || index % static_cast<int>(sizeof(LONG_PTR)) != 0) return nullptr;
  const size_t slot = static_cast<size_t>(index) / sizeof(LONG_PTR);
  return slot < window.extra.size() ? &window.extra[slot] : nullptr;
}

}  // namespace

WindowRecord* FindWindowRecord(HWND window) {
  if (window == nullptr) return nullptr;
  auto found = Windows().find(window);
  return found == Windows().end() ? nullptr : found->second.get();
}

WindowRecord* WindowOrError(HWND window) {
  WindowRecord* record = FindWindowRecord(window);
  if (record == nullptr) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return record;
}

std::vector<HWND>& TopLevelWindows() {
  static auto* windows = new std::vector<HWND>;
  return *windows;
}

WindowRecord* TopLevelOf(WindowRecord* window) {
  while (window != nullptr && window->parent != nullptr) window = FindWindowRecord(window->parent);
  return window;
}

bool IsWindowOfThread(HWND window, DWORD threadId) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record != nullptr && record->threadId == threadId;
}

WNDPROC ProcedureOf(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record ? record->procedure : nullptr;
}

DWORD ThreadOf(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record ? record->threadId : 0;
}

LRESULT CallOnWindowThread(HWND window, std::function<LRESULT()> call) {
  const DWORD threadId = ThreadOf(window);
  if (threadId == 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CallOnThread(threadId, std::move(call), true);
}

}  // namespace vpl::platform

using namespace vpl::platform;

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
  if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
      windowClass->lpszClassName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto record = RecordOf(*windowClass);
  record->smallIcon = windowClass->hIconSm;
  return RegisterRecord(std::move(record));
}

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
  if (windowClass == nullptr || windowClass->lpszClassName == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return RegisterRecord(RecordOf(*windowClass));
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
  std::lock_guard lock(WaitMutex());
  auto found = className ? Classes().find(ClassKey(className)) : Classes().end();
  if (found == Classes().end()) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  const auto ofClass = [&](const auto& entry) {
    return entry.second->windowClass == found->second;
  };
  if (std::any_of(Windows().begin(), Windows().end(), ofClass)) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  Classes().erase(found);
  return TRUE;
}

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, WNDCLASSA* info) {
  std::lock_guard lock(WaitMutex());
  auto record = FindClassLocked(className);
  if (!record || info == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  FillInfo(*record, *info);
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR className, WNDCLASSEXA* info) {
  std::lock_guard lock(WaitMutex());
  auto record = FindClassLocked(className);
  if (!record || info == nullptr) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  FillInfo(*record, *info);
  info->cbSize = sizeof(WNDCLASSEXA);
  info->hIconSm = record->smallIcon;
  return TRUE;
}

int GetClassNameA(HWND window, LPSTR buffer, int size) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = WindowOrError(window);
  if (record == nullptr || buffer == nullptr || size <= 0) return 0;
  const std::string& name = record->windowClass->name;
  const int length = std::min(static_cast<int>(name.size()), size - 1);
  std::memcpy(buffer, name.data(), static_cast<size_t>(length));
  buffer[length] = '\0';
  return length;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID parameter) {
  std::shared_ptr<const WindowClassRecord> windowClass;
  {
    std::lock_guard lock(WaitMutex());
    windowClass = FindClassLocked(className);
  }
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  if ((style & WS_CHILD) && parent == nullptr) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return nullptr;
  }
  CurrentQueue();  // the creating thread owns the window and needs a queue
  if (!(style & WS_CHILD)) RequestDesktop();
  const RECT rect = InitialRect(style, x, y, width, height);
  HWND window = AddRecord(windowClass, exStyle, windowName, style, rect, parent, menu, instance);
  if (window == nullptr) return nullptr;

  CREATESTRUCTA create{parameter,
                       instance,
                       menu,
                       parent,
                       rect.bottom - rect.top,
                       rect.right - rect.left,
                       rect.top,
                       rect.left,
                       static_cast<LONG>(style),
                       windowName,
                       IS_INTRESOURCE(className) ? nullptr : className,
                       exStyle};
  const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
  if (!SendMessageA(window, WM_NCCREATE, 0, createParam) ||
      SendMessageA(window, WM_CREATE, 0, createParam) == -1) {
    DestroyWindow(window);
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SendMessageA(window, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(rect.right - rect.left),
                          static_cast<WORD>(rect.bottom - rect.top)));
  SendMessageA(window, WM_MOVE, 0,
               MAKELPARAM(static_cast<WORD>(rect.left), static_cast<WORD>(rect.top)));
  if (style & WS_VISIBLE) ShowWindow(window, (style & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
  return window;
}

BOOL DestroyWindow(HWND window) {
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = WindowOrError(window);
    if (record == nullptr) return FALSE;
    if (record->threadId != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (record->destroying) return TRUE;
  }
  DestroyTree(window);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  std::lock_guard lock(WaitMutex());
  return FindWindowRecord(window) != nullptr;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  if (processId != nullptr) *processId = 1;
  return ThreadOf(window);
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = WindowOrError(window);
  if (record == nullptr) return 0;
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(record->procedure);
    case GWLP_HINSTANCE:
      return reinterpret_cast<LONG_PTR>(record->instance);
    case GWLP_HWNDPARENT:
      return reinterpret_cast<LONG_PTR>(record->parent);
    case GWLP_ID:
      return record->id;
    case GWL_STYLE:
      return static_cast<LONG>(record->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(record->exStyle);
    case GWLP_USERDATA:
      return record->userData;
    default:
      break;
  }
  LONG_PTR* slot = ExtraSlot(*const_cast<WindowRecord*>(record), index);
  if (slot == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return *slot;
}

LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = WindowOrError(window);
  if (record == nullptr) return 0;
  auto swap = [value](auto& field) {
    auto previous = reinterpret_cast<LONG_PTR>(field);
    using Field = std::remove_reference_t<decltype(field)>;
    if constexpr (std::is_pointer_v<Field>) {
      field = reinterpret_cast<Field>(value);
    } else {
      field = static_cast<Field>(value);
    }
    return previous;
  };
  switch (index) {
    case GWLP_WNDPROC:
      return swap(record->procedure);
    case GWLP_HINSTANCE:
      return swap(record->instance);
    case GWLP_ID:
      return std::exchange(record->id, value);
    case GWL_STYLE:
      return static_cast<LONG>(std::exchange(record->style, static_cast<DWORD>(value)));
    case GWL_EXSTYLE:
      return static_cast<LONG>(std::exchange(record->exStyle, static_cast<DWORD>(value)));
    case GWLP_USERDATA:
      return std::exchange(record->userData, value);
    default:
      break;
  }
  LONG_PTR* slot = ExtraSlot(*record, index);
  if (slot == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return std::exchange(*slot, value);
}

LONG GetWindowLongA(HWND window, int index) {
  return static_cast<LONG>(GetWindowLongPtrA(window, index));
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtrA(window, index, value));
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam) {
  return procedure ? procedure(window, message, wParam, lParam) : 0;
}

BOOL SetPropA(HWND window, LPCSTR name, HANDLE value) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = WindowOrError(window);
  if (record == nullptr || name == nullptr) return FALSE;
  const std::string key = PropertyKey(name);
  for (auto& [propertyName, propertyValue] : record->properties) {
    if (propertyName == key) {
      propertyValue = value;
      return TRUE;
    }
  }
  record->properties.emplace_back(key, value);
  return TRUE;
}

HANDLE GetPropA(HWND window, LPCSTR name) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  if (record == nullptr || name == nullptr) return nullptr;
  const std::string key = PropertyKey(name);
  for (const auto& [propertyName, value] : record->properties) {
    if (propertyName == key) return value;
  }
  return nullptr;
}

HANDLE RemovePropA(HWND window, LPCSTR name) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = FindWindowRecord(window);
  if (record == nullptr || name == nullptr) return nullptr;
  const std::string key = PropertyKey(name);
  auto& properties = record->properties;
  for (auto it = properties.begin(); it != properties.end(); ++it) {
    if (it->first == key) {
      HANDLE value = it->second;
      properties.erase(it);
      return value;
    }
  }
  return nullptr;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size),
                                       reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) {
  return static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  std::lock_guard lock(WaitMutex());
  const std::string wantedClass = className ? ClassKey(className) : "";
  for (HWND handle : TopLevelWindows()) {
    const WindowRecord* record = FindWindowRecord(handle);
    if (record == nullptr || record->destroying) continue;
    if (className && Lowered(record->windowClass->name.c_str()) != wantedClass) continue;
    if (windowName && Lowered(record->text.c_str()) != Lowered(windowName)) continue;
    return handle;
  }
  return nullptr;
}

HWND GetParent(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = WindowOrError(window);
  return record ? record->parent : nullptr;
}

HWND GetDesktopWindow() { return nullptr; }

HWND GetWindow(HWND window, UINT command) {
  std::lock_guard lock(WaitMutex());
  WindowRecord* record = WindowOrError(window);
  if (record == nullptr) return nullptr;
  if (command == GW_CHILD) return record->children.empty() ? nullptr : record->children.front();
  if (command == GW_OWNER) return nullptr;
  const std::vector<HWND>& siblings = SiblingsOf(*record);
  auto self = std::find(siblings.begin(), siblings.end(), window);
  switch (command) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return (self + 1) < siblings.end() ? *(self + 1) : nullptr;
    case GW_HWNDPREV:
      return self > siblings.begin() ? *(self - 1) : nullptr;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC procedure, LPARAM parameter) {
  std::vector<HWND> descendants;
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = WindowOrError(parent);
    if (record == nullptr || procedure == nullptr) return FALSE;
    AppendDescendants(*record, descendants);
  }
  for (HWND child : descendants) {
    if (IsWindow(child) && !procedure(child, parameter)) break;
  }
  return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC procedure, LPARAM parameter) {
  std::vector<HWND> windows;
  {
    std::lock_guard lock(WaitMutex());
    for (HWND handle : TopLevelWindows()) {
      const WindowRecord* record = FindWindowRecord(handle);
      if (record && record->threadId == threadId && !record->destroying) windows.push_back(handle);
    }
  }
  for (HWND window : windows) {
    if (IsWindow(window) && !procedure(window, parameter)) return FALSE;
  }
  return !windows.empty();
}

BOOL IsChild(HWND parent, HWND window) {
  std::lock_guard lock(WaitMutex());
  for (const WindowRecord* record = FindWindowRecord(window); record != nullptr;
       record = FindWindowRecord(record->parent)) {
    if (record->parent == parent && parent != nullptr) return TRUE;
  }
  return FALSE;
}
