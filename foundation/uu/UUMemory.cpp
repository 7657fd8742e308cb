#include "foundation/uu/UUMemory.h"

#include <cstring>

UUMemory::UUMemory(void* block, int32_t size)
    : mBlock(static_cast<uint8_t*>(block)), mSize(size < 0 ? 0 : size) {}

bool UUMemory::Fits(uint32_t n) const { return n <= static_cast<uint32_t>(mSize - mPosition); }

bool UUMemory::Read(void* buffer, uint32_t n) {
  if (GetError() != kUUNoError) return false;
  if (!Fits(n)) {
    SetError(kUUErrorMemoryOverrun);
    return false;
  }
  if (n > 0) std::memcpy(buffer, mBlock + mPosition, n);
  mPosition += static_cast<int32_t>(n);
  return true;
}

bool UUMemory::Write(const void* buffer, uint32_t n) {
  if (GetError() != kUUNoError) return false;
  if (!Fits(n)) {
    SetError(kUUErrorMemoryOverrun);
    return false;
  }
  if (n > 0) std::memcpy(mBlock + mPosition, buffer, n);
  mPosition += static_cast<int32_t>(n);
  return true;
}

bool UUMemory::Seek(int32_t offset, int32_t origin, int32_t* newPosition) {
  if (newPosition) *newPosition = -1;
  if (GetError() != kUUNoError) return false;
  const int64_t from = origin == kUUSeekFromStart     ? 0
                       : origin == kUUSeekFromCurrent ? mPosition
                                                      : mSize;
  const int64_t target = from + offset;
  if (target < 0 || target > mSize) {
    SetError(kUUErrorMemoryOverrun);
    return false;
  }
  mPosition = static_cast<int32_t>(target);
  if (newPosition) *newPosition = mPosition;
  return true;
}
