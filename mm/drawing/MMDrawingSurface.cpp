#include "mm/drawing/MMDrawingSurface.h"

MMDrawingSurface::MMDrawingSurface(HDC dc) { mDC = dc; }

bool MMDrawingSurface::GetImageDescription(MMBitmap& bitmap) const {
  bitmap = mBitmap;
  return true;
}

void MMDrawingSurface::SetOrigin(int32_t x, int32_t y) {
  POINT previous{};
  SetWindowOrgEx(mDC, x, y, &previous);
  mBitmap.mRect.Offset(UUPoint{x - previous.x, y - previous.y});
}

int32_t MMDrawingSurface::SetPalette(const AFPalette& palette) {
  mPalette = palette;
  RGBQUAD table[AFPalette::kEntryCount];
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    const AFPaletteEntry& e = palette.mEntries[i];
    table[i] = RGBQUAD{e.mBlue, e.mGreen, e.mRed, 0};
  }
  SetDIBColorTable(mDC, 0, AFPalette::kEntryCount, table);
  AFLogPalette logical;
  AFPaletteToLogPalette(palette, mDC, logical);
  HPALETTE made = CreatePalette(logical.AsLogPalette());
  if (made == nullptr) return 0;
  SelectOwnedPalette(made);
  return static_cast<int32_t>(RealizePalette(mDC));
}
