// Lines, shapes and single pixels. Fills use the selected brush, outlines
// the selected pen; a wide outline lies inside the shape's rectangle.
#include "platform/win32/GdiObjects.h"
#include "platform/win32/GdiRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

using namespace vpl::platform;

namespace {

struct Span {
  int32_t x0;
  int32_t x1;
};

std::optional<uint32_t> PenValue(const GdiDC& dc, const GdiCanvas& canvas) {
  if (dc.mPen->mStyle == PS_NULL) return std::nullopt;
  return EncodeColor(canvas.pixels, dc.ResolveColor(dc.mPen->mColor));
}

std::optional<uint32_t> BrushValue(const GdiDC& dc, const GdiCanvas& canvas) {
  if (dc.mBrush->mNull) return std::nullopt;
  return EncodeColor(canvas.pixels, dc.ResolveColor(dc.mBrush->mColor));
}

// One point of a pen: a pixel, or a disc as wide as the pen.
void Stamp(const GdiCanvas& canvas, int32_t x, int32_t y, int width, uint32_t value) {
  const int low = -(width / 2), high = low + width;
  const double centre = (low + high - 1) / 2.0, radius = width / 2.0;
  for (int oy = low; oy < high; ++oy) {
    const double dy = oy - centre;
    const double half = std::sqrt(std::max(0.0, radius * radius - dy * dy));
    FillSpan(canvas, y + oy, x + static_cast<int32_t>(std::ceil(centre - half)),
             x + static_cast<int32_t>(std::floor(centre + half)) + 1, value);
  }
}

// Bresenham from (x0, y0) to (x1, y1), pixel coordinates, last pixel left out.
void StrokeLine(const GdiCanvas& canvas, POINT from, POINT to, int width, uint32_t value) {
  int32_t dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
  int32_t sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
  int32_t error = dx + dy;
  int32_t x = from.x, y = from.y;
  while (x != to.x || y != to.y) {
    Stamp(canvas, x, y, width, value);
    int32_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

POINT ToPixels(const GdiCanvas& canvas, POINT p) {
  return POINT{p.x + canvas.offset.x, p.y + canvas.offset.y};
}

RECT ToPixels(const GdiCanvas& canvas, int left, int top, int right, int bottom) {
  return RECT{std::min(left, right) + canvas.offset.x, std::min(top, bottom) + canvas.offset.y,
              std::max(left, right) + canvas.offset.x, std::max(top, bottom) + canvas.offset.y};
}

RECT Inset(const RECT& r, int by) {
  return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// The pixels of row y whose centres lie inside the shape.
using RowSpan = std::optional<Span> (*)(const RECT& bounds, int32_t y);

std::optional<Span> RectangleRow(const RECT& bounds, int32_t y) {
  if (IsEmptyRect(bounds) || y < bounds.top || y >= bounds.bottom) return std::nullopt;
  return Span{bounds.left, bounds.right};
}

std::optional<Span> EllipseRow(const RECT& bounds, int32_t y) {
  const double rx = (bounds.right - bounds.left) / 2.0, ry = (bounds.bottom - bounds.top) / 2.0;
  if (rx <= 0 || ry <= 0) return std::nullopt;
  const double cx = bounds.left + rx, dy = (y + 0.5 - (bounds.top + ry)) / ry;
  if (dy <= -1.0 || dy >= 1.0) return std::nullopt;
  const double half = rx * std::sqrt(1.0 - dy * dy);
  Span span{static_cast<int32_t>(std::ceil(cx - half - 0.5)),
            static_cast<int32_t>(std::floor(cx + half - 0.5)) + 1};
  if (span.x0 >= span.x1) return std::nullopt;
  return span;
}

// A rectangle or ellipse: the outline is the outer shape less the inner one
// (pen width in), the fill is the inner one. Without a pen the fill covers
// the shape less its right and bottom edge.
BOOL DrawShape(GdiDC& dc, int left, int top, int right, int bottom, RowSpan row) {
  GdiCanvas canvas = dc.Canvas();
  RECT outer = ToPixels(canvas, left, top, right, bottom);
  std::optional<uint32_t> pen = PenValue(dc, canvas), brush = BrushValue(dc, canvas);
  RECT inner = pen ? Inset(outer, dc.mPen->mWidth)
                   : RECT{outer.left, outer.top, outer.right - 1, outer.bottom - 1};
  for (int32_t y = std::max(outer.top, canvas.clip.top);
       y < std::min(outer.bottom, canvas.clip.bottom); ++y) {
    std::optional<Span> in = row(inner, y);
    if (brush && in) FillSpan(canvas, y, in->x0, in->x1, *brush);
    std::optional<Span> out = pen ? row(outer, y) : std::nullopt;
    if (!out) continue;
    if (!in) {
      FillSpan(canvas, y, out->x0, out->x1, *pen);
      continue;
    }
    FillSpan(canvas, y, out->x0, in->x0, *pen);
    FillSpan(canvas, y, in->x1, out->x1, *pen);
  }
  return TRUE;
}

// Fills the polygons with the alternate rule: a pixel is inside when a ray
// from its centre crosses their edges an odd number of times.
void FillPolygons(const GdiCanvas& canvas, const std::vector<std::vector<POINT>>& polygons,
                  uint32_t value) {
  int32_t top = canvas.clip.bottom, bottom = canvas.clip.top;
  for (const auto& polygon : polygons) {
    for (const POINT& p : polygon) {
      top = std::min<int32_t>(top, p.y);
      bottom = std::max<int32_t>(bottom, p.y);
    }
  }
  top = std::max<int32_t>(top, canvas.clip.top);
  bottom = std::min<int32_t>(bottom, canvas.clip.bottom);
  std::vector<double> crossings;
  for (int32_t y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    crossings.clear();
    for (const auto& polygon : polygons) {
      for (size_t i = 0; i < polygon.size(); ++i) {
        const POINT& a = polygon[i];
        const POINT& b = polygon[(i + 1) % polygon.size()];
        if (a.y == b.y || yc < std::min(a.y, b.y) || yc >= std::max(a.y, b.y)) continue;
        crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
      }
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      FillSpan(canvas, y, static_cast<int32_t>(std::ceil(crossings[i] - 0.5)),
               static_cast<int32_t>(std::ceil(crossings[i + 1] - 0.5)), value);
    }
  }
}

BOOL DrawPolygons(GdiDC& dc, const POINT* points, const int* counts, int polygonCount) {
  if (points == nullptr || counts == nullptr || polygonCount < 1) return FALSE;
  GdiCanvas canvas = dc.Canvas();
  std::vector<std::vector<POINT>> polygons;
  for (int i = 0; i < polygonCount; ++i) {
    if (counts[i] < 2) return FALSE;
    std::vector<POINT> polygon;
    for (int j = 0; j < counts[i]; ++j) polygon.push_back(ToPixels(canvas, *points++));
    polygons.push_back(std::move(polygon));
  }
  if (auto brush = BrushValue(dc, canvas)) FillPolygons(canvas, polygons, *brush);
  if (auto pen = PenValue(dc, canvas)) {
    for (const auto& polygon : polygons) {
      for (size_t i = 0; i < polygon.size(); ++i) {
        StrokeLine(canvas, polygon[i], polygon[(i + 1) % polygon.size()], dc.mPen->mWidth, *pen);
      }
    }
  }
  return TRUE;
}

}  // namespace

BOOL LineTo(HDC handle, int x, int y) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    GdiCanvas canvas = dc.Canvas();
    if (auto pen = PenValue(dc, canvas)) {
      StrokeLine(canvas, ToPixels(canvas, dc.mPosition), ToPixels(canvas, POINT{x, y}),
                 dc.mPen->mWidth, *pen);
    }
    dc.mPosition = POINT{x, y};
    return TRUE;
  });
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    if (points == nullptr || count < 2) return FALSE;
    GdiCanvas canvas = dc.Canvas();
    if (auto pen = PenValue(dc, canvas)) {
      for (int i = 0; i + 1 < count; ++i) {
        StrokeLine(canvas, ToPixels(canvas, points[i]), ToPixels(canvas, points[i + 1]),
                   dc.mPen->mWidth, *pen);
      }
    }
    return TRUE;
  });
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  return WithDC(handle, FALSE,
                [&](GdiDC& dc) { return DrawShape(dc, left, top, right, bottom, RectangleRow); });
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  return WithDC(handle, FALSE,
                [&](GdiDC& dc) { return DrawShape(dc, left, top, right, bottom, EllipseRow); });
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) { return DrawPolygons(dc, points, &count, 1); });
}

