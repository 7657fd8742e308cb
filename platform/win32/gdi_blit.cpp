// Blits: BitBlt, StretchBlt, StretchDIBits, PatBlt, ScrollDC and DrawDib.
#include "platform/win32/GdiBlit.h"
#include "platform/win32/GdiDib.h"
#include "platform/win32/GdiRaster.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace vpl::platform {

namespace {

// Makes the extent positive; answers whether it was negative.
bool Normalize(int32_t& start, int32_t& extent) {
  if (extent >= 0) return false;
  start += extent + 1;
  extent = -extent;
  return true;
}

// Extents negative on both sides of an axis turn both rectangles around
// without mirroring, each then covering start + extent up to start; one
// negative extent mirrors, covering start + extent + 1 up to start. Answers
// whether the axis mirrors.
bool OrientAxis(int32_t& toStart, int32_t& toExtent, int32_t& fromStart, int32_t& fromExtent) {
  if (toExtent < 0 && fromExtent < 0) {
    toStart += toExtent;
    toExtent = -toExtent;
    fromStart += fromExtent;
    fromExtent = -fromExtent;
    return false;
  }
  return Normalize(toStart, toExtent) != Normalize(fromStart, fromExtent);
}

// Which source column (or row) feeds each destination one: shrinking, the
// first source pixel the destination pixel covers; else the source pixel
// under the centre of the destination pixel.
std::vector<int32_t> SourceIndices(int32_t count, int32_t start, int32_t extent, bool mirrored) {
  std::vector<int32_t> indices(static_cast<size_t>(count));
  const bool shrinking = extent > count;
  for (int32_t i = 0; i < count; ++i) {
    const int64_t position =
        shrinking ? 2 * static_cast<int64_t>(i) : 2 * static_cast<int64_t>(i) + 1;
    int32_t offset = static_cast<int32_t>(position * extent / (2 * static_cast<int64_t>(count)));
    indices[static_cast<size_t>(i)] = start + (mirrored ? extent - 1 - offset : offset);
  }
  return indices;
}

bool SameColors(const GdiPixels& a, const GdiPixels& b) {
  if (a.format != GdiPixelFormat::kIndexed8) return true;
  return a.colorCount == b.colorCount &&
         std::memcmp(a.colors, b.colors, sizeof(RGBQUAD) * static_cast<size_t>(a.colorCount)) == 0;
}

// A private copy of the pixels when they are also the destination, so that
// overlapping copies read what was there before.
GdiPixels Detach(const GdiPixels& source, const GdiCanvas& destination,
                 std::vector<uint8_t>& store) {
  if (source.top != destination.pixels.top) return source;
  const ptrdiff_t row = static_cast<ptrdiff_t>(source.width) * source.BytesPerPixel();
  store.resize(static_cast<size_t>(row * source.height));
  for (int32_t y = 0; y < source.height; ++y) {
    std::memcpy(store.data() + y * row, source.At(0, y), static_cast<size_t>(row));
  }
  GdiPixels copy = source;
  copy.top = store.data();
  copy.pitch = row;
  return copy;
}

// Converts one pixel between formats, with a table for 8-bit sources.
class PixelConverter {
 public:
  PixelConverter(const GdiPixels& source, const GdiPixels& destination)
      : mSource(source),
        mDestination(destination),
        mRaw(source.format == destination.format && SameColors(source, destination)),
        mBytes(destination.BytesPerPixel()) {
    if (!mRaw && source.format == GdiPixelFormat::kIndexed8) {
      for (int i = 0; i < 256; ++i) {
        uint8_t index = static_cast<uint8_t>(i);
        mTable[i] = EncodeColor(destination, DecodePixel(source, &index));
      }
    }
  }

  void Copy(const uint8_t* from, uint8_t* to) {
    if (mRaw) {
      // Fixed sizes let the compiler move each pixel in one instruction.
      switch (mBytes) {
        case 4:
          std::memcpy(to, from, 4);
          break;
        case 3:
          std::memcpy(to, from, 3);
          break;
        case 2:
          std::memcpy(to, from, 2);
          break;
        default:
          *to = *from;
          break;
      }
    } else if (mSource.format == GdiPixelFormat::kIndexed8) {
      StorePixel(mDestination, to, mTable[*from]);
    } else {
      COLORREF color = DecodePixel(mSource, from);
      if (color != mLastColor) {
        mLastColor = color;
        mLastValue = EncodeColor(mDestination, color);
      }
      StorePixel(mDestination, to, mLastValue);
    }
  }

  bool Raw() const { return mRaw; }

