#include "media/sound/MMSoundResourceInfo.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int32_t kPeriodMilliseconds = 40;
constexpr uint8_t kEnvelopeModeMask = 0xC0;
constexpr uint8_t kCodecFlagMask = 0x03;

// The samples of one 40 ms period: the rate / 25.
int64_t PeriodSamples(int32_t rateCode) {
  constexpr int64_t kBasePeriod = 441;
  return kBasePeriod << std::min(rateCode, 2);
}

int32_t RateMultiple(int32_t rateCode) { return 1 << std::min(rateCode, 2); }

int32_t Saturate(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

template <typename T>
void EmptyArray(UUGrowableArray<T>& array) {
  array.EraseRange(0, array.Count());
  array.Compact();
}

}  // namespace

int32_t MMSoundBytesToMilliseconds(int32_t bytes, int32_t rateCode, bool is16Bit, bool isStereo) {
  const int32_t samples = is16Bit ? bytes / 2 : bytes;
  const int32_t frames = isStereo ? samples / 2 : samples;
  return Saturate(int64_t{frames} * kPeriodMilliseconds / PeriodSamples(rateCode));
}

int32_t MMSoundMillisecondsToBytes(int32_t milliseconds, int32_t rateCode, bool is16Bit,
                                   bool isStereo) {
  const int64_t frameBytes = (isStereo ? 2 : 1) * (is16Bit ? 2 : 1);
  int64_t bytes =
      int64_t{milliseconds} * PeriodSamples(rateCode) / (kPeriodMilliseconds / frameBytes);
  const int64_t partial = bytes % frameBytes;
  if (partial > 0) bytes += frameBytes - partial;
  if (partial < 0) bytes -= partial;
  // A saturated count stays a whole number of frames.
  const int64_t most = INT32_MAX / frameBytes * frameBytes;
  return static_cast<int32_t>(std::clamp<int64_t>(bytes, -most, most));
}

int32_t MMSoundResourceInfo::SizeTable::Lookup(int32_t item, bool marked) const {
  if (!marked) return 0;
  if (mIndices.Count() == 0) return item >= 0 && item < mValues.Count() ? mValues[item] : 0;
  const int16_t* found = std::lower_bound(mIndices.Begin(), mIndices.End(), item);
  if (found == mIndices.End() || *found != item) return 0;
  return mValues[static_cast<int32_t>(found - mIndices.Begin())];
}

bool MMSoundResourceInfo::SizeTable::Read(UUReader& reader, int32_t n,
                                          const UUGrowableArray<uint8_t>& flags, uint8_t mask) {
  const auto count = static_cast<uint32_t>(n);
  const int32_t marked = static_cast<int32_t>(
      std::count_if(flags.Begin(), flags.End(), [mask](uint8_t f) { return (f & mask) != 0; }));
  if (marked == 0) return reader.Skip(4 * count);
  mValues.Insert(0, n, 0);
  if (!reader.ReadInt32s(mValues.Begin(), count)) return false;
  // Few sounds need the table: keep only theirs.
  if (6 * marked < 4 * n) {
    int32_t kept = 0;
    for (int32_t i = 0; i < n; ++i) {
      if ((flags[i] & mask) == 0) continue;
      mIndices.Append(static_cast<int16_t>(i));
      mValues[kept++] = mValues[i];
    }
    mValues.EraseRange(kept, n);
    mValues.Compact();
  }
  return true;
}

bool MMSoundResourceInfo::SizeTable::Write(UUWriter& writer, int32_t n) {
  if (mValues.Count() == 0) mValues.Insert(0, n, 0);
  return writer.WriteInt32s(mValues.Begin(), static_cast<uint32_t>(mValues.Count()));
}

bool MMSoundResourceInfo::SizeTable::Store(int32_t item, int32_t value) {
  if (mIndices.Count() != 0 || item < 0 || item >= mValues.Count()) return false;
  mValues[item] = value;
  return true;
}

void MMSoundResourceInfo::SizeTable::Empty() {
  EmptyArray(mIndices);
  EmptyArray(mValues);
}

void MMSoundResourceInfo::EmptySoundTables() {
  EmptyArray(mFormatFlags);
  EmptyArray(mCodecFlags);
  mEnvelopeSizes.Empty();
  mDecodedSizes.Empty();
}

void MMSoundResourceInfo::PrepareSoundTables(int32_t n) {
  EmptySoundTables();
  mFormatFlags.Insert(0, n, 0);
  mCodecFlags.Insert(0, n, 0);
}

