#include "app/shell/MMImageCopies.h"

#include <cstring>

namespace {

int32_t PixelBytes(const MMBitmap& image) { return image.mBitsPerPixel == 8 ? 1 : 4; }

bool Copyable(const MMBitmap& source, const MMBitmap& destination) {
  const bool depths = (source.mBitsPerPixel == 8 || source.mBitsPerPixel == 32) &&
                      source.mBitsPerPixel == destination.mBitsPerPixel;
  return depths && source.mPixels != nullptr && destination.mPixels != nullptr &&
         !source.mRect.IsEmpty();
}

void CopyPixel(const MMBitmap& source, int32_t sx, int32_t sy, const MMBitmap& destination,
               int32_t dx, int32_t dy) {
  std::memcpy(destination.GetPixelAddress(dx, dy), source.GetPixelAddress(sx, sy),
              static_cast<size_t>(PixelBytes(source)));
}

// Destination pixel (i, j), counted from its top left, takes the source
// pixel the turn brings there.
bool RotatedCopy(const MMBitmap& source, const MMBitmap& destination, bool clockwise) {
  if (!Copyable(source, destination) || destination.GetWidth() != source.GetHeight() ||
      destination.GetHeight() != source.GetWidth()) {
    return false;
  }
  const UURect& from = source.mRect;
  const UURect& to = destination.mRect;
  for (int32_t y = 0; y < from.GetHeight(); ++y) {
    for (int32_t x = 0; x < from.GetWidth(); ++x) {
      const int32_t i = clockwise ? from.GetHeight() - 1 - y : y;
      const int32_t j = clockwise ? x : from.GetWidth() - 1 - x;
      CopyPixel(source, from.mLeft + x, from.mTop + y, destination, to.mLeft + i, to.mTop + j);
    }
  }
  return true;
}

bool RotateSurface(std::unique_ptr<WinMMOffscreenSurface>& surface, bool clockwise) {
  MMBitmap source;
  if (!surface || !surface->GetImageDescription(source)) return false;
  const UURect rect = surface->GetRect();
  const UURect turned(rect.mLeft, rect.mTop, rect.mLeft + rect.GetHeight(),
                      rect.mTop + rect.GetWidth());
  std::unique_ptr<WinMMOffscreenSurface> made(
      WinMMCreateOffscreenSurface(source.mBitsPerPixel, turned, surface->GetPalette()));
  MMBitmap destination;
  if (!made || !made->GetImageDescription(destination) ||
      !RotatedCopy(source, destination, clockwise)) {
    return false;
  }
  surface = std::move(made);
  return true;
}

}  // namespace

bool MMCopyMirrored(const MMBitmap& source, const MMBitmap& destination, bool mirrorX,
                    bool mirrorY) {
  if (!Copyable(source, destination) || destination.GetWidth() < source.GetWidth() ||
      destination.GetHeight() < source.GetHeight()) {
    return false;
  }
  if (!mirrorX && !mirrorY) return true;
  const UURect& from = source.mRect;
  const UURect& to = destination.mRect;
  for (int32_t y = 0; y < from.GetHeight(); ++y) {
    const int32_t sy = mirrorY ? from.mBottom - 1 - y : from.mTop + y;
    for (int32_t x = 0; x < from.GetWidth(); ++x) {
      const int32_t sx = mirrorX ? from.mRight - 1 - x : from.mLeft + x;
      CopyPixel(source, sx, sy, destination, to.mLeft + x, to.mTop + y);
    }
  }
  return true;
}

bool MMRotatedCopyClockwise(const MMBitmap& source, const MMBitmap& destination) {
  return RotatedCopy(source, destination, true);
}

bool MMRotatedCopyAnticlockwise(const MMBitmap& source, const MMBitmap& destination) {
  return RotatedCopy(source, destination, false);
}

bool MMRotateSurfaceClockwise(std::unique_ptr<WinMMOffscreenSurface>& surface) {
  return RotateSurface(surface, true);
}

bool MMRotateSurfaceAnticlockwise(std::unique_ptr<WinMMOffscreenSurface>& surface) {
  return RotateSurface(surface, false);
}
