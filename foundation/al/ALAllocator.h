#pragma once
// Every block of the system comes from ALAllocate and goes back through the
// program's operator delete to the allocator that made it, whichever
// allocator is current when it is freed. All of it runs under one
// process-wide lock from static initialisation to static destruction.

#include <cstddef>
#include <cstdint>
#include <new>

struct ALMemToolsRecord {
  const char* mFile;
  const char* mInfo;
  int32_t mLine;
};

class ALAllocator {
 public:
  ALAllocator();
  virtual ~ALAllocator();
  // A block of at least size bytes, or null. The base uses the C run time.
  virtual void* Allocate(size_t size, ALMemToolsRecord* record);
  virtual void Free(void* block, ALMemToolsRecord* record);
};

enum ALAllocationMode : int { kALMayFail = 0, kALMustSucceed = 1 };

// 0 not yet set up, 1 single-threaded, 2 threaded (locked), 3 shut down.
enum ALAllocationLockModes : int32_t {
  kALLockNotSetUp = 0,
  kALLockSingleThreaded = 1,
  kALLockThreaded = 2,
  kALLockShutDown = 3
};

extern ALAllocator* ALGlobalAllocator;
extern ALAllocator* ALDefaultAllocator;

// Where a container takes its blocks: by default the allocator current at
// each allocation, which is the application's pool while it runs. A
// structure that lives until the process ends takes them from the process
// heap instead, since the pool is gone before the static destructors run.
class ALBlockSource {
 public:
  static ALBlockSource Current() { return ALBlockSource(&ALGlobalAllocator); }
  static ALBlockSource ProcessWide() { return ALBlockSource(&ALDefaultAllocator); }

  ALAllocator* Get() const { return *mAllocator; }

 private:
  explicit ALBlockSource(ALAllocator* const* allocator) : mAllocator(allocator) {}

  ALAllocator* const* mAllocator;
};

// The caller's bytes of a new block from the allocator (the C run time when
// null); null only when a may-fail allocation fails. A must-succeed
// allocation that fails runs the out-of-memory handler and ends the process.
void* ALAllocate(size_t size, ALAllocator* allocator, ALAllocationMode mode);

// What operator delete does: returns the block to the allocator in its header.
void ALFree(void* pointer);

using ALOutOfMemoryHandler = void (*)();
ALOutOfMemoryHandler ALSetOutOfMemoryHandler(ALOutOfMemoryHandler handler);
[[noreturn]] void ALOutOfMemory();

int32_t ALAllocationLockMode();
const ALMemToolsRecord& ALCurrentMemToolsRecord();

// Holds the allocation lock for its lifetime when allocation is threaded.
// Constructed with startThreading true (once, during static initialisation)
// it switches allocation to the threaded mode, and its destruction at exit
// shuts locking down.
class ALAllocationGuard {
 public:
  explicit ALAllocationGuard(bool startThreading);
  ~ALAllocationGuard();
  ALAllocationGuard(const ALAllocationGuard&) = delete;
  ALAllocationGuard& operator=(const ALAllocationGuard&) = delete;

 private:
  bool mEntered;
  bool mStartThreading;
};

// Objects of the system are made with `new (allocator) T(...)`: a
// must-succeed allocation from that allocator.
void* operator new(size_t size, ALAllocator* allocator);
void* operator new[](size_t size, ALAllocator* allocator);
void operator delete(void* pointer, ALAllocator* allocator) noexcept;
void operator delete[](void* pointer, ALAllocator* allocator) noexcept;
