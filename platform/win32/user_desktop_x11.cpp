// The X connection behind the desktop, for the platform's own requests on
// it (a window read back, errors caught around a GL call).

#include "platform/win32/Desktop.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <atomic>

namespace vpl::platform {
namespace {

// SDL's video keeps one connection for all its windows.
std::atomic<_XDisplay*> gDisplay{nullptr};

}  // namespace

_XDisplay* DesktopXDisplay() { return gDisplay.load(); }

void RememberDesktopXDisplay(SDL_Window* window) {
  if (gDisplay.load() != nullptr) return;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    gDisplay.store(info.info.x11.display);
  }
}

}  // namespace vpl::platform
