// The program's global allocation functions, all over ALAllocate and the
// one operator delete that follows each block's header.

#include "foundation/al/ALAllocator.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kNaturalAlignment = 16;

void* AllocateOrThrow(size_t size) {
  void* pointer = ALAllocate(size, ALDefaultAllocator, kALMayFail);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

// Over-aligned blocks keep the start of their ALAllocate block in the word
// right before the aligned pointer.
void* AllocateAligned(size_t size, std::align_val_t alignment) {
  const auto align = static_cast<size_t>(alignment);
  if (align <= kNaturalAlignment) return ALAllocate(size, ALDefaultAllocator, kALMayFail);
  if (size > SIZE_MAX - align) return nullptr;
  void* raw = ALAllocate(size + align, ALDefaultAllocator, kALMayFail);
  if (raw == nullptr) return nullptr;
  const auto address = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (address + align) & ~(uintptr_t{align} - 1);
  std::memcpy(reinterpret_cast<void*>(aligned - sizeof raw), &raw, sizeof raw);
  return reinterpret_cast<void*>(aligned);
}

void FreeAligned(void* pointer, std::align_val_t alignment) noexcept {
  if (pointer == nullptr || static_cast<size_t>(alignment) <= kNaturalAlignment) {
    ALFree(pointer);
    return;
  }
  void* raw;
  std::memcpy(&raw, static_cast<unsigned char*>(pointer) - sizeof raw, sizeof raw);
  ALFree(raw);
}

void* AllocateAlignedOrThrow(size_t size, std::align_val_t alignment) {
  void* pointer = AllocateAligned(size, alignment);
  if (pointer == nullptr) throw std::bad_alloc();
  return pointer;
}

}  // namespace

void* operator new(size_t size) { return AllocateOrThrow(size); }
void* operator new[](size_t size) { return AllocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return ALAllocate(size, ALDefaultAllocator, kALMayFail);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return ALAllocate(size, ALDefaultAllocator, kALMayFail);
}
void* operator new(size_t size, std::align_val_t alignment) {
  return AllocateAlignedOrThrow(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return AllocateAlignedOrThrow(size, alignment);
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment);
}

void operator delete(void* pointer) noexcept { ALFree(pointer); }
void operator delete[](void* pointer) noexcept { ALFree(pointer); }
void operator delete(void* pointer, size_t) noexcept { ALFree(pointer); }
void operator delete[](void* pointer, size_t) noexcept { ALFree(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { ALFree(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { ALFree(pointer); }
void operator delete(void* pointer, std::align_val_t alignment) noexcept {
  FreeAligned(pointer, alignment);
}
void operator delete[](void* pointer, std::align_val_t alignment) noexcept {
  FreeAligned(pointer, alignment);
}
void operator delete(void* pointer, size_t, std::align_val_t alignment) noexcept {
  FreeAligned(pointer, alignment);
}
void operator delete[](void* pointer, size_t, std::align_val_t alignment) noexcept {
  FreeAligned(pointer, alignment);
}
void operator delete(void* pointer, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  FreeAligned(pointer, alignment);
}
void operator delete[](void* pointer, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  FreeAligned(pointer, alignment);
}

void* operator new(size_t size, ALAllocator* allocator) {
  return ALAllocate(size, allocator, kALMustSucceed);
}
void* operator new[](size_t size, ALAllocator* allocator) {
  return ALAllocate(size, allocator, kALMustSucceed);
}
void operator delete(void* pointer, ALAllocator*) noexcept { ALFree(pointer); }
void operator delete[](void* pointer, ALAllocator*) noexcept { ALFree(pointer); }
