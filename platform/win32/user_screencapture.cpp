// Reads back what the X server shows of a top-level window, so that tests
// can check that window pixels really reach the screen. A window shown
// larger than its client (full screen on a bigger screen) is read back at
// the client's size from where its picture is scaled to.

#include "platform/win32/Desktop.h"
#include "platform/win32/DisplayState.h"
#include "platform/win32/XErrorTrap.h"
#include "platform/win32/testhooks.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <bit>
#include <cstring>
#include <utility>

// Xlib's macros (None, Bool, Status...) must not reach the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace vpl::platform {
namespace {

struct XTarget {
  Display* display = nullptr;
  ::Window window = 0;
};

bool XTargetOf(HWND window, XTarget& target) {
  const uint32_t id = DesktopWindowId(window);
  const char* driver = SDL_GetCurrentVideoDriver();
  if (id == 0 || driver == nullptr || std::strcmp(driver, "x11") != 0) return false;
  SDL_Window* shown = SDL_GetWindowFromID(id);
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (shown == nullptr || !SDL_GetWindowWMInfo(shown, &info) || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  target.display = info.info.x11.display;
  target.window = info.info.x11.window;
  return true;
}

// One colour channel of an X pixel, scaled to eight bits.
uint32_t Channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  const unsigned long value = (pixel & mask) >> std::countr_zero(mask);
  const unsigned long largest = mask >> std::countr_zero(mask);
  return static_cast<uint32_t>(value * 255 / largest);
}

bool ReadImage(const XTarget& target, std::vector<uint32_t>& pixels, int& width, int& height) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(target.display, target.window, &attributes) ||
      attributes.map_state != IsViewable) {
    return false;
  }
  XErrorTrap trap(target.display);
  XImage* image =
      XGetImage(target.display, target.window, 0, 0, static_cast<unsigned>(attributes.width),
                static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr || trap.Caught()) {
    if (image != nullptr) XDestroyImage(image);
    return false;
  }
  width = attributes.width;
  height = attributes.height;
  pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      pixels[static_cast<size_t>(ptrdiff_t{y} * width + x)] =
          Channel(pixel, image->red_mask) << 16 | Channel(pixel, image->green_mask) << 8 |
          Channel(pixel, image->blue_mask);
    }
  }
  XDestroyImage(image);
  return true;
}

// The client's picture out of the shown one, each client pixel the shown
// pixel nearest its middle.
void ShrinkToClient(SIZE client, std::vector<uint32_t>& pixels, int& width, int& height) {
  const SDL_Rect area = ScaledArea(client, SIZE{width, height});
  std::vector<uint32_t> shrunk(static_cast<size_t>(client.cx) * static_cast<size_t>(client.cy));
  for (int y = 0; y < client.cy; ++y) {
    const int64_t fromY = area.y + (int64_t{y} * 2 + 1) * area.h / (int64_t{client.cy} * 2);
    for (int x = 0; x < client.cx; ++x) {
      const int64_t fromX = area.x + (int64_t{x} * 2 + 1) * area.w / (int64_t{client.cx} * 2);
      shrunk[static_cast<size_t>(ptrdiff_t{y} * client.cx + x)] =
          pixels[static_cast<size_t>(fromY * width + fromX)];
    }
  }
  pixels = std::move(shrunk);
  width = client.cx;
  height = client.cy;
}

}  // namespace

bool CaptureWindowOnScreen(HWND window, std::vector<uint32_t>& pixels, int& width, int& height) {
  XTarget target;
  if (!IsMainThread() || !XTargetOf(window, target)) return false;
  // The server's exposure events of a newly mapped window come back as a
  // second present.
  XSync(target.display, False);
  PumpDesktop();
  if (!ReadImage(target, pixels, width, height)) return false;
  RECT client{};
  GetClientRect(window, &client);
  const bool scaled = client.right > 0 && client.bottom > 0 &&
                      (client.right < width || client.bottom < height) &&
                      IsFullScreenSize(client.right, client.bottom);
  if (scaled) ShrinkToClient(SIZE{client.right, client.bottom}, pixels, width, height);
  return true;
}

}  // namespace vpl::platform
