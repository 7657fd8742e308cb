#pragma once
// The picture resource file ("DAZE Pictures"). After the named container
// header, for N pictures and P shared palettes:
//   0        int16      picture version 11
//   2        N bytes    option bytes (kept only with keepNames)
//   2 + N    N bytes    format: bit 0 8-bit palettized (else 32-bit),
//                       bits 2-3 the sub-format, bit 4 encoded image
//   2 + 2N   4N         size: width in the low 16 bits, height in the high
//   2 + 6N   int32 x N  unpacked size: 0 stored as is, else LZO1X-packed
//   2 + 10N  N bytes    palette selector: 0 none, 1 its own (the first
//                       1024 bytes of its data), k >= 2 shared palette k - 2
//   2 + 11N  int16      P
//   4 + 11N  1024 x P   shared palettes

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUPoint.h"
#include "mm/drawing/MMPalette.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"

#include <cstdint>

class MMPictureResourceFile : public MMResourceFileWithNamedSubfiles {
 public:
  static constexpr int16_t kPictureVersion = 11;
  static constexpr uint8_t kEightBit = 0x01;
  static constexpr uint8_t kSubFormatMask = 0x0C;
  static constexpr uint8_t kEncoded = 0x10;
  // The option byte: flags in bits 0, 1, 2 and 5 and a two-bit field in
  // bits 3-4, kept for the file's makers; nothing here acts on them.
  static constexpr int32_t kOptionFieldShift = 3;
  static constexpr uint8_t kOptionFieldMask = 0x18;

  MMPictureResourceFile() : MMResourceFileWithNamedSubfiles(MME_PICTURE_RESOURCE_FILE_NOT_FOUND) {}
  ~MMPictureResourceFile() override;

  const char* GetKindCode() const override { return "MMP"; }
  const char* GetTag() const override { return "DAZE Pictures"; }

  // Every getter answers 0 (or an empty size) for an index outside the
  // table.
  uint8_t GetFormat(int32_t i) const { return Byte(mFormats, i); }
  uint8_t GetOptions(int32_t i) const { return Byte(mOptions, i); }
  // bit is 0, 1, 2 or 5.
  bool GetOptionFlag(int32_t i, int32_t bit) const { return (GetOptions(i) >> bit & 1) != 0; }
  int32_t GetOptionField(int32_t i) const {
    return (GetOptions(i) & kOptionFieldMask) >> kOptionFieldShift;
  }
  UUPoint GetSize(int32_t i) const;
  int32_t GetUnpackedSize(int32_t i) const;
  uint8_t GetPaletteSelector(int32_t i) const { return Byte(mSelectors, i); }
  int16_t GetSharedPaletteCount() const { return static_cast<int16_t>(mPalettes.Count()); }
  // Null for an index outside the table.
  const MMPalette* GetSharedPalette(int32_t k) const;

  // The writer's operations; each answers the status rule (IsGood).
  bool SetEightBit(int32_t i, bool eightBit);
  bool SetSubFormat(int32_t i, int32_t subFormat);
  bool SetEncoded(int32_t i, bool encoded);
  bool SetSize(int32_t i, int32_t width, int32_t height);
  bool SetUnpackedSize(int32_t i, int32_t size);
  // Kind 0 (none) and 1 (own) are stored as they are; kind 2 names shared
  // palette index.
  bool SetPaletteSelector(int32_t i, int32_t kind, int32_t index);
  bool SetOptions(int32_t i, uint8_t options);
  bool SetOptionFlag(int32_t i, int32_t bit, bool on);
  // value 0 to 3.
  bool SetOptionField(int32_t i, int32_t value);
  // Appends that many all-zero shared palettes.
  bool SetSharedPaletteCount(int16_t count);
  bool SetSharedPalette(int32_t k, const MMPalette& palette);

 protected:
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;

 private:
  static uint8_t Byte(const UUGrowableArray<uint8_t>& table, int32_t i) {
    return i >= 0 && i < table.Count() ? table[i] : 0;
  }
  static bool SetBits(UUGrowableArray<uint8_t>& table, int32_t i, uint8_t mask, uint8_t bits);
  bool SetFormatBits(int32_t i, uint8_t mask, uint8_t bits);
  bool ReadSharedPalettes();
  void EmptyTables();

  UUGrowableArray<uint8_t> mOptions;
  UUGrowableArray<uint8_t> mFormats;
  UUGrowableArray<UUPoint> mSizes;
  UUGrowableArray<int32_t> mUnpackedSizes;
  UUGrowableArray<uint8_t> mSelectors;
  UUGrowableArray<MMPalette> mPalettes;
};
