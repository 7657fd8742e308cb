#include "foundation/al/ALBytes.h"

#include "platform/win32/kernel.h"

#include <cstring>

namespace {

template <typename Unit>
Unit Reversed(Unit value) {
  if constexpr (sizeof(Unit) == 2) return __builtin_bswap16(value);
  if constexpr (sizeof(Unit) == 4) return __builtin_bswap32(value);
  if constexpr (sizeof(Unit) == 8) return __builtin_bswap64(value);
}

// Works unit by unit through memcpy, so neither side needs to be aligned.
template <typename Unit>
void CopySwapUnits(void* destination, const void* source, uint32_t units) {
  auto* out = static_cast<unsigned char*>(destination);
  const auto* in = static_cast<const unsigned char*>(source);
  for (uint32_t i = 0; i < units; ++i) {
    Unit value;
    std::memcpy(&value, in + size_t{i} * sizeof(Unit), sizeof(Unit));
    value = Reversed(value);
    std::memcpy(out + size_t{i} * sizeof(Unit), &value, sizeof(Unit));
  }
}

}  // namespace

void ALCopyBytes(void* destination, const void* source, int32_t n) {
  if (n > 0) std::memcpy(destination, source, static_cast<size_t>(n));
}

void ALCopySwapBytes16(void* destination, const void* source, uint32_t n) {
  CopySwapUnits<uint16_t>(destination, source, n / 2);
}

void ALCopySwapBytes32(void* destination, const void* source, uint32_t n) {
  CopySwapUnits<uint32_t>(destination, source, n / 4);
}

void ALCopySwapBytes64(void* destination, const void* source, uint32_t n) {
  CopySwapUnits<uint64_t>(destination, source, n / 8);
}

void ALSwapBytes16(void* values, uint32_t count) { CopySwapUnits<uint16_t>(values, values, count); }
void ALSwapBytes32(void* values, uint32_t count) { CopySwapUnits<uint32_t>(values, values, count); }
void ALSwapBytes64(void* values, uint32_t count) { CopySwapUnits<uint64_t>(values, values, count); }

bool ALIsReadable(const void* pointer, uint32_t n) { return !IsBadReadPtr(pointer, n); }
bool ALIsWritable(void* pointer, uint32_t n) { return !IsBadWritePtr(pointer, n); }

int32_t ALCompareBytes(const void* a, const void* b, uint32_t n) {
  if (n == 0) return 0;
  const int result = std::memcmp(a, b, n);
  return result == 0 ? 0 : (result < 0 ? -1 : 1);
}
