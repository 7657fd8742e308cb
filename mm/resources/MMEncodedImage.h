#pragma once
// An image whose rows are stored run-length encoded with transparency: each
// row is a series of alternating transparent and opaque runs (beginning
// with a transparent one, 0 when the row starts opaque), and only the
// opaque pixels are stored. Only 8-bit and 32-bit images are encoded.
//
// Data block (all offsets uint16 from the block's start, so a block is at
// most 65535 bytes), for width W and height H:
//   2 x H    offset of each row's run bytes
//   2 x H    offset of each row's stored pixels
//   2        end offset: just past the last pixel (the block size)
//   run bytes, one per run; a run of n >= 256 is written as (n - 1) / 255
//            pairs (255, 0) and then ((n - 1) mod 255) + 1
//   0-3 zero bytes (32-bit images only) up to a multiple of 4
//   the opaque pixels of each row, 1 or 4 bytes each

#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMImageDescription.h"

#include <cstdint>

class MMEncodedImage : public MMImageDescription {
 public:
  static constexpr int32_t kMaxBlockSize = 65535;
  static constexpr int32_t kMaxMeasuredRowBytes = 1024;

  MMEncodedImage() = default;
  MMEncodedImage(const MMEncodedImage&) = default;
  MMEncodedImage& operator=(const MMEncodedImage&) = default;

  // The description, the data and every offset and run are consistent with
  // each other and lie inside the block's size.
  bool IsValid() const override;
  // Unscaled: one span call per visible opaque run, transparent pixels never
  // written. Scaled or mirrored: each source row is expanded (transparent
  // pixels filled with index 0, or 0xFFFFFFFF at 32 bits) into a row
  // buffer as wide as the image and handed to the span routine once.
  void WalkRows(MMBlitRequest& request, MMSpanRoutine routine) override;

  // The stored pixel at (x, y) from the image's top-left; null in a
  // transparent run or outside the image.
  const uint8_t* FindPixel(int32_t x, int32_t y) const;

  // Makes this a copy of the source's description over the block and
  // encodes the source's pixels into it; answers the block size, 0 when
  // the capacity is too small.
  int32_t Encode(const MMBitmap& source, uint8_t* block, uint16_t capacity);
  // The size Encode produces; 0 when a row needs more than 1024 bytes or
  // the total would reach 65536.
  static int32_t MeasureEncoded(const MMBitmap& source);
  // Reverses the bytes of the offsets and, for 32-bit pixels, of every
  // pixel: used after reading from a big-endian file. False when the
  // offsets do not fit the block's size (IsValid refuses such data).
  static bool FixByteOrder(uint8_t* data, int32_t size, int32_t height, int32_t bytesPerPixel);

  void SetData(uint8_t* data, int32_t size) {
    mData = data;
    mDataSize = size;
  }
  uint8_t* GetData() const { return mData; }

 private:
  uint16_t Offset(int32_t index) const;
  uint16_t RunOffset(int32_t row) const { return Offset(row); }
  uint16_t PixelOffset(int32_t row) const { return Offset(GetHeight() + row); }
  uint16_t EndOffset() const { return Offset(2 * GetHeight()); }
  bool OffsetsAreValid() const;
  bool RowIsValid(int32_t row) const;
  void WalkRowUnscaled(const uint8_t* runs, const uint8_t* pixels, uint8_t* target,
                       MMBlitRequest& request, MMSpanRoutine routine) const;
  // Expands a row's runs into buffer up to at least count pixels.
  void ExpandRow(const uint8_t* runs, const uint8_t* pixels, uint8_t* buffer, int32_t count) const;

  uint8_t* mData = nullptr;
  // The bytes that exist behind mData: every offset is checked against it.
  int32_t mDataSize = 0;
};
