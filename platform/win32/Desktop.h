#pragma once
// Internal to the platform layer: the desktop behind top-level windows. SDL
// is driven from the process's main thread only: its pump creates, shows,
// moves and removes the desktop windows of our top-level windows, turns
// desktop events into messages for the threads owning the target windows
// and shows changed window pixels.

#include "platform/win32/user.h"

#include <cstdint>

struct SDL_Window;
struct _XDisplay;

namespace vpl::platform {

// The process's initial thread.
bool IsMainThread();
// True once the desktop has been started (the main thread's first
// top-level window); the main thread's message waits then wake regularly to
// pump it.
bool DesktopStarted();
// Asked when the first top-level window is made, on whichever thread.
void RequestDesktop();
// Main thread only; called without the wait mutex.
void PumpDesktop();
// The screen size for GetSystemMetrics.
SIZE DesktopSize();
// The screen size a mode switch is checked against: on the main thread the
// display is asked even before the first window, since a program switches
// the mode before it makes any.
SIZE ScreenSizeForModeSwitch();
// Main thread only: pumps the desktop and answers the SDL window id that
// shows a top-level window, 0 when none.
uint32_t DesktopWindowId(HWND topLevel);

// What the desktop window of an OpenGL window is made with.
struct DesktopGLFormat {
  int colorBits;
  int depthBits;
};
// Any thread: the top-level window is shown through OpenGL with the format
// (null: through its pixels again); its desktop window is made anew with it
// at the next pump, since SDL mixes neither kind on one window.
void SetDesktopOpenGL(HWND topLevel, const DesktopGLFormat* format);
// The desktop window that shows a top-level window, after a pump of the
// main thread (from another thread, waits for the main thread to pump);
// null when none.
SDL_Window* DesktopSdlWindow(HWND topLevel);
// Any thread: the X connection the desktop's windows are shown through,
// known from its first window; null before it or off X.
_XDisplay* DesktopXDisplay();
// Main thread: called with each desktop window made.
void RememberDesktopXDisplay(SDL_Window* window);

}  // namespace vpl::platform
