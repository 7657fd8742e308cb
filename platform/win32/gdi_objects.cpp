// The GDI handle table, stock objects, pens, brushes, regions and the
// questions asked of any object.
#include "platform/win32/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace vpl::platform {

namespace {

struct GdiTable {
  std::mutex mutex;
  std::unordered_map<const void*, std::shared_ptr<GdiObject>> objects;
};

GdiTable& Table() {
  static GdiTable* table = new GdiTable;  // outlives static destruction
  return *table;
}

template <typename T>
std::shared_ptr<T> MakeStock() {
  auto object = std::make_shared<T>();
  object->mStock = true;
  return object;
}

std::shared_ptr<GdiBrush> StockBrush(BYTE gray, bool null) {
  auto brush = MakeStock<GdiBrush>();
  brush->mColor = RGB(gray, gray, gray);
  brush->mNull = null;
  return brush;
}

std::shared_ptr<GdiPen> StockPen(COLORREF color, int style) {
  auto pen = MakeStock<GdiPen>();
  pen->mColor = color;
  pen->mStyle = style;
  return pen;
}

std::shared_ptr<GdiFont> StockFont(LONG height) {
  auto font = MakeStock<GdiFont>();
  font->mLogFont.lfHeight = height;
  font->mLogFont.lfWeight = FW_NORMAL;
  font->mLogFont.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(font->mLogFont.lfFaceName, "DejaVu Sans");
  return font;
}

// The twenty colours every palette device reserves.
std::shared_ptr<GdiPalette> StockPalette() {
  static const BYTE kColors[20][3] = {
      {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
      {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
      {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
      {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  auto palette = MakeStock<GdiPalette>();
  for (const auto& c : kColors) palette->mEntries.push_back(PALETTEENTRY{c[0], c[1], c[2], 0});
  return palette;
}

std::vector<HGDIOBJ> MakeStockObjects() {
  std::vector<std::shared_ptr<GdiObject>> objects = {StockBrush(255, false),
                                                     StockBrush(192, false),
                                                     StockBrush(128, false),
                                                     StockBrush(64, false),
                                                     StockBrush(0, false),
                                                     StockBrush(0, true),
                                                     StockPen(RGB(255, 255, 255), PS_SOLID),
                                                     StockPen(0, PS_SOLID),
                                                     StockPen(0, PS_NULL),
                                                     nullptr,
                                                     nullptr,
                                                     nullptr,
                                                     nullptr,
                                                     StockFont(16),
                                                     StockFont(16),
                                                     StockPalette(),
                                                     nullptr,
                                                     StockFont(-11)};
  std::vector<HGDIOBJ> handles;
  for (auto& object : objects) handles.push_back(object ? RegisterGdiObject(object) : nullptr);
  return handles;
}

}  // namespace

HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object) {
  HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(object.get());
  object->mHandle = handle;
  GdiTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.objects[handle] = std::move(object);
  return handle;
}

void UnregisterGdiObject(HGDIOBJ handle) {
  GdiTable& table = Table();
  std::lock_guard lock(table.mutex);
  table.objects.erase(handle);
}

std::shared_ptr<GdiObject> LookUpGdiObject(const void* handle) {
  if (handle == nullptr) return nullptr;
  GdiTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto found = table.objects.find(handle);
  return found == table.objects.end() ? nullptr : found->second;
}

GdiPixels GdiBitmap::Pixels() {
  GdiPixels pixels;
  if (mHeader.biBitCount < 8) return pixels;
  pixels.width = mHeader.biWidth;
  pixels.height = mHeader.biHeight < 0 ? -mHeader.biHeight : mHeader.biHeight;
  pixels.format = mFormat;
  pixels.colors = mColors.data();
  pixels.colorCount = static_cast<int32_t>(mColors.size());
  if (mHeader.biHeight > 0) {
    pixels.top = mBits.get() + (pixels.height - 1) * mStride;
    pixels.pitch = -mStride;
  } else {
    pixels.top = mBits.get();
    pixels.pitch = mStride;
  }
  return pixels;
}

}  // namespace vpl::platform

using namespace vpl::platform;

HGDIOBJ GetStockObject(int index) {
  static const std::vector<HGDIOBJ> stock = MakeStockObjects();
  if (index < 0 || index >= static_cast<int>(stock.size())) return nullptr;
  return stock[static_cast<size_t>(index)];
}

BOOL DeleteObject(HGDIOBJ object) {
  auto found = LookUpGdiObject(object);
  if (!found || std::dynamic_pointer_cast<GdiDC>(found)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (found->mStock) return TRUE;
  if (found->mSelections > 0) return FALSE;
  UnregisterGdiObject(object);
  return TRUE;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style != PS_SOLID && style != PS_NULL && style != PS_INSIDEFRAME) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto pen = std::make_shared<GdiPen>();
  pen->mStyle = style;
  pen->mWidth = width < 1 ? 1 : width;
  pen->mColor = color;
  return reinterpret_cast<HPEN>(RegisterGdiObject(std::move(pen)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto brush = std::make_shared<GdiBrush>();
  brush->mColor = color;
  return reinterpret_cast<HBRUSH>(RegisterGdiObject(std::move(brush)));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto region = std::make_shared<GdiRegion>();
  region->mRect = RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                       std::max(top, bottom)};
  return reinterpret_cast<HRGN>(RegisterGdiObject(std::move(region)));
}

namespace {

int GetBitmapObject(GdiBitmap& bitmap, int size, LPVOID buffer) {
  BITMAP bm{};
  bm.bmWidth = bitmap.mHeader.biWidth;
  bm.bmHeight = bitmap.mHeader.biHeight < 0 ? -bitmap.mHeader.biHeight : bitmap.mHeader.biHeight;
  bm.bmWidthBytes = static_cast<LONG>(bitmap.mStride);
  bm.bmPlanes = 1;
  bm.bmBitsPixel = bitmap.mHeader.biBitCount;
  bm.bmBits = bitmap.mBits.get();
  if (size >= static_cast<int>(sizeof(DIBSECTION))) {
    DIBSECTION ds{};
    ds.dsBm = bm;
    ds.dsBmih = bitmap.mHeader;
    std::memcpy(ds.dsBitfields, bitmap.mMasks, sizeof ds.dsBitfields);
    std::memcpy(buffer, &ds, sizeof ds);
    return sizeof ds;
  }
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  std::memcpy(buffer, &bm, sizeof bm);
  return sizeof bm;
}

}  // namespace

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
  auto found = LookUpGdiObject(object);
  if (!found || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (auto bitmap = std::dynamic_pointer_cast<GdiBitmap>(found)) {
    return GetBitmapObject(*bitmap, size, buffer);
  }
  if (auto font = std::dynamic_pointer_cast<GdiFont>(found)) {
    if (size < static_cast<int>(sizeof(LOGFONTA))) return 0;
    std::memcpy(buffer, &font->mLogFont, sizeof(LOGFONTA));
    return sizeof(LOGFONTA);
  }
  if (auto palette = std::dynamic_pointer_cast<GdiPalette>(found)) {
    if (size < static_cast<int>(sizeof(WORD))) return 0;
    WORD count = static_cast<WORD>(palette->mEntries.size());
    std::memcpy(buffer, &count, sizeof count);
    return sizeof count;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return 0;
}
