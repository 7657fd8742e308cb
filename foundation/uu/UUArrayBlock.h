#pragma once
// Blocks whose element area is preceded by its byte size. The prefix is 16
// bytes rather than 4 on 64-bit so that the elements stay 16-byte aligned.

#include "foundation/al/ALAllocator.h"

#include <cstddef>

constexpr size_t kUUArrayPrefixBytes = 16;

// The element area of a new block of bytes bytes; null only when a may-fail
// allocation fails.
void* UUAllocateArrayBlock(size_t bytes, ALAllocator* allocator, ALAllocationMode mode);
// The byte size recorded in a block's prefix.
size_t UUArrayBlockBytes(const void* elements);
// Frees a block given its element area; null is ignored.
void UUFreeArrayBlock(void* elements);
// Frees an ALAllocate block; null is ignored.
void UUFreeBlock(void* block);
