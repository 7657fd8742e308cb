#pragma once
// Byte sources. A stream keeps an error code; once it is set every further
// operation does nothing and answers false, so a format reader can issue a
// series of reads and test the result once. Operations answer true exactly
// when the stream's error is 0 after them.

#include <cstdint>

// 0, an operating-system error code of a file stream, or one of these.
using UUStreamError = int32_t;
constexpr UUStreamError kUUNoError = 0;
constexpr UUStreamError kUUErrorShortRead = 38;
constexpr UUStreamError kUUErrorShortWrite = 29;
constexpr UUStreamError kUUErrorBadByteOrderMark = 11;
constexpr UUStreamError kUUErrorMemoryOverrun = -1;

// 0: the stream's values are in the machine's little-endian order;
// 1: every multi-byte value is byte-swapped (the stream is big-endian).
enum UUByteOrder : int32_t { kUUNativeByteOrder = 0, kUUSwappedByteOrder = 1 };

class UUReader {
 public:
  virtual ~UUReader() = default;
  virtual UUStreamError GetError() = 0;
  // A later code replaces an earlier one; 0 clears the error.
  virtual void SetError(UUStreamError error) = 0;
  virtual UUByteOrder GetByteOrder() = 0;
  virtual bool Skip(uint32_t n) = 0;
  virtual bool Read(void* buffer, uint32_t n) = 0;
  virtual void ApplyByteOrder(UUByteOrder) {}

  // Applies the order only when it differs from the current one.
  void SetByteOrder(UUByteOrder order);
  // "II" selects order 0, "MM" order 1; anything else sets error 11.
  bool ReadByteOrderMark();
  // Typed reads swap each value when the byte order is 1.
  bool ReadInt16s(int16_t* values, uint32_t n);
  bool ReadInt16s(uint16_t* values, uint32_t n);
  bool ReadInt32s(int32_t* values, uint32_t n);
  bool ReadInt32s(uint32_t* values, uint32_t n);
  bool ReadFloats(float* values, uint32_t n);
  bool ReadInt64s(int64_t* values, uint32_t n);
  // Each byte becomes true when non-zero.
  bool ReadBooleans(bool* flags, uint32_t n);

 protected:
  // Reads bytes of values of the size (2, 4 or 8) stored in the other byte
  // order: one Read, then the swap in place. A stream that holds its bytes
  // swaps them on the way out instead, in one pass.
  virtual bool ReadSwapped(void* values, uint32_t bytes, uint32_t size);

 private:
  bool ReadValues(void* values, uint32_t n, uint32_t size);
};

// A reader that keeps its error and byte order itself.
class UUStandardReader : public UUReader {
 public:
  UUStreamError GetError() override { return mError; }
  void SetError(UUStreamError error) override { mError = error; }
  UUByteOrder GetByteOrder() override { return mByteOrder; }
  void ApplyByteOrder(UUByteOrder order) override { mByteOrder = order; }

 private:
  UUStreamError mError = kUUNoError;
  UUByteOrder mByteOrder = kUUNativeByteOrder;
};
