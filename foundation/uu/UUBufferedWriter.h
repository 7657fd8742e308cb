#pragma once
// A writer that collects small writes in a caller's buffer in front of
// another writer; a write at least as large as the buffer goes straight
// through. Errors are the sink's.

#include "foundation/uu/UUStreamBuffer.h"
#include "foundation/uu/UUWriter.h"

class UUBufferedWriter : public UUWriter {
 public:
  // Neither the sink nor the buffer is owned; both outlive the writer.
  UUBufferedWriter(UUWriter& sink, void* buffer, uint32_t size);
  // Writes out what is still collected.
  ~UUBufferedWriter() override;

  UUStreamError GetError() override { return mSink.GetError(); }
  void SetError(UUStreamError error) override { mSink.SetError(error); }
  // Writes out the collected bytes; the sink's own Flush is not called.
  bool Flush() override { return mBuffer.Flush(mSink); }
  bool Write(const void* buffer, uint32_t n) override { return mBuffer.Write(mSink, buffer, n); }
  UUByteOrder GetWriteByteOrder() override { return mSink.GetWriteByteOrder(); }

 private:
  UUWriter& mSink;
  UUWriteBuffer mBuffer;
};
