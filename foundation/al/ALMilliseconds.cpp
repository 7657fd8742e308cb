#include "foundation/al/ALMilliseconds.h"

#include "platform/win32/winmm.h"

#include <atomic>

namespace {

constexpr uint32_t kFirstReading = 1000;
constexpr uint64_t kBaseTaken = uint64_t{1} << 32;

// The base and its taken flag in one word, so that threads reading the clock
// together agree on one base without a lock.
std::atomic<uint64_t> gBase{0};

uint32_t Base() { return static_cast<uint32_t>(gBase.load(std::memory_order_acquire)); }

}  // namespace

uint32_t ALMilliseconds() {
  const uint32_t now = timeGetTime();
  uint64_t expected = 0;
  gBase.compare_exchange_strong(expected, kBaseTaken | now, std::memory_order_acq_rel);
  return now - Base() + kFirstReading;
}

uint32_t ALSystemTimeToMilliseconds(uint32_t systemTime) {
  return systemTime - Base() + kFirstReading;
}

uint32_t ALMillisecondsToSystemTime(uint32_t milliseconds) {
  return Base() + milliseconds - kFirstReading;
}
