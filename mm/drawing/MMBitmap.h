#pragma once

#include "foundation/al/ALAllocator.h"
#include "mm/drawing/MMImageDescription.h"

#include <cstddef>
#include <cstdint>

// An image description with the address of its pixels. A bitmap does not
// own them; a sub-bitmap shares its parent's.
class MMBitmap : public MMImageDescription {
 public:
  MMBitmap() = default;
  MMBitmap(const MMBitmap& other) = default;
  MMBitmap& operator=(const MMBitmap& other) = default;

  bool IsValid() const override;
  // One span call per destination row.
  void WalkRows(MMBlitRequest& request, MMSpanRoutine routine) override;

  // The eight description fields of other; pixels and pitch stay.
  void CopyDescription(const MMImageDescription& other);
  // The address of pixel (x, y); coordinates are 16-bit and wrap.
  uint8_t* GetPixelAddress(int32_t x, int32_t y) const;
  // The same pixels seen through rect (not tested against this bitmap).
  MMBitmap GetSubBitmap(const UURect& rect) const;

  uint8_t* mPixels = nullptr;  // the pixel at (left, top)
  int32_t mPitch = 0;          // bytes from one row to the next; negative bottom-up
};

// A bitmap that owns its pixels: rows top-down, pitch a multiple of 4.
class MMBitmapWithPixels : public MMBitmap {
 public:
  // Format 0, 1 or 2; null when the pixel block cannot be allocated from
  // the allocator. The pixels are not cleared.
  static MMBitmapWithPixels* Create(const UURect& rect, int32_t format, ALAllocator* allocator);
  // Adopts a block made as Create makes it.
  MMBitmapWithPixels(const UURect& rect, int32_t bitsPerPixel, int32_t format, void* block);
  ~MMBitmapWithPixels() override;
  MMBitmapWithPixels(const MMBitmapWithPixels&) = delete;
  MMBitmapWithPixels& operator=(const MMBitmapWithPixels&) = delete;

  // The block's size word is followed by padding, so that on 64-bit the
  // pixels keep the 16-byte alignment of the block.
  static constexpr size_t kBlockHeader = 16;

 private:
  void* mBlock;
};
