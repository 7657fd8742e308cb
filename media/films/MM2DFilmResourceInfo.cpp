#include "media/films/MM2DFilmResourceInfo.h"

#include "mm/drawing/MMPaletteOperations.h"

#include <algorithm>

namespace {

// Rectangles travel as packed points in groups of this many.
constexpr int32_t kPointGroup = 100;

template <typename T>
void EmptyArray(UUGrowableArray<T>& array) {
  array.EraseRange(0, array.Count());
  array.Compact();
}

// x in the low 16 bits, y in the high 16 bits, both signed.
uint32_t PackPoint(int32_t x, int32_t y) {
  return static_cast<uint16_t>(x) | static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16;
}

int32_t LowHalf(uint32_t packed) { return static_cast<int16_t>(packed & 0xFFFF); }
int32_t HighHalf(uint32_t packed) { return static_cast<int16_t>(packed >> 16); }

}  // namespace

int32_t MM2DFilmResourceInfo::GetPaletteKind(int16_t film) const {
  return std::min<int32_t>(mPaletteSelectors[film], 2);
}

int32_t MM2DFilmResourceInfo::GetPaletteIndex(int16_t film) const {
  const int32_t selector = mPaletteSelectors[film];
  return selector >= 2 ? selector - 2 : -1;
}

int32_t MM2DFilmResourceInfo::GetSoundTrackCount(int16_t film) const {
  int32_t count = 0;
  while (count < kTrackSlots && (Descriptor(film, count) & kTrackPresent) != 0) ++count;
  return count;
}

