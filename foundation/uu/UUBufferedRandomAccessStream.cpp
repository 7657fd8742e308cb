#include "foundation/uu/UUBufferedRandomAccessStream.h"

UUBufferedRandomAccessStream::UUBufferedRandomAccessStream(UURandomAccessStream& target,
                                                           void* buffer, uint32_t size)
    : mTarget(target), mReadBuffer(buffer, size, 0), mWriteBuffer(buffer, size) {}

UUBufferedRandomAccessStream::~UUBufferedRandomAccessStream() { Flush(); }

// The region read ahead is the rest of the target.
bool UUBufferedRandomAccessStream::BeginReading() {
  int32_t position = -1;
  int32_t length = -1;
  if (!mTarget.Tell(&position) || !mTarget.GetLength(&length)) return false;
  mReadBuffer.Reset(length > position ? static_cast<uint32_t>(length - position) : 0);
  mMode = kReading;
  return true;
}

// Switching between reading and writing passes through Flush, so the
// target always stands where the other direction expects it.
bool UUBufferedRandomAccessStream::Read(void* buffer, uint32_t n) {
  if (GetError() != kUUNoError) return false;
  if (mMode == kWriting && !Flush()) return false;
  if (mMode == kIdle && !BeginReading()) return false;
  return mReadBuffer.Read(mTarget, buffer, n);
}

bool UUBufferedRandomAccessStream::Write(const void* buffer, uint32_t n) {
  if (GetError() != kUUNoError) return false;
  if (mMode == kReading && !Flush()) return false;
  mMode = kWriting;
  return mWriteBuffer.Write(mTarget, buffer, n);
}

bool UUBufferedRandomAccessStream::Flush() {
  if (GetError() != kUUNoError) return false;
  if (mMode == kWriting) mWriteBuffer.Flush(mTarget);
  const uint32_t unread = mMode == kReading ? mReadBuffer.Buffered() : 0;
  if (unread > 0) mTarget.Seek(-static_cast<int32_t>(unread), kUUSeekFromCurrent, nullptr);
  mReadBuffer.Reset(0);
  mMode = kIdle;
  mTarget.Flush();
  return GetError() == kUUNoError;
}

bool UUBufferedRandomAccessStream::Seek(int32_t offset, int32_t origin, int32_t* newPosition) {
  if (newPosition) *newPosition = -1;
  if (!Flush()) return false;
  return mTarget.Seek(offset, origin, newPosition);
}
