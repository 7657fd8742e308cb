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
  // The cells at the end of the newest block never handed out: a new block
  // is not threaded onto the free list, since a pool emptied and filled
  // again and again would thread a whole block for each cell.
  int32_t mUntouched = 0;
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
  pool.mUntouched = kCellsPerBlock - 1;
}

void FreeBlocks(CountCellPool& pool) {
  while (pool.mBlocks != nullptr) {
    UUCountCell* next = pool.mBlocks->mNext;
    UUFreeArrayBlock(pool.mBlocks);
    pool.mBlocks = next;
  }
  pool.mFree = nullptr;
  pool.mUntouched = 0;
}

}  // namespace

UUCountCell* UUAllocateCountCell() {
  CountCellPool& pool = Pool();
  std::lock_guard lock(pool.mMutex);
  UUCountCell* cell = pool.mFree;
  if (cell != nullptr) {
    pool.mFree = cell->mNext;
  } else {
    if (pool.mUntouched == 0) AddBlock(pool);
    cell = &pool.mBlocks[kCellsPerBlock - pool.mUntouched];
    --pool.mUntouched;
  }
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
