#include "mm/resources/MMEncodedImage.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/al/ALBytes.h"
#include "mm/drawing/MMBlitRequest.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kLongRunPiece = 255;

bool IsTransparent(const uint8_t* pixel, int32_t bytesPerPixel) {
  return bytesPerPixel == 1 ? pixel[0] == 0 : pixel[3] == 255;
}

// The bytes a run of n pixels takes in the run bytes.
int32_t RunByteCount(int32_t n) { return n == 0 ? 1 : (n - 1) / kLongRunPiece * 2 + 1; }

uint8_t* WriteRun(uint8_t* out, int32_t n) {
  if (n == 0) {
    *out++ = 0;
    return out;
  }
  for (int32_t pairs = (n - 1) / kLongRunPiece; pairs > 0; --pairs) {
    *out++ = kLongRunPiece;
    *out++ = 0;
  }
  *out++ = static_cast<uint8_t>((n - 1) % kLongRunPiece + 1);
  return out;
}

// Calls visit(length, opaque) for each run of one source row, in order,
// beginning with a transparent run.
template <typename Visit>
void ForEachRun(const MMBitmap& source, int32_t row, Visit visit) {
  const int32_t width = source.GetWidth();
  const int32_t bpp = source.mBytesPerPixel;
  const uint8_t* pixels = source.GetPixelAddress(source.mRect.mLeft, source.mRect.mTop + row);
  int32_t x = 0;
  bool opaque = false;
  while (x < width) {
    int32_t end = x;
    while (end < width && IsTransparent(pixels + end * bpp, bpp) != opaque) ++end;
    visit(end - x, opaque);
    x = end;
    opaque = !opaque;
  }
}

// Copies the pixels of a row's opaque runs to out; answers the new end.
uint8_t* GatherRowPixels(const MMBitmap& source, int32_t row, uint8_t* out) {
  const int32_t bpp = source.mBytesPerPixel;
  const uint8_t* pixels = source.GetPixelAddress(source.mRect.mLeft, source.mRect.mTop + row);
  ForEachRun(source, row, [&](int32_t n, bool opaque) {
    if (opaque) {
      std::memcpy(out, pixels, static_cast<size_t>(n) * static_cast<size_t>(bpp));
      out += static_cast<ptrdiff_t>(n) * bpp;
    }
    pixels += static_cast<ptrdiff_t>(n) * bpp;
  });
  return out;
}

// The last column of the image's row a scaled or mirrored span reads when
// it starts at column first: mirrored spans read leftwards from first.
int64_t LastColumnRead(const MMBlitRequest& request, int32_t first) {
  if (request.mXStep < 0) return first;
  const int64_t fraction = request.mSourceX & 0xFFFF;
  return first + ((fraction + static_cast<int64_t>(request.mWidth - 1) * request.mXStep) >> 16);
}

int32_t Padding(int32_t position, int32_t bytesPerPixel) {
  return bytesPerPixel == 4 ? (4 - position % 4) % 4 : 0;
}

}  // namespace

uint16_t MMEncodedImage::Offset(int32_t index) const {
  uint16_t value = 0;
  std::memcpy(&value, mData + 2 * index, sizeof value);
  return value;
}

bool MMEncodedImage::OffsetsAreValid() const {
  const int32_t height = GetHeight();
  if (mDataSize < 4 * height + 2) return false;
  for (int32_t row = 1; row < height; ++row) {
    if (RunOffset(row) <= RunOffset(row - 1)) return false;
  }
  if (RunOffset(0) < 4 * height + 2 || RunOffset(height - 1) >= PixelOffset(0)) return false;
  for (int32_t i = height; i < 2 * height; ++i) {
    if (Offset(i + 1) < Offset(i)) return false;
  }
  return EndOffset() <= mDataSize;
}

bool MMEncodedImage::RowIsValid(int32_t row) const {
  const int32_t width = GetWidth();
  // Run bytes lie before the first pixel, so no run is read past them.
  const int32_t runsEnd = PixelOffset(0);
  int32_t position = RunOffset(row);
  int32_t x = 0;
  int32_t opaquePixels = 0;
  bool opaque = false;
  while (x < width) {
    if (position >= runsEnd) return false;
    const int32_t n = mData[position++];
    if (opaque) opaquePixels += n;
    x += n;
    opaque = !opaque;
  }
  const int32_t next = row + 1 < GetHeight() ? PixelOffset(row + 1) : EndOffset();
  return x == width && opaquePixels * mBytesPerPixel == next - PixelOffset(row);
}

