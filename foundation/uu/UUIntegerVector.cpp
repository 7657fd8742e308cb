#include "foundation/uu/UUIntegerVector.h"

#include <algorithm>
#include <cstdlib>

int32_t UUIntegerHypot(int32_t a, int32_t b) {
  // Wider than 32 bits so large components neither overflow nor divide by
  // a wrapped estimate.
  const int64_t x = std::llabs(a);
  const int64_t y = std::llabs(b);
  int64_t guess = std::max(x, y) + std::min(x, y) / 2;
  if (guess == 0) return 0;
  const int64_t square = x * x + y * y;
  for (int step = 0; step < 3; ++step) guess = (guess + square / guess) / 2;
  return static_cast<int32_t>(guess);
}

void UUScaleVector(int32_t& x, int32_t& y, int32_t length) {
  const int64_t current = UUIntegerHypot(x, y);
  if (current == 0 || length == 0) {
    x = y = 0;
    return;
  }
  x = static_cast<int32_t>(int64_t{length} * x / current);
  y = static_cast<int32_t>(int64_t{length} * y / current);
}
