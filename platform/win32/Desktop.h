#pragma once
// Internal to the platform layer: the desktop behind top-level windows. SDL
// is driven from the process's main thread only: its pump creates, shows,
// moves and removes the desktop windows of our top-level windows, turns
// desktop events into messages for the threads owning the target windows
// and shows changed window pixels.

#include "platform/win32/user.h"

#include <cstdint>

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
// Main thread only: pumps the desktop and answers the SDL window id that
// shows a top-level window, 0 when none.
uint32_t DesktopWindowId(HWND topLevel);

}  // namespace vpl::platform
