#pragma once
// The amplitude envelope of a sound: one signed byte per 40 ms period
// giving the mean magnitude of the period's samples (0 to 127), so that a
// caller can follow a sound's loudness without decoding it. Stored as the
// bare value bytes at the start of the sound's subfile.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <cstdint>

class MMSoundEnvelope {
 public:
  static constexpr int32_t kPeriodMilliseconds = 40;

  MMSoundEnvelope() = default;
  // Takes over a block of UUAllocateArrayBlock holding count values.
  MMSoundEnvelope(int8_t* values, int32_t count, int32_t word);
  MMSoundEnvelope(const MMSoundEnvelope& other);
  MMSoundEnvelope& operator=(const MMSoundEnvelope& other);
  ~MMSoundEnvelope();

  // The value of the period holding the time; 0 before the first period
  // and after the last.
  int32_t GetValue(int32_t milliseconds) const;
  int32_t GetCount() const { return mCount; }
  int32_t GetWord() const { return mWord; }
  bool IsEmpty() const { return mCount == 0; }

 private:
  // A copy of count values, or null for none.
  static int8_t* CopyValues(const int8_t* values, int32_t count);

  int8_t* mValues = nullptr;
  // 1 in every envelope made; carried with the values, read by no one.
  int32_t mWord = 1;
  int32_t mCount = 0;
};

// Reads byteCount bytes of PCM and writes one value byte per period of
// 441 << (rateShift + channelShift) samples (40 ms when the shifts are
// those of the rate, 0 to 2, and of the channels, 0 or 1); 16-bit samples
// are read in the reader's byte order. valueCount receives the values
// written. False when the shifts add up to more than 3 or a stream fails.
bool MMComputeSoundEnvelope(UUReader& reader, uint32_t byteCount, int32_t rateShift, bool is16Bit,
                            int32_t channelShift, UUWriter& writer, int32_t* valueCount);
