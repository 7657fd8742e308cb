#pragma once

#include "foundation/uu/UURect.h"

#include <cstdint>

class MMBlitRequest;
class MMBitmap;

// Draws one destination row of a blit from the given source and
// destination addresses (see MMBlitSpans.h).
using MMSpanRoutine = void (*)(const uint8_t* source, uint8_t* destination,
                               const MMBlitRequest& request);

// Pixel formats of images and bitmaps.
enum : int32_t { kMMFormat8 = 0, kMMFormat32 = 1, kMMFormat24 = 2 };

// How an image's pixels combine with what lies under them: 0 copied whole;
// 1 keyed (index 0, or a fourth byte of 255, is transparent); 2 and 3
// blended by the transparency byte with colours premultiplied (2) or
// straight (3). Always 0 for 24-bit images.
enum : int32_t {
  kMMSubFormatCopy = 0,
  kMMSubFormatKeyed = 1,
  kMMSubFormatPremultiplied = 2,
  kMMSubFormatStraight = 3
};

// How an image's pixels are laid out and combine with the destination.
class MMImageDescription {
 public:
  MMImageDescription() = default;
  MMImageDescription(const MMImageDescription& other) = default;
  MMImageDescription& operator=(const MMImageDescription& other) = default;
  virtual ~MMImageDescription() = default;

  virtual bool IsValid() const;
  // Calls the routine for every destination row of the request.
  virtual void WalkRows(MMBlitRequest& request, MMSpanRoutine routine) = 0;

  int32_t GetWidth() const { return mRect.GetWidth(); }
  int32_t GetHeight() const { return mRect.GetHeight(); }

  int32_t mBitsPerPixel = 0;
  int32_t mBytesPerPixel = 0;
  int32_t mFormat = -1;
  int32_t mSubFormat = -1;
  UURect mRect;
};
