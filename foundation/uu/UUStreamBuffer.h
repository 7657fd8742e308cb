#pragma once
// The buffering shared by the buffered streams: a caller's buffer in front
// of a source it reads ahead from, or of a sink it collects writes for.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <cstdint>

// Buffered bytes occupy [cursor, end); cursor = end means empty. Remaining
// counts the bytes the buffer may still take from the source: it never
// reads ahead past the declared region.
class UUReadBuffer {
 public:
  UUReadBuffer(void* buffer, uint32_t size, uint32_t remaining);

  bool Read(UUReader& source, void* buffer, uint32_t n);
  // Consumes buffered bytes first, then skips in the source.
  bool Skip(UUReader& source, uint32_t n);
  uint32_t Buffered() const { return static_cast<uint32_t>(mEnd - mCursor); }
  // Empties the buffer and declares a new region.
  void Reset(uint32_t remaining);

 private:
  uint32_t TakeBuffered(void* buffer, uint32_t n);

  uint32_t mRemaining;
  uint8_t* mStart;
  uint8_t* mEnd;
  uint32_t mSize;
  uint8_t* mCursor;
};

// Collected bytes occupy [start, cursor).
class UUWriteBuffer {
 public:
  UUWriteBuffer(void* buffer, uint32_t size);

  bool Write(UUWriter& sink, const void* buffer, uint32_t n);
  // Writes out the collected bytes and empties the buffer.
  bool Flush(UUWriter& sink);
  uint32_t Collected() const { return static_cast<uint32_t>(mCursor - mStart); }

 private:
  uint8_t* mStart;
  uint8_t* mEnd;
  uint32_t mSize;
  uint8_t* mCursor;
};
