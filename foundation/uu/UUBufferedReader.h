#pragma once
// A reader that puts a caller's buffer in front of another reader. It reads
// ahead at most `limit` bytes in all, so a reader positioned inside a
// container reads exactly the item's bytes ahead. Errors and the byte order
// are the source's.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUStreamBuffer.h"

class UUBufferedReader : public UUReader {
 public:
  // Neither the source nor the buffer is owned; both outlive the reader.
  UUBufferedReader(UUReader& source, uint32_t limit, void* buffer, uint32_t size);

  UUStreamError GetError() override { return mSource.GetError(); }
  void SetError(UUStreamError error) override { mSource.SetError(error); }
  UUByteOrder GetByteOrder() override { return mSource.GetByteOrder(); }
  void ApplyByteOrder(UUByteOrder order) override { mSource.SetByteOrder(order); }
  // Skips the buffered bytes first, then in the source.
  bool Skip(uint32_t n) override { return mBuffer.Skip(mSource, n); }
  bool Read(void* buffer, uint32_t n) override { return mBuffer.Read(mSource, buffer, n); }

 private:
  UUReader& mSource;
  UUReadBuffer mBuffer;
};
