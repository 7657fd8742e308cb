#include "foundation/uu/UUBufferedInputFromMemory.h"

#include <algorithm>

UUBufferedInputFromMemory::UUBufferedInputFromMemory(const uint8_t* base, int32_t length,
                                                     bool byteSwapped)
    : mBase(base), mLength(std::max(length, 0)), mByteSwapped(byteSwapped) {}

int32_t UUBufferedInputFromMemory::Seek(int32_t position) {
  mPosition = std::clamp(position, 0, mLength);
  return mPosition;
}

int32_t UUBufferedInputFromMemory::Peek(const uint8_t** bytes) {
  *bytes = mBase + mPosition;
  return mLength - mPosition;
}

int32_t UUBufferedInputFromMemory::Consume(int32_t n) {
  n = std::clamp(n, 0, mLength - mPosition);
  mPosition += n;
  return n;
}
