// The desktop behind top-level windows: SDL windows made, shown, moved and
// painted from the main thread, and SDL's input and window events turned
// into messages for the threads owning the target windows.

#include "platform/win32/Desktop.h"
#include "platform/win32/DisplayState.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/WindowManager.h"
#include "platform/win32/WindowPixels.h"
#include "platform/win32/testhooks.h"

#include <SDL.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

namespace vpl::platform {
namespace {

constexpr SIZE kHeadlessScreen{1024, 768};

std::atomic<bool> gDesktopWanted{false};
bool gDesktopUp = false;      // main thread only
bool gDesktopFailed = false;  // main thread only
std::atomic<LONG> gScreenWidth{kHeadlessScreen.cx};
std::atomic<LONG> gScreenHeight{kHeadlessScreen.cy};
std::atomic<DWORD> gMainThreadId{0};

// The OpenGL formats windows are to be shown with, set from any thread.
std::mutex gOpenGLMutex;
std::unordered_map<HWND, DesktopGLFormat>& OpenGLWindows() {
  static auto* windows = new std::unordered_map<HWND, DesktopGLFormat>;
  return *windows;
}

// What the desktop shows of one top-level window (main thread only).
struct DesktopWindow {
  SDL_Window* window = nullptr;
  RECT rect{};
  bool shown = false;
  bool fullScreen = false;         // a recorded full-screen mode of the client's size
  bool leavingFullScreen = false;  // until the desktop gives the client's size back
  bool openGL = false;             // made for OpenGL, which presents its own frames
  bool minimized = false;
  std::string title;
};
std::unordered_map<HWND, DesktopWindow>& DesktopWindows() {
  static auto* windows = new std::unordered_map<HWND, DesktopWindow>;
  return *windows;
}

struct TopLevelState {
  HWND handle;
  RECT rect;
  bool shown;
  bool minimized;
  std::string title;
  std::shared_ptr<WindowPixels> pixels;
};

struct KeyPair {
  SDL_Keycode sdl;
  int vk;
};
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE},
    {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_SEMICOLON, VK_OEM_1},
    {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD},
    {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},
    {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7},
    {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL},
    {SDLK_KP_DIVIDE, VK_DIVIDE},
};

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
  if (key == SDLK_KP_0) return VK_NUMPAD0;
  for (const KeyPair& pair : kKeys) {
    if (pair.sdl == key) return pair.vk;
  }
  return 0;
}

SDL_Keycode KeycodeOf(int virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return SDLK_a + (virtualKey - 'A');
  if (virtualKey >= '0' && virtualKey <= '9') return SDLK_0 + (virtualKey - '0');
  if (virtualKey >= VK_F1 && virtualKey <= VK_F12) return SDLK_F1 + (virtualKey - VK_F1);
  for (const KeyPair& pair : kKeys) {
    if (pair.vk == virtualKey) return pair.sdl;
  }
  return SDLK_UNKNOWN;
}

bool StartDesktop() {
  if (gDesktopUp || gDesktopFailed) return gDesktopUp;
  // Window pixels are copied into a plain surface; a GL-backed one would
  // gain nothing for a software-drawn window.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    gDesktopFailed = true;
    return false;
  }
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    gScreenWidth = mode.w;
    gScreenHeight = mode.h;
  }
  gDesktopUp = true;
  return true;
}

std::vector<TopLevelState> SnapshotTopLevels() {
  std::vector<TopLevelState> states;
  std::lock_guard lock(WaitMutex());
  for (HWND handle : TopLevelWindows()) {
    const WindowRecord* record = FindWindowRecord(handle);
    if (record == nullptr || record->destroying) continue;
    states.push_back(TopLevelState{handle, record->rect, IsShown(*record),
                                   (record->style & WS_MINIMIZE) != 0, record->text,
                                   record->pixels});
  }
  return states;
}

