#pragma once
// The image a driver turns into a device texture: 32-bit pixels (red,
// green, blue, alpha bytes) or 8-bit indexes into a palette of such
// entries, rows following each other directly, row 0 first.

#include <cstddef>
#include <cstdint>
#include <memory>

class UUReader;
class UUWriter;

struct MM3DPaletteEntry {
  uint8_t mRed = 0;
  uint8_t mGreen = 0;
  uint8_t mBlue = 0;
  uint8_t mAlpha = 0;
};

constexpr int32_t kMM3DPaletteSize = 256;

class MM3DDriverTextureImage {
 public:
  MM3DDriverTextureImage() = default;
  // Takes over a block of width x height 32-bit pixels.
  MM3DDriverTextureImage(int32_t width, int32_t height, std::unique_ptr<uint8_t[]> pixels,
                         uint8_t flag);
  // Takes over a block of width x height 8-bit indexes; paletteCount
  // entries of palette are copied.
  MM3DDriverTextureImage(int32_t width, int32_t height, std::unique_ptr<uint8_t[]> pixels,
                         int32_t paletteCount, const MM3DPaletteEntry* palette, uint8_t flag);
  MM3DDriverTextureImage(const MM3DDriverTextureImage&) = delete;
  MM3DDriverTextureImage& operator=(const MM3DDriverTextureImage&) = delete;
  MM3DDriverTextureImage(MM3DDriverTextureImage&& other) noexcept { Swap(other); }
  MM3DDriverTextureImage& operator=(MM3DDriverTextureImage&& other) noexcept {
    Swap(other);
    return *this;
  }

  void Clear();
  void SetPixels(int32_t width, int32_t height, std::unique_ptr<uint8_t[]> pixels, uint8_t flag);
  void SetPalettedPixels(int32_t width, int32_t height, std::unique_ptr<uint8_t[]> pixels,
                         int32_t paletteCount, const MM3DPaletteEntry* palette, uint8_t flag);
  void SetPaletteCount(int32_t count) { mPaletteCount = count; }
  void SetPaletteEntry(int32_t index, const MM3DPaletteEntry& entry);
  // Copies count entries (at most the palette's size) and sets the count.
  void SetPalette(int32_t count, const MM3DPaletteEntry* palette);

  // Deep copies; false, and this image empty, when memory runs out.
  bool CopyFrom(const MM3DDriverTextureImage& source);
  // As CopyFrom for a 32-bit source; an 8-bit one becomes 32-bit pixels of
  // its palette entries.
  bool ExpandFrom(const MM3DDriverTextureImage& source);
  // An 8-bit image becomes its expansion; false, the image unchanged, when
  // memory runs out.
  bool ExpandPalette();
  void Swap(MM3DDriverTextureImage& other) noexcept;
  // Shrinks the 32-bit source into this image's size and 32-bit block,
  // averaging each block of source pixels that falls on one pixel.
  void BoxFilterFrom(const MM3DDriverTextureImage& source);

  // Size word, flag, palette count, pixels, palette.
  bool Write(UUWriter& writer) const;
  // On any failure the image is left empty.
  bool Read(UUReader& reader);

  int32_t GetWidth() const { return mWidth; }
  int32_t GetHeight() const { return mHeight; }
  int32_t GetPaletteCount() const { return mPaletteCount; }
  const MM3DPaletteEntry* GetPalette() const { return mPalette; }
  uint8_t GetFlag() const { return mFlag; }
  bool HasPixels() const { return mPixels != nullptr; }
  int32_t BytesPerPixel() const { return mPaletteCount != 0 ? 1 : 4; }
  uint8_t* GetPixels() const { return mPixels.get(); }
  uint8_t* PixelAddress(int32_t x, int32_t y) const {
    return mPixels.get() + (static_cast<ptrdiff_t>(y) * mWidth + x) * BytesPerPixel();
  }
  size_t ByteCount() const {
    return static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight) *
           static_cast<size_t>(BytesPerPixel());
  }

 private:
  std::unique_ptr<uint8_t[]> mPixels;
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  MM3DPaletteEntry mPalette[kMM3DPaletteSize];
  int32_t mPaletteCount = 0;
  uint8_t mFlag = 1;
};

// Both sides powers of two from 8 to 256.
bool MM3DIsValidTextureSize(int32_t width, int32_t height);
