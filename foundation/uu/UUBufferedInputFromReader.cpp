#include "foundation/uu/UUBufferedInputFromReader.h"

#include <algorithm>

UUBufferedInputFromReader::UUBufferedInputFromReader(UUReader& reader, uint8_t* ring,
                                                     int32_t ringSize, int32_t total)
    : mReader(reader), mRing(ring), mRingSize(std::max(ringSize, 0)), mTotal(std::max(total, 0)) {}

void UUBufferedInputFromReader::Fill() {
  if (mFilled != mConsumed || mFilled >= mTotal || mRingSize == 0) return;
  const int32_t k = std::min(mRingSize, mTotal - mFilled);
  if (mReader.Read(mRing, static_cast<uint32_t>(k))) {
    mFilled += k;
  } else {
    mTotal = mFilled;
  }
}

int32_t UUBufferedInputFromReader::Peek(const uint8_t** bytes) {
  if (mFilled == mConsumed) Fill();
  *bytes = mRing + (mRingSize > 0 ? mConsumed % mRingSize : 0);
  return std::max(mFilled - mConsumed, 0);
}

int32_t UUBufferedInputFromReader::Consume(int32_t n) {
  mConsumed += n;
  return n;
}

UUBufferedInputFromRandomAccessStream::UUBufferedInputFromRandomAccessStream(
    UURandomAccessStream& stream, uint8_t* ring, int32_t ringSize, int32_t baseOffset,
    int32_t total)
    : UUBufferedInputFromReader(stream, ring, ringSize, total),
      mStream(stream),
      mBaseOffset(baseOffset),
      mTotalAsked(mTotal) {
  mStream.Seek(mBaseOffset, kUUSeekFromStart, nullptr);
}

int32_t UUBufferedInputFromRandomAccessStream::Seek(int32_t position) {
  // A seek starts over: an earlier failed read no longer ends the input.
  mTotal = mTotalAsked;
  position = std::clamp(position, 0, mTotal);
  const int32_t offset = mRingSize > 0 ? position % mRingSize : 0;
  mFilled = mConsumed = position - offset;
  mStream.Seek(mBaseOffset + mFilled, kUUSeekFromStart, nullptr);
  Fill();
  Consume(offset);
  return position;
}
