#include "mm3d/MM3DPlaySpan.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kMillisecondsPerSecond = 1000.0f;
// 2^31, the first float above the int32 range.
constexpr float kIntLimit = 2147483648.0f;

}  // namespace

int32_t MM3DPlaySpan::ToMilliseconds(float seconds) {
  // Clip times come from files: out of range they saturate, and NaN is 0.
  const float milliseconds = seconds * kMillisecondsPerSecond;
  if (std::isnan(milliseconds)) return 0;
  if (milliseconds >= kIntLimit) return INT_MAX;
  if (milliseconds <= -kIntLimit) return INT_MIN;
  return static_cast<int32_t>(milliseconds);
}

MM3DPlaySpan MM3DPlaySpan::FromTo(int32_t start, int32_t end) {
  const int64_t span = static_cast<int64_t>(end) - start;
  return MM3DPlaySpan{
      .mStartTime = start,
      .mSpan = static_cast<int32_t>(std::clamp<int64_t>(span, -INT_MAX, INT_MAX)),
      .mSpanLength = static_cast<int32_t>(std::min<int64_t>(std::llabs(span), INT_MAX)),
  };
}

int32_t MM3DPlaySpan::ClipTimeAt(int64_t elapsed, bool looping, bool& finished) const {
  finished = false;
  if (looping) {
    elapsed = mSpanLength == 0 ? 0 : elapsed % mSpanLength;
  } else if (elapsed > mSpanLength) {
    elapsed = mSpanLength;
    finished = true;
  }
  const int64_t clipTime = mSpan >= 0 ? mStartTime + elapsed : mStartTime - elapsed;
  return static_cast<int32_t>(std::clamp<int64_t>(clipTime, INT_MIN, INT_MAX));
}
