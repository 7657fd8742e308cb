#pragma once
// A memory device context over a DIB section, for the GDI tests.

#include "platform/win32/gdi.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vpl::test {

class DibCanvas {
 public:
  // Height positive: bottom-up rows, as a DIB stores them.
  DibCanvas(int32_t width, int32_t height, int bits, bool bitfields565 = false,
            const std::vector<RGBQUAD>& colors = {})
      : mWidth(width), mHeight(height < 0 ? -height : height), mBits(bits) {
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = bitfields565 ? BI_BITFIELDS : BI_RGB;
    header.biClrUsed = static_cast<DWORD>(colors.size());
    std::memcpy(info.data(), &header, sizeof header);
    if (bitfields565) {
      const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
      std::memcpy(info.data() + sizeof header, masks, sizeof masks);
    } else if (!colors.empty()) {
      std::memcpy(info.data() + sizeof header, colors.data(), colors.size() * sizeof(RGBQUAD));
    }
    mDC = CreateCompatibleDC(nullptr);
    mBitmap = CreateDIBSection(mDC, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS,
                               reinterpret_cast<void**>(&mPixels), nullptr, 0);
    mPrevious = SelectObject(mDC, mBitmap);
    mBottomUp = height > 0;
  }

  ~DibCanvas() {
    SelectObject(mDC, mPrevious);
    DeleteObject(mBitmap);
    DeleteDC(mDC);
  }

  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  HDC dc() const { return mDC; }
  HBITMAP bitmap() const { return mBitmap; }
  ptrdiff_t Stride() const { return (mWidth * mBits / 8 + 3) & ~3; }
  uint8_t* Address(int32_t x, int32_t y) const {
    const int32_t row = mBottomUp ? mHeight - 1 - y : y;
    return mPixels + row * Stride() + x * mBits / 8;
  }
  // The 32-bit pixel's colour as RGB().
  COLORREF At(int32_t x, int32_t y) const {
    const uint8_t* p = Address(x, y);
    return RGB(p[2], p[1], p[0]);
  }
  // '#' for pixels of the colour, '.' otherwise, one string per row.
  std::vector<std::string> Mask(COLORREF color) const {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < mHeight; ++y) {
      std::string row;
      for (int32_t x = 0; x < mWidth; ++x) row += At(x, y) == color ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  void Fill(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, mWidth, mHeight};
    FillRect(mDC, &all, brush);
    DeleteObject(brush);
  }

 private:
  int32_t mWidth;
  int32_t mHeight;
  int mBits;
  bool mBottomUp = true;
  HDC mDC = nullptr;
  HBITMAP mBitmap = nullptr;
  HGDIOBJ mPrevious = nullptr;
  uint8_t* mPixels = nullptr;
};

}  // namespace vpl::test