bool MMEncodedImage::IsValid() const {
  if (!MMImageDescription::IsValid() || mData == nullptr) return false;
  if (mFormat != kMMFormat8 && mFormat != kMMFormat32) return false;
  if (!OffsetsAreValid()) return false;
  for (int32_t row = 0; row < GetHeight(); ++row) {
    if (!RowIsValid(row)) return false;
  }
  return true;
}

const uint8_t* MMEncodedImage::FindPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return nullptr;
  const uint8_t* runs = mData + RunOffset(y);
  int32_t start = 0;
  int32_t opaqueBefore = 0;
  bool opaque = false;
  for (;;) {
    const int32_t n = *runs++;
    if (x < start + n) {
      if (!opaque) return nullptr;
      return mData + PixelOffset(y) + (opaqueBefore + x - start) * mBytesPerPixel;
    }
    if (opaque) opaqueBefore += n;
    start += n;
    opaque = !opaque;
  }
}

void MMEncodedImage::WalkRowUnscaled(const uint8_t* runs, const uint8_t* pixels, uint8_t* target,
                                     MMBlitRequest& request, MMSpanRoutine routine) const {
  const int32_t first = (request.mSourceX >> 16) - mRect.mLeft;
  const int32_t end = std::min(first + request.mDestination.GetWidth(), GetWidth());
  const int32_t targetBytes = request.mDestination.mBytesPerPixel;
  int32_t x = 0;
  bool opaque = false;
  while (x < end) {
    const int32_t n = *runs++;
    const int32_t visibleStart = std::max(x, first);
    const int32_t visibleEnd = std::min(x + n, end);
    if (visibleEnd > visibleStart) {
      if (opaque) {
        request.mWidth = static_cast<int16_t>(visibleEnd - visibleStart);
        routine(pixels + (visibleStart - x) * mBytesPerPixel, target, request);
      }
      target += static_cast<ptrdiff_t>(visibleEnd - visibleStart) * targetBytes;
    }
    if (opaque) pixels += static_cast<ptrdiff_t>(n) * mBytesPerPixel;
    x += n;
    opaque = !opaque;
  }
}

void MMEncodedImage::ExpandRow(const uint8_t* runs, const uint8_t* pixels, uint8_t* buffer,
                               int32_t count) const {
  const uint8_t fill = mBytesPerPixel == 4 ? 0xFF : 0;
  int32_t x = 0;
  bool opaque = false;
  while (x < count) {
    const int32_t n = *runs++;
    const size_t bytes = static_cast<size_t>(n) * static_cast<size_t>(mBytesPerPixel);
    if (opaque) {
      std::memcpy(buffer, pixels, bytes);
      pixels += bytes;
    } else {
      std::memset(buffer, fill, bytes);
    }
    buffer += bytes;
    x += n;
    opaque = !opaque;
  }
}

void MMEncodedImage::WalkRows(MMBlitRequest& request, MMSpanRoutine routine) {
  const MMBitmap& destination = request.mDestination;
  const int32_t width = GetWidth();
  const int32_t first = (request.mSourceX >> 16) - mRect.mLeft;
  const bool plain = request.mXStep == 0x10000;
  int32_t count = width;
  uint8_t* buffer = nullptr;
  if (!plain) {
    count = static_cast<int32_t>(std::clamp<int64_t>(LastColumnRead(request, first) + 1, 0, width));
    // As wide as the image, whatever its width: the runs of the last
    // expanded run may reach the row's end.
    buffer = static_cast<uint8_t*>(
        ALAllocate(static_cast<size_t>(width) * static_cast<size_t>(mBytesPerPixel),
                   ALDefaultAllocator, kALMayFail));
    if (buffer == nullptr || first < 0 || first >= width) {
      if (buffer != nullptr) ALFree(buffer);
      return;
    }
  }
  const int16_t savedWidth = request.mWidth;
  uint8_t* target = destination.mPixels;
  int32_t y = request.mSourceY;
  for (int32_t row = 0; row < destination.GetHeight(); ++row) {
    const int32_t sourceRow = (y >> 16) - mRect.mTop;
    if (sourceRow >= 0 && sourceRow < GetHeight()) {
      const uint8_t* runs = mData + RunOffset(sourceRow);
      const uint8_t* pixels = mData + PixelOffset(sourceRow);
      if (plain) {
        WalkRowUnscaled(runs, pixels, target, request, routine);
      } else {
        ExpandRow(runs, pixels, buffer, count);
        routine(buffer + static_cast<ptrdiff_t>(first) * mBytesPerPixel, target, request);
      }
    }
    y += request.mYStep;
    target += destination.mPitch;
  }
  request.mWidth = savedWidth;
  if (buffer != nullptr) ALFree(buffer);
}

