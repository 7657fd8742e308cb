#include "tools/databuilder/check/ScreenShot.h"

#include <cairo.h>

namespace content_check {

bool WritePng(const ScreenPicture& picture, const std::filesystem::path& file) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.mWidth, picture.mHeight);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int32_t stride = cairo_image_surface_get_stride(surface);
  for (int32_t y = 0; y < picture.mHeight; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < picture.mWidth; ++x) row[x] = picture.At(x, y);
  }
  cairo_surface_mark_dirty(surface);
  const bool written = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return written;
}

}  // namespace content_check