void Present(SDL_Window* window, WindowPixels& pixels) {
  std::lock_guard pixelLock(pixels.mutex);
  if (!pixels.changed) return;
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) return;
  if (surface->w != pixels.width || surface->h != pixels.height) {
    PresentScaled(surface, pixels);
    SDL_UpdateWindowSurface(window);
    pixels.changed = false;
    return;
  }
  const int width = std::min(pixels.width, surface->w);
  const int height = std::min(pixels.height, surface->h);
  if (width > 0 && height > 0) {
    SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, pixels.pixels.data(), pixels.width * 4,
                      surface->format->format, surface->pixels, surface->pitch);
  }
  SDL_UpdateWindowSurface(window);
  pixels.changed = false;
}

// The OpenGL format the window is to be shown with; false when none.
bool WantedOpenGL(HWND handle, DesktopGLFormat& format) {
  std::lock_guard lock(gOpenGLMutex);
  const auto found = OpenGLWindows().find(handle);
  if (found == OpenGLWindows().end()) return false;
  format = found->second;
  return true;
}

// Compatibility profile: the callers use client arrays, glLoadMatrixf and
// the texture environment. Displays rarely offer more than 24 depth bits,
// which serve a 32-bit request.
void SetOpenGLAttributes(const DesktopGLFormat& format) {
  const bool wide = format.colorBits > 16;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, wide ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, wide ? 8 : 6);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, wide ? 8 : 5);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, std::min(format.depthBits, 24));
}

// A window that changes between OpenGL and pixels is made anew. The old one
// is handed back, to go only once the new one stands over it: a new window
// has no background of its own, so the screen keeps the old one's last
// picture until the new one draws its first, never a black frame between.
SDL_Window* TakeReplacedWindow(DesktopWindow& shown, bool openGL) {
  if (shown.window == nullptr || shown.openGL == openGL) return nullptr;
  SDL_Window* replaced = shown.window;
  shown = DesktopWindow{};
  return replaced;
}

// Full screen covers the display whatever the desktop: the window first
// takes the display's place and size itself, for a desktop without a window
// manager, which would leave it as it was. Leaving takes back the client's.
void SetFullScreen(DesktopWindow& shown, bool fullScreen) {
  SDL_Rect display{0, 0, shown.rect.right - shown.rect.left, shown.rect.bottom - shown.rect.top};
  if (fullScreen) {
    SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(shown.window), 0), &display);
  } else {
    SDL_SetWindowFullscreen(shown.window, 0);
    display.x = shown.rect.left;
    display.y = shown.rect.top;
  }
  SDL_SetWindowPosition(shown.window, display.x, display.y);
  SDL_SetWindowSize(shown.window, display.w, display.h);
  if (fullScreen) SDL_SetWindowFullscreen(shown.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  shown.fullScreen = fullScreen;
  shown.leavingFullScreen = !fullScreen;
}

// The desktop's window made, placed, titled and shown as the state says.
void SyncShownWindow(const TopLevelState& state, DesktopWindow& shown, bool openGL,
                     const DesktopGLFormat& format) {
  const int width = std::max<int>(state.rect.right - state.rect.left, 1);
  const int height = std::max<int>(state.rect.bottom - state.rect.top, 1);
  if (shown.window == nullptr) {
    if (openGL) SetOpenGLAttributes(format);
    shown.window = SDL_CreateWindow(state.title.c_str(), state.rect.left, state.rect.top, width,
                                    height, SDL_WINDOW_HIDDEN | (openGL ? SDL_WINDOW_OPENGL : 0));
    if (shown.window == nullptr) return;
    RememberDesktopXDisplay(shown.window);
    shown.openGL = openGL;
    SDL_SetWindowData(shown.window, "hwnd", state.handle);
    shown.rect = state.rect;
    shown.title = state.title;
  }
  if (!EqualRect(&shown.rect, &state.rect)) {
    SDL_SetWindowPosition(shown.window, state.rect.left, state.rect.top);
    SDL_SetWindowSize(shown.window, width, height);
    shown.rect = state.rect;
    MarkWindowPixelsChanged(*state.pixels);
  }
  if (shown.title != state.title) {
    SDL_SetWindowTitle(shown.window, state.title.c_str());
    shown.title = state.title;
  }
  if (shown.shown != state.shown) {
    state.shown ? SDL_ShowWindow(shown.window) : SDL_HideWindow(shown.window);
    shown.shown = state.shown;
    MarkWindowPixelsChanged(*state.pixels);
  }
  const bool fullScreen = state.shown && IsFullScreenSize(width, height);
  if (shown.fullScreen != fullScreen) {
    SetFullScreen(shown, fullScreen);
    MarkWindowPixelsChanged(*state.pixels);
  }
  if (state.shown && shown.minimized != state.minimized) {
    state.minimized ? SDL_MinimizeWindow(shown.window) : SDL_RestoreWindow(shown.window);
    shown.minimized = state.minimized;
  }
  if (state.shown && !shown.openGL) Present(shown.window, *state.pixels);
}

