#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include "foundation/al/ALAllocator.h"

#include <cstring>
#include <vector>

namespace {

int32_t FormatOfBits(int32_t bits) {
  return bits == 8 ? kMMFormat8 : bits == 24 ? kMMFormat24 : kMMFormat32;
}

// Rows stored bottom-up: the top row is the last one in memory, reached
// with a negative pitch.
MMBitmap DescribeSection(int32_t bits, const UURect& rect, void* pixels) {
  MMBitmap bitmap;
  bitmap.mBitsPerPixel = bits;
  bitmap.mBytesPerPixel = bits / 8;
  bitmap.mFormat = FormatOfBits(bits);
  bitmap.mSubFormat = kMMSubFormatCopy;
  bitmap.mRect = rect;
  bitmap.mPitch = -((bits * rect.GetWidth() / 8 + 3) & ~3);
  bitmap.mPixels =
      static_cast<uint8_t*>(pixels) - static_cast<ptrdiff_t>(rect.GetHeight() - 1) * bitmap.mPitch;
  return bitmap;
}

}  // namespace

WinMMOffscreenSurface::WinMMOffscreenSurface(HDC dc, HBITMAP section, const MMBitmap& description,
                                             const AFPalette& palette)
    : MMDrawingSurface(dc), mSection(section) {
  mBitmap = description;
  mClipRect = description.mRect;
  mPreviousBitmap = SelectObject(mDC, mSection);
  InitializeDC();
  SetPalette(palette);
  SetWindowOrgEx(mDC, description.mRect.mLeft, description.mRect.mTop, nullptr);
  DIBSECTION dib{};
  if (GetObjectA(mSection, sizeof dib, &dib) == sizeof dib) {
    mInfoHeader = dib.dsBmih;
    mInfoHeader.biCompression = BI_RGB;
    mBits = dib.dsBm.bmBits;
  }
}

WinMMOffscreenSurface::~WinMMOffscreenSurface() {
  if (mDC != nullptr) Detach();
}

void WinMMOffscreenSurface::Detach() {
  if (mDC == nullptr) return;
  MMSurface::Detach();
  SelectObject(mDC, mPreviousBitmap);
  DeleteObject(mSection);
  DeleteDC(mDC);
  mDC = nullptr;
}

WinMMOffscreenSurface* WinMMCreateOffscreenSurface(int32_t bitsPerPixel, const UURect& rect,
                                                   const AFPalette& palette) {
  // Other depths would not match any blit format; the pixels would be
  // written with the wrong size.
  if ((bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) || rect.IsEmpty())
    return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return nullptr;
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = rect.GetWidth();
  header.biHeight = rect.GetHeight();
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bitsPerPixel);
  header.biCompression = BI_RGB;
  std::memcpy(info.data(), &header, sizeof header);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section == nullptr) {
    DeleteDC(dc);
    return nullptr;
  }
  return new (ALGlobalAllocator)
      WinMMOffscreenSurface(dc, section, DescribeSection(bitsPerPixel, rect, bits), palette);
}
