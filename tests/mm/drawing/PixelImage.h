#pragma once
// A bitmap over pixels of its own, 8-bit indexed or 32-bit, every byte set
// to the fill: the source and destination of the image copy tests.

#include "mm/drawing/MMBitmap.h"

#include <cstdint>
#include <vector>

struct PixelImage {
  PixelImage(int32_t width, int32_t height, int32_t bits, uint8_t fill = 0)
      : mPixels(static_cast<size_t>(width * height * bits / 8), fill) {
    mBitmap.mBitsPerPixel = bits;
    mBitmap.mBytesPerPixel = bits / 8;
    mBitmap.mFormat = bits == 8 ? kMMFormat8 : kMMFormat32;
    mBitmap.mRect = UURect(0, 0, width, height);
    mBitmap.mPixels = mPixels.data();
    mBitmap.mPitch = width * bits / 8;
  }
  std::vector<uint8_t> mPixels;
  MMBitmap mBitmap;
};
