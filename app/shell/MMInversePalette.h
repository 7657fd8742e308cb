#pragma once
// Turning colours back into indexes of a 256-entry palette: a colour cube of
// 16 x 16 x 16 cells, each answering the usable entry nearest to its centre,
// resolved only when first asked.

#include "mm/drawing/MMPalette.h"

#include <cstddef>
#include <cstdint>

class MMInversePalette {
 public:
  // The transparent index (-1 none) and the excluded entries are never
  // answers. The exclusion list holds count values and ends early at a value
  // outside 0-255.
  MMInversePalette(const MMPalette& palette, int16_t transparentIndex, const int16_t* exclusions,
                   size_t count);

  // Rebuilds the cell lists unless Matches says nothing changed.
  void Build(const MMPalette& palette, int16_t transparentIndex, const int16_t* exclusions,
             size_t count);
  bool Matches(const MMPalette& palette, int16_t transparentIndex, const int16_t* exclusions,
               size_t count) const;

  // The entry nearest to the centre of the colour's cell; the same for every
  // colour of a cell. 0 when no entry is usable.
  uint8_t Lookup(uint8_t red, uint8_t green, uint8_t blue);
  void ResolveAll();

  const MMPalette& GetPalette() const { return mPalette; }
  uint8_t GetLastAnswer() const { return mLastAnswer; }

 private:
  static constexpr uint16_t kUnresolved = 0xFFFF;
  static constexpr int kCells = 4096;

  bool Usable(int index) const { return index != mTransparent && !mExcluded[index]; }
  void MarkExcluded(const int16_t* exclusions, size_t count, bool* excluded) const;
  uint16_t Resolve(int cell) const;
  // Searches the cells at Chebyshev distance exactly shell from the cell.
  void SearchShell(int cell, int shell, const int target[3], int& bestDistance,
                   int& bestIndex) const;
  void SearchCell(int cell, const int target[3], int& bestDistance, int& bestIndex) const;

  MMPalette mPalette{};
  int16_t mTransparent = -1;
  bool mExcluded[256] = {};
  uint16_t mCube[kCells];
  int16_t mCellHead[kCells];
  int16_t mNext[256];
  uint8_t mLastAnswer = 0;
};

// Channel c of an entry: 0 red, 1 green, 2 blue.
inline int MMPaletteChannel(const MMPaletteEntry& e, int c) {
  return c == 0 ? e.mRed : c == 1 ? e.mGreen : e.mBlue;
}

// The nearest entry by the sum of absolute differences among entries of the
// colour's own kind: fully transparent colours take the first fully
// transparent entry, opaque colours only opaque entries, partly transparent
// ones only partly transparent entries (all four bytes compared). 255 when
// there is no candidate.
uint8_t MMPaletteNearestIndex(const MMPaletteEntry& color, const MMPalette& palette);
