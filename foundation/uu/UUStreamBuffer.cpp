#include "foundation/uu/UUStreamBuffer.h"

#include <algorithm>
#include <cstring>

UUReadBuffer::UUReadBuffer(void* buffer, uint32_t size, uint32_t remaining)
    : mRemaining(remaining),
      mStart(static_cast<uint8_t*>(buffer)),
      mEnd(mStart + size),
      mSize(size),
      mCursor(mEnd) {}

void UUReadBuffer::Reset(uint32_t remaining) {
  mRemaining = remaining;
  mCursor = mEnd;
}

uint32_t UUReadBuffer::TakeBuffered(void* buffer, uint32_t n) {
  const uint32_t k = std::min(Buffered(), n);
  if (k > 0) std::memcpy(buffer, mCursor, k);
  mCursor += k;
  return k;
}

bool UUReadBuffer::Read(UUReader& source, void* buffer, uint32_t n) {
  if (source.GetError() != kUUNoError) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  const uint32_t taken = TakeBuffered(out, n);
  out += taken;
  n -= taken;
  if (n > mRemaining) {
    mRemaining = 0;
    return source.Read(out, n);
  }
  if (n >= mSize) {
    mRemaining -= n;
    return source.Read(out, n);
  }
  if (n > 0) {
    const uint32_t k = std::min(mSize, mRemaining);
    mCursor = mEnd - k;
    mRemaining -= k;
    source.Read(mCursor, k);
    TakeBuffered(out, n);
  }
  return source.GetError() == kUUNoError;
}

bool UUReadBuffer::Skip(UUReader& source, uint32_t n) {
  if (source.GetError() != kUUNoError) return false;
  const uint32_t buffered = std::min(Buffered(), n);
  mCursor += buffered;
  n -= buffered;
  const uint32_t k = std::min(n, mRemaining);
  if (k > 0) {
    source.Skip(k);
    mRemaining -= k;
  }
  if (n > k) source.Skip(n - k);
  return source.GetError() == kUUNoError;
}

UUWriteBuffer::UUWriteBuffer(void* buffer, uint32_t size)
    : mStart(static_cast<uint8_t*>(buffer)), mEnd(mStart + size), mSize(size), mCursor(mStart) {}

bool UUWriteBuffer::Write(UUWriter& sink, const void* buffer, uint32_t n) {
  if (sink.GetError() != kUUNoError) return false;
  const auto* in = static_cast<const uint8_t*>(buffer);
  const uint32_t k = std::min(static_cast<uint32_t>(mEnd - mCursor), n);
  if (k > 0) std::memcpy(mCursor, in, k);
  mCursor += k;
  in += k;
  n -= k;
  if (mCursor == mEnd && mSize > 0) {
    mCursor = mStart;
    sink.Write(mStart, mSize);
  }
  if (n >= mSize) {
    sink.Write(in, n);
  } else if (n > 0) {
    std::memcpy(mCursor, in, n);
    mCursor += n;
  }
  return sink.GetError() == kUUNoError;
}

bool UUWriteBuffer::Flush(UUWriter& sink) {
  if (sink.GetError() != kUUNoError) return false;
  if (mCursor != mStart) {
    const uint32_t collected = Collected();
    mCursor = mStart;
    sink.Write(mStart, collected);
  }
  return sink.GetError() == kUUNoError;
}
