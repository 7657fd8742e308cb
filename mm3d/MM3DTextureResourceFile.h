#pragma once
// The texture resource file ("DAZE Textures"). After the named container
// header, for N textures:
//   0      int16    extension version 1
//   2      N bytes  flags: bit 0 true colour (else 8-bit indexes), bit 1 has
//                   alpha, bits 2-4 log2(width) - 3, bits 5-7 log2(height) - 3
//   2 + N  N bytes  palette byte: entry count - 1 when paletted, else 0
// Subfile i holds the texels, row 0 first: W x H red, green, blue, alpha
// quads when true colour; else the palette (entry count quads) followed by
// W x H index bytes.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUPoint.h"
#include "mm/resources/MMResourceFileWithNamedSubfiles.h"

#include <cstdint>

// What a texture file tells about each texture.
class MMTextureResourceInfo {
 public:
  virtual ~MMTextureResourceInfo() = default;
  virtual bool IsTrueColor(int16_t i) const = 0;
  virtual bool HasAlpha(int16_t i) const = 0;
  virtual UUPoint GetSize(int16_t i) const = 0;
  virtual int32_t GetPaletteCount(int16_t i) const = 0;
};

class MM3DTextureResourceFile : public MMResourceFileWithNamedSubfiles,
                                public MMTextureResourceInfo {
 public:
  static constexpr int16_t kExtensionVersion = 1;
  static constexpr uint8_t kTrueColor = 0x01;
  static constexpr uint8_t kAlpha = 0x02;
  static constexpr int32_t kWidthShift = 2;
  static constexpr int32_t kHeightShift = 5;
  static constexpr uint8_t kSideMask = 0x07;
  static constexpr int32_t kTexelBytes = 4;

  MM3DTextureResourceFile()
      : MMResourceFileWithNamedSubfiles(MME_TEXTURE_RESOURCE_FILE_NOT_FOUND) {}
  ~MM3DTextureResourceFile() override;

  const char* GetKindCode() const override { return "MMX"; }
  const char* GetTag() const override { return "DAZE Textures"; }

  // Each answers false (or an empty size) for an index outside the table.
  bool IsTrueColor(int16_t i) const override { return (Flags(i) & kTrueColor) != 0; }
  bool HasAlpha(int16_t i) const override { return (Flags(i) & kAlpha) != 0; }
  UUPoint GetSize(int16_t i) const override;
  int32_t GetPaletteCount(int16_t i) const override;
  // The bytes subfile i must hold: the palette and the texels.
  int32_t GetTexelDataSize(int16_t i) const;

  // The writer's operations; each answers the status rule (IsGood).
  bool SetAlpha(int16_t i, bool alpha);
  // Each side is rounded down to a power of two.
  bool SetSize(int16_t i, int32_t width, int32_t height);
  bool SetFormat(int16_t i, bool trueColor, int32_t paletteCount);
  // Appends subfile i at the end of the file: its name, then the palette
  // (paletteCount entries of 4 bytes, none when true colour) and the
  // texels the flags already set describe.
  bool WriteTexels(int16_t i, const char* name, const uint8_t* palette, const uint8_t* texels);

 protected:
  bool ReadHeader() override;
  bool WriteHeader() override;
  void PrepareTables() override;
  bool Reset(bool deleteFile, bool markBad) override;

 private:
  uint8_t Flags(int16_t i) const { return i >= 0 && i < mFlags.Count() ? mFlags[i] : 0; }
  bool SetFlagBits(int16_t i, uint8_t mask, uint8_t bits);
  void EmptyTables();

  UUGrowableArray<uint8_t> mFlags;
  UUGrowableArray<uint8_t> mPaletteBytes;
};
