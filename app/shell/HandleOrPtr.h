#pragma once
// A memory block that lives either in program memory or in global memory,
// owned either way; at most one of the two is set.

#include "platform/win32/kernel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

template <typename T>
class HandleOrPtr {
 public:
  HandleOrPtr() = default;
  ~HandleOrPtr() { Free(); }
  HandleOrPtr(const HandleOrPtr&) = delete;
  HandleOrPtr& operator=(const HandleOrPtr&) = delete;

  // A program-memory block of the bytes, behind a 4-byte size prefix;
  // null when there is no memory.
  static T* NewPointerBlock(size_t bytes) {
    if (bytes > UINT32_MAX) return nullptr;
    auto* block = new (std::nothrow) uint8_t[bytes + kPrefix];
    if (block == nullptr) return nullptr;
    const auto size = static_cast<uint32_t>(bytes);
    std::memcpy(block, &size, kPrefix);
    return reinterpret_cast<T*>(block + kPrefix);
  }

  // The block's address: the pointer, or the locked handle.
  T* Lock() const {
    if (mPointer != nullptr) return mPointer;
    return mHandle != nullptr ? static_cast<T*>(GlobalLock(mHandle)) : nullptr;
  }
  void Unlock() const {
    if (mHandle != nullptr) GlobalUnlock(mHandle);
  }
  bool HasBlock() const { return mPointer != nullptr || mHandle != nullptr; }
  // The bytes the block was made with.
  size_t BlockBytes() const {
    if (mHandle != nullptr) return GlobalSize(mHandle);
    if (mPointer == nullptr) return 0;
    uint32_t size = 0;
    std::memcpy(&size, reinterpret_cast<const uint8_t*>(mPointer) - kPrefix, kPrefix);
    return size;
  }

  void Free() {
    if (mPointer != nullptr) delete[](reinterpret_cast<uint8_t*>(mPointer) - kPrefix);
    if (mHandle != nullptr) GlobalFree(mHandle);
    mPointer = nullptr;
    mHandle = nullptr;
  }
  // Takes a block made by NewPointerBlock, or a global handle.
  void TakePointer(T* block) {
    Free();
    mPointer = block;
  }
  void TakeHandle(HGLOBAL handle) {
    Free();
    mHandle = handle;
  }

 private:
  static constexpr size_t kPrefix = 4;

  T* mPointer = nullptr;
  HGLOBAL mHandle = nullptr;
};

// Locks a HandleOrPtr's block for a scope.
template <typename T>
class HandleOrPtrLock {
 public:
  explicit HandleOrPtrLock(const HandleOrPtr<T>& block) : mBlock(block), mAddress(block.Lock()) {}
  ~HandleOrPtrLock() {
    if (mAddress != nullptr) mBlock.Unlock();
  }
  HandleOrPtrLock(const HandleOrPtrLock&) = delete;
  HandleOrPtrLock& operator=(const HandleOrPtrLock&) = delete;

  T* Get() const { return mAddress; }

 private:
  const HandleOrPtr<T>& mBlock;
  T* mAddress;
};
