// Input state: focus, activation, capture, the key state, attached input
// and the translation of keys into characters.

#include "platform/win32/MessageQueue.h"
#include "platform/win32/WindowManager.h"

#include <array>
#include <atomic>
#include <cctype>
#include <cstring>
#include <unordered_map>

namespace vpl::platform {
namespace {

// All guarded by the wait mutex.
std::unordered_map<DWORD, std::shared_ptr<InputState>>& InputStates() {
  static auto* states = new std::unordered_map<DWORD, std::shared_ptr<InputState>>;
  return *states;
}
// 0x80 down, 0x01 toggled. The desktop's state changes as its input
// arrives; a thread's view (GetKeyState) as it takes that input from its
// queue, so a message is handled with the keys as they were when it came.
std::array<BYTE, 256> gKeys{};
std::array<BYTE, 256> gAsyncKeys{};
// The cursor is read while queues are locked, so it needs no lock.
std::atomic<LONG> gCursorX{0};
std::atomic<LONG> gCursorY{0};
bool gApplicationActive = false;
HWND gForeground = nullptr;

constexpr BYTE kKeyDown = 0x80;
constexpr BYTE kKeyToggled = 0x01;

bool IsDownLocked(int virtualKey) { return (gKeys[virtualKey & 0xFF] & kKeyDown) != 0; }

void ChangeKey(std::array<BYTE, 256>& keys, int virtualKey, bool down) {
  BYTE& key = keys[virtualKey & 0xFF];
  if (down && !(key & kKeyDown)) key ^= kKeyToggled;
  key = down ? (key | kKeyDown) : (key & ~kKeyDown);
}

// The key a key or button message changes, and whether it goes down.
bool KeyOfMessage(const MSG& message, int& key, bool& down) {
  switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      key = static_cast<int>(message.wParam);
      down = true;
      return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      key = static_cast<int>(message.wParam);
      down = false;
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      key = VK_LBUTTON;
      down = true;
      return true;
    case WM_LBUTTONUP:
      key = VK_LBUTTON;
      down = false;
      return true;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      key = VK_RBUTTON;
      down = true;
      return true;
    case WM_RBUTTONUP:
      key = VK_RBUTTON;
      down = false;
      return true;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      key = VK_MBUTTON;
      down = true;
      return true;
    case WM_MBUTTONUP:
      key = VK_MBUTTON;
      down = false;
      return true;
    default:
      return false;
  }
}

std::shared_ptr<InputState> CallerState() {
  std::lock_guard lock(WaitMutex());
  return InputStateOf(GetCurrentThreadId());
}

std::vector<HWND> TopLevelSnapshot() {
  std::lock_guard lock(WaitMutex());
  return TopLevelWindows();
}

// The character a key gives on a US keyboard with the current modifiers;
// 0 for keys without one.
char CharacterOfKey(int key, bool shift, bool capsLock, bool control) {
  if (key >= 'A' && key <= 'Z') {
    if (control) return static_cast<char>(key - 'A' + 1);
    const bool upper = shift != capsLock;
    return static_cast<char>(upper ? key : std::tolower(key));
  }
  // Ctrl+Space still types a space, as Windows does: programs take it as a key.
  if (key == VK_SPACE) return ' ';
  if (control) return 0;
  static constexpr char kShiftedDigits[] = ")!@#$%^&*(";
  if (key >= '0' && key <= '9') return shift ? kShiftedDigits[key - '0'] : static_cast<char>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return static_cast<char>('0' + key - VK_NUMPAD0);
  struct Punctuation {
    int key;
    char plain;
    char shifted;
  };
  static constexpr Punctuation kPunctuation[] = {
      {VK_RETURN, '\r', '\r'},  {VK_BACK, '\b', '\b'},    {VK_TAB, '\t', '\t'},
      {VK_ESCAPE, 27, 27},      {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},
      {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
      {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
      {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
      {VK_MULTIPLY, '*', '*'},  {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},
      {VK_DECIMAL, '.', '.'},   {VK_DIVIDE, '/', '/'},
  };
  for (const Punctuation& entry : kPunctuation) {
    if (entry.key == key) return shift ? entry.shifted : entry.plain;
  }
  return 0;
}

}  // namespace

std::shared_ptr<InputState> InputStateOf(DWORD threadId) {
  auto& state = InputStates()[threadId];
  if (!state) state = std::make_shared<InputState>();
  return state;
}

void SetKeyDown(int virtualKey, bool down) {
  std::lock_guard lock(WaitMutex());
  ChangeKey(gAsyncKeys, virtualKey, down);
}

void ApplyInputLocked(const MSG& message) {
  int key = 0;
  bool down = false;
  if (KeyOfMessage(message, key, down)) ChangeKey(gKeys, key, down);
}

void SetCursorPoint(POINT point) {
  gCursorX = point.x;
  gCursorY = point.y;
}

void ActivateWindow(HWND window, WORD how) {
  std::shared_ptr<InputState> state;
  HWND previous = nullptr;
  bool applicationWasActive = false;
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    state = InputStateOf(record->threadId);
    previous = state->active;
    if (previous == window && gApplicationActive) return;
    applicationWasActive = std::exchange(gApplicationActive, true);
    gForeground = window;
  }
  if (!applicationWasActive) {
    for (HWND top : TopLevelSnapshot()) SendMessageA(top, WM_ACTIVATEAPP, TRUE, 0);
  }
  if (previous != nullptr && previous != window && IsWindow(previous)) {
    SendMessageA(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous) ? 1 : 0),
                 reinterpret_cast<LPARAM>(window));
  }
  {
    std::lock_guard lock(WaitMutex());
    state->active = window;
  }
  SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(window) ? 1 : 0),
               reinterpret_cast<LPARAM>(previous));
}

