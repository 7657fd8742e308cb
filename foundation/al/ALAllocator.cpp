#include "foundation/al/ALAllocator.h"

#include "foundation/al/ALCriticalSection.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

ALAllocator* ALGlobalAllocator = nullptr;
ALAllocator* ALDefaultAllocator = nullptr;

namespace {

// Block layout: a header whose first word names the allocator (null for the
// C run time), the caller's bytes, then a reserved trailer. On 64-bit the
// header is 32 bytes rather than 20 so that every block handed out stays
// 16-byte aligned.
constexpr size_t kHeaderBytes = 32;
constexpr size_t kTrailerBytes = 16;
constexpr size_t kOverheadBytes = kHeaderBytes + kTrailerBytes;

std::atomic<int32_t> gLockMode{kALLockNotSetUp};
ALMemToolsRecord gMemToolsRecord{nullptr, nullptr, 0};
std::atomic<ALOutOfMemoryHandler> gOutOfMemoryHandler{nullptr};

// The lock is made before, and deleted after, every other static object: it
// lives in storage of its own with the highest initialisation priority.
alignas(ALCriticalSection) unsigned char gLockStorage[sizeof(ALCriticalSection)];

struct LockLifetime {
  LockLifetime() { new (gLockStorage) ALCriticalSection; }
  ~LockLifetime() { Lock().~ALCriticalSection(); }
  static ALCriticalSection& Lock() {
    return *std::launder(reinterpret_cast<ALCriticalSection*>(gLockStorage));
  }
};

void LeaveNotSetUp() {
  int32_t expected = kALLockNotSetUp;
  if (gLockMode.compare_exchange_strong(expected, kALLockSingleThreaded)) {
    gMemToolsRecord = ALMemToolsRecord{"at", "no_memtools_debug_info", -1};
  }
}

// The bracket every allocation operation runs in.
class LockBracket {
 public:
  LockBracket() : mEntered(gLockMode.load(std::memory_order_acquire) == kALLockThreaded) {
    LeaveNotSetUp();
    if (mEntered) LockLifetime::Lock().Enter();
  }
  ~LockBracket() {
    if (mEntered) LockLifetime::Lock().Leave();
  }
  LockBracket(const LockBracket&) = delete;
  LockBracket& operator=(const LockBracket&) = delete;

 private:
  bool mEntered;
};

unsigned char* BlockOf(void* pointer) {
  return static_cast<unsigned char*>(pointer) - kHeaderBytes;
}

ALAllocator* AllocatorOf(unsigned char* block) {
  ALAllocator* allocator;
  std::memcpy(&allocator, block, sizeof allocator);
  return allocator;
}

}  // namespace

__attribute__((init_priority(101))) static LockLifetime gLockLifetime;
__attribute__((init_priority(101))) static ALAllocationGuard gThreadingGuard(true);

ALAllocator::ALAllocator() { LockBracket bracket; }
ALAllocator::~ALAllocator() { LockBracket bracket; }

void* ALAllocator::Allocate(size_t size, ALMemToolsRecord*) {
  LockBracket bracket;
  return std::malloc(size);
}

void ALAllocator::Free(void* block, ALMemToolsRecord*) {
  LockBracket bracket;
  std::free(block);
}

ALAllocationGuard::ALAllocationGuard(bool startThreading)
    : mEntered(gLockMode.load() == kALLockThreaded), mStartThreading(startThreading) {
  LeaveNotSetUp();
  if (startThreading) gLockMode.store(kALLockThreaded);
  if (mEntered) LockLifetime::Lock().Enter();
}

ALAllocationGuard::~ALAllocationGuard() {
  if (mEntered) LockLifetime::Lock().Leave();
  if (mStartThreading) gLockMode.store(kALLockShutDown);
}

int32_t ALAllocationLockMode() { return gLockMode.load(); }
const ALMemToolsRecord& ALCurrentMemToolsRecord() { return gMemToolsRecord; }

ALOutOfMemoryHandler ALSetOutOfMemoryHandler(ALOutOfMemoryHandler handler) {
  return gOutOfMemoryHandler.exchange(handler);
}

void ALOutOfMemory() {
  if (ALOutOfMemoryHandler handler = gOutOfMemoryHandler.load()) handler();
  std::exit(-1);
}

void* ALAllocate(size_t size, ALAllocator* allocator, ALAllocationMode mode) {
  LockBracket bracket;
  unsigned char* block = nullptr;
  if (size <= SIZE_MAX - kOverheadBytes) {
    const size_t total = size + kOverheadBytes;
    block = static_cast<unsigned char*>(allocator ? allocator->Allocate(total, &gMemToolsRecord)
                                                  : std::malloc(total));
  }
  if (block == nullptr) {
    if (mode == kALMustSucceed) ALOutOfMemory();
    return nullptr;
  }
  std::memcpy(block, &allocator, sizeof allocator);
  return block + kHeaderBytes;
}

void ALFree(void* pointer) {
  LockBracket bracket;
  if (pointer == nullptr) return;
  unsigned char* block = BlockOf(pointer);
  ALMemToolsRecord record = gMemToolsRecord;
  if (ALAllocator* allocator = AllocatorOf(block)) {
    allocator->Free(block, &record);
  } else {
    std::free(block);
  }
}