void SyncWindow(const TopLevelState& state) {
  DesktopWindow& shown = DesktopWindows()[state.handle];
  DesktopGLFormat format{};
  const bool openGL = WantedOpenGL(state.handle, format);
  SDL_Window* replaced = TakeReplacedWindow(shown, openGL);
  SyncShownWindow(state, shown, openGL, format);
  if (replaced != nullptr) SDL_DestroyWindow(replaced);
}

void SyncWindows() {
  const std::vector<TopLevelState> states = SnapshotTopLevels();
  auto& desktop = DesktopWindows();
  for (auto it = desktop.begin(); it != desktop.end();) {
    const bool alive = std::any_of(states.begin(), states.end(), [&](const TopLevelState& state) {
      return state.handle == it->first;
    });
    if (alive) {
      ++it;
      continue;
    }
    if (it->second.window) SDL_DestroyWindow(it->second.window);
    {
      std::lock_guard lock(gOpenGLMutex);
      OpenGLWindows().erase(it->first);
    }
    it = desktop.erase(it);
  }
  for (const TopLevelState& state : states) SyncWindow(state);
}

HWND WindowOfEvent(Uint32 windowId) {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  return window ? static_cast<HWND>(SDL_GetWindowData(window, "hwnd")) : nullptr;
}

// Queues an input message to the thread owning the window.
void QueueInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD threadId = ThreadOf(window);
  auto queue = threadId ? QueueOfThread(threadId) : nullptr;
  if (!queue) return;
  MSG input = MakeMessage(window, message, wParam, lParam);
  {
    std::lock_guard lock(WaitMutex());
    queue->PostInput(input);
  }
  NotifyWaiters();
}

// Runs an operation on the window's thread without waiting for it.
void NotifyOnWindowThread(HWND window, std::function<LRESULT()> call) {
  if (const DWORD threadId = ThreadOf(window)) CallOnThread(threadId, std::move(call), false);
}

bool IsDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

WPARAM MouseKeyFlags() {
  WPARAM flags = 0;
  if (IsDown(VK_LBUTTON)) flags |= MK_LBUTTON;
  if (IsDown(VK_RBUTTON)) flags |= MK_RBUTTON;
  if (IsDown(VK_MBUTTON)) flags |= MK_MBUTTON;
  if (IsDown(VK_SHIFT)) flags |= MK_SHIFT;
  if (IsDown(VK_CONTROL)) flags |= MK_CONTROL;
  return flags;
}

// The window that takes the mouse at a point of a top-level client area,
// and the point in its client coordinates.
HWND MouseTarget(HWND top, POINT& point) {
  HWND target = nullptr;
  {
    std::lock_guard lock(WaitMutex());
    const WindowRecord* record = FindWindowRecord(top);
    if (record == nullptr) return nullptr;
    const POINT origin = ClientOrigin(*record);
    point.x += origin.x;
    point.y += origin.y;
    target = InputStateOf(record->threadId)->capture;
  }
  SetCursorPoint(point);
  if (target == nullptr) {
    POINT client = point;
    ScreenToClient(top, &client);
    target = WindowAtPoint(top, client);
  }
  ScreenToClient(target, &point);
  return target;
}

