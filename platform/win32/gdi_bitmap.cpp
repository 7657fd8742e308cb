// Device-independent bitmaps: their layouts, DIB sections and colour tables.
#include "platform/win32/GdiObjects.h"

#include <algorithm>
#include <cstring>

namespace vpl::platform {

namespace {

constexpr int32_t kMaxDibSide = 32767;

bool ReadFormat(const BITMAPINFO* info, GdiDibLayout& layout) {
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const DWORD compression = header.biCompression;
  if (compression != BI_RGB && compression != BI_BITFIELDS) return false;
  if (compression == BI_BITFIELDS) {
    std::memcpy(layout.masks, info->bmiColors, sizeof layout.masks);
  }
  switch (header.biBitCount) {
    case 8:
      if (compression != BI_RGB || header.biClrUsed > 256) return false;
      layout.format = GdiPixelFormat::kIndexed8;
      layout.colorCount = header.biClrUsed == 0 ? 256 : static_cast<int32_t>(header.biClrUsed);
      return true;
    case 16:
      if (compression == BI_RGB) {
        layout.format = GdiPixelFormat::kRgb555;
        return true;
      }
      if (layout.masks[0] == 0x7C00 && layout.masks[1] == 0x03E0 && layout.masks[2] == 0x001F) {
        layout.format = GdiPixelFormat::kRgb555;
        return true;
      }
      layout.format = GdiPixelFormat::kRgb565;
      return layout.masks[0] == 0xF800 && layout.masks[1] == 0x07E0 && layout.masks[2] == 0x001F;
    case 24:
      layout.format = GdiPixelFormat::kBgr24;
      return compression == BI_RGB;
    case 32:
      layout.format = GdiPixelFormat::kBgrx32;
      return compression == BI_RGB ||
             (layout.masks[0] == 0xFF0000 && layout.masks[1] == 0xFF00 && layout.masks[2] == 0xFF);
    default:
      return false;
  }
}

}  // namespace

bool ReadDibLayout(const BITMAPINFO* info, GdiDibLayout& layout) {
  if (info == nullptr || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return false;
  const BITMAPINFOHEADER& header = info->bmiHeader;
  const int64_t height =
      header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
  if (header.biWidth < 1 || header.biWidth > kMaxDibSide || height < 1 || height > kMaxDibSide) {
    return false;
  }
  layout = GdiDibLayout{};
  if (!ReadFormat(info, layout)) return false;
  layout.width = header.biWidth;
  layout.height = static_cast<int32_t>(height);
  layout.bottomUp = header.biHeight > 0;
  layout.stride =
      (static_cast<ptrdiff_t>(layout.width) * header.biBitCount / 8 + 3) & ~ptrdiff_t{3};
  return true;
}

GdiPixels DibPixels(const GdiDibLayout& layout, uint8_t* bits, const RGBQUAD* colors) {
  GdiPixels pixels;
  pixels.width = layout.width;
  pixels.height = layout.height;
  pixels.format = layout.format;
  pixels.colors = colors;
  pixels.colorCount = colors ? layout.colorCount : 0;
  pixels.pitch = layout.bottomUp ? -layout.stride : layout.stride;
  pixels.top = layout.bottomUp ? bits + (layout.height - 1) * layout.stride : bits;
  return pixels;
}

}  // namespace vpl::platform

using namespace vpl::platform;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD) {
  GdiDibLayout layout;
  if (usage != DIB_RGB_COLORS || section != nullptr || !ReadDibLayout(info, layout)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    if (bits) *bits = nullptr;
    return nullptr;
  }
  auto bitmap = std::make_shared<GdiBitmap>();
  bitmap->mHeader = info->bmiHeader;
  bitmap->mHeader.biSizeImage = static_cast<DWORD>(layout.stride * layout.height);
  std::memcpy(bitmap->mMasks, layout.masks, sizeof layout.masks);
  bitmap->mFormat = layout.format;
  bitmap->mStride = layout.stride;
  bitmap->mBits.reset(new (std::nothrow)
                          uint8_t[static_cast<size_t>(layout.stride * layout.height)]());
  if (!bitmap->mBits) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    if (bits) *bits = nullptr;
    return nullptr;
  }
  if (layout.format == GdiPixelFormat::kIndexed8) {
    bitmap->mColors.assign(256, RGBQUAD{});
    std::copy_n(info->bmiColors, layout.colorCount, bitmap->mColors.begin());
  }
  if (bits) *bits = bitmap->mBits.get();
  return reinterpret_cast<HBITMAP>(RegisterGdiObject(std::move(bitmap)));
}

namespace {

// The colour table of the 8-bit bitmap selected in the device context.
std::vector<RGBQUAD>* SelectedColorTable(HDC handle) {
  return WithDC<std::vector<RGBQUAD>*>(handle, nullptr, [](GdiDC& dc) -> std::vector<RGBQUAD>* {
    if (!dc.mBitmap || dc.mBitmap->mFormat != GdiPixelFormat::kIndexed8) return nullptr;
    return &dc.mBitmap->mColors;
  });
}

}  // namespace

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors) {
  std::vector<RGBQUAD>* table = SelectedColorTable(dc);
  if (table == nullptr || colors == nullptr || start >= table->size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(table->size()) - start);
  std::copy_n(colors, n, table->begin() + start);
  return n;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
  std::vector<RGBQUAD>* table = SelectedColorTable(dc);
  if (table == nullptr || colors == nullptr || start >= table->size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(table->size()) - start);
  std::copy_n(table->begin() + start, n, colors);
  return n;
}
