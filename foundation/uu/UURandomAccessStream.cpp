#include "foundation/uu/UURandomAccessStream.h"

#include <algorithm>

// Seek offsets are signed 32-bit: a longer skip goes in steps.
bool UURandomAccessStream::Skip(uint32_t n) {
  do {
    const uint32_t step = std::min<uint32_t>(n, INT32_MAX);
    if (!Seek(static_cast<int32_t>(step), kUUSeekFromCurrent, nullptr)) return false;
    n -= step;
  } while (n > 0);
  return true;
}
