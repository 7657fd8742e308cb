#pragma once
// A caller's buffer in front of a random-access stream, used for reading or
// for writing at a time. Seek and Flush return it to idle with the target at
// the logical position; Tell and GetLength describe the target (call Flush
// first for the logical position). Errors and byte order are the target's.

#include "foundation/uu/UURandomAccessStream.h"
#include "foundation/uu/UUStreamBuffer.h"

class UUBufferedRandomAccessStream : public UURandomAccessStream {
 public:
  // Neither the target nor the buffer is owned; both outlive the stream.
  UUBufferedRandomAccessStream(UURandomAccessStream& target, void* buffer, uint32_t size);
  ~UUBufferedRandomAccessStream() override;

  UUStreamError GetError() override { return mTarget.GetError(); }
  void SetError(UUStreamError error) override { mTarget.SetError(error); }
  UUByteOrder GetByteOrder() override { return mTarget.GetByteOrder(); }
  void ApplyByteOrder(UUByteOrder order) override { mTarget.SetByteOrder(order); }

  bool Read(void* buffer, uint32_t n) override;
  bool Write(const void* buffer, uint32_t n) override;
  bool Flush() override;
  bool Seek(int32_t offset, int32_t origin, int32_t* newPosition) override;
  bool Tell(int32_t* position) override { return mTarget.Tell(position); }
  bool GetLength(int32_t* length) override { return mTarget.GetLength(length); }

 private:
  enum Mode { kIdle, kReading, kWriting };

  bool BeginReading();

  UURandomAccessStream& mTarget;
  Mode mMode = kIdle;
  UUReadBuffer mReadBuffer;
  UUWriteBuffer mWriteBuffer;
};
