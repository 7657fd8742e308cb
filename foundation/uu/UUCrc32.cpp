#include "foundation/uu/UUCrc32.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUReader.h"

namespace {

constexpr uint32_t kPolynomial = 0x04C11DB7;
constexpr uint32_t kStackBufferSize = 512;
constexpr uint32_t kWorkBufferSize = 10240;

// A heap buffer of up to 10240 bytes, halved after each refusal while it
// stays above 512; null (and size 0) when none could be had.
void* AllocateWorkBuffer(uint32_t* size) {
  for (uint32_t tried = kWorkBufferSize; tried > kStackBufferSize; tried /= 2) {
    if (void* buffer = ALAllocate(tried, ALDefaultAllocator, kALMayFail)) {
      *size = tried;
      return buffer;
    }
  }
  *size = 0;
  return nullptr;
}

}  // namespace

UUCrc32::UUCrc32() {
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t entry = 0;
    for (uint32_t bit = 0; bit < 8; ++bit) {
      if ((i >> bit) & 1) entry ^= kPolynomial << bit;
    }
    mTable[i] = entry;
  }
}

uint32_t UUCrc32::Update(const void* bytes, uint32_t n) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  uint32_t value = mValue;
  for (uint32_t i = 0; i < n; ++i) value = (value << 8) ^ mTable[(value >> 24) ^ p[i]];
  mValue = value;
  return value;
}

uint32_t UUCrc32::UpdateFromReader(UUReader& reader, uint32_t n) {
  uint8_t stackBuffer[kStackBufferSize] = {};
  uint32_t heapSize = 0;
  void* heapBuffer = n > kStackBufferSize ? AllocateWorkBuffer(&heapSize) : nullptr;
  uint8_t* buffer = heapBuffer != nullptr ? static_cast<uint8_t*>(heapBuffer) : stackBuffer;
  const uint32_t bufferSize = heapBuffer != nullptr ? heapSize : kStackBufferSize;
  while (n > 0) {
    const uint32_t chunk = n < bufferSize ? n : bufferSize;
    // After a failed read the value means nothing: stop feeding.
    if (!reader.Read(buffer, chunk)) break;
    Update(buffer, chunk);
    n -= chunk;
  }
  if (heapBuffer != nullptr) ALFree(heapBuffer);
  return mValue;
}
