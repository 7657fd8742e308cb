#pragma once
// Internal to the platform layer: the objects behind GDI handles, the pixels
// they draw into and the handle table. A device context belongs to the
// thread that draws with it; the table itself is locked.

#include "platform/win32/WindowPixels.h"
#include "platform/win32/gdi.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vpl::platform {

class GdiFontFace;

enum class GdiPixelFormat { kIndexed8, kRgb555, kRgb565, kBgr24, kBgrx32 };

// A view of rows of pixels, always top row first (pitch is negative for
// bitmaps stored bottom-up).
struct GdiPixels {
  uint8_t* top = nullptr;
  ptrdiff_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  GdiPixelFormat format = GdiPixelFormat::kBgrx32;
  const RGBQUAD* colors = nullptr;  // the colour table of 8-bit pixels
  int32_t colorCount = 0;

  bool Empty() const { return top == nullptr || width <= 0 || height <= 0; }
  int BytesPerPixel() const;
  uint8_t* At(int32_t x, int32_t y) const {
    return top + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * BytesPerPixel();
  }
};

class GdiObject {
 public:
  virtual ~GdiObject() = default;
  HGDIOBJ mHandle = nullptr;
  // Device contexts it is selected in; stock objects are selected on every
  // thread.
  std::atomic<int> mSelections{0};
  bool mStock = false;
};

class GdiPen : public GdiObject {
 public:
  int mStyle = PS_SOLID;
  int mWidth = 1;
  COLORREF mColor = 0;
};

class GdiBrush : public GdiObject {
 public:
  bool mNull = false;
  COLORREF mColor = 0;
};

class GdiRegion : public GdiObject {
 public:
  RECT mRect{};
};

class GdiPalette : public GdiObject {
 public:
  std::vector<PALETTEENTRY> mEntries;
};

class GdiBitmap : public GdiObject {
 public:
  BITMAPINFOHEADER mHeader{};
  DWORD mMasks[3] = {};
  std::vector<RGBQUAD> mColors;  // 256 entries for 8-bit bitmaps
  std::unique_ptr<uint8_t[]> mBits;
  ptrdiff_t mStride = 0;  // bytes per stored row
  GdiPixelFormat mFormat = GdiPixelFormat::kBgrx32;

  // Empty for 1- and 4-bit sections: their rows are set and read through
  // SetDIBits and their bits, not drawn on.
  GdiPixels Pixels();
};

class GdiFont : public GdiObject {
 public:
  LOGFONTA mLogFont{};
  std::shared_ptr<GdiFontFace> mFace;  // made at first use
};

// A device other than the display that a device context draws on (a
// printer): it answers GetDeviceCaps and holds the pixels drawing reaches,
// empty while there is nothing to draw on. Bitmaps are not selected into
// its device contexts.
class GdiDevice {
 public:
  virtual ~GdiDevice() = default;
  virtual int DeviceCaps(int index) const = 0;
  virtual GdiPixels Pixels() = 0;
};

// Where a device context's drawing lands: pixel coordinates are logical
// coordinates plus offset, and nothing is drawn outside clip. A window's
// pixels stay locked while a canvas onto them (or a copy of it) lives.
struct GdiCanvas {
  GdiPixels pixels;
  RECT clip{};
  POINT offset{};
  std::shared_ptr<void> hold;
};

class GdiDC : public GdiObject {
 public:
  WindowDrawTarget mWindow{};          // pixels set for a window's device context
  std::shared_ptr<GdiDevice> mDevice;  // set for a device's device context

  std::shared_ptr<GdiBitmap> mBitmap;
  std::shared_ptr<GdiPen> mPen;
  std::shared_ptr<GdiBrush> mBrush;
  std::shared_ptr<GdiFont> mFont;
  std::shared_ptr<GdiPalette> mPalette;
  bool mHasClip = false;
  RECT mClip{};  // device coordinates
  POINT mWindowOrigin{};
  POINT mPosition{};
  int mBkMode = OPAQUE;
  COLORREF mBkColor = RGB(255, 255, 255);
  COLORREF mTextColor = 0;
  UINT mTextAlign = 0;

  // lock false: the caller already holds the window's pixels.
  GdiCanvas Canvas(bool lock = true) const;
  // Turns a PALETTEINDEX colour into the colour of that palette entry.
  COLORREF ResolveColor(COLORREF color) const;
};

// A device context of the device, ended by DeleteDC.
HDC CreateDeviceDC(std::shared_ptr<GdiDevice> device);

// The handle table. Registering answers the new handle.
HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> object);
void UnregisterGdiObject(HGDIOBJ handle);
std::shared_ptr<GdiObject> LookUpGdiObject(const void* handle);

template <typename T>
std::shared_ptr<T> LookUpGdi(const void* handle) {
  return std::dynamic_pointer_cast<T>(LookUpGdiObject(handle));
}

// Runs the action on the live device context of the handle; a handle that
// names none sets ERROR_INVALID_HANDLE and answers the failure value. Every
// call on a device context goes through it, so a bad one fails alike
// everywhere.
template <typename Result, typename Action>
Result WithDC(HDC handle, Result failure, Action action) {
  auto dc = LookUpGdi<GdiDC>(handle);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failure;
  }
  return action(*dc);
}

// The stock object of GetStockObject, typed.
template <typename T>
std::shared_ptr<T> StockGdi(int index) {
  return LookUpGdi<T>(GetStockObject(index));
}

}  // namespace vpl::platform