bool MM2DFilmResourceInfo::SetFlagBits(int16_t film, int32_t mask, int32_t shift, int32_t value) {
  const int32_t bits = mask << shift;
  mFlags[film] = static_cast<uint8_t>((mFlags[film] & ~bits) | ((value << shift) & bits));
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetDescriptorBits(int16_t film, int32_t track, int32_t mask,
                                             int32_t shift, int32_t value) {
  uint8_t& descriptor = mTracks[film * kTrackSlots + track];
  const int32_t bits = mask << shift;
  descriptor = static_cast<uint8_t>((descriptor & ~bits) | ((value << shift) & bits));
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetPalettized(int16_t film, int32_t bit) {
  return SetFlagBits(film, 1, 0, bit);
}

bool MM2DFilmResourceInfo::SetSubFormat(int16_t film, int32_t subFormat) {
  return SetFlagBits(film, 3, kSubFormatShift, subFormat);
}

bool MM2DFilmResourceInfo::SetFlagBit3(int16_t film, int32_t bit) {
  return SetFlagBits(film, 1, 3, bit);
}

bool MM2DFilmResourceInfo::SetFlagBit4(int16_t film, int32_t bit) {
  return SetFlagBits(film, 1, 4, bit);
}

bool MM2DFilmResourceInfo::SetFlagBit5(int16_t film, int32_t bit) {
  return SetFlagBits(film, 1, 5, bit);
}

bool MM2DFilmResourceInfo::SetPaletteKind(int16_t film, int32_t kind, int32_t paletteIndex) {
  mPaletteSelectors[film] = static_cast<uint8_t>(kind < 2 ? kind : paletteIndex + 2);
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetRectangle(int16_t film, const UURect& rect) {
  mRectangles[film] = rect;
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetWorkBufferSize(int16_t film, int32_t bytes) {
  mWorkBufferSizes[film] = bytes;
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetSoundLeadTime(int16_t film, int16_t milliseconds) {
  mLeadTimes[film] = milliseconds;
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetPreloadSize(int16_t film, int32_t bytes) {
  mPreloadSizes[film] = bytes;
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetDataRate(int16_t film, int16_t rate) {
  mDataRates[film] = rate;
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetSoundTrackCount(int16_t film, int32_t count) {
  for (int32_t track = 0; track < kTrackSlots; ++track) {
    mTracks[film * kTrackSlots + track] = track < count ? kTrackPresent : 0;
  }
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetSoundRateCode(int16_t film, int32_t track, int32_t code) {
  return SetDescriptorBits(film, track, 3, 0, code);
}

bool MM2DFilmResourceInfo::SetSound16Bit(int16_t film, int32_t track, int32_t bit) {
  return SetDescriptorBits(film, track, 1, 2, bit);
}

bool MM2DFilmResourceInfo::SetSoundStereo(int16_t film, int32_t track, int32_t bit) {
  return SetDescriptorBits(film, track, 1, 3, bit);
}

bool MM2DFilmResourceInfo::SetSoundCompressed(int16_t film, int32_t track, int32_t bit) {
  return SetDescriptorBits(film, track, 1, 4, bit);
}

bool MM2DFilmResourceInfo::AddPalettes(int32_t n) {
  if (n > 0) mPalettes.Insert(mPalettes.Count(), n, MMPalette{});
  return mContainer.IsGood();
}

bool MM2DFilmResourceInfo::SetPalette(int32_t index, const MMPalette& palette) {
  mPalettes[index] = palette;
  return mContainer.IsGood();
}

void MM2DFilmResourceInfo::EmptyFilmTables() {
  EmptyArray(mFlags);
  EmptyArray(mPaletteSelectors);
  EmptyArray(mRectangles);
  EmptyArray(mWorkBufferSizes);
  EmptyArray(mTracks);
  EmptyArray(mLeadTimes);
  EmptyArray(mPreloadSizes);
  EmptyArray(mDataRates);
  EmptyArray(mPalettes);
}

void MM2DFilmResourceInfo::PrepareFilmTables(int32_t n) {
  EmptyFilmTables();
  mFlags.Insert(0, n, 0);
  mPaletteSelectors.Insert(0, n, 0);
  mRectangles.Insert(0, n, UURect());
  mWorkBufferSizes.Insert(0, n, 0);
  mTracks.Insert(0, n * kTrackSlots, 0);
  mLeadTimes.Insert(0, n, 0);
  mPreloadSizes.Insert(0, n, 0);
  mDataRates.Insert(0, n, 0);
}

bool MM2DFilmResourceInfo::ReadRectangles(UUReader& reader, int32_t n) {
  uint32_t points[kPointGroup];
  int32_t point = 0;
  while (point < 2 * n) {
    const int32_t group = std::min(kPointGroup, 2 * n - point);
    if (!reader.ReadInt32s(points, static_cast<uint32_t>(group))) return false;
    for (int32_t i = 0; i < group; ++i, ++point) {
      UURect& rect = mRectangles[point / 2];
      if (point % 2 == 0) {
        rect.mLeft = LowHalf(points[i]);
        rect.mTop = HighHalf(points[i]);
      } else {
        rect.mRight = LowHalf(points[i]);
        rect.mBottom = HighHalf(points[i]);
      }
    }
  }
  return true;
}

bool MM2DFilmResourceInfo::WriteRectangles(UUWriter& writer) {
  uint32_t points[kPointGroup];
  const int32_t total = 2 * mRectangles.Count();
  for (int32_t first = 0; first < total; first += kPointGroup) {
    const int32_t group = std::min(kPointGroup, total - first);
    for (int32_t i = 0; i < group; ++i) {
      const UURect& rect = mRectangles[(first + i) / 2];
      points[i] = (first + i) % 2 == 0 ? PackPoint(rect.mLeft, rect.mTop)
                                       : PackPoint(rect.mRight, rect.mBottom);
    }
    if (!writer.WriteInt32s(points, static_cast<uint32_t>(group))) return false;
  }
  return true;
}

bool MM2DFilmResourceInfo::ReadFilmArrays(UUReader& reader, int32_t n) {
  const auto count = static_cast<uint32_t>(n);
  reader.Read(mFlags.Begin(), count);
  reader.Read(mPaletteSelectors.Begin(), count);
  ReadRectangles(reader, n);
  reader.ReadInt32s(mWorkBufferSizes.Begin(), count);
  reader.Read(mTracks.Begin(), count * kTrackSlots);
  reader.ReadInt16s(mLeadTimes.Begin(), count);
  reader.ReadInt32s(mPreloadSizes.Begin(), count);
  reader.ReadInt16s(mDataRates.Begin(), count);
  return reader.GetError() == kUUNoError;
}

bool MM2DFilmResourceInfo::ReadPalettes(UUReader& reader, int32_t m) {
  const int32_t first = mPalettes.Count();
  AddPalettes(m);
  for (int32_t i = first; i < mPalettes.Count(); ++i) MMReadPalette(reader, mPalettes[i]);
  return reader.GetError() == kUUNoError;
}

bool MM2DFilmResourceInfo::WriteFilmTables(UUWriter& writer, int32_t n) {
  const auto count = static_cast<uint32_t>(n);
  writer.Write(mFlags.Begin(), count);
  writer.Write(mPaletteSelectors.Begin(), count);
  WriteRectangles(writer);
  writer.WriteInt32s(mWorkBufferSizes.Begin(), count);
  writer.Write(mTracks.Begin(), count * kTrackSlots);
  writer.WriteInt16s(mLeadTimes.Begin(), count);
  writer.WriteInt32s(mPreloadSizes.Begin(), count);
  writer.WriteInt16s(mDataRates.Begin(), count);
  const auto paletteCount = static_cast<int16_t>(mPalettes.Count());
  writer.WriteInt16s(&paletteCount, 1);
  for (const MMPalette& palette : mPalettes) MMWritePalette(writer, palette);
  return writer.GetError() == kUUNoError;
}
