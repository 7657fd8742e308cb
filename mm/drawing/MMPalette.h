#pragma once

#include <cstdint>

// One entry of an 8-bit image's palette: the colour bytes in bitmap order
// and a transparency byte (0 opaque, 255 fully transparent).
struct MMPaletteEntry {
  uint8_t mBlue = 0;
  uint8_t mGreen = 0;
  uint8_t mRed = 0;
  uint8_t mTransparency = 0;
};

// The 256 colours of an 8-bit image, copied by value.
struct MMPalette {
  MMPaletteEntry mEntries[256];
};