bool MMSoundResourceInfo::ReadSoundTables(UUReader& reader, int32_t n) {
  const auto count = static_cast<uint32_t>(n);
  return reader.Read(mFormatFlags.Begin(), count) && reader.Read(mCodecFlags.Begin(), count) &&
         mEnvelopeSizes.Read(reader, n, mFormatFlags, kEnvelopeModeMask) &&
         mDecodedSizes.Read(reader, n, mCodecFlags, kCodecFlagMask);
}

bool MMSoundResourceInfo::WriteSoundTables(UUWriter& writer, int32_t n) {
  const auto count = static_cast<uint32_t>(n);
  writer.Write(mFormatFlags.Begin(), count);
  writer.Write(mCodecFlags.Begin(), count);
  mEnvelopeSizes.Write(writer, n);
  mDecodedSizes.Write(writer, n);
  return writer.GetError() == kUUNoError;
}

bool MMSoundResourceInfo::HasConsistentSizes() const {
  for (int32_t item = 0; item < mFormatFlags.Count(); ++item) {
    int32_t offset = 0;
    int32_t size = 0;
    if (!mContainer.GetSubfileRange(item, &offset, &size)) return false;
    const int32_t envelope = GetEnvelopeSize(item);
    if (envelope < 0 || envelope > size) return false;
    const int64_t decoded = GetDecodedSize(item);
    if (decoded < 0 || decoded > 2 * int64_t{size - envelope}) return false;
  }
  return true;
}

int32_t MMSoundResourceInfo::GetEnvelopeSize(int32_t item) const {
  return mEnvelopeSizes.Lookup(item, GetEnvelopeMode(item) != 0);
}

int32_t MMSoundResourceInfo::GetDecodedSize(int32_t item) const {
  return mDecodedSizes.Lookup(item, GetCodec(item) != 0);
}

int32_t MMSoundResourceInfo::GetDataSize(int32_t item) const {
  if (GetCodec(item) != 0) return GetDecodedSize(item);
  return mContainer.GetSubfileSize(item) - GetEnvelopeSize(item);
}

int32_t MMSoundResourceInfo::GetDuration(int32_t item) const {
  return MMSoundBytesToMilliseconds(GetDataSize(item), GetRateCode(item), Is16Bit(item) != 0,
                                    IsStereo(item) != 0);
}

MMSoundFormat MMSoundResourceInfo::GetSoundFormat(int32_t item) const {
  if (item < 0 || item >= mFormatFlags.Count()) return MMSoundFormat{};
  uint32_t bits = static_cast<uint32_t>(RateMultiple(GetRateCode(item)));
  if (Is16Bit(item) != 0) bits |= MMSoundFormat::k16Bit;
  if (IsStereo(item) != 0) bits |= MMSoundFormat::kStereo;
  return MMSoundFormat{bits};
}

bool MMSoundResourceInfo::SetBits(UUGrowableArray<uint8_t>& table, int32_t item, int32_t mask,
                                  int32_t shift, int32_t value) {
  if (item < 0 || item >= table.Count()) return false;
  const int32_t bits = mask << shift;
  table[item] = static_cast<uint8_t>((table[item] & ~bits) | ((value << shift) & bits));
  return true;
}

bool MMSoundResourceInfo::SetRateCode(int32_t item, int32_t code) {
  return SetBits(mFormatFlags, item, kRateCodeMask, 0, code);
}

bool MMSoundResourceInfo::Set16Bit(int32_t item, int32_t flag) {
  return SetBits(mFormatFlags, item, 1, k16BitShift, flag);
}

bool MMSoundResourceInfo::SetStereo(int32_t item, int32_t flag) {
  return SetBits(mFormatFlags, item, 1, kStereoShift, flag);
}

bool MMSoundResourceInfo::SetStreamMode(int32_t item, int32_t mode) {
  return SetBits(mFormatFlags, item, 3, kStreamModeShift, mode);
}

bool MMSoundResourceInfo::SetEnvelopeMode(int32_t item, int32_t mode) {
  return SetBits(mFormatFlags, item, 3, kEnvelopeModeShift, mode);
}

bool MMSoundResourceInfo::SetCodec(int32_t item, int32_t codec, int32_t headDivisor) {
  return SetBits(mCodecFlags, item, kCodecMask, 0, codec) &&
         SetBits(mCodecFlags, item, kHeadDivisorMax, kHeadDivisorShift, headDivisor);
}

bool MMSoundResourceInfo::SetEnvelopeSize(int32_t item, int32_t bytes) {
  return mEnvelopeSizes.Store(item, bytes);
}

bool MMSoundResourceInfo::SetDecodedSize(int32_t item, int32_t bytes) {
  return mDecodedSizes.Store(item, bytes);
}
