#pragma once
// A random-access stream over a caller's block of memory. Positioning,
// reading or writing outside the block sets error -1 and copies nothing.

#include "foundation/uu/UURandomAccessStream.h"

#include <cstdint>

class UUMemory : public UUStandardRandomAccessStream {
 public:
  // The block is not owned and must outlive the stream.
  UUMemory(void* block, int32_t size);

  bool Read(void* buffer, uint32_t n) override;
  bool ReadSwapped(void* values, uint32_t bytes, uint32_t size) override;
  bool Write(const void* buffer, uint32_t n) override;
  // A position outside [0, size] is refused and the position is kept.
  bool Seek(int32_t offset, int32_t origin, int32_t* newPosition) override;
  // Hands the bytes [from, to) of the block to the writer in one write,
  // the position kept: a copy of a part written aside without a buffer
  // between. False, writing nothing, for a range outside the block.
  bool WriteRange(int32_t from, int32_t to, UUWriter& writer) const;

 private:
  // The bytes [position, position + n) lie in the block.
  bool Fits(uint32_t n) const;
  // The next n bytes, the position moved past them; null, with the error
  // set, when they do not fit.
  const uint8_t* Take(uint32_t n);

  uint8_t* mBlock;
  int32_t mSize;
  int32_t mPosition = 0;
};
