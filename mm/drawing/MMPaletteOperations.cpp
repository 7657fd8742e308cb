#include "mm/drawing/MMPaletteOperations.h"

#include <utility>

namespace {

constexpr int16_t kEntries = 256;

template <typename Test>
bool AllTransparencies(const MMPalette& palette, Test test) {
  for (const MMPaletteEntry& entry : palette.mEntries) {
    if (!test(entry.mTransparency)) return false;
  }
  return true;
}

}  // namespace

bool MMPalettesEqual(const MMPalette& a, const MMPalette& b) {
  for (int32_t i = 0; i < kEntries; ++i) {
    const MMPaletteEntry& x = a.mEntries[i];
    const MMPaletteEntry& y = b.mEntries[i];
    if (x.mBlue != y.mBlue || x.mGreen != y.mGreen || x.mRed != y.mRed ||
        x.mTransparency != y.mTransparency) {
      return false;
    }
  }
  return true;
}

bool MMPaletteIsOpaque(const MMPalette& palette) {
  return AllTransparencies(palette, [](uint8_t t) { return t == 0; });
}

bool MMPaletteHasBinaryTransparency(const MMPalette& palette) {
  return AllTransparencies(palette, [](uint8_t t) { return t == 0 || t == 255; }) &&
         !AllTransparencies(palette, [](uint8_t t) { return t != 255; });
}

bool MMPaletteHasPartialTransparency(const MMPalette& palette) {
  return !AllTransparencies(palette, [](uint8_t t) { return t == 0 || t == 255; });
}

void MMSwapPaletteEntries(MMPaletteEntry* entries, int16_t n) {
  for (int16_t i = 0; i < n; ++i) {
    std::swap(entries[i].mBlue, entries[i].mTransparency);
    std::swap(entries[i].mGreen, entries[i].mRed);
  }
}

void MMSwapPaletteBytes(MMPalette& palette) { MMSwapPaletteEntries(palette.mEntries, kEntries); }

bool MMReadPaletteEntries(UUReader& reader, MMPaletteEntry* entries, int16_t n) {
  if (reader.GetError() != kUUNoError || n <= 0) return reader.GetError() == kUUNoError;
  uint8_t bytes[4 * kEntries];
  const uint16_t count = static_cast<uint16_t>(n);
  for (uint16_t first = 0; first < count; first += kEntries) {
    const uint16_t chunk =
        static_cast<uint16_t>(count - first < kEntries ? count - first : kEntries);
    if (!reader.Read(bytes, 4u * chunk)) break;
    for (uint16_t i = 0; i < chunk; ++i) {
      entries[first + i] = {bytes[4 * i], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]};
    }
    if (reader.GetByteOrder() == kUUSwappedByteOrder) {
      MMSwapPaletteEntries(entries + first, static_cast<int16_t>(chunk));
    }
  }
  if (reader.GetError() == kUUNoError) return true;
  for (int16_t i = 0; i < n; ++i) entries[i] = MMPaletteEntry{};
  return false;
}

// A reader of a big-endian file swaps every entry as a 32-bit value, so
// such a file holds each entry's bytes in the opposite order.
bool MMWritePaletteEntries(UUWriter& writer, const MMPaletteEntry* entries, int16_t n) {
  const bool swapped = writer.GetWriteByteOrder() == kUUSwappedByteOrder;
  for (int16_t i = 0; i < n && writer.GetError() == kUUNoError; ++i) {
    MMPaletteEntry entry = entries[i];
    if (swapped) MMSwapPaletteEntries(&entry, 1);
    const uint8_t bytes[4] = {entry.mBlue, entry.mGreen, entry.mRed, entry.mTransparency};
    writer.Write(bytes, 4);
  }
  return writer.GetError() == kUUNoError;
}

bool MMReadPalette(UUReader& reader, MMPalette& palette) {
  return MMReadPaletteEntries(reader, palette.mEntries, kEntries);
}

bool MMWritePalette(UUWriter& writer, const MMPalette& palette) {
  return MMWritePaletteEntries(writer, palette.mEntries, kEntries);
}

void MMPaletteToAFPalette(const MMPalette& palette, AFPalette& out) {
  AFPalette converted;
  for (int i = 1; i < AFPalette::kEntryCount - 1; ++i) {
    const MMPaletteEntry& entry = palette.mEntries[i];
    converted.mEntries[i] = {entry.mBlue, entry.mGreen, entry.mRed, 0};
  }
  converted.mEntries[AFPalette::kEntryCount - 1] = {255, 255, 255, 0};
  out = converted;
}