int32_t MMEncodedImage::MeasureEncoded(const MMBitmap& source) {
  const int32_t height = source.GetHeight();
  const int32_t bpp = source.mBytesPerPixel;
  int64_t total = 4 * static_cast<int64_t>(height) + 2;
  int64_t pixelBytes = 0;
  for (int32_t row = 0; row < height; ++row) {
    int32_t runBytes = 0;
    int32_t rowPixelBytes = 0;
    ForEachRun(source, row, [&](int32_t n, bool opaque) {
      runBytes += RunByteCount(n);
      if (opaque) rowPixelBytes += n * bpp;
    });
    if (runBytes + rowPixelBytes > kMaxMeasuredRowBytes) return 0;
    total += runBytes;
    pixelBytes += rowPixelBytes;
  }
  total += Padding(static_cast<int32_t>(total), bpp) + pixelBytes;
  return total > kMaxBlockSize ? 0 : static_cast<int32_t>(total);
}

int32_t MMEncodedImage::Encode(const MMBitmap& source, uint8_t* block, uint16_t capacity) {
  MMImageDescription::operator=(source);
  mData = block;
  mDataSize = capacity;
  const int32_t height = GetHeight();
  const int32_t bpp = mBytesPerPixel;
  int32_t budget = capacity - (4 * height + 2);
  if (budget < 0) return 0;
  int32_t position = 4 * height + 2;
  for (int32_t row = 0; row < height; ++row) {
    const uint16_t runOffset = static_cast<uint16_t>(position);
    std::memcpy(block + 2 * row, &runOffset, sizeof runOffset);
    ForEachRun(source, row, [&](int32_t n, bool opaque) {
      budget -= RunByteCount(n) + (opaque ? n * bpp : 0);
      if (budget >= 0) position = static_cast<int32_t>(WriteRun(block + position, n) - block);
    });
    if (budget < 0) return 0;
  }
  const int32_t padding = Padding(position, bpp);
  if ((budget -= padding) < 0) return 0;
  std::memset(block + position, 0, static_cast<size_t>(padding));
  position += padding;
  for (int32_t row = 0; row < height; ++row) {
    const uint16_t pixelOffset = static_cast<uint16_t>(position);
    std::memcpy(block + 2 * (height + row), &pixelOffset, sizeof pixelOffset);
    position = static_cast<int32_t>(GatherRowPixels(source, row, block + position) - block);
  }
  const uint16_t endOffset = static_cast<uint16_t>(position);
  std::memcpy(block + 4 * height, &endOffset, sizeof endOffset);
  mDataSize = position;
  return position;
}

bool MMEncodedImage::FixByteOrder(uint8_t* data, int32_t size, int32_t height,
                                  int32_t bytesPerPixel) {
  if (height < 0 || size < 4 * height + 2) return false;
  ALSwapBytes16(data, static_cast<uint32_t>(2 * height + 1));
  if (bytesPerPixel != 4) return true;
  uint16_t first = 0;
  uint16_t end = 0;
  std::memcpy(&first, data + 2 * height, sizeof first);
  std::memcpy(&end, data + 4 * height, sizeof end);
  if (end > size || first > end) return false;
  ALSwapBytes32(data + first, static_cast<uint32_t>((end - first) / 4));
  return true;
}