void ActivateOnClick(HWND top) {
  if (GetForegroundWindow() == top) return;
  NotifyOnWindowThread(top, [top] {
    ActivateWindow(top, WA_CLICKACTIVE);
    return LRESULT{0};
  });
}

UINT ButtonMessage(Uint8 button, bool down, bool doubleClick) {
  const UINT base = button == SDL_BUTTON_RIGHT    ? WM_RBUTTONDOWN
                    : button == SDL_BUTTON_MIDDLE ? WM_MBUTTONDOWN
                                                  : WM_LBUTTONDOWN;
  if (!down) return base + 1;
  return doubleClick ? base + 2 : base;
}

int ButtonKey(Uint8 button) {
  return button == SDL_BUTTON_RIGHT    ? VK_RBUTTON
         : button == SDL_BUTTON_MIDDLE ? VK_MBUTTON
                                       : VK_LBUTTON;
}

bool WantsDoubleClicks(HWND window) {
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(window);
  return record && (record->windowClass->style & CS_DBLCLKS);
}

// A full-screen window shows its client area scaled.
POINT ClientPointOf(Uint32 windowId, int x, int y) {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  auto& desktop = DesktopWindows();
  const auto found = window != nullptr
                         ? desktop.find(static_cast<HWND>(SDL_GetWindowData(window, "hwnd")))
                         : desktop.end();
  if (found == desktop.end() || !found->second.fullScreen) return POINT{x, y};
  int width = 0;
  int height = 0;
  SDL_GetWindowSize(window, &width, &height);
  const RECT& client = found->second.rect;
  return ScaledToClient(POINT{x, y}, SIZE{width, height},
                        SIZE{client.right - client.left, client.bottom - client.top});
}

