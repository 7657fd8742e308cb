#pragma once
// Byte sinks. Writers write the machine's little-endian order, with the
// byte-order mark "II", unless their byte order is the swapped one: then
// every typed value is written big-endian behind the mark "MM", so that
// files of either order can be made. The error conventions are those of
// UUReader.

#include "foundation/uu/UUReader.h"

#include <cstdint>

class UUWriter {
 public:
  virtual ~UUWriter() = default;
  virtual UUStreamError GetError() = 0;
  virtual void SetError(UUStreamError error) = 0;
  // Writes out what a buffered writer holds; the base only reports.
  virtual bool Flush() { return GetError() == kUUNoError; }
  virtual bool Write(const void* buffer, uint32_t n) = 0;
  // The order typed values are written in.
  virtual UUByteOrder GetWriteByteOrder() { return kUUNativeByteOrder; }

  bool WriteByteOrderMark();
  bool WriteInt16s(const int16_t* values, uint32_t n);
  bool WriteInt16s(const uint16_t* values, uint32_t n);
  bool WriteInt32s(const int32_t* values, uint32_t n);
  bool WriteInt32s(const uint32_t* values, uint32_t n);
  bool WriteFloats(const float* values, uint32_t n);
  bool WriteInt64s(const int64_t* values, uint32_t n);
  // One byte each, 1 for true.
  bool WriteBooleans(const bool* flags, uint32_t n);

 private:
  bool WriteValues(const void* values, uint32_t n, uint32_t size);
};

class UUStandardWriter : public UUWriter {
 public:
  UUStreamError GetError() override { return mError; }
  void SetError(UUStreamError error) override { mError = error; }
  UUByteOrder GetWriteByteOrder() override { return mByteOrder; }
  void SetWriteByteOrder(UUByteOrder order) { mByteOrder = order; }

 private:
  UUStreamError mError = kUUNoError;
  UUByteOrder mByteOrder = kUUNativeByteOrder;
};
