// Private heaps: serialised unless made or called with HEAP_NO_SERIALIZE,
// with a hard maximum size and every live block on a list so that the heap
// can be walked and destroyed with its contents.

#include "platform/win32/kernel.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

namespace {

constexpr uint32_t kHeapMagic = 0x50414548;  // "HEAP"

struct Heap;

// Sits in front of every block; 32 bytes keep the caller's bytes 16-byte
// aligned.
struct alignas(16) BlockHeader {
  Heap* heap;
  BlockHeader* previous;
  BlockHeader* next;
  size_t size;
};
static_assert(sizeof(BlockHeader) == 32);

struct Heap {
  uint32_t magic = kHeapMagic;
  std::recursive_mutex mutex;
  bool serialized;
  size_t maximum;  // 0: grows without limit
  size_t committed = 0;
  BlockHeader anchor{nullptr, &anchor, &anchor, 0};

  Heap(bool serializedCalls, size_t maximumSize)
      : serialized(serializedCalls), maximum(maximumSize) {}
};

// Holds the heap's lock for one call, unless the heap or the call does
// without serialisation: its callers then keep other threads away
// themselves, and HeapLock does not hold up their calls.
std::unique_lock<std::recursive_mutex> Serialize(Heap& heap, DWORD flags) {
  if (!heap.serialized || (flags & HEAP_NO_SERIALIZE) != 0) return {};
  return std::unique_lock(heap.mutex);
}

// The live heap of the handle; a handle that names none sets
// ERROR_INVALID_HANDLE. Every heap call looks its heap up here, so a bad
// handle fails alike everywhere.
Heap* HeapOf(HANDLE handle) {
  auto* heap = static_cast<Heap*>(handle);
  if (heap != nullptr && heap->magic == kHeapMagic) return heap;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

BlockHeader* HeaderOf(Heap* heap, LPCVOID block) {
  if (block == nullptr) return nullptr;
  auto* header = reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(block)) -
                                                sizeof(BlockHeader));
  return header->heap == heap ? header : nullptr;
}

// A size so large that the block and its header overflow fits no heap.
bool Fits(const Heap& heap, size_t bytes) {
  if (bytes > SIZE_MAX - sizeof(BlockHeader)) return false;
  if (heap.maximum == 0) return true;
  const size_t needed = bytes + sizeof(BlockHeader);
  return heap.committed <= heap.maximum && needed <= heap.maximum - heap.committed;
}

void Unlink(BlockHeader* header) {
  header->previous->next = header->next;
  header->next->previous = header->previous;
}

}  // namespace

HANDLE HeapCreate(DWORD options, SIZE_T, SIZE_T maximumSize) {
  auto* heap = static_cast<Heap*>(std::malloc(sizeof(Heap)));
  if (heap == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return new (heap) Heap((options & HEAP_NO_SERIALIZE) == 0, maximumSize);
}

BOOL HeapDestroy(HANDLE handle) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return FALSE;
  for (BlockHeader* header = heap->anchor.next; header != &heap->anchor;) {
    BlockHeader* next = header->next;
    std::free(header);
    header = next;
  }
  heap->magic = 0;
  heap->~Heap();
  std::free(heap);
  return TRUE;
}

LPVOID HeapAlloc(HANDLE handle, DWORD flags, SIZE_T bytes) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return nullptr;
  const auto lock = Serialize(*heap, flags);
  if (!Fits(*heap, bytes)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + bytes));
  if (header == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  *header = BlockHeader{heap, heap->anchor.previous, &heap->anchor, bytes};
  header->previous->next = header;
  heap->anchor.previous = header;
  heap->committed += sizeof(BlockHeader) + bytes;
  if (flags & HEAP_ZERO_MEMORY) std::memset(header + 1, 0, bytes);
  return header + 1;
}

BOOL HeapFree(HANDLE handle, DWORD flags, LPVOID block) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return FALSE;
  if (block == nullptr) return TRUE;
  const auto lock = Serialize(*heap, flags);
  BlockHeader* header = HeaderOf(heap, block);
  if (header == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Unlink(header);
  heap->committed -= sizeof(BlockHeader) + header->size;
  header->heap = nullptr;
  std::free(header);
  return TRUE;
}

SIZE_T HeapSize(HANDLE handle, DWORD, LPCVOID block) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return static_cast<SIZE_T>(-1);
  BlockHeader* header = HeaderOf(heap, block);
  if (header == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return static_cast<SIZE_T>(-1);
  }
  return header->size;
}

BOOL HeapLock(HANDLE handle) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return FALSE;
  heap->mutex.lock();
  return TRUE;
}

BOOL HeapUnlock(HANDLE handle) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return FALSE;
  heap->mutex.unlock();
  return TRUE;
}

BOOL HeapWalk(HANDLE handle, LPPROCESS_HEAP_ENTRY entry) {
  Heap* heap = HeapOf(handle);
  if (heap == nullptr) return FALSE;
  if (entry == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto lock = Serialize(*heap, 0);
  BlockHeader* next;
  if (entry->lpData == nullptr) {
    std::memset(entry, 0, sizeof *entry);
    entry->lpData = heap;
    entry->wFlags = PROCESS_HEAP_REGION;
    entry->Region.dwCommittedSize = static_cast<DWORD>(heap->committed);
    entry->Region.dwUnCommittedSize =
        heap->maximum > heap->committed ? static_cast<DWORD>(heap->maximum - heap->committed) : 0;
    return TRUE;
  }
  if (entry->lpData == heap) {
    next = heap->anchor.next;
  } else {
    BlockHeader* current = HeaderOf(heap, entry->lpData);
    next = current ? current->next : &heap->anchor;
  }
  if (next == &heap->anchor) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  std::memset(entry, 0, sizeof *entry);
  entry->lpData = next + 1;
  entry->cbData = static_cast<DWORD>(next->size);
  entry->cbOverhead = sizeof(BlockHeader);
  entry->wFlags = PROCESS_HEAP_ENTRY_BUSY;
  return TRUE;
}
