#include "platform/win32/testhooks.h"
#include "platform/win32/winmm.h"

#include <atomic>
#include <chrono>

namespace {

// A frozen clock answers the frozen reading until thawed.
std::atomic<bool> gFrozen{false};
std::atomic<DWORD> gFrozenTime{0};
std::atomic<DWORD> gFrozenStep{0};

DWORD MonotonicMilliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace

DWORD timeGetTime() {
  return gFrozen ? gFrozenTime.fetch_add(gFrozenStep.load()) : MonotonicMilliseconds();
}

namespace vpl::platform {

void FreezeClock() {
  gFrozenTime = MonotonicMilliseconds();
  gFrozen = true;
}

void AdvanceFrozenClock(DWORD milliseconds) { gFrozenTime += milliseconds; }

void ThawClock() { gFrozen = false; }

void SetFrozenClockStep(DWORD milliseconds) { gFrozenStep = milliseconds; }

}  // namespace vpl::platform
