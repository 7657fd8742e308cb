#include "tools/databuilder/PictureStage.h"

#include <cairo.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace databuilder {

namespace {

constexpr int32_t kButtonWidth = 96;
constexpr int32_t kButtonHeight = 64;
// Ink outlines 8 % of the smaller side.
constexpr double kOutline = 0.08 * kButtonHeight;

struct Rgb {
  double r, g, b;
};
constexpr Rgb kLeaf = {0x4C / 255.0, 0xD0 / 255.0, 0x6A / 255.0};
constexpr Rgb kInk = {0x2B / 255.0, 0x2D / 255.0, 0x5C / 255.0};
constexpr Rgb kCloud = {1.0, 1.0, 1.0};

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;

void SetColour(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

// A pill with a fat arrow pointing right, one highlight blob.
void DrawGoButton(cairo_t* cr) {
  const double r = kButtonHeight / 2.0 - kOutline;
  cairo_set_line_width(cr, kOutline);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_new_path(cr);
  cairo_arc(cr, kButtonWidth - kButtonHeight / 2.0, kButtonHeight / 2.0, r, -std::numbers::pi / 2,
            std::numbers::pi / 2);
  cairo_arc(cr, kButtonHeight / 2.0, kButtonHeight / 2.0, r, std::numbers::pi / 2,
            3 * std::numbers::pi / 2);
  cairo_close_path(cr);
  SetColour(cr, kLeaf);
  cairo_fill_preserve(cr);
  SetColour(cr, kInk);
  cairo_stroke(cr);
  const double cy = kButtonHeight / 2.0;
  cairo_move_to(cr, 26, cy - 6);
  cairo_line_to(cr, 48, cy - 6);
  cairo_line_to(cr, 48, cy - 16);
  cairo_line_to(cr, 70, cy);
  cairo_line_to(cr, 48, cy + 16);
  cairo_line_to(cr, 48, cy + 6);
  cairo_line_to(cr, 26, cy + 6);
  cairo_close_path(cr);
  SetColour(cr, kCloud);
  cairo_fill_preserve(cr);
  SetColour(cr, kInk);
  cairo_stroke(cr);
  cairo_arc(cr, 22, 18, 5, 0, 2 * std::numbers::pi);
  SetColour(cr, kCloud);
  cairo_fill(cr);
}

// Cairo stores premultiplied native-endian ARGB words; the picture wants
// straight colours and a transparency byte.
BuiltPicture Unpremultiply(cairo_surface_t* surface, int32_t width, int32_t height) {
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  BuiltPicture picture{width, height,
                       std::vector<uint8_t>(static_cast<size_t>(width * height) * 4)};
  uint8_t* out = picture.mPixels.data();
  for (int32_t y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < width; ++x, out += 4) {
      const uint32_t argb = row[x];
      const uint32_t alpha = argb >> 24;
      for (int channel = 0; channel < 3; ++channel) {
        const uint32_t value = argb >> (8 * channel) & 0xFF;
        out[channel] = alpha == 0 ? 0 : static_cast<uint8_t>((value * 255 + alpha / 2) / alpha);
      }
      out[3] = static_cast<uint8_t>(255 - alpha);
    }
  }
  return picture;
}

BuiltPicture EndButton() {
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kButtonWidth, kButtonHeight),
                  &cairo_surface_destroy);
  Context cr(cairo_create(surface.get()), &cairo_destroy);
  DrawGoButton(cr.get());
  return Unpremultiply(surface.get(), kButtonWidth, kButtonHeight);
}

}  // namespace

std::vector<BuiltPicture> BuildPictures(const BuildSources& sources) {
  std::vector<BuiltPicture> pictures;
  if (sources.mManifest.GetCount(ItemKind::kPicture) > 0) pictures.push_back(EndButton());
  return pictures;
}

}  // namespace databuilder
