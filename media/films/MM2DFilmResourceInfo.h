#pragma once
// The film table of a film resource file: per film a flag byte, a palette
// selector, the frame rectangle, the work buffer size, four sound-track
// descriptors, the sound lead time, the preload size and the data rate;
// after them the shared palettes.
//
// Flags: bit 0 8-bit palettized frames (else 32-bit), bits 1-2 the frame
// image's sub-format, bits 3-5 kept as they are.
// Palette selector: 0 none, 1 marked as having a palette without naming
// one, n >= 2 shared palette n - 2.
// Track descriptor: bits 0-1 the rate code, bit 2 16-bit big-endian
// samples, bit 3 stereo, bit 4 the sound-byte code, bit 6 present.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UURect.h"
#include "foundation/uu/UUWriter.h"
#include "mm/drawing/MMPalette.h"
#include "mm/resources/MMGenericResourceFile.h"

#include <cstdint>

class MM2DFilmResourceInfo {
 public:
  static constexpr int32_t kTrackSlots = 4;

  // The container answers whether a setter left the file good.
  explicit MM2DFilmResourceInfo(MMGenericResourceFile& container) : mContainer(container) {}
  MM2DFilmResourceInfo(const MM2DFilmResourceInfo&) = delete;
  MM2DFilmResourceInfo& operator=(const MM2DFilmResourceInfo&) = delete;

  // The caller passes a film of the table, 0 to N - 1.
  int32_t IsPalettized(int16_t film) const { return mFlags[film] & 1; }
  int32_t GetSubFormat(int16_t film) const { return mFlags[film] >> kSubFormatShift & 3; }
  int32_t GetFlagBit3(int16_t film) const { return mFlags[film] >> 3 & 1; }
  int32_t GetFlagBit4(int16_t film) const { return mFlags[film] >> 4 & 1; }
  int32_t GetFlagBit5(int16_t film) const { return mFlags[film] >> 5 & 1; }
  // 0 none, 1 marked without a palette, 2 a shared palette.
  int32_t GetPaletteKind(int16_t film) const;
  // The shared palette's index, -1 for a film without one.
  int32_t GetPaletteIndex(int16_t film) const;
  int32_t GetPaletteCount() const { return mPalettes.Count(); }
  const MMPalette& GetPalette(int32_t index) const { return mPalettes[index]; }
  const UURect& GetRectangle(int16_t film) const { return mRectangles[film]; }
  int32_t GetWorkBufferSize(int16_t film) const { return mWorkBufferSizes[film]; }
  // The leading present descriptors.
  int32_t GetSoundTrackCount(int16_t film) const;
  int32_t GetSoundRateCode(int16_t film, int32_t track) const {
    return Descriptor(film, track) & 3;
  }
  int32_t IsSound16Bit(int16_t film, int32_t track) const {
    return Descriptor(film, track) >> 2 & 1;
  }
  int32_t IsSoundStereo(int16_t film, int32_t track) const {
    return Descriptor(film, track) >> 3 & 1;
  }
  int32_t IsSoundCompressed(int16_t film, int32_t track) const {
    return Descriptor(film, track) >> 4 & 1;
  }
  int32_t GetSoundLeadTime(int16_t film) const { return mLeadTimes[film]; }
  int32_t GetPreloadSize(int16_t film) const { return mPreloadSizes[film]; }
  int32_t GetDataRate(int16_t film) const { return mDataRates[film]; }

  // The writer's operations: each stores its value and answers whether the
  // file is still good.
  bool SetPalettized(int16_t film, int32_t bit);
  bool SetSubFormat(int16_t film, int32_t subFormat);
  bool SetFlagBit3(int16_t film, int32_t bit);
  bool SetFlagBit4(int16_t film, int32_t bit);
  bool SetFlagBit5(int16_t film, int32_t bit);
  // Kinds 0 and 1 are stored as they are; 2 and more name paletteIndex.
  bool SetPaletteKind(int16_t film, int32_t kind, int32_t paletteIndex);
  bool SetRectangle(int16_t film, const UURect& rect);
  bool SetWorkBufferSize(int16_t film, int32_t bytes);
  bool SetSoundLeadTime(int16_t film, int16_t milliseconds);
  bool SetPreloadSize(int16_t film, int32_t bytes);
  bool SetDataRate(int16_t film, int16_t rate);
  // Rewrites all four descriptors: the first count present, nothing else
  // set; comes before the per-track setters.
  bool SetSoundTrackCount(int16_t film, int32_t count);
  bool SetSoundRateCode(int16_t film, int32_t track, int32_t code);
  bool SetSound16Bit(int16_t film, int32_t track, int32_t bit);
  bool SetSoundStereo(int16_t film, int32_t track, int32_t bit);
  bool SetSoundCompressed(int16_t film, int32_t track, int32_t bit);
  // Appends n cleared palettes; nothing for n <= 0.
  bool AddPalettes(int32_t n);
  bool SetPalette(int32_t index, const MMPalette& palette);

 protected:
  static constexpr int16_t kTableVersion = 7;
  // The bytes of one film's entries in the table.
  static constexpr int32_t kTableBytesPerFilm = 26;
  static constexpr int32_t kPaletteBytes = 1024;

  // n zero entries in every per-film array.
  void PrepareFilmTables(int32_t n);
  void EmptyFilmTables();
  // The per-film arrays after the version; false on a stream error.
  bool ReadFilmArrays(UUReader& reader, int32_t n);
  // m palettes appended and read.
  bool ReadPalettes(UUReader& reader, int32_t m);
  // Everything after the version; false on a stream error.
  bool WriteFilmTables(UUWriter& writer, int32_t n);

 private:
  static constexpr int32_t kSubFormatShift = 1;
  static constexpr uint8_t kTrackPresent = 0x40;

  int32_t Descriptor(int16_t film, int32_t track) const {
    return mTracks[film * kTrackSlots + track];
  }
  bool SetFlagBits(int16_t film, int32_t mask, int32_t shift, int32_t value);
  bool SetDescriptorBits(int16_t film, int32_t track, int32_t mask, int32_t shift, int32_t value);
  bool ReadRectangles(UUReader& reader, int32_t n);
  bool WriteRectangles(UUWriter& writer);

  UUGrowableArray<uint8_t> mFlags;
  UUGrowableArray<uint8_t> mPaletteSelectors;
  UUGrowableArray<UURect> mRectangles;
  UUGrowableArray<int32_t> mWorkBufferSizes;
  UUGrowableArray<uint8_t> mTracks;
  UUGrowableArray<int16_t> mLeadTimes;
  UUGrowableArray<int32_t> mPreloadSizes;
  UUGrowableArray<int16_t> mDataRates;
  UUGrowableArray<MMPalette> mPalettes;
  MMGenericResourceFile& mContainer;
};
