#pragma once

#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMSurface.h"

#include <cstdint>

// A surface over a picture in memory whose pixels the blits can write
// directly; a concrete surface fills in the bitmap that describes them.
class MMDrawingSurface : public MMSurface {
 public:
  explicit MMDrawingSurface(HDC dc);

  UURect GetRect() const override { return mBitmap.mRect; }
  int32_t GetPixelFormat() const override { return mBitmap.mFormat; }
  bool GetImageDescription(MMBitmap& bitmap) const override;

  // Moves the logical origin; the bitmap's rectangle moves with it, so
  // bitmap coordinates keep naming the same pixels as logical ones.
  virtual void SetOrigin(int32_t x, int32_t y);
  // Copies the palette into the colour table and the device context's
  // palette; answers RealizePalette's result, 0 when no palette could be
  // made (the previous one then stays selected).
  virtual int32_t SetPalette(const AFPalette& palette);

  const AFPalette& GetPalette() const { return mPalette; }
  const BITMAPINFOHEADER& GetInfoHeader() const { return mInfoHeader; }
  void* GetBits() const { return mBits; }

 protected:
  MMBitmap mBitmap;
  AFPalette mPalette;
  BITMAPINFOHEADER mInfoHeader{};  // of the DIB section, compression BI_RGB
  void* mBits = nullptr;
};
