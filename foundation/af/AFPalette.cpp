// Palettes, colours, logical palettes and their reading and writing.

#include "foundation/af/AFPalette.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr WORD kLogPaletteVersion = 0x300;
constexpr int kLowStaticColors = 10;
constexpr int kHighStaticColors = 246;
// Entries are converted through the stream in chunks of this many values.
constexpr uint32_t kChunk = 64;

uint32_t Pack(const AFPaletteEntry& entry) {
  return entry.mBlue | (static_cast<uint32_t>(entry.mGreen) << 8) |
         (static_cast<uint32_t>(entry.mRed) << 16) |

         (static_cast<uint32_t>(entry.mFlags) << 24);
}

AFPaletteEntry Unpack(uint32_t value) {
  return AFPaletteEntry{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

bool IsStaticEntry(int index) { return index < kLowStaticColors || index >= kHighStaticColors; }

}  // namespace

AFPalette& AFPalette::operator=(const AFPalette& other) {
  if (this != &other) std::memcpy(mEntries, other.mEntries, sizeof mEntries);
  return *this;
}

bool AFPalette::operator==(const AFPalette& other) const {
  for (int i = 0; i < kEntryCount; ++i) {
    const AFPaletteEntry& a = mEntries[i];
    const AFPaletteEntry& b = other.mEntries[i];
    if (a.mBlue != b.mBlue || a.mGreen != b.mGreen || a.mRed != b.mRed) return false;
  }
  return true;
}

bool AFColor::operator==(const AFColor& other) const {
  if (mIndex != other.mIndex) return false;
  return mIndex != kExplicit ||
         (mBlue == other.mBlue && mGreen == other.mGreen && mRed == other.mRed);
}

COLORREF AFColor::ToColorRef() const {
  return mIndex != kExplicit ? PALETTEINDEX(static_cast<WORD>(mIndex)) : RGB(mRed, mGreen, mBlue);
}

void AFPaletteToLogPalette(const AFPalette& palette, HDC dc, AFLogPalette& out) {
  out.palVersion = kLogPaletteVersion;
  out.palNumEntries = AFPalette::kEntryCount;
  const bool paletteDevice = (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    const AFPaletteEntry& entry = palette.mEntries[i];
    out.palPalEntry[i] = paletteDevice && IsStaticEntry(i)
                             ? PALETTEENTRY{static_cast<BYTE>(i), 0, 0, PC_EXPLICIT}
                             : PALETTEENTRY{entry.mRed, entry.mGreen, entry.mBlue, PC_NOCOLLAPSE};
  }
}

bool AFReadPalette(UUReader& reader, AFPaletteEntry* entries, uint32_t count) {
  uint32_t values[kChunk];
  for (uint32_t done = 0; done < count && reader.GetError() == kUUNoError;) {
    const uint32_t n = std::min(kChunk, count - done);
    if (!reader.ReadInt32s(values, n)) break;
    for (uint32_t i = 0; i < n; ++i) entries[done + i] = Unpack(values[i]);
    done += n;
  }
  return reader.GetError() == kUUNoError;
}

bool AFWritePalette(UUWriter& writer, const AFPaletteEntry* entries, uint32_t count) {
  uint32_t values[kChunk];
  for (uint32_t done = 0; done < count && writer.GetError() == kUUNoError;) {
    const uint32_t n = std::min(kChunk, count - done);
    for (uint32_t i = 0; i < n; ++i) values[i] = Pack(entries[done + i]);
    if (!writer.WriteInt32s(values, n)) break;
    done += n;
  }
  return writer.GetError() == kUUNoError;
}

void AFSwapPalette(AFPaletteEntry* entries, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    AFPaletteEntry& entry = entries[i];
    entry = AFPaletteEntry{entry.mFlags, entry.mRed, entry.mGreen, entry.mBlue};
  }
}

bool AFReadPalettes(UUReader& reader, AFPalette* palettes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (!AFReadPalette(reader, palettes[i].mEntries, AFPalette::kEntryCount)) return false;
  }
  return reader.GetError() == kUUNoError;
}

bool AFWritePalettes(UUWriter& writer, const AFPalette* palettes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) {
    if (!AFWritePalette(writer, palettes[i].mEntries, AFPalette::kEntryCount)) return false;
  }
  return writer.GetError() == kUUNoError;
}

void AFSwapPalettes(AFPalette* palettes, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) AFSwapPalette(palettes[i].mEntries, AFPalette::kEntryCount);
}
