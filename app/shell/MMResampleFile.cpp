#include "app/shell/MMResampleFile.h"

#include "app/shell/MMResampleArea.h"

#include <cstring>

namespace {

constexpr int32_t kMaxSide = 32767;
constexpr uint8_t kTransparent = 255;

MMBitmap RowsView(const uint32_t* rows, int32_t width, int32_t top, int32_t bottom) {
  MMBitmap view;
  view.mBitsPerPixel = 32;
  view.mBytesPerPixel = 4;
  view.mFormat = kMMFormat32;
  view.mRect = UURect(0, top, width, bottom);
  view.mPixels = reinterpret_cast<uint8_t*>(const_cast<uint32_t*>(rows));
  view.mPitch = width * 4;
  return view;
}

}  // namespace

bool MMReadFileRows(UURandomAccessStream& stream, int32_t offset, int32_t rowBytes, int32_t first,
                    int32_t last, std::vector<uint32_t>& words) {
  const int64_t start = int64_t{offset} + int64_t{first} * rowBytes;
  const int64_t bytes = int64_t{last - first + 1} * rowBytes;
  if (first < 0 || last < first || start > INT32_MAX || bytes > INT32_MAX) return false;
  words.resize(static_cast<size_t>(bytes / 4));
  return stream.Seek(static_cast<int32_t>(start), kUUSeekFromStart, nullptr) &&
         stream.ReadInt32s(words.data(), static_cast<uint32_t>(words.size()));
}

uint32_t MMAverageBoxRaw32(const uint32_t* rows, int32_t width, int32_t top, int32_t bottom,
                           double y0, double x0, double x1, double y1) {
  return MMAverageBox32(RowsView(rows, width, top, bottom), y0, x0, x1, y1);
}

bool MMResampleFile32(UURandomAccessStream& stream, int32_t width, int32_t height,
                      int32_t bytesPerPixel, const MMBitmap& destination) {
  int32_t origin = 0;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || bytesPerPixel != 4 ||
      destination.mBitsPerPixel != 32 || destination.mPixels == nullptr ||
      !stream.Seek(0, kUUSeekFromCurrent, &origin)) {
    return false;
  }
  std::vector<uint32_t> band;
  int32_t bandTop = -1, bandBottom = -1;
  bool read = true;
  const bool walked = MMResampleWalk(
      UURect(0, 0, width, height), destination.mRect, [&](int32_t x, int32_t y, const MMBox& box) {
        if (!read) return;
        if (box.mTop != bandTop || box.mBottom != bandBottom) {
          bandTop = box.mTop;
          bandBottom = box.mBottom;
          read = MMReadFileRows(stream, origin, width * 4, bandTop, bandBottom - 1, band);
          if (!read) return;
        }
        uint32_t pixel = MMAverageBoxRaw32(band.data(), width, bandTop, bandBottom, box.mY0,
                                           box.mX0, box.mX1, box.mY1);
        pixel = (pixel & 0x00FFFFFF) | uint32_t{kTransparent} << 24;
        std::memcpy(destination.GetPixelAddress(x, y), &pixel, sizeof pixel);
      });
  return walked && read;
}
