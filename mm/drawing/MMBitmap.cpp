#include "mm/drawing/MMBitmap.h"

#include "mm/drawing/MMBlitRequest.h"

#include <cstdlib>
#include <cstring>

bool MMBitmap::IsValid() const {
  if (!MMImageDescription::IsValid() || mPixels == nullptr) return false;
  return mPitch == 0 || std::abs(static_cast<int64_t>(mPitch)) >=
                            static_cast<int64_t>(GetWidth()) * mBytesPerPixel;
}

void MMBitmap::CopyDescription(const MMImageDescription& other) {
  MMImageDescription::operator=(other);
}

uint8_t* MMBitmap::GetPixelAddress(int32_t x, int32_t y) const {
  const ptrdiff_t column = static_cast<int16_t>(x) - static_cast<ptrdiff_t>(mRect.mLeft);
  const ptrdiff_t row = static_cast<int16_t>(y) - static_cast<ptrdiff_t>(mRect.mTop);
  return mPixels + column * (mBitsPerPixel / 8) + row * mPitch;
}

MMBitmap MMBitmap::GetSubBitmap(const UURect& rect) const {
  MMBitmap sub(*this);
  sub.mRect = rect;
  sub.mPixels = GetPixelAddress(rect.mLeft, rect.mTop);
  return sub;
}

void MMBitmap::WalkRows(MMBlitRequest& request, MMSpanRoutine routine) {
  const MMBitmap& destination = request.mDestination;
  uint8_t* target = destination.mPixels;
  const int16_t rows = static_cast<int16_t>(destination.GetHeight());
  const int32_t column = request.mSourceX >> 16;
  if (request.mYStep == 0x10000) {
    const uint8_t* source = GetPixelAddress(column, request.mSourceY >> 16);
    for (int16_t row = 0; row < rows; ++row) {
      routine(source, target, request);
      source += mPitch;
      target += destination.mPitch;
    }
    return;
  }
  int32_t y = request.mSourceY;
  for (int16_t row = 0; row < rows; ++row) {
    routine(GetPixelAddress(column, y >> 16), target, request);
    y += request.mYStep;
    target += destination.mPitch;
  }
}

MMBitmapWithPixels* MMBitmapWithPixels::Create(const UURect& rect, int32_t format,
                                               ALAllocator* allocator) {
  const int32_t bits = format == kMMFormat8 ? 8 : format == kMMFormat32 ? 32 : 24;
  const int64_t pitch = (static_cast<int64_t>(rect.GetWidth()) * bits / 8 + 3) & ~int64_t{3};
  const int64_t size = static_cast<int64_t>(rect.GetHeight()) * pitch;
  if (rect.IsEmpty() || size > INT32_MAX) return nullptr;
  void* block = ALAllocate(static_cast<size_t>(size) + kBlockHeader, allocator, kALMayFail);
  if (block == nullptr) return nullptr;
  const uint32_t sizeWord = static_cast<uint32_t>(size);
  std::memcpy(block, &sizeWord, sizeof sizeWord);
  return new (ALGlobalAllocator) MMBitmapWithPixels(rect, bits, format, block);
}

MMBitmapWithPixels::MMBitmapWithPixels(const UURect& rect, int32_t bitsPerPixel, int32_t format,
                                       void* block)
    : mBlock(block) {
  mBitsPerPixel = bitsPerPixel;
  mBytesPerPixel = bitsPerPixel / 8;
  mFormat = format;
  mSubFormat = kMMSubFormatCopy;
  mRect = rect;
  mPitch = (rect.GetWidth() * mBytesPerPixel + 3) & ~3;
  mPixels = static_cast<uint8_t*>(block) + kBlockHeader;
}

MMBitmapWithPixels::~MMBitmapWithPixels() { ALFree(mBlock); }
