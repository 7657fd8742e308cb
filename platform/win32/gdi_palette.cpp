// Logical palettes. The display has no hardware palette, so realising one
// is bookkeeping; the entries and nearest-colour answers are real.
#include "platform/win32/GdiObjects.h"
#include "platform/win32/GdiRaster.h"

#include <algorithm>
#include <array>
#include <mutex>

using namespace vpl::platform;

namespace {

constexpr UINT kSystemPaletteSize = 256;
constexpr UINT kStaticColorsPerEnd = 10;

struct SystemPalette {
  std::mutex mutex;
  std::array<PALETTEENTRY, kSystemPaletteSize> entries{};
};

// The static colours come from the stock palette: its first ten at the
// start, its last ten at the end.
SystemPalette& TheSystemPalette() {
  static SystemPalette* palette = [] {
    auto* made = new SystemPalette;  // outlives static destruction
    const auto& stock = StockGdi<GdiPalette>(DEFAULT_PALETTE)->mEntries;
    std::copy_n(stock.begin(), kStaticColorsPerEnd, made->entries.begin());
    std::copy_n(stock.end() - kStaticColorsPerEnd, kStaticColorsPerEnd,
                made->entries.end() - kStaticColorsPerEnd);
    return made;
  }();
  return *palette;
}

// Entries that refer to the system palette (PC_EXPLICIT) take no slot.
void RealizeIntoSystemPalette(const GdiPalette& palette) {
  if (palette.mStock) return;
  SystemPalette& system = TheSystemPalette();
  std::lock_guard lock(system.mutex);
  const UINT end = std::min<UINT>(static_cast<UINT>(palette.mEntries.size()),
                                  kSystemPaletteSize - kStaticColorsPerEnd);
  for (UINT i = kStaticColorsPerEnd; i < end; ++i) {
    const PALETTEENTRY& entry = palette.mEntries[i];
    if ((entry.peFlags & PC_EXPLICIT) == 0) {
      system.entries[i] = PALETTEENTRY{entry.peRed, entry.peGreen, entry.peBlue, 0};
    }
  }
}

}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (palette == nullptr || palette->palNumEntries == 0 || palette->palNumEntries > 256) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<GdiPalette>();
  object->mEntries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return reinterpret_cast<HPALETTE>(RegisterGdiObject(std::move(object)));
}

HPALETTE SelectPalette(HDC handle, HPALETTE palette, BOOL) {
  return WithDC<HPALETTE>(handle, nullptr, [&](GdiDC& dc) -> HPALETTE {
    auto object = LookUpGdi<GdiPalette>(palette);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    HGDIOBJ previous = dc.mPalette->mHandle;
    --dc.mPalette->mSelections;
    dc.mPalette = std::move(object);
    ++dc.mPalette->mSelections;
    return reinterpret_cast<HPALETTE>(previous);
  });
}

UINT RealizePalette(HDC handle) {
  return WithDC(handle, GDI_ERROR, [](GdiDC& dc) {
    RealizeIntoSystemPalette(*dc.mPalette);
    return static_cast<UINT>(dc.mPalette->mEntries.size());
  });
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries) {
  auto object = LookUpGdi<GdiPalette>(palette);
  if (!object) return 0;
  UINT size = static_cast<UINT>(object->mEntries.size());
  if (entries == nullptr) return size;
  if (start >= size) return 0;
  UINT n = std::min(count, size - start);
  std::copy_n(object->mEntries.begin() + start, n, entries);
  return n;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  auto object = LookUpGdi<GdiPalette>(palette);
  if (!object) return CLR_INVALID;
  std::vector<RGBQUAD> colors;
  for (const PALETTEENTRY& e : object->mEntries)
    colors.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
  return static_cast<UINT>(
      NearestColorIndex(colors.data(), static_cast<int32_t>(colors.size()), color));
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, LPPALETTEENTRY entries) {
  return WithDC(handle, 0u, [&](GdiDC&) {
    if (entries == nullptr) return kSystemPaletteSize;
    if (start >= kSystemPaletteSize) return 0u;
    const UINT n = std::min(count, kSystemPaletteSize - start);
    SystemPalette& system = TheSystemPalette();
    std::lock_guard lock(system.mutex);
    std::copy_n(system.entries.begin() + start, n, entries);
    return n;
  });
}
