#include "foundation/uu/UUWriter.h"

#include "foundation/uu/UUByteSwap.h"

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "files are written in the machine's order, which must be little-endian");

namespace {

constexpr uint32_t kBooleanChunk = 100;
// Swapped values go out through a chunk of this many bytes.
constexpr uint32_t kSwapChunk = 256;

}  // namespace

bool UUWriter::WriteByteOrderMark() {
  return Write(GetWriteByteOrder() == kUUSwappedByteOrder ? "MM" : "II", 2);
}

bool UUWriter::WriteValues(const void* values, uint32_t n, uint32_t size) {
  if (GetError() != kUUNoError) return false;
  const uint64_t bytes = uint64_t{n} * size;
  if (bytes > UINT32_MAX) {
    SetError(kUUErrorShortWrite);
    return false;
  }
  if (size == 1 || GetWriteByteOrder() == kUUNativeByteOrder) {
    return Write(values, static_cast<uint32_t>(bytes));
  }
  const auto* source = static_cast<const uint8_t*>(values);
  uint8_t chunk[kSwapChunk];
  const uint32_t perChunk = kSwapChunk / size;
  while (n > 0) {
    const uint32_t k = std::min(n, perChunk);
    std::memcpy(chunk, source, k * size);
    UUSwapValues(chunk, k, size);
    if (!Write(chunk, k * size)) return false;
    source += k * size;
    n -= k;
  }
  return GetError() == kUUNoError;
}

bool UUWriter::WriteInt16s(const int16_t* values, uint32_t n) { return WriteValues(values, n, 2); }
bool UUWriter::WriteInt16s(const uint16_t* values, uint32_t n) { return WriteValues(values, n, 2); }
bool UUWriter::WriteInt32s(const int32_t* values, uint32_t n) { return WriteValues(values, n, 4); }
bool UUWriter::WriteInt32s(const uint32_t* values, uint32_t n) { return WriteValues(values, n, 4); }
bool UUWriter::WriteFloats(const float* values, uint32_t n) { return WriteValues(values, n, 4); }
bool UUWriter::WriteInt64s(const int64_t* values, uint32_t n) { return WriteValues(values, n, 8); }

bool UUWriter::WriteBooleans(const bool* flags, uint32_t n) {
  uint8_t chunk[kBooleanChunk];
  while (n > 0 && GetError() == kUUNoError) {
    const uint32_t k = std::min(n, kBooleanChunk);
    for (uint32_t i = 0; i < k; ++i) chunk[i] = flags[i] ? 1 : 0;
    if (!Write(chunk, k)) break;
    flags += k;
    n -= k;
  }
  return GetError() == kUUNoError;
}
