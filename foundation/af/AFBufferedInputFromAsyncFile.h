#pragma once
// Streams one region of an open file through a ring that a pulse task fills
// ahead of the reader. The reader (on the stage thread) peeks at contiguous
// bytes and consumes them; the task reads the next chunk whenever there is
// room. The input's own lock is held only to take room and to hand the
// bytes read over, never during a read, so a reader is never held up by
// the other thread's disk access. Several inputs may read the same file: a
// lock shared by all of them brackets every seek-and-read on it.

#include "foundation/af/AFPulseTask.h"
#include "foundation/al/ALCriticalSection.h"
#include "foundation/uu/UUBufferedInput.h"
#include "foundation/uu/UURandomAccessStream.h"

#include <atomic>
#include <cstdint>

class AFBufferedInputFromAsyncFile : public UUBufferedInput, public AFPulseTask {
 public:
  // Adds itself to the manager, so the first chunk is read at once. With
  // prefilled, the caller has already put the region's first bytes (up to
  // the ring's size) into the ring. Ring, stream and file lock are the
  // owner's and outlive the input.
  AFBufferedInputFromAsyncFile(AFPulseTaskManager& manager, uint8_t* ring, int32_t ringSize,
                               int32_t chunkSize, UURandomAccessStream& stream, int32_t regionStart,
                               int32_t regionLength, ALCriticalSection& fileLock, bool prefilled);
  // Leaves the manager if the owner has not stopped the input.
  ~AFBufferedInputFromAsyncFile() override;

  bool IsByteSwapped() override { return mStream.GetByteOrder() == kUUSwappedByteOrder; }
  bool AtEnd() override;
  int32_t GetPosition() override { return mReadPosition.load(std::memory_order_relaxed); }
  // The error of the read that ended the region early, so that a damaged
  // file is told from its end; 0 while every read succeeded.
  UUStreamError GetError() override { return mError.load(std::memory_order_relaxed); }
  // Keeps the ring when the position is already in it; otherwise empties
  // it and wakes the task to read from there. Clamped to the region.
  int32_t Seek(int32_t position) override;
  // Reads on the calling thread until the ring is full or the region read.
  void Fill() override;
  int32_t Peek(const uint8_t** bytes) override;
  int32_t Consume(int32_t n) override;
  // Removes the task from its manager, waiting for a running step.
  void Stop() override;

  // Never again once the region is read; in 250 ms when the ring is full;
  // at once otherwise.
  int32_t Pulse() override;

 private:
  // Reads the next bytes into the ring, at most limit and no further than
  // the room up to the ring's end; answers the bytes read, or -1 when the
  // other thread is reading into the ring. A failed read ends the region at
  // what was read and keeps its error.
  int32_t ReadChunk(int32_t limit);
  // Reads n bytes at the position with the file lock held, leaving the
  // stream's error as it was; answers the bytes delivered and the read's
  // own error.
  int32_t ReadFromFile(int32_t position, uint8_t* bytes, int32_t n, UUStreamError* error);
  // Reads n bytes at the stream's position, with the file lock held and
  // the stream's error clear; answers the bytes delivered, and leaves the
  // error of a failed seek or read on the stream.
  int32_t ReadAt(int32_t position, uint8_t* bytes, int32_t n);
  // Moves the read position forward to position, waking the task when that
  // makes the room in the ring reach the refill mark. The task sleeps only
  // on a full ring; the reader's position and the filler's are stored and
  // read in one total order, so of the two, one sees the other's move: the
  // task does not sleep on a ring the reader has emptied unseen.
  void AdvanceTo(int32_t position);

  AFPulseTaskManager& mManager;
  uint8_t* mRing;
  int32_t mRingSize;
  int32_t mChunkSize;
  // The room for a chunk, and never more than half the ring, so that the
  // reader has half of it still buffered when the task is woken.
  int32_t mRefillMark;
  UURandomAccessStream& mStream;
  int32_t mRegionStart;
  // The consumer advances the read position and the filler the filled
  // position; each reads the other's with acquire at least, so the ring
  // bytes between them are seen whole.
  std::atomic<int32_t> mRegionLength;
  std::atomic<int32_t> mReadPosition{0};
  std::atomic<int32_t> mFilledPosition{0};
  std::atomic<UUStreamError> mError{kUUNoError};
  ALCriticalSection& mFileLock;
  ALCriticalSection mLock;
  // Under mLock: a thread is reading into the ring's room; and how many
  // seeks have emptied the ring.
  bool mFilling = false;
  int32_t mResets = 0;
};

// 1 when the version query fails, 2 on Win32s (where no pulse thread can
// run), 0 otherwise.
int32_t AFPlatformCheck();
