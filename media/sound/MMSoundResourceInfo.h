#pragma once
// The sound table of a sound resource file: per sound a format-flag byte, a
// codec-flag byte, the byte count of its envelope and the byte count of
// 16-bit PCM that decoding it yields.
//
// Format flags: bits 0-1 the rate code (0 11025 Hz, 1 22050 Hz, 2 and 3
// 44100 Hz), bit 2 16-bit signed samples (else 8-bit unsigned), bit 3
// stereo, bits 4-5 the stream mode (0 held whole in memory, else a head in
// memory and the rest streamed from the file), bits 6-7 the envelope mode
// (0 none, else the subfile starts with an amplitude envelope).
// Codec flags: bits 0-1 the codec (0 plain PCM, else one code byte of the
// sound-byte code per 16-bit sample), bits 2-6 the head divisor of a
// streamed sound, bit 7 kept as it is.
//
// The two size tables are kept as a table of N values (dense), or, when
// few sounds need them, as the ascending indices of those sounds with their
// values (sparse).

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "media/sound/MMSoundFormat.h"
#include "mm/resources/MMGenericResourceFile.h"

#include <cstdint>

class MMSoundResourceInfo {
 public:
  // The container answers the subfile sizes that the data sizes come from.
  explicit MMSoundResourceInfo(const MMGenericResourceFile& container) : mContainer(container) {}
  MMSoundResourceInfo(const MMSoundResourceInfo&) = delete;
  MMSoundResourceInfo& operator=(const MMSoundResourceInfo&) = delete;

  // Every getter answers 0 for an item outside the table.
  int32_t GetRateCode(int32_t item) const { return FormatFlags(item) & kRateCodeMask; }
  int32_t Is16Bit(int32_t item) const { return FormatFlags(item) >> k16BitShift & 1; }
  int32_t IsStereo(int32_t item) const { return FormatFlags(item) >> kStereoShift & 1; }
  int32_t GetStreamMode(int32_t item) const { return FormatFlags(item) >> kStreamModeShift & 3; }
  int32_t GetEnvelopeMode(int32_t item) const {
    return FormatFlags(item) >> kEnvelopeModeShift & 3;
  }
  int32_t GetCodec(int32_t item) const { return CodecFlags(item) & kCodecMask; }
  int32_t GetHeadDivisor(int32_t item) const {
    return CodecFlags(item) >> kHeadDivisorShift & kHeadDivisorMax;
  }
  int32_t GetEnvelopeSize(int32_t item) const;
  // The bytes of PCM a player of the sound receives.
  int32_t GetDataSize(int32_t item) const;
  int32_t GetDuration(int32_t item) const;
  // The format of the PCM that the sound's sources deliver.
  MMSoundFormat GetSoundFormat(int32_t item) const;

  // The writer's operations, valid on a created file; each changes the
  // named bits of one sound and keeps the others. False for an item
  // outside the table.
  bool SetRateCode(int32_t item, int32_t code);
  bool Set16Bit(int32_t item, int32_t flag);
  bool SetStereo(int32_t item, int32_t flag);
  bool SetStreamMode(int32_t item, int32_t mode);
  bool SetEnvelopeMode(int32_t item, int32_t mode);
  // Bits 0-1 become the codec, bits 2-6 the divisor (0 to 31).
  bool SetCodec(int32_t item, int32_t codec, int32_t headDivisor);
  bool SetEnvelopeSize(int32_t item, int32_t bytes);
  bool SetDecodedSize(int32_t item, int32_t bytes);

 protected:
  static constexpr int16_t kTableVersion = 8;

  // n zero bytes in each flag table; the size tables empty.
  void PrepareSoundTables(int32_t n);
  void EmptySoundTables();
  // The tables after the version; false on a stream error.
  bool ReadSoundTables(UUReader& reader, int32_t n);
  // The tables after the version, the size tables made dense first.
  bool WriteSoundTables(UUWriter& writer, int32_t n);
  // Whether every sound's subfile lies in the file and holds its envelope,
  // and every decoded size fits the code bytes that make it.
  bool HasConsistentSizes() const;

 private:
  static constexpr int32_t kRateCodeMask = 0x03;
  static constexpr int32_t k16BitShift = 2;
  static constexpr int32_t kStereoShift = 3;
  static constexpr int32_t kStreamModeShift = 4;
  static constexpr int32_t kEnvelopeModeShift = 6;
  static constexpr int32_t kCodecMask = 0x03;
  static constexpr int32_t kHeadDivisorShift = 2;
  static constexpr int32_t kHeadDivisorMax = 31;

  // One int32 per sound that its flag marks.
  struct SizeTable {
    UUGrowableArray<int16_t> mIndices;  // empty in the dense form
    UUGrowableArray<int32_t> mValues;

    int32_t Lookup(int32_t item, bool marked) const;
    // Sound i needs an entry when flags[i] has a bit of mask set.
    bool Read(UUReader& reader, int32_t n, const UUGrowableArray<uint8_t>& flags, uint8_t mask);
    bool Write(UUWriter& writer, int32_t n);
    bool Store(int32_t item, int32_t value);
    void Empty();
  };

  int32_t FormatFlags(int32_t item) const { return Flags(mFormatFlags, item); }
  int32_t CodecFlags(int32_t item) const { return Flags(mCodecFlags, item); }
  static int32_t Flags(const UUGrowableArray<uint8_t>& table, int32_t item) {
    return item >= 0 && item < table.Count() ? table[item] : 0;
  }
  static bool SetBits(UUGrowableArray<uint8_t>& table, int32_t item, int32_t mask, int32_t shift,
                      int32_t value);
  int32_t GetDecodedSize(int32_t item) const;

  UUGrowableArray<uint8_t> mFormatFlags;
  UUGrowableArray<uint8_t> mCodecFlags;
  SizeTable mEnvelopeSizes;
  SizeTable mDecodedSizes;
  const MMGenericResourceFile& mContainer;
};

// The duration of bytes of PCM in milliseconds, counted in whole samples
// and frames (toward zero).
int32_t MMSoundBytesToMilliseconds(int32_t bytes, int32_t rateCode, bool is16Bit, bool isStereo);
// The bytes of PCM of that many milliseconds, rounded up to whole frames;
// saturated at the int32 range.
int32_t MMSoundMillisecondsToBytes(int32_t milliseconds, int32_t rateCode, bool is16Bit,
                                   bool isStereo);
