#pragma once

#include <cstdint>

// An integer point of the screen, a window or a bitmap.
struct UUPoint {
  int32_t mX = 0;
  int32_t mY = 0;

  friend bool operator==(const UUPoint&, const UUPoint&) = default;
};
