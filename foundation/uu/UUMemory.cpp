#include "foundation/uu/UUMemory.h"

#include "foundation/uu/UUByteSwap.h"

#include <cstring>

UUMemory::UUMemory(void* block, int32_t size)
    : mBlock(static_cast<uint8_t*>(block)), mSize(size < 0 ? 0 : size) {}

bool UUMemory::Fits(uint32_t n) const { return n <= static_cast<uint32_t>(mSize - mPosition); }

const uint8_t* UUMemory::Take(uint32_t n) {
  if (GetError() != kUUNoError) return nullptr;
  if (!Fits(n)) {
    SetError(kUUErrorMemoryOverrun);
    return nullptr;
  }
  const uint8_t* taken = mBlock + mPosition;
  mPosition += static_cast<int32_t>(n);
  return taken;
}

bool UUMemory::Read(void* buffer, uint32_t n) {
  const uint8_t* bytes = Take(n);
  if (bytes != nullptr && n > 0) std::memcpy(buffer, bytes, n);
  return bytes != nullptr;
}

bool UUMemory::ReadSwapped(void* values, uint32_t bytes, uint32_t size) {
  const uint8_t* stored = Take(bytes);
  if (stored != nullptr) UUCopySwapValues(values, stored, bytes, size);
  return stored != nullptr;
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

bool UUMemory::WriteRange(int32_t from, int32_t to, UUWriter& writer) const {
  if (from < 0 || from > to || to > mSize) return false;
  return writer.Write(mBlock + from, static_cast<uint32_t>(to - from));
}