void TranslateMouseButton(const SDL_MouseButtonEvent& event) {
  HWND top = WindowOfEvent(event.windowID);
  if (top == nullptr) return;
  const bool down = event.type == SDL_MOUSEBUTTONDOWN;
  if (down) ActivateOnClick(top);
  SetKeyDown(ButtonKey(event.button), down);
  POINT point = ClientPointOf(event.windowID, event.x, event.y);
  HWND target = MouseTarget(top, point);
  if (target == nullptr) return;
  const bool doubleClick =
      down && event.clicks >= 2 && event.clicks % 2 == 0 && WantsDoubleClicks(target);
  QueueInput(target, ButtonMessage(event.button, down, doubleClick), MouseKeyFlags(),
             MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

void TranslateMouseMotion(const SDL_MouseMotionEvent& event) {
  HWND top = WindowOfEvent(event.windowID);
  if (top == nullptr) return;
  POINT point = ClientPointOf(event.windowID, event.x, event.y);
  HWND target = MouseTarget(top, point);
  if (target == nullptr) return;
  QueueInput(target, WM_MOUSEMOVE, MouseKeyFlags(),
             MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

// Keys go to the focused window of the top-level window's thread, or to the
// active window when nothing has the focus.
HWND KeyTarget(Uint32 windowId) {
  HWND top = WindowOfEvent(windowId);
  std::lock_guard lock(WaitMutex());
  const WindowRecord* record = FindWindowRecord(top);
  if (record == nullptr) return nullptr;
  auto state = InputStateOf(record->threadId);
  if (state->focus != nullptr) return state->focus;
  return state->active != nullptr ? state->active : top;
}

void TranslateKey(const SDL_KeyboardEvent& event) {
  const int key = VirtualKeyOf(event.keysym.sym);
  if (key == 0) return;
  const bool down = event.type == SDL_KEYDOWN;
  const bool wasDown = IsDown(key);
  SetKeyDown(key, down);
  HWND target = KeyTarget(event.windowID);
  if (target == nullptr) return;
  const bool system = IsDown(VK_MENU) && key != VK_MENU;
  const UINT message =
      down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
  const LPARAM lParam =
      static_cast<LPARAM>(1u | (static_cast<DWORD>(event.keysym.scancode & 0xFF) << 16) |
                          (wasDown ? 1u << 30 : 0) | (down ? 0 : 1u << 31));
  QueueInput(target, message, static_cast<WPARAM>(key), lParam);
}

// Characters beyond ASCII come from text events; ASCII characters come from
// TranslateMessage. Only the Latin-1 letters have a Windows-1252 byte here.
void TranslateText(const SDL_TextInputEvent& event) {
  HWND target = KeyTarget(event.windowID);
  if (target == nullptr) return;
  const auto* text = reinterpret_cast<const unsigned char*>(event.text);
  for (size_t i = 0; text[i] != 0; ++i) {
    if (text[i] == 0xC2 || text[i] == 0xC3) {
      if (text[i + 1] == 0) break;
      const BYTE character = static_cast<BYTE>(((text[i] & 0x03) << 6) | (text[i + 1] & 0x3F));
      if (character >= 0xA0) QueueInput(target, WM_CHAR, character, 1);
      ++i;
    }
  }
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  HWND top = WindowOfEvent(event.windowID);
  if (top == nullptr) return;
  auto& shown = DesktopWindows()[top];
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      NotifyOnWindowThread(top, [top] {
        ActivateWindow(top, WA_ACTIVE);
        return LRESULT{0};
      });
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      NotifyOnWindowThread(top, [] {
        if (SDL_GetKeyboardFocus() == nullptr) DeactivateApplication();
        return LRESULT{0};
      });
      break;
    case SDL_WINDOWEVENT_MOVED:
      if (shown.fullScreen) break;  // the screen-filling window keeps its client area
      OffsetRect(&shown.rect, event.data1 - shown.rect.left, event.data2 - shown.rect.top);
      NotifyOnWindowThread(top, [top, x = event.data1, y = event.data2] {
        return LRESULT{
            SetWindowPos(top, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)};
      });
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      // A full-screen window keeps its client size; one leaving full screen
      // takes back its own, and the sizes on the way are none of the
      // client's.
      if (shown.fullScreen) break;
      if (shown.leavingFullScreen) {
        shown.leavingFullScreen = event.data1 != shown.rect.right - shown.rect.left ||
                                  event.data2 != shown.rect.bottom - shown.rect.top;
        break;
      }
      shown.rect.right = shown.rect.left + event.data1;
      shown.rect.bottom = shown.rect.top + event.data2;
      NotifyOnWindowThread(top, [top, width = event.data1, height = event.data2] {
        return LRESULT{SetWindowPos(top, nullptr, 0, 0, width, height,
                                    SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE)};
      });
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      shown.minimized = true;
      NotifyOnWindowThread(top, [top] { return LRESULT{ShowWindow(top, SW_MINIMIZE)}; });
      break;
    case SDL_WINDOWEVENT_RESTORED:
      shown.minimized = false;
      NotifyOnWindowThread(top, [top] { return LRESULT{ShowWindow(top, SW_RESTORE)}; });
      break;
    case SDL_WINDOWEVENT_CLOSE:
      SendNotifyMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case SDL_WINDOWEVENT_EXPOSED: {
      std::lock_guard lock(WaitMutex());
      if (WindowRecord* record = FindWindowRecord(top); record && record->pixels) {
        std::lock_guard pixelLock(record->pixels->mutex);
        record->pixels->changed = true;
      }
      break;
    }
    default:
      break;
  }
}

void TranslateEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      TranslateMouseButton(event.button);
      break;
    case SDL_MOUSEMOTION:
      TranslateMouseMotion(event.motion);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(event.key);
      break;
    case SDL_TEXTINPUT:
      TranslateText(event.text);
      break;
    case SDL_WINDOWEVENT:
      TranslateWindowEvent(event.window);
      break;
    default:
      break;
  }
}

Uint32 DesktopIdOf(HWND topLevel) {
  PumpDesktop();
  auto found = DesktopWindows().find(topLevel);
  return found != DesktopWindows().end() && found->second.window
             ? SDL_GetWindowID(found->second.window)
             : 0;
}

}  // namespace

