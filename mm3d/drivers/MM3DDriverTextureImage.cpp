#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace {

constexpr int32_t kFixedOne = 0x10000;
constexpr int32_t kFixedHalf = 0x8000;

std::unique_ptr<uint8_t[]> AllocateBlock(size_t bytes) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]);
}

// Sums of n pixels divided by n, by a shift where n is a small power of two.
uint8_t Average(uint32_t sum, int32_t n) {
  switch (n) {
    case 1:
      return static_cast<uint8_t>(sum);
    case 2:
      return static_cast<uint8_t>(sum >> 1);
    case 4:
      return static_cast<uint8_t>(sum >> 2);
    case 8:
      return static_cast<uint8_t>(sum >> 3);
    default:
      return static_cast<uint8_t>(sum / static_cast<uint32_t>(n));
  }
}

}  // namespace

MM3DDriverTextureImage::MM3DDriverTextureImage(int32_t width, int32_t height,
                                               std::unique_ptr<uint8_t[]> pixels, uint8_t flag) {
  SetPixels(width, height, std::move(pixels), flag);
}

MM3DDriverTextureImage::MM3DDriverTextureImage(int32_t width, int32_t height,
                                               std::unique_ptr<uint8_t[]> pixels,
                                               int32_t paletteCount,
                                               const MM3DPaletteEntry* palette, uint8_t flag) {
  SetPalettedPixels(width, height, std::move(pixels), paletteCount, palette, flag);
}

void MM3DDriverTextureImage::Clear() {
  mPixels.reset();
  mWidth = 0;
  mHeight = 0;
  mPaletteCount = 0;
  mFlag = 1;
}

void MM3DDriverTextureImage::SetPixels(int32_t width, int32_t height,
                                       std::unique_ptr<uint8_t[]> pixels, uint8_t flag) {
  mPixels = std::move(pixels);
  mWidth = width;
  mHeight = height;
  mPaletteCount = 0;
  mFlag = flag;
}

void MM3DDriverTextureImage::SetPalettedPixels(int32_t width, int32_t height,
                                               std::unique_ptr<uint8_t[]> pixels,
                                               int32_t paletteCount,
                                               const MM3DPaletteEntry* palette, uint8_t flag) {
  SetPixels(width, height, std::move(pixels), flag);
  SetPalette(paletteCount, palette);
}

void MM3DDriverTextureImage::SetPaletteEntry(int32_t index, const MM3DPaletteEntry& entry) {
  if (index >= 0 && index < kMM3DPaletteSize) mPalette[index] = entry;
}

void MM3DDriverTextureImage::SetPalette(int32_t count, const MM3DPaletteEntry* palette) {
  mPaletteCount = std::clamp(count, 0, kMM3DPaletteSize);
  std::copy(palette, palette + mPaletteCount, mPalette);
}

bool MM3DDriverTextureImage::CopyFrom(const MM3DDriverTextureImage& source) {
  if (&source == this) return true;
  Clear();
  if (!source.HasPixels()) return true;
  std::unique_ptr<uint8_t[]> block = AllocateBlock(source.ByteCount());
  if (!block) return false;
  std::memcpy(block.get(), source.mPixels.get(), source.ByteCount());
  SetPalettedPixels(source.mWidth, source.mHeight, std::move(block), source.mPaletteCount,
                    source.mPalette, source.mFlag);
  return true;
}

bool MM3DDriverTextureImage::ExpandFrom(const MM3DDriverTextureImage& source) {
  if (source.mPaletteCount == 0 || !source.HasPixels()) return CopyFrom(source);
  Clear();
  const size_t count = static_cast<size_t>(source.mWidth) * static_cast<size_t>(source.mHeight);
  std::unique_ptr<uint8_t[]> block = AllocateBlock(count * 4);
  if (!block) return false;
  for (size_t i = 0; i < count; ++i) {
    const MM3DPaletteEntry& entry = source.mPalette[source.mPixels[i]];
    uint8_t* pixel = block.get() + i * 4;
    pixel[0] = entry.mRed;
    pixel[1] = entry.mGreen;
    pixel[2] = entry.mBlue;
    pixel[3] = entry.mAlpha;
  }
  SetPixels(source.mWidth, source.mHeight, std::move(block), source.mFlag);
  return true;
}

bool MM3DDriverTextureImage::ExpandPalette() {
  if (mPaletteCount == 0) return true;
  MM3DDriverTextureImage expanded;
  if (!expanded.ExpandFrom(*this)) return false;
  Swap(expanded);
  return true;
}