 private:
  const GdiPixels& mSource;
  const GdiPixels& mDestination;
  bool mRaw;
  int mBytes;
  uint32_t mTable[256] = {};
  COLORREF mLastColor = CLR_INVALID;
  uint32_t mLastValue = 0;
};

// Pixels of one size moved as they are: each destination pixel is the
// source pixel its column names, all of which lie in the row.
template <int kBytes>
void GatherRow(const uint8_t* sourceRow, uint8_t* out, const int32_t* column, int32_t count) {
#pragma GCC unroll 8
  for (int32_t i = 0; i < count; ++i) {
    std::memcpy(out + static_cast<ptrdiff_t>(i) * kBytes,
                sourceRow + static_cast<ptrdiff_t>(column[i]) * kBytes, kBytes);
  }
}

// One destination row whose columns all lie in the source row.
void DrawWholeRow(PixelConverter& converter, const uint8_t* sourceRow, int sourceBytes,
                  uint8_t* out, int outBytes, const int32_t* column, int32_t count) {
  if (converter.Raw()) {
    switch (outBytes) {
      case 4:
        return GatherRow<4>(sourceRow, out, column, count);
      case 3:
        return GatherRow<3>(sourceRow, out, column, count);
      case 2:
        return GatherRow<2>(sourceRow, out, column, count);
      default:
        return GatherRow<1>(sourceRow, out, column, count);
    }
  }
  for (int32_t i = 0; i < count; ++i, out += outBytes)
    converter.Copy(sourceRow + static_cast<ptrdiff_t>(column[i]) * sourceBytes, out);
}

}  // namespace

void StretchPixels(const GdiCanvas& destination, GdiSpan2D to, const GdiPixels& source,
                   GdiSpan2D from) {
  if (to.width == 0 || to.height == 0 || from.width == 0 || from.height == 0 || source.Empty())
    return;
  const bool mirrorX = OrientAxis(to.x, to.width, from.x, from.width);
  const bool mirrorY = OrientAxis(to.y, to.height, from.y, from.height);
  RECT area = IntersectRects(destination.clip, RECT{to.x, to.y, to.x + to.width, to.y + to.height});
  if (IsEmptyRect(area)) return;
  std::vector<uint8_t> store;
  GdiPixels pixels = Detach(source, destination, store);
  std::vector<int32_t> columns = SourceIndices(to.width, from.x, from.width, mirrorX);
  std::vector<int32_t> rows = SourceIndices(to.height, from.y, from.height, mirrorY);
  PixelConverter converter(pixels, destination.pixels);
  const int dbpp = destination.pixels.BytesPerPixel();
  const int sbpp = pixels.BytesPerPixel();
  const int32_t* column = &columns[static_cast<size_t>(area.left - to.x)];
  const int32_t count = area.right - area.left;
  // The columns run one way, so the ends tell whether all lie in the rows.
  const bool wholeRows = std::min(column[0], column[count - 1]) >= 0 &&
                         std::max(column[0], column[count - 1]) < pixels.width;
  const size_t rowBytes = static_cast<size_t>(count) * static_cast<size_t>(dbpp);
  int32_t lastRow = -1;
  const uint8_t* lastOut = nullptr;
  for (LONG y = area.top; y < area.bottom; ++y) {
    int32_t sy = rows[static_cast<size_t>(y - to.y)];
    if (sy < 0 || sy >= pixels.height) continue;
    const uint8_t* sourceRow = pixels.At(0, sy);
    uint8_t* out = destination.pixels.At(area.left, y);
    if (wholeRows && sy == lastRow) {
      // Enlarging repeats a source row: the row just drawn from it is the same.
      std::memcpy(out, lastOut, rowBytes);
      continue;
    }
    if (wholeRows && converter.Raw() && !mirrorX && from.width == to.width) {
      std::memcpy(out, sourceRow + static_cast<ptrdiff_t>(column[0]) * sbpp, rowBytes);
      continue;
    }
    if (wholeRows) {
      DrawWholeRow(converter, sourceRow, sbpp, out, dbpp, column, count);
      lastRow = sy;
      lastOut = out;
      continue;
    }
    for (int32_t i = 0; i < count; ++i, out += dbpp) {
      int32_t sx = column[i];
      if (sx >= 0 && sx < pixels.width)
        converter.Copy(sourceRow + static_cast<ptrdiff_t>(sx) * sbpp, out);
    }
  }
}

}  // namespace vpl::platform

using namespace vpl::platform;

