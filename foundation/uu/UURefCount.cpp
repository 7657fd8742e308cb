#include "foundation/uu/UURefCount.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUArrayBlock.h"

#include <mutex>

namespace {

constexpr int kCellsPerBlock = 256;

// The pool's own lists are locked so that handles made on different
// threads never tangle them; the counts in the cells are the owners' to
// guard.
struct CountCellPool {
  std::mutex mMutex;
  UUCountCell* mFree = nullptr;
  UUCountCell* mBlocks = nullptr;
  int32_t mLive = 0;
};

CountCellPool& Pool() {
  static CountCellPool* pool = new CountCellPool;
  return *pool;
}

void AddBlock(CountCellPool& pool) {
  auto* cells = static_cast<UUCountCell*>(UUAllocateArrayBlock(kCellsPerBlock * sizeof(UUCountCell),
                                                               ALGlobalAllocator, kALMustSucceed));
  cells[0].mNext = pool.mBlocks;
  pool.mBlocks = cells;
  for (int i = kCellsPerBlock - 1; i >= 1; --i) {
    cells[i].mNext = pool.mFree;
    pool.mFree = &cells[i];
  }
}

void FreeBlocks(CountCellPool& pool) {
  while (pool.mBlocks != nullptr) {
    UUCountCell* next = pool.mBlocks->mNext;
    UUFreeArrayBlock(pool.mBlocks);
    pool.mBlocks = next;
  }
  pool.mFree = nullptr;
}

}  // namespace

UUCountCell* UUAllocateCountCell() {
  CountCellPool& pool = Pool();
  std::lock_guard lock(pool.mMutex);
  if (pool.mFree == nullptr) AddBlock(pool);
  UUCountCell* cell = pool.mFree;
  pool.mFree = cell->mNext;
  ++pool.mLive;
  return cell;
}

void UUFreeCountCell(UUCountCell* cell) {
  CountCellPool& pool = Pool();
  std::lock_guard lock(pool.mMutex);
  cell->mNext = pool.mFree;
  pool.mFree = cell;
  if (--pool.mLive == 0) FreeBlocks(pool);
}
