#pragma once
// Positioning of a stream, with the error conventions of UUReader.

#include "foundation/uu/UUReader.h"

#include <cstdint>

enum UUSeekOrigin : int32_t { kUUSeekFromStart = 0, kUUSeekFromCurrent = 1, kUUSeekFromEnd = 2 };

class UUSeeker {
 public:
  virtual UUStreamError GetError() = 0;
  virtual void SetError(UUStreamError error) = 0;
  // newPosition (when given) receives the position reached, -1 on failure.
  virtual bool Seek(int32_t offset, int32_t origin, int32_t* newPosition) = 0;
  // The current position, -1 on failure.
  virtual bool Tell(int32_t* position);
  // The length, found by seeking to the end and back; -1 on failure.
  virtual bool GetLength(int32_t* length);

 protected:
  ~UUSeeker() = default;
};