namespace {

bool NeedsSource(DWORD rop) { return rop == SRCCOPY; }

// The raster operations that do not read a source, over a logical rectangle.
BOOL FillOperation(GdiDC& dc, int x, int y, int width, int height, DWORD rop) {
  GdiCanvas canvas = dc.Canvas();
  int32_t left = x + canvas.offset.x, top = y + canvas.offset.y;
  int32_t w = width, h = height;
  if (w < 0) {
    left += w;
    w = -w;
  }
  if (h < 0) {
    top += h;
    h = -h;
  }
  RECT rect{left, top, left + w, top + h};
  switch (rop) {
    case PATCOPY:
      if (!dc.mBrush->mNull) {
        FillPixelRect(canvas, rect, EncodeColor(canvas.pixels, dc.ResolveColor(dc.mBrush->mColor)));
      }
      return TRUE;
    case BLACKNESS:
      FillPixelRect(canvas, rect, EncodeColor(canvas.pixels, RGB(0, 0, 0)));
      return TRUE;
    case WHITENESS:
      FillPixelRect(canvas, rect, EncodeColor(canvas.pixels, RGB(255, 255, 255)));
      return TRUE;
    case DSTINVERT: {
      RECT area = IntersectRects(rect, canvas.clip);
      for (LONG py = area.top; py < area.bottom; ++py) {
        for (LONG px = area.left; px < area.right; ++px) {
          uint8_t* p = canvas.pixels.At(px, py);
          StorePixel(canvas.pixels, p,
                     EncodeColor(canvas.pixels, ~DecodePixel(canvas.pixels, p) & 0xFFFFFF));
        }
      }
      return TRUE;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
}

struct CanvasPair {
  GdiCanvas destination;
  GdiCanvas source;
};

// The canvases of a copy, every window lock taken here in one order: two
// device contexts of one window share its lock, and two windows' locks are
// taken in address order, so blits both ways between them cannot deadlock.
CanvasPair LockInOrder(const GdiDC& destination, const GdiDC& source) {
  const auto& to = destination.mWindow.pixels;
  const auto& from = source.mWindow.pixels;
  const bool shared = to && to == from;
  const bool sourceFirst = to && from && std::less<const void*>()(from.get(), to.get());
  CanvasPair canvases;
  if (sourceFirst) canvases.source = source.Canvas();
  canvases.destination = destination.Canvas();
  if (!sourceFirst) canvases.source = source.Canvas(!shared);
  return canvases;
}

// Copies between two live device contexts.
BOOL Copy(const GdiDC& dc, GdiSpan2D to, const GdiDC& sourceDC, GdiSpan2D from) {
  const CanvasPair canvases = LockInOrder(dc, sourceDC);
  to.x += canvases.destination.offset.x;
  to.y += canvases.destination.offset.y;
  from.x += canvases.source.offset.x;
  from.y += canvases.source.offset.y;
  StretchPixels(canvases.destination, to, canvases.source.pixels, from);
  return TRUE;
}

BOOL Blit(HDC destination, GdiSpan2D to, HDC source, GdiSpan2D from, DWORD rop) {
  return WithDC(destination, FALSE, [&](GdiDC& dc) {
    if (!NeedsSource(rop)) return FillOperation(dc, to.x, to.y, to.width, to.height, rop);
    return WithDC(source, FALSE, [&](GdiDC& sourceDC) { return Copy(dc, to, sourceDC, from); });
  });
}

}  // namespace

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
  if (width < 0 || height < 0) return FALSE;
  return Blit(destination, {x, y, width, height}, source, {sourceX, sourceY, width, height}, rop);
}

BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
  return Blit(destination, {x, y, width, height}, source,
              {sourceX, sourceY, sourceWidth, sourceHeight}, rop);
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if (NeedsSource(rop)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    return FillOperation(dc, x, y, width, height, rop);
  });
}

