#include "foundation/uu/UUArrayBlock.h"

#include <cstring>

void* UUAllocateArrayBlock(size_t bytes, ALAllocator* allocator, ALAllocationMode mode) {
  if (bytes > SIZE_MAX - kUUArrayPrefixBytes) {
    if (mode == kALMustSucceed) ALOutOfMemory();
    return nullptr;
  }
  auto* block =
      static_cast<unsigned char*>(ALAllocate(bytes + kUUArrayPrefixBytes, allocator, mode));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &bytes, sizeof bytes);
  return block + kUUArrayPrefixBytes;
}

size_t UUArrayBlockBytes(const void* elements) {
  size_t bytes;
  std::memcpy(&bytes, static_cast<const unsigned char*>(elements) - kUUArrayPrefixBytes,
              sizeof bytes);
  return bytes;
}

void UUFreeArrayBlock(void* elements) {
  if (elements != nullptr) ALFree(static_cast<unsigned char*>(elements) - kUUArrayPrefixBytes);
}

void UUFreeBlock(void* block) {
  if (block != nullptr) ALFree(block);
}
