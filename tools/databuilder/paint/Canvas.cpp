#include "tools/databuilder/paint/Canvas.h"

#include "tools/databuilder/paint/Noise.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace databuilder {

namespace {

void SetColor(cairo_t* cr, const Rgb& c, double alpha) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

uint8_t Mix(uint8_t a, uint8_t b, double t) {
  return static_cast<uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0, 1.0)));
}

double Shape(int32_t kind, double value, double x, double y) {
  constexpr double kTurn = 2 * std::numbers::pi;
  // Wood: bands across y, bent by the noise (1.5 bands a cell keeps tiling).
  if (kind == 1) return 0.5 + 0.5 * std::sin(kTurn * (y * 1.5 + value * 1.5));
  if (kind == 2) return std::pow(std::fabs(std::sin((x + y + value * 6.0) * kTurn / 4)), 0.35);
  return value;
}

}  // namespace

Canvas::Canvas(int32_t width, int32_t height)
    : mWidth(width),
      mHeight(height),
      mSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      mCairo(cairo_create(mSurface)) {
  cairo_set_line_cap(mCairo, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(mCairo, CAIRO_LINE_JOIN_ROUND);
}

Canvas::~Canvas() {
  cairo_destroy(mCairo);
  cairo_surface_destroy(mSurface);
}

void Canvas::BeginFrame(double x, double y, double scale) {
  cairo_save(mCairo);
  cairo_rectangle(mCairo, x, y, scale * 128.0, scale * 128.0);
  cairo_clip(mCairo);
  cairo_translate(mCairo, x, y);
  cairo_scale(mCairo, scale, scale);
}

void Canvas::EndFrame() { cairo_restore(mCairo); }

void Canvas::Fill(const Rgb& color, double alpha) {
  cairo_save(mCairo);
  cairo_set_operator(mCairo, CAIRO_OPERATOR_SOURCE);
  SetColor(mCairo, color, alpha);
  cairo_paint(mCairo);
  cairo_restore(mCairo);
}

void Canvas::VerticalGradient(double y0, double y1, const Rgb& top, const Rgb& bottom) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0.0, y0, 0.0, y1);
  cairo_pattern_add_color_stop_rgb(pattern, 0.0, top.r / 255.0, top.g / 255.0, top.b / 255.0);
  cairo_pattern_add_color_stop_rgb(pattern, 1.0, bottom.r / 255.0, bottom.g / 255.0,
                                   bottom.b / 255.0);
  cairo_set_source(mCairo, pattern);
  cairo_paint(mCairo);
  cairo_pattern_destroy(pattern);
}

void Canvas::Finish(const Style& style) {
  if (style.fill) {
    SetColor(mCairo, *style.fill, style.alpha);
    if (style.stroke) {
      cairo_fill_preserve(mCairo);
    } else {
      cairo_fill(mCairo);
    }
  }
  if (style.stroke) {
    SetColor(mCairo, *style.stroke, style.alpha);
    cairo_set_line_width(mCairo, style.width);
    cairo_stroke(mCairo);
  }
  cairo_new_path(mCairo);
}

void Canvas::Ellipse(Point centre, double rx, double ry, const Style& style) {
  cairo_save(mCairo);
  cairo_translate(mCairo, centre.x + mOffset.x, centre.y + mOffset.y);
  cairo_scale(mCairo, rx, ry);
  cairo_arc(mCairo, 0.0, 0.0, 1.0, 0.0, 2 * std::numbers::pi);
  cairo_restore(mCairo);
  Finish(style);
}

void Canvas::RoundedRect(Point corner, double width, double height, double radius,
                         const Style& style) {
  const double x = corner.x + mOffset.x, y = corner.y + mOffset.y;
  const double r = std::min({radius, width / 2, height / 2});
  constexpr double kQuarter = std::numbers::pi / 2;
  cairo_new_sub_path(mCairo);
  cairo_arc(mCairo, x + width - r, y + r, r, -kQuarter, 0.0);
  cairo_arc(mCairo, x + width - r, y + height - r, r, 0.0, kQuarter);
  cairo_arc(mCairo, x + r, y + height - r, r, kQuarter, 2 * kQuarter);
  cairo_arc(mCairo, x + r, y + r, r, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(mCairo);
  Finish(style);
}

void Canvas::Path(const std::vector<Point>& points, bool closed, const Style& style) {
  for (const Point& p : points) cairo_line_to(mCairo, p.x + mOffset.x, p.y + mOffset.y);
  if (closed) {
    cairo_close_path(mCairo);
    Finish(style);
    return;
  }
  Style line = style;
  line.fill.reset();
  Finish(line);
}

void Canvas::Arc(Point centre, double radius, double a0, double a1, const Style& style) {
  cairo_arc(mCairo, centre.x + mOffset.x, centre.y + mOffset.y, radius, a0, a1);
  Style line = style;
  line.fill.reset();
  Finish(line);
}

void Canvas::FillNoise(const Noise& noise, int32_t kind, double cells, const Rgb& low,
                       const Rgb& high) {
  cairo_surface_flush(mSurface);
  unsigned char* data = cairo_image_surface_get_data(mSurface);
  const int32_t stride = cairo_image_surface_get_stride(mSurface);
  for (int32_t y = 0; y < mHeight; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < mWidth; ++x) {
      const double fx = cells * x / mWidth, fy = cells * y / mHeight;
      const double value = noise.Fractal(static_cast<float>(fx), static_cast<float>(fy), 4);
      const double t = Shape(kind, value, fx, fy);
      row[x] = 0xFF000000u | static_cast<uint32_t>(Mix(low.r, high.r, t)) << 16 |
               static_cast<uint32_t>(Mix(low.g, high.g, t)) << 8 | Mix(low.b, high.b, t);
    }
  }
  cairo_surface_mark_dirty(mSurface);
}

std::vector<uint8_t> Canvas::GetTexels() const {
  cairo_surface_flush(mSurface);
  const unsigned char* data = cairo_image_surface_get_data(mSurface);
  const int32_t stride = cairo_image_surface_get_stride(mSurface);
  std::vector<uint8_t> texels;
  texels.reserve(static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight) * 4);
  for (int32_t y = 0; y < mHeight; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < mWidth; ++x) {
      const uint32_t argb = row[x];
      const uint32_t a = argb >> 24;
      const auto straight = [a](uint32_t c) {
        return static_cast<uint8_t>(a == 0 ? 0 : std::min<uint32_t>(255, (c * 255 + a / 2) / a));
      };
      texels.insert(texels.end(), {straight((argb >> 16) & 0xFF), straight((argb >> 8) & 0xFF),
                                   straight(argb & 0xFF), static_cast<uint8_t>(a)});
    }
  }
  return texels;
}

bool HasAlpha(const std::vector<uint8_t>& texels) {
  for (size_t i = 3; i < texels.size(); i += 4) {
    if (texels[i] != 255) return true;
  }
  return false;
}

}  // namespace databuilder
