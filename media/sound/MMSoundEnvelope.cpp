#include "media/sound/MMSoundEnvelope.h"

#include "foundation/uu/UUArrayBlock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kBasePeriod = 441;
constexpr int32_t kMaxShift = 3;
constexpr uint32_t kMaxPeriod = kBasePeriod << kMaxShift;
constexpr int32_t kSilence8 = 128;
constexpr int32_t k16BitValueShift = 8;
// The values are signed bytes: the loudest mean (128) is kept at the
// largest one, so that it does not read back as the most negative.
constexpr uint32_t kLoudest = 127;

uint8_t MeanOf8BitPeriod(const uint8_t* bytes, uint32_t n) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < n; ++i) sum += static_cast<uint32_t>(std::abs(bytes[i] - kSilence8));
  return static_cast<uint8_t>(std::min(sum / n, kLoudest));
}

uint8_t MeanOf16BitPeriod(const int16_t* samples, uint32_t n) {
  uint32_t sum = 0;
  for (uint32_t i = 0; i < n; ++i) sum += static_cast<uint32_t>(std::abs(int32_t{samples[i]}));
  return static_cast<uint8_t>(std::min((sum / n) >> k16BitValueShift, kLoudest));
}

}  // namespace

MMSoundEnvelope::MMSoundEnvelope(int8_t* values, int32_t count, int32_t word)
    : mValues(values), mWord(word), mCount(count) {}

MMSoundEnvelope::MMSoundEnvelope(const MMSoundEnvelope& other)
    : mValues(CopyValues(other.mValues, other.mCount)), mWord(other.mWord), mCount(other.mCount) {}

MMSoundEnvelope& MMSoundEnvelope::operator=(const MMSoundEnvelope& other) {
  if (&other == this) return *this;
  int8_t* values = CopyValues(other.mValues, other.mCount);
  UUFreeArrayBlock(mValues);
  mValues = values;
  mWord = other.mWord;
  mCount = other.mCount;
  return *this;
}

MMSoundEnvelope::~MMSoundEnvelope() { UUFreeArrayBlock(mValues); }

int8_t* MMSoundEnvelope::CopyValues(const int8_t* values, int32_t count) {
  if (count <= 0) return nullptr;
  auto* copy = static_cast<int8_t*>(
      UUAllocateArrayBlock(static_cast<size_t>(count), ALGlobalAllocator, kALMustSucceed));
  std::memcpy(copy, values, static_cast<size_t>(count));
  return copy;
}

int32_t MMSoundEnvelope::GetValue(int32_t milliseconds) const {
  const int32_t i = milliseconds / kPeriodMilliseconds;
  return i < 0 || i >= mCount ? 0 : mValues[i];
}

bool MMComputeSoundEnvelope(UUReader& reader, uint32_t byteCount, int32_t rateShift, bool is16Bit,
                            int32_t channelShift, UUWriter& writer, int32_t* valueCount) {
  *valueCount = 0;
  const int32_t shift = rateShift + channelShift;
  if (rateShift < 0 || channelShift < 0 || shift > kMaxShift) return false;
  const uint32_t period = kBasePeriod << shift;
  // Large enough for the longest period in either width.
  int16_t scratch[kMaxPeriod];
  uint32_t remaining = is16Bit ? byteCount / 2 : byteCount;
  while (remaining > 0 && reader.GetError() == kUUNoError && writer.GetError() == kUUNoError) {
    const uint32_t n = std::min(remaining, period);
    const bool read = is16Bit ? reader.ReadInt16s(scratch, n) : reader.Read(scratch, n);
    if (!read) break;
    const uint8_t value = is16Bit ? MeanOf16BitPeriod(scratch, n)
                                  : MeanOf8BitPeriod(reinterpret_cast<uint8_t*>(scratch), n);
    if (!writer.Write(&value, 1)) break;
    ++*valueCount;
    remaining -= n;
  }
  return reader.GetError() == kUUNoError && writer.GetError() == kUUNoError;
}
