#pragma once
// Helpers of every layer's tests that drive windows: handling what the
// calling thread's queue holds, pumping it while other threads work, and
// what a real X server shows of a window.

#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"
#include "platform/win32/user.h"
#include "platform/win32/winmm.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace vpl::test {

// Handles everything queued for the calling thread now, without waiting.
inline void DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Handles the calling thread's messages (other threads ask it to show
// windows and to run activation) until the condition holds, looking again
// every few milliseconds; false when it still does not hold after 20
// seconds.
inline bool PumpUntil(const std::function<bool()>& done) {
  constexpr DWORD kPatience = 20000;
  constexpr DWORD kLookAgain = 5;
  static const HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const DWORD start = timeGetTime();
  for (;;) {
    DrainMessages();
    if (done()) return true;
    if (timeGetTime() - start > kPatience) return false;
    WaitForSingleObject(never, kLookAgain);
  }
}

inline bool PumpUntilSet(HANDLE event) {
  return PumpUntil([&] { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; });
}

// What the X server shows of a top-level window's client area, for the
// tests that run under a real X display (VPL3D_XVFB set, under xvfb-run;
// they skip otherwise). Pixels are 0x00RRGGBB.
class ScreenOnX {
 public:
  static constexpr uint32_t kOutside = 0xFFFFFFFF;

  static bool Available() { return std::getenv("VPL3D_XVFB") != nullptr; }

  bool Capture(HWND topLevel) {
    return vpl::platform::CaptureWindowOnScreen(topLevel, mPixels, mWidth, mHeight);
  }
  // Captures, letting the window's thread show its pending pixels, until
  // the point shows the colour; false when it never does (or there is no
  // X display).
  bool CaptureUntil(HWND topLevel, int32_t x, int32_t y, uint32_t colour) {
    bool captured = true;
    const bool shown = PumpUntil([&] {
      captured = Capture(topLevel);
      return !captured || At(x, y) == colour;
    });
    return shown && captured;
  }
  // kOutside outside the capture.
  uint32_t At(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight) return kOutside;
    return mPixels[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
  }
  int Width() const { return mWidth; }
  int Height() const { return mHeight; }

 private:
  std::vector<uint32_t> mPixels;
  int mWidth = 0;
  int mHeight = 0;
};

}  // namespace vpl::test
