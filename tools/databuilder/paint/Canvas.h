#pragma once
// A picture drawn with cairo: clean vector shapes with flat fills and thick
// round-jointed outlines, gradients and noise, read out as RGBA texels
// (straight alpha, row 0 at the top) for the texture file.

#include "tools/databuilder/paint/Palette.h"

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace databuilder {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Style {
  std::optional<Rgb> fill;
  std::optional<Rgb> stroke;
  double width = 0.0;
  double alpha = 1.0;
};

class Noise;

class Canvas {
 public:
  // A clear picture of the size.
  Canvas(int32_t width, int32_t height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int32_t GetWidth() const { return mWidth; }
  int32_t GetHeight() const { return mHeight; }

  // Shapes drawn after this land in the rectangle, whose sides are size
  // units long (an atlas cell drawn in its own units); EndFrame goes back.
  void BeginFrame(double x, double y, double scale);
  void EndFrame();
  // Moves every later shape by the offset (tiling draws a shape again
  // one tile away on each side).
  void SetOffset(double dx, double dy) { mOffset = {dx, dy}; }

  void Fill(const Rgb& color, double alpha = 1.0);
  void VerticalGradient(double y0, double y1, const Rgb& top, const Rgb& bottom);
  void Ellipse(Point centre, double rx, double ry, const Style& style);
  void RoundedRect(Point corner, double width, double height, double radius, const Style& style);
  // A closed polygon (filled and outlined) or an open line (stroked).
  void Path(const std::vector<Point>& points, bool closed, const Style& style);
  void Arc(Point centre, double radius, double a0, double a1, const Style& style);
  // Every texel blended between two colours by the noise's value; the kind
  // shapes the value: 0 clouds, 1 wood rings, 2 marble veins.
  void FillNoise(const Noise& noise, int32_t kind, double cells, const Rgb& low, const Rgb& high);

  // The texels, RGBA with straight alpha, row 0 at the top.
  std::vector<uint8_t> GetTexels() const;

 private:
  void Finish(const Style& style);

  int32_t mWidth;
  int32_t mHeight;
  cairo_surface_t* mSurface;
  cairo_t* mCairo;
  Point mOffset;
};

// Whether any texel is less than opaque.
bool HasAlpha(const std::vector<uint8_t>& texels);

}  // namespace databuilder