void MM3DDriverTextureImage::Swap(MM3DDriverTextureImage& other) noexcept {
  std::swap(mPixels, other.mPixels);
  std::swap(mWidth, other.mWidth);
  std::swap(mHeight, other.mHeight);
  std::swap(mPalette, other.mPalette);
  std::swap(mPaletteCount, other.mPaletteCount);
  std::swap(mFlag, other.mFlag);
}

void MM3DDriverTextureImage::BoxFilterFrom(const MM3DDriverTextureImage& source) {
  if (mWidth <= 0 || mHeight <= 0 || !HasPixels() || !source.HasPixels()) return;
  const int32_t xStep = static_cast<int32_t>(int64_t{source.mWidth} * kFixedOne / mWidth);
  const int32_t yStep = static_cast<int32_t>(int64_t{source.mHeight} * kFixedOne / mHeight);
  uint8_t* out = mPixels.get();
  int32_t sourceY = 0;
  for (int32_t row = 0, y = kFixedHalf; row < mHeight; ++row, y += yStep) {
    const int32_t rows = ((y + yStep) >> 16) - (y >> 16);
    int32_t sourceX = 0;
    for (int32_t column = 0, x = kFixedHalf; column < mWidth; ++column, x += xStep) {
      const int32_t columns = ((x + xStep) >> 16) - (x >> 16);
      uint32_t sums[4] = {};
      for (int32_t dy = 0; dy < rows; ++dy) {
        const uint8_t* in = source.PixelAddress(sourceX, sourceY + dy);
        for (int32_t dx = 0; dx < columns * 4; ++dx) sums[dx & 3] += in[dx];
      }
      for (uint32_t sum : sums) *out++ = Average(sum, columns * rows);
      sourceX += columns;
    }
    sourceY += rows;
  }
}

bool MM3DDriverTextureImage::Write(UUWriter& writer) const {
  const uint32_t size = static_cast<uint16_t>(mWidth) | static_cast<uint32_t>(mHeight) << 16;
  const int16_t flagAndCount[2] = {mFlag, static_cast<int16_t>(mPaletteCount)};
  if (!writer.WriteInt32s(&size, 1) || !writer.WriteInt16s(flagAndCount, 2)) return false;
  if (HasPixels() && !writer.Write(mPixels.get(), static_cast<uint32_t>(ByteCount()))) {
    return false;
  }
  uint8_t bytes[kMM3DPaletteSize * 4];
  for (int32_t i = 0; i < mPaletteCount; ++i) {
    const MM3DPaletteEntry& entry = mPalette[i];
    std::copy_n(std::data({entry.mRed, entry.mGreen, entry.mBlue, entry.mAlpha}), 4, bytes + i * 4);
  }
  return writer.Write(bytes, static_cast<uint32_t>(mPaletteCount) * 4);
}

bool MM3DDriverTextureImage::Read(UUReader& reader) {
  Clear();
  uint32_t size = 0;
  int16_t flagAndCount[2] = {};
  if (!reader.ReadInt32s(&size, 1) || !reader.ReadInt16s(flagAndCount, 2)) return false;
  const int32_t width = static_cast<int16_t>(size & 0xFFFF);
  const int32_t height = static_cast<int16_t>(size >> 16);
  const int32_t paletteCount = flagAndCount[1];
  // A size or palette no image can have: refuse it rather than allocate.
  if (width < 0 || height < 0 || paletteCount < 0 || paletteCount > kMM3DPaletteSize) {
    return false;
  }
  const size_t bytes =
      static_cast<size_t>(width) * static_cast<size_t>(height) * (paletteCount != 0 ? 1u : 4u);
  std::unique_ptr<uint8_t[]> block = AllocateBlock(bytes);
  if (!block) return false;
  uint8_t paletteBytes[kMM3DPaletteSize * 4];
  if (!reader.Read(block.get(), static_cast<uint32_t>(bytes)) ||
      !reader.Read(paletteBytes, static_cast<uint32_t>(paletteCount) * 4)) {
    return false;
  }
  MM3DPaletteEntry palette[kMM3DPaletteSize];
  for (int32_t i = 0; i < paletteCount; ++i) {
    const uint8_t* entry = paletteBytes + i * 4;
    palette[i] = MM3DPaletteEntry{entry[0], entry[1], entry[2], entry[3]};
  }
  SetPalettedPixels(width, height, std::move(block), paletteCount, palette,
                    flagAndCount[0] != 0 ? 1 : 0);
  return true;
}

bool MM3DIsValidTextureSize(int32_t width, int32_t height) {
  const auto valid = [](int32_t side) {
    return side >= 8 && side <= 256 && (side & (side - 1)) == 0;
  };
  return valid(width) && valid(height);
}
