// Device contexts: memory ones, the ones windows draw through, and their
// selected objects and drawing state.
#include "platform/win32/Desktop.h"
#include "platform/win32/GdiObjects.h"
#include "platform/win32/GdiRaster.h"
#include "platform/win32/GdiTarget.h"
#include "platform/win32/WindowPixels.h"

#include <utility>

namespace vpl::platform {

namespace {

// The 1 x 1 bitmap every memory device context starts with.
std::shared_ptr<GdiBitmap> DefaultBitmap() {
  static const HGDIOBJ handle = [] {
    auto bitmap = std::make_shared<GdiBitmap>();
    bitmap->mStock = true;
    bitmap->mHeader.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->mHeader.biWidth = 1;
    bitmap->mHeader.biHeight = -1;
    bitmap->mHeader.biPlanes = 1;
    bitmap->mHeader.biBitCount = 32;
    bitmap->mBits = std::make_unique<uint8_t[]>(4);
    bitmap->mStride = 4;
    return RegisterGdiObject(std::move(bitmap));
  }();
  return LookUpGdi<GdiBitmap>(handle);
}

template <typename T>
void Select(std::shared_ptr<T>& slot, std::shared_ptr<T> next) {
  if (slot) --slot->mSelections;
  slot = std::move(next);
  if (slot) ++slot->mSelections;
}

std::shared_ptr<GdiDC> NewDC() {
  auto dc = std::make_shared<GdiDC>();
  Select(dc->mPen, StockGdi<GdiPen>(BLACK_PEN));
  Select(dc->mBrush, StockGdi<GdiBrush>(WHITE_BRUSH));
  Select(dc->mFont, StockGdi<GdiFont>(SYSTEM_FONT));
  Select(dc->mPalette, StockGdi<GdiPalette>(DEFAULT_PALETTE));
  return dc;
}

void ReleaseSelections(GdiDC& dc) {
  Select(dc.mBitmap, {});
  Select(dc.mPen, {});
  Select(dc.mBrush, {});
  Select(dc.mFont, {});
  Select(dc.mPalette, {});
}

// A window's device context goes back through DeleteWindowDC, a memory
// one through DeleteDC; the other call refuses it as a bad handle.
BOOL DestroyDC(HDC handle, bool window) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if ((dc.mWindow.pixels != nullptr) != window) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    ReleaseSelections(dc);
    UnregisterGdiObject(reinterpret_cast<HGDIOBJ>(handle));
    return TRUE;
  });
}

HGDIOBJ SelectBitmap(GdiDC& dc, std::shared_ptr<GdiBitmap> bitmap) {
  if (dc.mWindow.pixels || dc.mDevice ||
      (bitmap->mSelections > 0 && !bitmap->mStock && bitmap != dc.mBitmap)) {
    return nullptr;
  }
  HGDIOBJ previous = dc.mBitmap->mHandle;
  Select(dc.mBitmap, std::move(bitmap));
  return previous;
}

template <typename T>
HGDIOBJ SelectInto(std::shared_ptr<T>& slot, std::shared_ptr<T> next) {
  HGDIOBJ previous = slot->mHandle;
  Select(slot, std::move(next));
  return previous;
}

// Locks a window's pixels for one drawing call; the desktop shows them at
// its next pump.
std::shared_ptr<void> HoldWindowPixels(const std::shared_ptr<WindowPixels>& pixels) {
  pixels->mutex.lock();
  return std::shared_ptr<void>(pixels.get(), [pixels](void*) {
    pixels->changed = true;
    pixels->mutex.unlock();
  });
}

GdiPixels ViewOf(WindowPixels& window) {
  GdiPixels pixels;
  pixels.top = reinterpret_cast<uint8_t*>(window.pixels.data());
  pixels.pitch = static_cast<ptrdiff_t>(window.width) * 4;
  pixels.width = window.width;
  pixels.height = window.height;
  pixels.format = GdiPixelFormat::kBgrx32;
  return pixels;
}

}  // namespace

GdiCanvas GdiDC::Canvas(bool lock) const {
  GdiCanvas canvas;
  POINT origin{};
  if (mWindow.pixels) {
    if (lock) canvas.hold = HoldWindowPixels(mWindow.pixels);
    canvas.pixels = ViewOf(*mWindow.pixels);
    origin = mWindow.origin;
    canvas.clip =
        IntersectRects(mWindow.clip, RECT{0, 0, canvas.pixels.width, canvas.pixels.height});
  } else {
    canvas.pixels = mDevice ? mDevice->Pixels() : mBitmap->Pixels();
    canvas.clip = RECT{0, 0, canvas.pixels.width, canvas.pixels.height};
  }
  if (mHasClip) {
    RECT clip{mClip.left + origin.x, mClip.top + origin.y, mClip.right + origin.x,
              mClip.bottom + origin.y};
    canvas.clip = IntersectRects(canvas.clip, clip);
  }
  if (IsEmptyRect(canvas.clip)) canvas.clip = RECT{0, 0, 0, 0};
  canvas.offset = POINT{origin.x - mWindowOrigin.x, origin.y - mWindowOrigin.y};
  return canvas;
}

