#include "foundation/uu/UUReader.h"

#include "foundation/uu/UUByteSwap.h"

#include <algorithm>

namespace {

constexpr uint32_t kBooleanChunk = 100;

}  // namespace

void UUReader::SetByteOrder(UUByteOrder order) {
  if (order != GetByteOrder()) ApplyByteOrder(order);
}

bool UUReader::ReadByteOrderMark() {
  if (GetError() != kUUNoError) return false;
  char mark[2] = {'I', 'I'};
  if (!Read(mark, sizeof mark)) return false;
  if (mark[0] == 'I' && mark[1] == 'I') {
    SetByteOrder(kUUNativeByteOrder);
  } else if (mark[0] == 'M' && mark[1] == 'M') {
    SetByteOrder(kUUSwappedByteOrder);
  } else {
    SetError(kUUErrorBadByteOrderMark);
  }
  return GetError() == kUUNoError;
}

// One Read of the whole array, swapped when the stream's order is the
// other one. A count whose bytes do not fit in 32 bits cannot be delivered
// and is a short read.
bool UUReader::ReadValues(void* values, uint32_t n, uint32_t size) {
  if (GetError() != kUUNoError) return false;
  const uint64_t bytes = uint64_t{n} * size;
  if (bytes > UINT32_MAX) {
    SetError(kUUErrorShortRead);
    return false;
  }
  if (GetByteOrder() == kUUSwappedByteOrder) {
    ReadSwapped(values, static_cast<uint32_t>(bytes), size);
  } else {
    Read(values, static_cast<uint32_t>(bytes));
  }
  return GetError() == kUUNoError;
}

bool UUReader::ReadSwapped(void* values, uint32_t bytes, uint32_t size) {
  const bool good = Read(values, bytes);
  UUSwapValues(values, bytes / size, size);
  return good;
}

bool UUReader::ReadInt16s(int16_t* values, uint32_t n) { return ReadValues(values, n, 2); }
bool UUReader::ReadInt16s(uint16_t* values, uint32_t n) { return ReadValues(values, n, 2); }
bool UUReader::ReadInt32s(int32_t* values, uint32_t n) { return ReadValues(values, n, 4); }
bool UUReader::ReadInt32s(uint32_t* values, uint32_t n) { return ReadValues(values, n, 4); }
bool UUReader::ReadFloats(float* values, uint32_t n) { return ReadValues(values, n, 4); }
bool UUReader::ReadInt64s(int64_t* values, uint32_t n) { return ReadValues(values, n, 8); }

bool UUReader::ReadBooleans(bool* flags, uint32_t n) {
  uint8_t chunk[kBooleanChunk];
  while (n > 0 && GetError() == kUUNoError) {
    const uint32_t k = std::min(n, kBooleanChunk);
    if (!Read(chunk, k)) break;
    for (uint32_t i = 0; i < k; ++i) flags[i] = chunk[i] != 0;
    flags += k;
    n -= k;
  }
  return GetError() == kUUNoError;
}