int StretchDIBits(HDC handle, int x, int y, int width, int height, int sourceX, int sourceY,
                  int sourceWidth, int sourceHeight, const void* bits, const BITMAPINFO* info,
                  UINT usage, DWORD rop) {
  GdiDibRows rows;
  if (usage != DIB_RGB_COLORS || rop != SRCCOPY || !rows.Read(info, bits)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const GdiDibLayout& layout = rows.Layout();
  GdiPixels pixels = rows.Pixels();
  int32_t top = sourceY;
  if (layout.bottomUp) {
    // Rows of a bottom-up DIB are counted from its bottom: find the same
    // rows counted from the top, keeping the direction of the extent.
    int32_t extent = sourceHeight < 0 ? -sourceHeight : sourceHeight;
    int32_t lowest = sourceHeight >= 0 ? sourceY : sourceY + sourceHeight + 1;
    int32_t visualTop = layout.height - lowest - extent;
    top = sourceHeight >= 0 ? visualTop : visualTop + extent - 1;
  }
  return WithDC(handle, 0, [&](GdiDC& dc) {
    GdiCanvas canvas = dc.Canvas();
    StretchPixels(canvas, {x + canvas.offset.x, y + canvas.offset.y, width, height}, pixels,
                  {sourceX, top, sourceWidth, sourceHeight});
    return height < 0 ? -height : height;
  });
}

namespace {

// The bounds of what a scroll uncovers: the part of area that moved does
// not cover.
RECT Uncovered(const RECT& area, const RECT& moved) {
  if (IsEmptyRect(moved)) return area;
  if (moved.left == area.left && moved.right == area.right) {
    if (moved.top == area.top && moved.bottom == area.bottom) return RECT{0, 0, 0, 0};
    if (moved.top == area.top) return RECT{area.left, moved.bottom, area.right, area.bottom};
    if (moved.bottom == area.bottom) return RECT{area.left, area.top, area.right, moved.top};
  }
  if (moved.top == area.top && moved.bottom == area.bottom) {
    if (moved.left == area.left) return RECT{moved.right, area.top, area.right, area.bottom};
    if (moved.right == area.right) return RECT{area.left, area.top, moved.left, area.bottom};
  }
  return area;
}

// Moves what the canvas shows of the scroll rectangle (all of it without
// one) by dx, dy within the clip, and reports what it uncovered.
BOOL Scroll(const GdiCanvas& canvas, int dx, int dy, const RECT* scroll, const RECT* clip,
            HRGN updateRegion, LPRECT update) {
  const RECT whole{canvas.clip.left - canvas.offset.x, canvas.clip.top - canvas.offset.y,
                   canvas.clip.right - canvas.offset.x, canvas.clip.bottom - canvas.offset.y};
  const RECT limit = clip ? *clip : whole;
  const RECT area = IntersectRects(scroll ? *scroll : whole, limit);
  RECT moved{0, 0, 0, 0};
  if (!IsEmptyRect(area)) {
    moved = IntersectRects(RECT{area.left + dx, area.top + dy, area.right + dx, area.bottom + dy},
                           limit);
    GdiCanvas target = canvas;
    RECT pixelLimit{limit.left + canvas.offset.x, limit.top + canvas.offset.y,
                    limit.right + canvas.offset.x, limit.bottom + canvas.offset.y};
    target.clip = IntersectRects(canvas.clip, pixelLimit);
    if (!IsEmptyRect(target.clip)) {
      GdiSpan2D from{area.left + canvas.offset.x, area.top + canvas.offset.y,
                     area.right - area.left, area.bottom - area.top};
      StretchPixels(target, {from.x + dx, from.y + dy, from.width, from.height}, canvas.pixels,
                    from);
    }
  }
  RECT uncovered = IsEmptyRect(area) ? RECT{0, 0, 0, 0} : Uncovered(area, moved);
  if (update) *update = uncovered;
  if (auto region = LookUpGdi<GdiRegion>(updateRegion)) region->mRect = uncovered;
  return TRUE;
}

}  // namespace

BOOL ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
              LPRECT update) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    return Scroll(dc.Canvas(), dx, dy, scroll, clip, updateRegion, update);
  });
}

namespace {

class GdiDrawDib : public GdiObject {};

}  // namespace

HDRAWDIB DrawDibOpen() {
  return reinterpret_cast<HDRAWDIB>(RegisterGdiObject(std::make_shared<GdiDrawDib>()));
}

BOOL DrawDibClose(HDRAWDIB drawDib) {
  if (!LookUpGdi<GdiDrawDib>(drawDib)) return FALSE;
  UnregisterGdiObject(reinterpret_cast<HGDIOBJ>(drawDib));
  return TRUE;
}

BOOL DrawDibSetPalette(HDRAWDIB drawDib, HPALETTE) {
  return LookUpGdi<GdiDrawDib>(drawDib) ? TRUE : FALSE;
}

BOOL DrawDibDraw(HDRAWDIB drawDib, HDC dc, int x, int y, int width, int height,
                 BITMAPINFOHEADER* header, LPVOID bits, int sourceX, int sourceY, int sourceWidth,
                 int sourceHeight, UINT) {
  if (!LookUpGdi<GdiDrawDib>(drawDib) || header == nullptr) return FALSE;
  // The header is the start of a BITMAPINFO whose colour table follows it.
  const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(header);
  if (sourceWidth == -1) {
    sourceWidth = header->biWidth;
    sourceHeight = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  }
  if (width == -1) {
    width = sourceWidth;
    height = sourceHeight;
  }
  return StretchDIBits(dc, x, y, width, height, sourceX, sourceY, sourceWidth, sourceHeight, bits,
                       info, DIB_RGB_COLORS, SRCCOPY) != 0;
}
