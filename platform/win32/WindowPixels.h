#pragma once
// Internal to the platform layer: the pixels of a top-level window's client
// area, shared by the window and its children (rectangles inside it). GDI
// draws into them through a window's device context; the desktop shows them.

#include "platform/win32/user.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vpl::platform {

struct WindowPixels {
  // The pixels cover at most this much of a client area each way: drawing
  // beyond is clipped, as drawing off the screen is.
  static constexpr int32_t kMaxExtent = 8192;

  std::mutex mutex;  // held while the pixels are drawn, resized or shown
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first, width per row
  bool changed = false;          // shown on the desktop at its next pump

  // With the mutex held. Keeps what still fits; new pixels are white.
  // Device contexts find the pixels again at each drawing call. False, with
  // the pixels unchanged, when the memory for them cannot be had.
  bool Resize(int32_t newWidth, int32_t newHeight);
};

// The end of an extent from start, at most INT_MAX: a window's rectangle
// never wraps around.
inline LONG SaturatedEnd(int start, int extent) {
  return static_cast<LONG>(
      std::min<int64_t>(static_cast<int64_t>(start) + std::max(extent, 0), INT32_MAX));
}

// Where a window's client area lies in the pixels of its top-level window.
struct WindowDrawTarget {
  std::shared_ptr<WindowPixels> pixels;
  POINT origin;  // the client area's top-left corner in the pixels
  RECT clip;     // the part of the client area that shows, in pixel coordinates
};

// False when the window does not exist.
bool GetWindowDrawTarget(HWND window, WindowDrawTarget& target);

// Marks the pixels for showing at the desktop's next pump.
void MarkWindowPixelsChanged(WindowPixels& pixels);

}  // namespace vpl::platform
