#pragma once
// Operations on the 256-entry palettes of pictures: comparison,
// transparency tests and reading and writing with byte swapping. An
// entry's fourth byte is its transparency: 0 opaque, 255 fully transparent.

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm/drawing/MMPalette.h"

#include <cstdint>

bool MMPalettesEqual(const MMPalette& a, const MMPalette& b);
bool MMPaletteIsOpaque(const MMPalette& palette);
// Every fourth byte is 0 or 255, and at least one is 255.
bool MMPaletteHasBinaryTransparency(const MMPalette& palette);
bool MMPaletteHasPartialTransparency(const MMPalette& palette);
// The window palette of a picture palette: entry 0 black and entry 255
// white (where the system keeps them), the rest the picture's colours, every
// flags byte 0.
void MMPaletteToAFPalette(const MMPalette& palette, AFPalette& out);

// 1024 bytes, each entry reversed when the stream is swapped; on an error
// the palette is cleared and false answered.
bool MMReadPalette(UUReader& reader, MMPalette& palette);
bool MMWritePalette(UUWriter& writer, const MMPalette& palette);
bool MMReadPaletteEntries(UUReader& reader, MMPaletteEntry* entries, int16_t n);
bool MMWritePaletteEntries(UUWriter& writer, const MMPaletteEntry* entries, int16_t n);
// Reverses the four bytes of each entry.
void MMSwapPaletteEntries(MMPaletteEntry* entries, int16_t n);
void MMSwapPaletteBytes(MMPalette& palette);