BOOL PolyPolygon(HDC handle, const POINT* points, const int* counts, int polygonCount) {
  return WithDC(handle, FALSE,
                [&](GdiDC& dc) { return DrawPolygons(dc, points, counts, polygonCount); });
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
  return WithDC(handle, 0, [&](GdiDC& dc) {
    auto brush = LookUpGdi<GdiBrush>(brushHandle);
    if (!brush || rect == nullptr) return 0;
    if (brush->mNull) return 1;
    GdiCanvas canvas = dc.Canvas();
    FillPixelRect(canvas, ToPixels(canvas, rect->left, rect->top, rect->right, rect->bottom),
                  EncodeColor(canvas.pixels, dc.ResolveColor(brush->mColor)));
    return 1;
  });
}

BOOL SetPixelV(HDC handle, int x, int y, COLORREF color) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    GdiCanvas canvas = dc.Canvas();
    POINT p = ToPixels(canvas, POINT{x, y});
    FillSpan(canvas, p.y, p.x, p.x + 1, EncodeColor(canvas.pixels, dc.ResolveColor(color)));
    return TRUE;
  });
}

COLORREF GetPixel(HDC handle, int x, int y) {
  return WithDC(handle, CLR_INVALID, [&](GdiDC& dc) {
    GdiCanvas canvas = dc.Canvas();
    POINT p = ToPixels(canvas, POINT{x, y});
    if (p.x < canvas.clip.left || p.x >= canvas.clip.right || p.y < canvas.clip.top ||
        p.y >= canvas.clip.bottom) {
      return CLR_INVALID;
    }
    return DecodePixel(canvas.pixels, canvas.pixels.At(p.x, p.y));
  });
}
