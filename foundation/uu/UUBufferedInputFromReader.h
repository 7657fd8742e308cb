#pragma once
// Buffered inputs over a plain reader and over a random-access stream: the
// ring is refilled from its start once everything read has been consumed.
// A failed read delivers nothing and ends the input there: the reader keeps
// its error for the owner to find.

#include "foundation/uu/UUBufferedInput.h"
#include "foundation/uu/UURandomAccessStream.h"

class UUBufferedInputFromReader : public UUBufferedInput {
 public:
  // Delivers total bytes of the reader through the caller's ring; neither
  // is owned.
  UUBufferedInputFromReader(UUReader& reader, uint8_t* ring, int32_t ringSize, int32_t total);

  bool IsByteSwapped() override { return mReader.GetByteOrder() == kUUSwappedByteOrder; }
  bool AtEnd() override { return mConsumed >= mTotal; }
  int32_t GetPosition() override { return mConsumed; }
  // The reader cannot move: answers the requested position.
  int32_t Seek(int32_t position) override { return position; }
  void Fill() override;
  int32_t Peek(const uint8_t** bytes) override;
  int32_t Consume(int32_t n) override;

 protected:
  UUReader& mReader;
  uint8_t* mRing;
  int32_t mRingSize;
  int32_t mTotal;
  int32_t mFilled = 0;
  int32_t mConsumed = 0;
};

class UUBufferedInputFromRandomAccessStream : public UUBufferedInputFromReader {
 public:
  // The delivered bytes start at baseOffset in the stream.
  UUBufferedInputFromRandomAccessStream(UURandomAccessStream& stream, uint8_t* ring,
                                        int32_t ringSize, int32_t baseOffset, int32_t total);

  // Reloads the ring-sized chunk that holds the position.
  int32_t Seek(int32_t position) override;

 private:
  UURandomAccessStream& mStream;
  int32_t mBaseOffset;
  int32_t mTotalAsked;
};
