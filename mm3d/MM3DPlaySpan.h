#pragma once
// The clip times a play runs through: from its start time, forwards or
// backwards (a negative span), over the magnitude of its span in
// milliseconds of the scene clock.

#include <cstdint>

struct MM3DPlaySpan {
  static constexpr float kSecondsPerMillisecond = 0.001f;

  // Clip seconds as whole milliseconds, truncated; saturated at the int32
  // range, and 0 for NaN.
  static int32_t ToMilliseconds(float seconds);
  static float ToSeconds(int32_t milliseconds) {
    return static_cast<float>(milliseconds) * kSecondsPerMillisecond;
  }

  // A span from start to end; its length is capped at the longest span.
  static MM3DPlaySpan FromTo(int32_t start, int32_t end);

  // The clip time (ms) at an elapsed time. A loop wraps (one of no length
  // stays at its start); otherwise the time stops at the end and finished
  // becomes true once the elapsed time is past the length.
  int32_t ClipTimeAt(int64_t elapsed, bool looping, bool& finished) const;

  int32_t mStartTime = 0;
  int32_t mSpan = 0;
  int32_t mSpanLength = 0;
};
