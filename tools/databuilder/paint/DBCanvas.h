#pragma once
// A picture drawn with cairo: clean vector shapes with flat fills and thick
// round-jointed outlines, gradients and noise, read out as RGBA texels
// (straight alpha, row 0 at the top) for the texture file.

#include "tools/databuilder/paint/DBPalette.h"

#include <cairo.h>

#include <cstdint>
#include <optional>
#include <vector>

struct DBPoint {
  double x = 0.0;
  double y = 0.0;
};

struct DBStyle {
  std::optional<DBRgb> fill;
  std::optional<DBRgb> stroke;
  double width = 0.0;
  double alpha = 1.0;
};

class DBNoise;

class DBCanvas {
 public:
  // A clear picture of the size.
  DBCanvas(int32_t width, int32_t height);
  ~DBCanvas();
  DBCanvas(const DBCanvas&) = delete;
  DBCanvas& operator=(const DBCanvas&) = delete;

  int32_t GetWidth() const { return mWidth; }
  int32_t GetHeight() const { return mHeight; }

  // Shapes drawn after this land in the rectangle, whose sides are size
  // units long (an atlas cell drawn in its own units); EndFrame goes back.
  void BeginFrame(double x, double y, double scale);
  void EndFrame();
  // Moves every later shape by the offset (tiling draws a shape again
  // one tile away on each side).
  void SetOffset(double dx, double dy) { mOffset = {dx, dy}; }

  void Fill(const DBRgb& color, double alpha = 1.0);
  void VerticalGradient(double y0, double y1, const DBRgb& top, const DBRgb& bottom);
  void Ellipse(DBPoint centre, double rx, double ry, const DBStyle& style);
  void RoundedRect(DBPoint corner, double width, double height, double radius,
                   const DBStyle& style);
  // A closed polygon (filled and outlined) or an open line (stroked).
  void Path(const std::vector<DBPoint>& points, bool closed, const DBStyle& style);
  void Arc(DBPoint centre, double radius, double a0, double a1, const DBStyle& style);
  // Every texel blended between two colours by the noise's value; the kind
  // shapes the value: 0 clouds, 1 wood rings, 2 marble veins.
  void Noise(const DBNoise& noise, int32_t kind, double cells, const DBRgb& low,
             const DBRgb& high);

  // The texels, RGBA with straight alpha, row 0 at the top.
  std::vector<uint8_t> GetTexels() const;

 private:
  void Finish(const DBStyle& style);

  int32_t mWidth;
  int32_t mHeight;
  cairo_surface_t* mSurface;
  cairo_t* mCairo;
  DBPoint mOffset;
};

// Whether any texel is less than opaque.
bool DBHasAlpha(const std::vector<uint8_t>& texels);