bool IsMainThread() { return syscall(SYS_gettid) == getpid(); }

bool DesktopStarted() { return gDesktopWanted; }

void RequestDesktop() { gDesktopWanted = true; }

void PumpDesktop() {
  if (!IsMainThread() || !StartDesktop()) return;
  gMainThreadId = GetCurrentThreadId();
  SyncWindows();
  SDL_Event event;
  while (SDL_PollEvent(&event)) TranslateEvent(event);
  SyncWindows();
  SyncDesktopCursor();
}

SIZE DesktopSize() { return SIZE{gScreenWidth, gScreenHeight}; }

SIZE ScreenSizeForModeSwitch() {
  if (IsMainThread()) StartDesktop();
  return DesktopSize();
}

uint32_t DesktopWindowId(HWND topLevel) { return IsMainThread() ? DesktopIdOf(topLevel) : 0; }

void SetDesktopOpenGL(HWND topLevel, const DesktopGLFormat* format) {
  {
    std::lock_guard lock(gOpenGLMutex);
    if (format != nullptr) {
      OpenGLWindows()[topLevel] = *format;
    } else {
      OpenGLWindows().erase(topLevel);
    }
  }
  NotifyWaiters();
}

SDL_Window* DesktopSdlWindow(HWND topLevel) {
  Uint32 id = 0;
  if (IsMainThread()) {
    id = DesktopIdOf(topLevel);
  } else if (const DWORD mainThread = gMainThreadId) {
    id = static_cast<Uint32>(CallOnThread(
        mainThread, [topLevel] { return LRESULT{DesktopIdOf(topLevel)}; }, true));
  }
  return id != 0 ? SDL_GetWindowFromID(id) : nullptr;
}

void InjectMouseButton(HWND topLevel, POINT point, int button, bool down, int clicks) {
  SDL_Event event{};
  event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  event.button.windowID = DesktopIdOf(topLevel);
  event.button.button = static_cast<Uint8>(button == 2 ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT);
  event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.button.clicks = static_cast<Uint8>(clicks);
  event.button.x = point.x;
  event.button.y = point.y;
  SDL_PushEvent(&event);
}

void InjectMouseMove(HWND topLevel, POINT point) {
  SDL_Event event{};
  event.type = SDL_MOUSEMOTION;
  event.motion.windowID = DesktopIdOf(topLevel);
  event.motion.x = point.x;
  event.motion.y = point.y;
  SDL_PushEvent(&event);
}

void InjectKey(HWND topLevel, int virtualKey, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.windowID = DesktopIdOf(topLevel);
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = KeycodeOf(virtualKey);
  SDL_PushEvent(&event);
}

void InjectDesktopEvent(HWND topLevel, DesktopEvent kind, int data1, int data2) {
  static constexpr Uint8 kEvents[] = {SDL_WINDOWEVENT_CLOSE,        SDL_WINDOWEVENT_FOCUS_GAINED,
                                      SDL_WINDOWEVENT_FOCUS_LOST,   SDL_WINDOWEVENT_MOVED,
                                      SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_MINIMIZED,
                                      SDL_WINDOWEVENT_RESTORED};
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.windowID = DesktopIdOf(topLevel);
  event.window.event = kEvents[static_cast<int>(kind)];
  event.window.data1 = data1;
  event.window.data2 = data2;
  SDL_PushEvent(&event);
}

uint32_t WindowPixelAt(HWND window, POINT clientPoint) {
  WindowDrawTarget target;
  if (!GetWindowDrawTarget(window, target)) return 0;
  std::lock_guard pixelLock(target.pixels->mutex);
  const LONG x = target.origin.x + clientPoint.x;
  const LONG y = target.origin.y + clientPoint.y;
  if (x < 0 || y < 0 || x >= target.pixels->width || y >= target.pixels->height) return 0;
  return target.pixels->pixels[static_cast<size_t>(ptrdiff_t{y} * target.pixels->width + x)];
}

}  // namespace vpl::platform
