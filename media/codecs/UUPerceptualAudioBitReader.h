#pragma once
// Reads a frame's fields most significant bit first from a 32-bit buffer
// that is refilled 16 bits (two bytes, high byte first) whenever it holds
// 16 bits or fewer; past the end of the input the refill supplies zero
// bytes, so a damaged frame reads zeros rather than foreign memory.

#include <cstdint>

namespace UUPerceptualAudio {

class BitReader {
 public:
  // The next bytes to read; the reader does not own them.
  void SetInput(const uint8_t* bytes, uint32_t length);
  // Fields of 1 to 16 bits.
  uint32_t Read(int n);
  uint32_t Peek(int n);
  void Skip(int n) { Read(n); }
  // Drops the bits of a partly read byte: a frame ends on a byte boundary.
  void AlignToByte();
  // Forgets the buffered bits.
  void Empty();

  // Input bytes taken into the buffer, and the whole bytes it still holds.
  uint32_t GetBytesTaken() const { return mTaken; }
  int GetBufferedBytes() const { return mCount / 8; }
  // Whether the fields read so far reach past the end of the input.
  bool IsPastEnd() const {
    return uint64_t{mTaken} * 8 - static_cast<uint64_t>(mCount) > uint64_t{mLength} * 8;
  }

 private:
  void Refill();

  uint32_t mBits = 0;  // the next bit is the most significant
  int mCount = 0;
  const uint8_t* mBytes = nullptr;
  uint32_t mLength = 0;
  uint32_t mTaken = 0;
};

}  // namespace UUPerceptualAudio
