#pragma once
// A byte source read in contiguous spans rather than copied: Peek hands out
// a pointer to the bytes it holds, and the reader says afterwards how many
// it used. A reader loops: Peek; use up to the bytes offered; Consume what
// was used; when Peek offers nothing, Fill and try again, or stop.

#include "foundation/uu/UUReader.h"

#include <cstdint>

class UUBufferedInput {
 public:
  virtual ~UUBufferedInput() = default;
  // True when the source's byte order is 1 (big-endian).
  virtual bool IsByteSwapped() = 0;
  // Every byte of the source has been consumed.
  virtual bool AtEnd() = 0;
  // Why the source ended before its length: a read error, or 0 when it
  // did not.
  virtual UUStreamError GetError() { return kUUNoError; }
  // Bytes consumed so far.
  virtual int32_t GetPosition() = 0;
  // Moves the read position; answers the position reached.
  virtual int32_t Seek(int32_t position) = 0;
  // Brings more bytes in if the source needs it.
  virtual void Fill() {}
  // The next unconsumed byte and how many contiguous bytes follow it there
  // (0 when none are available yet).
  virtual int32_t Peek(const uint8_t** bytes) = 0;
  virtual int32_t Consume(int32_t n) = 0;
  // Ends any background reading; owners call it before deleting the input.
  virtual void Stop() {}
};