void DeactivateApplication() {
  std::vector<HWND> active;
  {
    std::lock_guard lock(WaitMutex());
    if (!std::exchange(gApplicationActive, false)) return;
    gForeground = nullptr;
    for (auto& [threadId, state] : InputStates()) {
      if (state->active != nullptr) active.push_back(std::exchange(state->active, nullptr));
    }
  }
  for (HWND window : active) {
    SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(window) ? 1 : 0), 0);
  }
  for (HWND top : TopLevelSnapshot()) SendMessageA(top, WM_ACTIVATEAPP, FALSE, 0);
}

}  // namespace vpl::platform

using namespace vpl::platform;

HWND SetFocus(HWND window) {
  auto state = CallerState();
  HWND previous = nullptr;
  HWND top = nullptr;
  {
    std::lock_guard lock(WaitMutex());
    if (window != nullptr) {
      WindowRecord* record = WindowOrError(window);
      if (record == nullptr || InputStateOf(record->threadId) != state) return nullptr;
      if (record->style & WS_DISABLED) return nullptr;
      top = TopLevelOf(record)->handle;
    }
    previous = state->focus;
    if (previous == window) return previous;
  }
  if (top != nullptr && top != GetActiveWindow()) {
    CallOnWindowThread(top, [top] {
      ActivateWindow(top, WA_ACTIVE);
      return LRESULT{0};
    });
  }
  {
    std::lock_guard lock(WaitMutex());
    state->focus = window;
  }
  if (previous != nullptr) {
    SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  }
  if (window != nullptr) {
    SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND GetFocus() {
  std::lock_guard lock(WaitMutex());
  return InputStateOf(GetCurrentThreadId())->focus;
}

HWND SetActiveWindow(HWND window) {
  HWND previous = GetActiveWindow();
  if (!IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  ActivateWindow(window, WA_ACTIVE);
  return previous;
}

HWND GetActiveWindow() {
  std::lock_guard lock(WaitMutex());
  return InputStateOf(GetCurrentThreadId())->active;
}

BOOL SetForegroundWindow(HWND window) {
  return static_cast<BOOL>(CallOnWindowThread(window, [window] {
    ActivateWindow(window, WA_ACTIVE);
    return LRESULT{1};
  }));
}

HWND GetForegroundWindow() {
  std::lock_guard lock(WaitMutex());
  return gForeground;
}

HWND SetCapture(HWND window) {
  auto state = CallerState();
  HWND previous = nullptr;
  {
    std::lock_guard lock(WaitMutex());
    if (WindowOrError(window) == nullptr) return nullptr;
    previous = std::exchange(state->capture, window);
  }
  if (previous != nullptr && previous != window) {
    SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  }
  return previous;
}

BOOL ReleaseCapture() {
  auto state = CallerState();
  HWND previous = nullptr;
  {
    std::lock_guard lock(WaitMutex());
    previous = std::exchange(state->capture, nullptr);
  }
  if (previous != nullptr) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  std::lock_guard lock(WaitMutex());
  return InputStateOf(GetCurrentThreadId())->capture;
}

SHORT GetKeyState(int virtualKey) {
  std::lock_guard lock(WaitMutex());
  const BYTE key = gKeys[virtualKey & 0xFF];
  return static_cast<SHORT>(((key & kKeyDown) ? 0x8000 : 0) | (key & kKeyToggled));
}

SHORT GetAsyncKeyState(int virtualKey) {
  std::lock_guard lock(WaitMutex());
  return static_cast<SHORT>((gAsyncKeys[virtualKey & 0xFF] & kKeyDown) ? 0x8000 : 0);
}

BOOL GetCursorPos(LPPOINT point) {
  if (point == nullptr) return FALSE;
  *point = POINT{gCursorX, gCursorY};
  return TRUE;
}

BOOL AttachThreadInput(DWORD attachThreadId, DWORD toThreadId, BOOL attach) {
  if (attachThreadId == toThreadId || !QueueOfThread(attachThreadId) ||
      !QueueOfThread(toThreadId)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(WaitMutex());
  InputStates()[attachThreadId] =
      attach ? InputStateOf(toThreadId) : std::make_shared<InputState>();
  return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
  if (message == nullptr || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN)) {
    return FALSE;
  }
  char character = 0;
  {
    std::lock_guard lock(WaitMutex());
    character = CharacterOfKey(static_cast<int>(message->wParam), IsDownLocked(VK_SHIFT),
                               (gKeys[VK_CAPITAL] & kKeyToggled) != 0, IsDownLocked(VK_CONTROL));
  }
  if (character == 0) return FALSE;
  MSG translated = *message;
  translated.message = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  translated.wParam = static_cast<BYTE>(character);
  auto queue = CurrentQueue();
  {
    std::lock_guard lock(WaitMutex());
    queue->Post(translated);
  }
  NotifyWaiters();
  return TRUE;
}
