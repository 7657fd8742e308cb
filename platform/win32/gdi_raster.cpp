#include "platform/win32/GdiRaster.h"

#include <algorithm>
#include <cstring>

namespace vpl::platform {

int GdiPixels::BytesPerPixel() const {
  switch (format) {
    case GdiPixelFormat::kIndexed8:
      return 1;
    case GdiPixelFormat::kRgb555:
    case GdiPixelFormat::kRgb565:
      return 2;
    case GdiPixelFormat::kBgr24:
      return 3;
    case GdiPixelFormat::kBgrx32:
      return 4;
  }
  return 4;
}

RECT IntersectRects(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool IsEmptyRect(const RECT& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

int NearestColorIndex(const RGBQUAD* colors, int32_t count, COLORREF color) {
  int best = 0;
  int bestDistance = 0x7FFFFFFF;
  for (int32_t i = 0; i < count; ++i) {
    int dr = colors[i].rgbRed - GetRValue(color);
    int dg = colors[i].rgbGreen - GetGValue(color);
    int db = colors[i].rgbBlue - GetBValue(color);
    int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
      if (distance == 0) break;
    }
  }
  return best;
}

uint32_t EncodeColor(const GdiPixels& pixels, COLORREF color) {
  uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  switch (pixels.format) {
    case GdiPixelFormat::kIndexed8:
      return static_cast<uint32_t>(NearestColorIndex(pixels.colors, pixels.colorCount, color));
    case GdiPixelFormat::kRgb555:
      return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case GdiPixelFormat::kRgb565:
      return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    case GdiPixelFormat::kBgr24:
    case GdiPixelFormat::kBgrx32:
      return b | (g << 8) | (r << 16);
  }
  return 0;
}

namespace {

// Widens a 5- or 6-bit channel to 8 bits, so white stays white.
BYTE Expand5(uint32_t v) { return static_cast<BYTE>((v << 3) | (v >> 2)); }
BYTE Expand6(uint32_t v) { return static_cast<BYTE>((v << 2) | (v >> 4)); }

}  // namespace

COLORREF DecodePixel(const GdiPixels& pixels, const uint8_t* pixel) {
  switch (pixels.format) {
    case GdiPixelFormat::kIndexed8: {
      if (*pixel >= pixels.colorCount) return 0;
      const RGBQUAD& q = pixels.colors[*pixel];
      return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case GdiPixelFormat::kRgb555: {
      const uint32_t v = pixel[0] | (uint32_t{pixel[1]} << 8);
      return RGB(Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
    }
    case GdiPixelFormat::kRgb565: {
      const uint32_t v = pixel[0] | (uint32_t{pixel[1]} << 8);

      return RGB(Expand5((v >> 11) & 31), Expand6((v >> 5) & 63), Expand5(v & 31));
    }
    case GdiPixelFormat::kBgr24:
    case GdiPixelFormat::kBgrx32:
      return RGB(pixel[2], pixel[1], pixel[0]);
  }
  return 0;
}

void StorePixel(const GdiPixels& pixels, uint8_t* pixel, uint32_t value) {
  switch (pixels.format) {
    case GdiPixelFormat::kIndexed8:
      pixel[0] = static_cast<uint8_t>(value);
      return;
    case GdiPixelFormat::kRgb555:
    case GdiPixelFormat::kRgb565:
      pixel[0] = static_cast<uint8_t>(value);
      pixel[1] = static_cast<uint8_t>(value >> 8);
      return;
    case GdiPixelFormat::kBgr24:
      pixel[0] = static_cast<uint8_t>(value);
      pixel[1] = static_cast<uint8_t>(value >> 8);
      pixel[2] = static_cast<uint8_t>(value >> 16);
      return;
    case GdiPixelFormat::kBgrx32:
      std::memcpy(pixel, &value, 4);
      return;
  }
}

void FillSpan(const GdiCanvas& canvas, int32_t y, int32_t x0, int32_t x1, uint32_t value) {
  if (y < canvas.clip.top || y >= canvas.clip.bottom) return;
  x0 = std::max<int32_t>(x0, canvas.clip.left);
  x1 = std::min<int32_t>(x1, canvas.clip.right);
  if (x0 >= x1) return;
  const GdiPixels& pixels = canvas.pixels;
  uint8_t* p = pixels.At(x0, y);
  int32_t n = x1 - x0;
  switch (pixels.format) {
    case GdiPixelFormat::kIndexed8:
      std::memset(p, static_cast<int>(value & 0xFF), static_cast<size_t>(n));
      return;
    case GdiPixelFormat::kBgrx32: {
      uint32_t* q = reinterpret_cast<uint32_t*>(p);
      if (reinterpret_cast<uintptr_t>(q) % alignof(uint32_t) == 0) {
        std::fill(q, q + n, value);
        return;
      }
      break;
    }
    default:
      break;
  }
  int bpp = pixels.BytesPerPixel();
  for (int32_t i = 0; i < n; ++i, p += bpp) StorePixel(pixels, p, value);
}

void FillPixelRect(const GdiCanvas& canvas, const RECT& rect, uint32_t value) {
  RECT area = IntersectRects(rect, canvas.clip);
  for (LONG y = area.top; y < area.bottom; ++y) FillSpan(canvas, y, area.left, area.right, value);
}

void BlendPixel(const GdiCanvas& canvas, int32_t x, int32_t y, COLORREF color, int coverage) {
  if (coverage <= 0 || x < canvas.clip.left || x >= canvas.clip.right || y < canvas.clip.top ||
      y >= canvas.clip.bottom) {
    return;
  }
  const GdiPixels& pixels = canvas.pixels;
  uint8_t* p = pixels.At(x, y);
  if (coverage >= 255 || pixels.format == GdiPixelFormat::kIndexed8) {
    // Palette pixels cannot hold a mix: half covered or more is drawn.
    if (coverage >= 128) StorePixel(pixels, p, EncodeColor(pixels, color));
    return;
  }
  COLORREF under = DecodePixel(pixels, p);
  auto mix = [coverage](int s, int d) {
    return static_cast<BYTE>((s * coverage + d * (255 - coverage) + 127) / 255);
  };
  COLORREF mixed =
      RGB(mix(GetRValue(color), GetRValue(under)), mix(GetGValue(color), GetGValue(under)),
          mix(GetBValue(color), GetBValue(under)));
  StorePixel(pixels, p, EncodeColor(pixels, mixed));
}

}  // namespace vpl::platform
