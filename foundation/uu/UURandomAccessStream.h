#pragma once
// A stream that is reader, writer and seeker at once: one object reachable
// through three interface pointers, with one error code for all three.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUSeeker.h"
#include "foundation/uu/UUWriter.h"

class UURandomAccessStream : public UUReader, public UUWriter, public UUSeeker {
 public:
  UUStreamError GetError() override = 0;
  void SetError(UUStreamError error) override = 0;
  // A seek forward from the current position.
  bool Skip(uint32_t n) override;
  // Values are written in the order the stream reads them.
  UUByteOrder GetWriteByteOrder() override { return GetByteOrder(); }
};

class UUStandardRandomAccessStream : public UURandomAccessStream {
 public:
  UUStreamError GetError() override { return mError; }
  void SetError(UUStreamError error) override { mError = error; }
  UUByteOrder GetByteOrder() override { return mByteOrder; }
  void ApplyByteOrder(UUByteOrder order) override { mByteOrder = order; }

 private:
  UUStreamError mError = kUUNoError;
  UUByteOrder mByteOrder = kUUNativeByteOrder;
};
