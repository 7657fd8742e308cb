#pragma once

#include "foundation/al/ALAllocator.h"
#include "platform/win32/kernel.h"

#include <cstdint>

// The application's allocator: a private heap that never grows past its
// maximum size, with statistics of what it holds. It takes no lock of its
// own: it is only called inside the allocation lock.
class AFMemoryPool : public ALAllocator {
 public:
  explicit AFMemoryPool(uint32_t maximumSize);
  ~AFMemoryPool() override;
  AFMemoryPool(const AFMemoryPool&) = delete;
  AFMemoryPool& operator=(const AFMemoryPool&) = delete;

  void* Allocate(size_t size, ALMemToolsRecord* record) override;
  void Free(void* block, ALMemToolsRecord* record) override;

  // Null when the heap could not be created: the pool must not be used then.
  HANDLE GetHeap() const { return mHeap; }
  size_t GetBlockSize(const void* block) const { return HeapSize(mHeap, 0, block); }

  uint32_t GetBytesInUse() const { return mBytesInUse; }
  uint32_t GetFootprint() const { return mFootprint; }
  uint32_t GetPeakBytesInUse() const { return mPeakBytesInUse; }
  uint32_t GetPeakFootprint() const { return mPeakFootprint; }

 private:
  void UpdateFootprint(uint32_t bytes);

  uint32_t mBytesInUse = 0;
  uint32_t mFootprint = 0;
  uint32_t mPeakBytesInUse = 0;
  uint32_t mPeakFootprint = 0;
  HANDLE mHeap;
  bool mIsNT;
};
