#pragma once
// The system's 256-colour palette and its colour values. A palette is passed
// by value between bitmaps, surfaces, windows and print sessions and turned
// into a logical palette whenever a window or surface realises it.

#include "platform/win32/gdi.h"

#include <cstdint>

class UUReader;
class UUWriter;

// One entry in the order of a device-independent bitmap's colour table.
struct AFPaletteEntry {
  uint8_t mBlue = 0;
  uint8_t mGreen = 0;
  uint8_t mRed = 0;
  uint8_t mFlags = 0;
};

class AFPalette {
 public:
  static constexpr int kEntryCount = 256;

  AFPalette() = default;
  AFPalette(const AFPalette& other) = default;
  AFPalette& operator=(const AFPalette& other);
  // Colours only: the flags bytes are not compared.
  bool operator==(const AFPalette& other) const;

  AFPaletteEntry mEntries[kEntryCount];
};

// The colour part of an AFColor; built from red, green and blue.
struct AFRGB {
  AFRGB() = default;
  AFRGB(uint8_t red, uint8_t green, uint8_t blue) : mBlue(blue), mGreen(green), mRed(red) {}

  uint8_t mBlue = 0;
  uint8_t mGreen = 0;
  uint8_t mRed = 0;
};

// An index into the realised palette, or (index -1) an explicit colour.
struct AFColor {
  static constexpr int16_t kExplicit = -1;

  AFColor() = default;
  explicit AFColor(int16_t index) : mIndex(index) {}
  explicit AFColor(const AFRGB& rgb) : mBlue(rgb.mBlue), mGreen(rgb.mGreen), mRed(rgb.mRed) {}

  bool operator==(const AFColor& other) const;
  // PALETTEINDEX of the index, or the RGB colour.
  COLORREF ToColorRef() const;

  int16_t mIndex = kExplicit;
  uint8_t mBlue = 0;
  uint8_t mGreen = 0;
  uint8_t mRed = 0;
};

// A logical palette of 256 entries: the room the Win32 structure needs.
struct AFLogPalette {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[AFPalette::kEntryCount];

  const LOGPALETTE* AsLogPalette() const { return reinterpret_cast<const LOGPALETTE*>(this); }
};

// On a palette device the 20 static system colours (entries 0 to 9 and 246
// to 255) stay where the system keeps them.
void AFPaletteToLogPalette(const AFPalette& palette, HDC dc, AFLogPalette& out);

// Palettes are stored as 32-bit values, swapped by the stream's byte order.
bool AFReadPalette(UUReader& reader, AFPaletteEntry* entries, uint32_t count);
bool AFWritePalette(UUWriter& writer, const AFPaletteEntry* entries, uint32_t count);
void AFSwapPalette(AFPaletteEntry* entries, uint32_t count);
bool AFReadPalettes(UUReader& reader, AFPalette* palettes, uint32_t count);
bool AFWritePalettes(UUWriter& writer, const AFPalette* palettes, uint32_t count);
void AFSwapPalettes(AFPalette* palettes, uint32_t count);
