#pragma once

#include "mm/drawing/MMDrawingSurface.h"

#include <cstdint>

// A drawing surface over a DIB section selected into a memory device
// context, its logical coordinates those of its rectangle.
class WinMMOffscreenSurface : public MMDrawingSurface {
 public:
  WinMMOffscreenSurface(HDC dc, HBITMAP section, const MMBitmap& description,
                        const AFPalette& palette);
  // Detaches first when the owner has not.
  ~WinMMOffscreenSurface() override;

  // Gives back the palette and the DIB section and deletes the device
  // context.
  void Detach() override;

 private:
  HBITMAP mSection;
  HGDIOBJ mPreviousBitmap;
};

// An offscreen surface of 8, 24 or 32 bits per pixel over rect, rows
// stored bottom-up; null when the device context or the DIB section cannot
// be made, or for any other depth.
WinMMOffscreenSurface* WinMMCreateOffscreenSurface(int32_t bitsPerPixel, const UURect& rect,
                                                   const AFPalette& palette);
