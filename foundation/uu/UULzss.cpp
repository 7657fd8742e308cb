#include "foundation/uu/UULzss.h"

#include <cstring>

namespace {

constexpr int64_t kWindowSize = 1024;
// The ring's slot for output index k is (k + 958) mod 1024.
constexpr int64_t kWindowStart = 66;

// The output index that window position p names, in [i - 1024, i - 1].
int64_t SourceIndex(int64_t i, int64_t p) {
  const int64_t target = (p + kWindowStart) % kWindowSize;
  const int64_t back = ((i - 1 - target) % kWindowSize + kWindowSize) % kWindowSize;
  return i - 1 - back;
}

}  // namespace

bool UULzssDecode(void* destination, const void* source, uint32_t length, uint32_t sourceLength) {
  auto* out = static_cast<uint8_t*>(destination);
  const auto* in = static_cast<const uint8_t*>(source);
  std::memset(out, 0, length);
  uint32_t i = 0;
  uint32_t read = 0;
  while (i < length) {
    if (read >= sourceLength) return false;
    const uint8_t flags = in[read++];
    for (int bit = 0; bit < 8 && i < length; ++bit) {
      if (flags & (1 << bit)) {
        if (read >= sourceLength) return false;
        out[i++] = in[read++];
        continue;
      }
      if (read + 2 > sourceLength) return false;
      const uint8_t b0 = in[read++];
      const uint8_t b1 = in[read++];
      int64_t s = SourceIndex(i, ((b0 & 3) << 8) | b1);
      // Before the first output byte the window holds zeros; a reference may
      // overlap the bytes it produces.
      for (int count = (b0 >> 2) + 3; count > 0 && i < length; --count, ++s) {
        out[i++] = s < 0 ? 0 : out[s];
      }
    }
  }
  return true;
}
