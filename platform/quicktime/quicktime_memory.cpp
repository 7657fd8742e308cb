// Relocatable memory: a handle points at its block's master pointer, which
// stays put while the block may move (here it never does).

#include "platform/quicktime/quicktime.h"

#include <cstdlib>
#include <cstring>

namespace {

// The master pointer first, so that the handle is the block's record.
struct HandleBlock {
  char* data;
  int32_t size;
};

HandleBlock* BlockOf(Handle handle) { return reinterpret_cast<HandleBlock*>(handle); }

}  // namespace

Handle NewHandle(int32_t size) {
  if (size < 0) return nullptr;
  auto* block = static_cast<HandleBlock*>(std::calloc(1, sizeof(HandleBlock)));
  if (block == nullptr) return nullptr;
  block->data = static_cast<char*>(std::calloc(1, size > 0 ? static_cast<size_t>(size) : 1));
  if (block->data == nullptr) {
    std::free(block);
    return nullptr;
  }
  block->size = size;
  return &block->data;
}

void SetHandleSize(Handle handle, int32_t size) {
  if (handle == nullptr || size < 0) return;
  HandleBlock* block = BlockOf(handle);
  auto* data =
      static_cast<char*>(std::realloc(block->data, size > 0 ? static_cast<size_t>(size) : 1));
  if (data == nullptr) return;
  if (size > block->size)
    std::memset(data + block->size, 0, static_cast<size_t>(size - block->size));
  block->data = data;
  block->size = size;
}

int32_t GetHandleSize(Handle handle) { return handle != nullptr ? BlockOf(handle)->size : 0; }

void MoveHHi(Handle) {}
void HLock(Handle) {}
void HUnlock(Handle) {}

void DisposeHandle(Handle handle) {
  if (handle == nullptr) return;
  std::free(BlockOf(handle)->data);
  std::free(BlockOf(handle));
}
