// Device-independent bitmaps: their layouts, DIB sections and colour tables.
#include "platform/win32/GdiBlit.h"
#include "platform/win32/GdiDib.h"

#include <algorithm>
#include <cstring>

namespace vpl::platform {

namespace {

// A 1- or 4-bit section's rows unpacked to index bytes, top row first, for
// the blitter to write into; Store packs them back.
class UnpackedRows {
 public:
  explicit UnpackedRows(GdiBitmap& bitmap)
      : mBitmap(bitmap),
        mWidth(bitmap.mHeader.biWidth),
        mHeight(bitmap.mHeader.biHeight < 0 ? -bitmap.mHeader.biHeight : bitmap.mHeader.biHeight),
        mIndexes(static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight)) {
    for (int32_t y = 0; y < mHeight; ++y) {
      UnpackIndexes(StoredRow(y), mBitmap.mHeader.biBitCount, mWidth, mIndexes.data() + y * mWidth);
    }
  }

  GdiPixels Pixels() {
    GdiPixels pixels;
    pixels.top = mIndexes.data();
    pixels.pitch = mWidth;
    pixels.width = mWidth;
    pixels.height = mHeight;
    pixels.format = GdiPixelFormat::kIndexed8;
    pixels.colors = mBitmap.mColors.data();
    pixels.colorCount = static_cast<int32_t>(mBitmap.mColors.size());
    return pixels;
  }

  void Store() {
    for (int32_t y = 0; y < mHeight; ++y) {
      PackIndexes(mIndexes.data() + y * mWidth, mBitmap.mHeader.biBitCount, mWidth, StoredRow(y));
    }
  }

 private:
  uint8_t* StoredRow(int32_t y) {
    const int32_t stored = mBitmap.mHeader.biHeight > 0 ? mHeight - 1 - y : y;
    return mBitmap.mBits.get() + stored * mBitmap.mStride;
  }

  GdiBitmap& mBitmap;
  int32_t mWidth;
  int32_t mHeight;
  std::vector<uint8_t> mIndexes;
};

// Copies the lowest rows of the source onto the lowest rows of the target:
// scan line 0 is the bottom row of both.
int CopyScanLines(const GdiPixels& target, const GdiPixels& source, int32_t lines) {
  const int32_t count = std::min({lines, source.height, target.height});
  const int32_t width = std::min(source.width, target.width);
  GdiCanvas canvas;
  canvas.pixels = target;
  canvas.clip = RECT{0, 0, target.width, target.height};
  StretchPixels(canvas, {0, target.height - count, width, count}, source,
                {0, source.height - count, width, count});
  return count;
}

// Run-length rows of the bitmap's own size, depth and colours expand
// straight into its rows, saving a copy.
bool SetRunLengthDirectly(GdiBitmap& bitmap, const BITMAPINFO* info, const void* bits, UINT lines) {
  GdiDibLayout layout;
  if (!ReadDibLayout(info, layout) || layout.header.biCompression != BI_RLE8) return false;
  GdiPixels target = bitmap.Pixels();
  if (target.format != GdiPixelFormat::kIndexed8 || target.width != layout.width ||
      target.height != layout.height || lines < static_cast<UINT>(layout.height) ||
      bitmap.mColors.size() != layout.colors.size() ||
      std::memcmp(bitmap.mColors.data(), layout.colors.data(),
                  layout.colors.size() * sizeof(RGBQUAD)) != 0) {
    return false;
  }
  ExpandRunLength(layout, static_cast<const uint8_t*>(bits), target.top, target.pitch);
  return true;
}

}  // namespace

}  // namespace vpl::platform

using namespace vpl::platform;

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD) {
  GdiDibLayout layout;
  if (usage != DIB_RGB_COLORS || section != nullptr || !ReadDibLayout(info, layout) ||
      layout.RunLength()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    if (bits) *bits = nullptr;
    return nullptr;
  }
  auto bitmap = std::make_shared<GdiBitmap>();
  bitmap->mHeader = layout.header;
  bitmap->mHeader.biSize = sizeof(BITMAPINFOHEADER);
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
  bitmap->mColors = layout.colors;
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

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  auto bitmap = LookUpGdi<GdiBitmap>(handle);
  GdiDibRows rows;
  const bool sound =
      bitmap && bitmap->mBits && start == 0 && usage == DIB_RGB_COLORS && bits != nullptr;
  if (sound && SetRunLengthDirectly(*bitmap, info, bits, lines)) {
    return bitmap->Pixels().height;
  }
  if (!sound || !rows.Read(info, bits)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto count = static_cast<int32_t>(std::min<UINT>(lines, kMaxDibSide));
  if (bitmap->mHeader.biBitCount >= 8) return CopyScanLines(bitmap->Pixels(), rows.Pixels(), count);
  UnpackedRows unpacked(*bitmap);
  const int copied = CopyScanLines(unpacked.Pixels(), rows.Pixels(), count);
  unpacked.Store();
  return copied;
}
