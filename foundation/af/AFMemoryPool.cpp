#include "foundation/af/AFMemoryPool.h"

namespace {

// Heap overhead per block assumed where the heap cannot be walked.
constexpr uint32_t kBlockOverhead = 16;

bool IsNT() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

AFMemoryPool::AFMemoryPool(uint32_t maximumSize)
    : mHeap(HeapCreate(0, 0, maximumSize)), mIsNT(IsNT()) {}

AFMemoryPool::~AFMemoryPool() {
  if (mHeap != nullptr) HeapDestroy(mHeap);
}

void* AFMemoryPool::Allocate(size_t size, ALMemToolsRecord*) {
  const size_t bytes = (size + 3) & ~size_t{3};
  void* block = bytes >= size ? HeapAlloc(mHeap, 0, bytes) : nullptr;
  UpdateFootprint(static_cast<uint32_t>(bytes));
  if (block == nullptr) return nullptr;
  mBytesInUse += static_cast<uint32_t>(HeapSize(mHeap, 0, block));
  if (mBytesInUse > mPeakBytesInUse) mPeakBytesInUse = mBytesInUse;
  if (mFootprint > mPeakFootprint) mPeakFootprint = mFootprint;
  return block;
}

void AFMemoryPool::Free(void* block, ALMemToolsRecord*) {
  const auto size = static_cast<uint32_t>(HeapSize(mHeap, 0, block));
  mBytesInUse -= size;
  if (!mIsNT) mFootprint -= size + kBlockOverhead;
  HeapFree(mHeap, 0, block);
}

// On NT the heap's region tells what it has committed; elsewhere the pool
// estimates it, before it knows whether the allocation succeeded.
void AFMemoryPool::UpdateFootprint(uint32_t bytes) {
  if (!mIsNT) {
    mFootprint += bytes + kBlockOverhead;
    return;
  }
  PROCESS_HEAP_ENTRY entry{};
  HeapLock(mHeap);
  const BOOL walked = HeapWalk(mHeap, &entry);
  HeapUnlock(mHeap);
  if (walked && (entry.wFlags & PROCESS_HEAP_REGION)) mFootprint = entry.Region.dwCommittedSize;
}
