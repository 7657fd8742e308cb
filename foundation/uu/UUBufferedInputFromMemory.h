#pragma once
// A buffered input over bytes already in memory: everything is available
// at once, and nothing is copied or freed (the memory's owner keeps it).

#include "foundation/uu/UUBufferedInput.h"

#include <cstdint>

class UUBufferedInputFromMemory : public UUBufferedInput {
 public:
  UUBufferedInputFromMemory(const uint8_t* base, int32_t length, bool byteSwapped = false);

  bool IsByteSwapped() override { return mByteSwapped; }
  bool AtEnd() override { return mPosition >= mLength; }
  int32_t GetPosition() override { return mPosition; }
  // Clamped to the bytes held.
  int32_t Seek(int32_t position) override;
  int32_t Peek(const uint8_t** bytes) override;
  // At most the bytes that remain.
  int32_t Consume(int32_t n) override;

 private:
  const uint8_t* mBase;
  int32_t mLength;
  bool mByteSwapped;
  int32_t mPosition = 0;
};
