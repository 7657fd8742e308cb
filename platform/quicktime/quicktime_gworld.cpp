// Offscreen worlds of 32-bit pixels in memory.

#include "platform/quicktime/GWorldRecord.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <cstdlib>

namespace {

// QuickDraw keeps flags in the top bits of the row bytes, so rows are at
// most this long.
constexpr int32_t kMaxRowBytes = 0x3FFE;
constexpr int16_t kWorldDepth = 32;

}  // namespace

OSErr NewGWorld(GWorldPtr* world, int16_t pixelDepth, const Rect* bounds, CTabHandle, GDHandle,
                uint32_t) {
  if (world == nullptr || bounds == nullptr || pixelDepth != kWorldDepth) return paramErr;
  *world = nullptr;
  const int32_t width = bounds->right - bounds->left;
  const int32_t height = bounds->bottom - bounds->top;
  const int32_t rowBytes = width * 4;
  if (width <= 0 || height <= 0 || rowBytes > kMaxRowBytes) return paramErr;
  auto* record = static_cast<GWorldRecord*>(std::calloc(1, sizeof(GWorldRecord)));
  uint8_t* pixels = static_cast<uint8_t*>(
      std::calloc(static_cast<size_t>(rowBytes), static_cast<size_t>(height)));
  if (record == nullptr || pixels == nullptr) {
    std::free(record);
    std::free(pixels);
    return memFullErr;
  }
  record->pixels = pixels;
  record->pixMap = PixMap{.baseAddr = reinterpret_cast<Ptr>(pixels),
                          .rowBytes = static_cast<int16_t>(rowBytes),
                          .bounds = *bounds,
                          .pixelSize = kWorldDepth,
                          .pixelFormat = k32ARGBPixelFormat};
  record->master = &record->pixMap;
  *world = record;
  return noErr;
}

void DisposeGWorld(GWorldPtr world) {
  if (world == nullptr) return;
  avcodec_free_context(&world->encoder);
  av_frame_free(&world->frame);
  av_packet_free(&world->packet);
  std::free(world->pixels);
  std::free(world);
}

PixMapHandle GetGWorldPixMap(GWorldPtr world) {
  return world != nullptr ? &world->master : nullptr;
}

Rect* GetPortBounds(GWorldPtr world, Rect* bounds) {
  if (world == nullptr || bounds == nullptr) return bounds;
  *bounds = world->pixMap.bounds;
  return bounds;
}

bool LockPixels(PixMapHandle pixels) { return pixels != nullptr; }

void UnlockPixels(PixMapHandle) {}

int32_t GetPixRowBytes(PixMapHandle pixels) {
  return pixels != nullptr ? (*pixels)->rowBytes & 0x3FFF : 0;
}
