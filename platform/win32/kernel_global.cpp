// The global heap: movable blocks behind handles. Every live block is kept
// in a table, so a stale or foreign handle fails instead of being followed.

#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

constexpr SIZE_T kRoomWithoutLimit = 0x7FFFFFFF;

struct GlobalBlock {
  std::unique_ptr<unsigned char[]> bytes;
  SIZE_T size = 0;
  uint32_t locks = 0;
};

struct GlobalHeap {
  std::mutex mutex;
  std::unordered_map<HGLOBAL, std::unique_ptr<GlobalBlock>> blocks;
  SIZE_T used = 0;
  SIZE_T limit = 0;  // 0: none

  bool Fits(SIZE_T bytes) const { return limit == 0 || (used <= limit && bytes <= limit - used); }

  GlobalBlock* Find(HGLOBAL handle) {
    auto found = blocks.find(handle);
    return found == blocks.end() ? nullptr : found->second.get();
  }
};

GlobalHeap& Heap() {
  static GlobalHeap heap;
  return heap;
}

// Runs the operation on the live block of the handle under the heap's lock;
// a stale or foreign handle answers the failure value.
template <typename Result, typename Operation>
Result WithBlock(HGLOBAL handle, Result failure, Operation operation) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  GlobalBlock* block = heap.Find(handle);
  if (block == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failure;
  }
  return operation(*block);
}

}  // namespace

namespace vpl::platform {

void SetGlobalHeapLimit(size_t bytes) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  heap.limit = bytes;
}

}  // namespace vpl::platform

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  auto block = std::make_unique<GlobalBlock>();
  if (heap.Fits(bytes)) {
    block->bytes.reset(new (std::nothrow) unsigned char[bytes == 0 ? 1 : bytes]);
  }
  if (!block->bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  block->size = bytes;
  heap.used += bytes;
  // The record's own address is the handle: unique while the block lives.
  HGLOBAL handle = block.get();
  heap.blocks.emplace(handle, std::move(block));
  return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
  return WithBlock(memory, LPVOID{nullptr}, [](GlobalBlock& block) -> LPVOID {
    ++block.locks;
    return block.bytes.get();
  });
}

BOOL GlobalUnlock(HGLOBAL memory) {
  return WithBlock(memory, FALSE, [](GlobalBlock& block) -> BOOL {
    if (block.locks == 0) {
      SetLastError(ERROR_NOT_LOCKED);
      return FALSE;
    }
    if (--block.locks > 0) return TRUE;
    SetLastError(ERROR_SUCCESS);
    return FALSE;
  });
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  auto found = heap.blocks.find(memory);
  if (found == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
  }
  heap.used -= found->second->size;
  heap.blocks.erase(found);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  return WithBlock(memory, SIZE_T{0}, [](GlobalBlock& block) { return block.size; });
}

SIZE_T GlobalCompact(DWORD) {
  GlobalHeap& heap = Heap();
  std::lock_guard lock(heap.mutex);
  if (heap.limit == 0) return kRoomWithoutLimit;
  return heap.used < heap.limit ? heap.limit - heap.used : 0;
}
