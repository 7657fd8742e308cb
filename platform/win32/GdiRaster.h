#pragma once
// Internal to the platform layer: reading and writing pixels of every format
// GDI draws into, and filling clipped spans.

#include "platform/win32/GdiObjects.h"

namespace vpl::platform {

RECT IntersectRects(const RECT& a, const RECT& b);
bool IsEmptyRect(const RECT& rect);

// The entry of the table nearest to the colour (first of equals).
int NearestColorIndex(const RGBQUAD* colors, int32_t count, COLORREF color);

// A colour (red, green, blue; no palette index) as a pixel of the format.
uint32_t EncodeColor(const GdiPixels& pixels, COLORREF color);
COLORREF DecodePixel(const GdiPixels& pixels, const uint8_t* pixel);
void StorePixel(const GdiPixels& pixels, uint8_t* pixel, uint32_t value);

// Pixel coordinates; x1 outside. Clipped to the canvas.
void FillSpan(const GdiCanvas& canvas, int32_t y, int32_t x0, int32_t x1, uint32_t value);
void FillPixelRect(const GdiCanvas& canvas, const RECT& rect, uint32_t value);
// Mixes the colour into one pixel by coverage (0-255).
void BlendPixel(const GdiCanvas& canvas, int32_t x, int32_t y, COLORREF color, int coverage);

}  // namespace vpl::platform
