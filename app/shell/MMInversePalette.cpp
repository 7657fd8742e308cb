#include "app/shell/MMInversePalette.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

constexpr int kFirstBestDistance = 0x40000;
constexpr uint8_t kOpaqueEntry = 0;
constexpr uint8_t kTransparentEntry = 255;

int CellOf(uint8_t red, uint8_t green, uint8_t blue) {
  return (red >> 4) << 8 | (green & 0xF0) | (blue >> 4);
}

int Square(int v) { return v * v; }

}  // namespace

MMInversePalette::MMInversePalette(const MMPalette& palette, int16_t transparentIndex,
                                   const int16_t* exclusions, size_t count) {
  mTransparent = transparentIndex;
  std::fill(std::begin(mCube), std::end(mCube), kUnresolved);
  std::fill(std::begin(mCellHead), std::end(mCellHead), int16_t{-1});
  std::fill(std::begin(mNext), std::end(mNext), int16_t{-1});
  // Built whatever Matches would say of the empty state.
  mPalette = palette;
  MarkExcluded(exclusions, count, mExcluded);
  for (int i = 0; i < 256; ++i) {
    if (!Usable(i)) continue;
    const MMPaletteEntry& e = mPalette.mEntries[i];
    const int cell = CellOf(e.mRed, e.mGreen, e.mBlue);
    mNext[i] = mCellHead[cell];
    mCellHead[cell] = static_cast<int16_t>(i);
  }
}

void MMInversePalette::Build(const MMPalette& palette, int16_t transparentIndex,
                             const int16_t* exclusions, size_t count) {
  if (Matches(palette, transparentIndex, exclusions, count)) return;
  *this = MMInversePalette(palette, transparentIndex, exclusions, count);
}

void MMInversePalette::MarkExcluded(const int16_t* exclusions, size_t count, bool* excluded) const {
  std::fill_n(excluded, 256, false);
  for (size_t k = 0; exclusions != nullptr && k < count; ++k) {
    if (exclusions[k] < 0 || exclusions[k] > 255) break;
    excluded[exclusions[k]] = true;
  }
}

bool MMInversePalette::Matches(const MMPalette& palette, int16_t transparentIndex,
                               const int16_t* exclusions, size_t count) const {
  const auto outside = [](int16_t index) { return index < 0 || index > 255; };
  if (transparentIndex != mTransparent && !(outside(transparentIndex) && outside(mTransparent))) {
    return false;
  }
  bool excluded[256];
  MarkExcluded(exclusions, count, excluded);
  if (!std::equal(excluded, excluded + 256, mExcluded)) return false;
  for (int i = 0; i < 256; ++i) {
    const MMPaletteEntry& a = palette.mEntries[i];
    const MMPaletteEntry& b = mPalette.mEntries[i];
    if (Usable(i) && (a.mRed != b.mRed || a.mGreen != b.mGreen || a.mBlue != b.mBlue)) {
      return false;
    }
  }
  return true;
}

uint8_t MMInversePalette::Lookup(uint8_t red, uint8_t green, uint8_t blue) {
  const int cell = CellOf(red, green, blue);
  if (mCube[cell] == kUnresolved) mCube[cell] = Resolve(cell);
  mLastAnswer = mCube[cell] == kUnresolved ? 0 : static_cast<uint8_t>(mCube[cell]);
  return mLastAnswer;
}

void MMInversePalette::ResolveAll() {
  for (int cell = 0; cell < kCells; ++cell) {
    if (mCube[cell] == kUnresolved) mCube[cell] = Resolve(cell);
  }
}

uint16_t MMInversePalette::Resolve(int cell) const {
  const int target[3] = {(cell >> 8) * 16 + 7, ((cell >> 4) & 15) * 16 + 7, (cell & 15) * 16 + 7};
  int bestDistance = kFirstBestDistance;
  int bestIndex = -1;
  for (int shell = 0; shell < 16; ++shell) {
    SearchShell(cell, shell, target, bestDistance, bestIndex);
    // Entries of farther shells lie at least this far from the centre.
    if (bestDistance < Square(16 * shell + 7)) break;
  }
  return bestIndex < 0 ? kUnresolved : static_cast<uint16_t>(bestIndex);
}

void MMInversePalette::SearchShell(int cell, int shell, const int target[3], int& bestDistance,
                                   int& bestIndex) const {
  const int centre[3] = {cell >> 8, (cell >> 4) & 15, cell & 15};
  int low[3], high[3];
  for (int c = 0; c < 3; ++c) {
    low[c] = std::max(centre[c] - shell, 0);
    high[c] = std::min(centre[c] + shell, 15);
  }
  for (int r = low[0]; r <= high[0]; ++r) {
    for (int g = low[1]; g <= high[1]; ++g) {
      // Inside the shell on red and green, only its two blue faces count.
      const bool inside = std::abs(r - centre[0]) < shell && std::abs(g - centre[1]) < shell;
      const int step = inside ? 2 * shell : 1;
      for (int b = inside ? centre[2] - shell : low[2]; b <= high[2]; b += step) {
        if (b >= 0) SearchCell(r << 8 | g << 4 | b, target, bestDistance, bestIndex);
      }
    }
  }
}

void MMInversePalette::SearchCell(int cell, const int target[3], int& bestDistance,
                                  int& bestIndex) const {
  for (int i = mCellHead[cell]; i >= 0; i = mNext[i]) {
    const MMPaletteEntry& e = mPalette.mEntries[i];
    const int distance =
        Square(e.mRed - target[0]) + Square(e.mGreen - target[1]) + Square(e.mBlue - target[2]);
    if (distance < bestDistance) {
      bestDistance = distance;
      bestIndex = i;
    }
  }
}

uint8_t MMPaletteNearestIndex(const MMPaletteEntry& color, const MMPalette& palette) {
  constexpr uint8_t kNone = 255;
  const uint8_t kind = color.mTransparency;
  int bestIndex = -1;
  int bestDistance = 0;
  for (int i = 0; i < 256; ++i) {
    const MMPaletteEntry& e = palette.mEntries[i];
    if (kind == kTransparentEntry) {
      if (e.mTransparency == kTransparentEntry) return static_cast<uint8_t>(i);
      continue;
    }
    const bool partly = e.mTransparency != kOpaqueEntry && e.mTransparency != kTransparentEntry;
    if ((kind == kOpaqueEntry) ? e.mTransparency != kOpaqueEntry : !partly) continue;
    int distance = std::abs(e.mBlue - color.mBlue) + std::abs(e.mGreen - color.mGreen) +
                   std::abs(e.mRed - color.mRed);
    if (kind != kOpaqueEntry) distance += std::abs(e.mTransparency - kind);
    if (distance == 0) return static_cast<uint8_t>(i);
    if (bestIndex < 0 || distance < bestDistance) {
      bestIndex = i;
      bestDistance = distance;
    }
  }
  return bestIndex < 0 ? kNone : static_cast<uint8_t>(bestIndex);
}