COLORREF GdiDC::ResolveColor(COLORREF color) const {
  if ((color & 0xFF000000u) != 0x01000000u) return color & 0x00FFFFFFu;
  size_t index = color & 0xFFFFu;
  if (!mPalette || index >= mPalette->mEntries.size()) return 0;
  const PALETTEENTRY& entry = mPalette->mEntries[index];
  return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

HDC CreateWindowDC(const WindowDrawTarget& target) {
  if (!target.pixels) return nullptr;
  auto dc = NewDC();
  dc->mWindow = target;
  return reinterpret_cast<HDC>(RegisterGdiObject(std::move(dc)));
}

BOOL DeleteWindowDC(HDC dc) { return DestroyDC(dc, true); }

HDC CreateDeviceDC(std::shared_ptr<GdiDevice> device) {
  auto dc = NewDC();
  Select(dc->mBitmap, DefaultBitmap());
  dc->mDevice = std::move(device);
  return reinterpret_cast<HDC>(RegisterGdiObject(std::move(dc)));
}

HDC CreateScreenDC() {
  static const auto nowhere = std::make_shared<WindowPixels>();
  return CreateWindowDC(WindowDrawTarget{nowhere, POINT{0, 0}, RECT{0, 0, 0, 0}});
}

}  // namespace vpl::platform

using namespace vpl::platform;

HDC CreateCompatibleDC(HDC) {
  auto dc = NewDC();
  Select(dc->mBitmap, DefaultBitmap());
  return reinterpret_cast<HDC>(RegisterGdiObject(std::move(dc)));
}

BOOL DeleteDC(HDC dc) { return DestroyDC(dc, false); }

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  auto found = LookUpGdiObject(object);
  return WithDC<HGDIOBJ>(handle, nullptr, [&](GdiDC& dc) -> HGDIOBJ {
    if (auto bitmap = std::dynamic_pointer_cast<GdiBitmap>(found)) return SelectBitmap(dc, bitmap);
    if (auto pen = std::dynamic_pointer_cast<GdiPen>(found)) return SelectInto(dc.mPen, pen);
    if (auto brush = std::dynamic_pointer_cast<GdiBrush>(found))
      return SelectInto(dc.mBrush, brush);
    if (auto font = std::dynamic_pointer_cast<GdiFont>(found)) return SelectInto(dc.mFont, font);
    if (auto region = std::dynamic_pointer_cast<GdiRegion>(found)) {
      return reinterpret_cast<HGDIOBJ>(
          static_cast<intptr_t>(SelectClipRgn(handle, reinterpret_cast<HRGN>(object))));
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  });
}

int SelectClipRgn(HDC handle, HRGN region) {
  auto found = LookUpGdi<GdiRegion>(region);
  if (region != nullptr && !found) return ERROR;
  return WithDC(handle, ERROR, [&](GdiDC& dc) {
    dc.mHasClip = found != nullptr;
    if (found) dc.mClip = found->mRect;
    return dc.mHasClip && IsEmptyRect(dc.mClip) ? NULLREGION : SIMPLEREGION;
  });
}

BOOL SetWindowOrgEx(HDC handle, int x, int y, LPPOINT previous) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if (previous) *previous = dc.mWindowOrigin;
    dc.mWindowOrigin = POINT{x, y};
    return TRUE;
  });
}

BOOL GetWindowOrgEx(HDC handle, LPPOINT origin) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if (origin) *origin = dc.mWindowOrigin;
    return TRUE;
  });
}

int SetBkMode(HDC handle, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return WithDC(handle, 0, [&](GdiDC& dc) { return std::exchange(dc.mBkMode, mode); });
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
  return WithDC(handle, CLR_INVALID, [&](GdiDC& dc) { return std::exchange(dc.mBkColor, color); });
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
  return WithDC(handle, CLR_INVALID,
                [&](GdiDC& dc) { return std::exchange(dc.mTextColor, color); });
}

UINT SetTextAlign(HDC handle, UINT align) {
  return WithDC(handle, GDI_ERROR, [&](GdiDC& dc) { return std::exchange(dc.mTextAlign, align); });
}

UINT GetTextAlign(HDC handle) {
  return WithDC(handle, GDI_ERROR, [&](GdiDC& dc) { return dc.mTextAlign; });
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if (previous) *previous = dc.mPosition;
    dc.mPosition = POINT{x, y};
    return TRUE;
  });
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if (position) *position = dc.mPosition;
    return TRUE;
  });
}

int GetDeviceCaps(HDC handle, int index) {
  return WithDC(handle, 0, [&](GdiDC& dc) {
    if (dc.mDevice) return dc.mDevice->DeviceCaps(index);
    switch (index) {
      case HORZRES:
        return DesktopSize().cx;
      case VERTRES:
        return DesktopSize().cy;
      case BITSPIXEL:
        return 32;
      case PLANES:
        return 1;
      case NUMCOLORS:
        return -1;
      case LOGPIXELSX:
      case LOGPIXELSY:
        return 96;
      case SIZEPALETTE:
        return 0;
      case RASTERCAPS:
        return RC_BITBLT | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
      default:
        return 0;
    }
  });
}

BOOL GdiFlush() { return TRUE; }

DWORD GdiSetBatchLimit(DWORD limit) {
  static thread_local DWORD current = 1;
  return std::exchange(current, limit == 0 ? 1 : limit);
}
