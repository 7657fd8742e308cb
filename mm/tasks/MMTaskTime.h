#pragma once
// Task times are int32 milliseconds, and INT_MAX means never: a task that
// is not run until woken, a thread that waits until woken. Shifting a time
// between clocks keeps never as never and saturates rather than wrapping.

#include <climits>
#include <cstdint>

constexpr int32_t kMMNever = INT_MAX;

constexpr int32_t MMShiftTime(int32_t time, int64_t shift) {
  if (time == kMMNever) return kMMNever;
  const int64_t shifted = time + shift;
  if (shifted >= INT32_MAX) return kMMNever;
  if (shifted < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(shifted);
}

// The time delay milliseconds after time; a delay of INT_MAX is never.
constexpr int32_t MMTimeAfter(int32_t time, int32_t delay) {
  return delay == kMMNever ? kMMNever : MMShiftTime(time, delay);
}
