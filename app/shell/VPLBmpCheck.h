#pragma once
// What a BMP file must hold before the platform decodes it: the platform
// reads its header, colour table and rows where the file says they are, so
// every one of them must lie inside the bytes read.

#include "foundation/uu/UUPoint.h"

#include <cstddef>
#include <cstdint>

// Sides in 1 to 32767 and at most this many pixels.
constexpr int64_t kVPLLargestBmpPixels = 16 * 1024 * 1024;

struct VPLBmpShape {
  UUPoint mSize;          // width and rows, both positive
  uint32_t mPixelOffset;  // from the file's start
};

// False for a file without "BM", with a header of another size than 12,
// 40, 108 or 124 bytes, sides outside 1 to 32767 or more than
// kVPLLargestBmpPixels, or a colour table or rows that reach past its end.
bool VPLCheckBmpFile(const uint8_t* bytes, size_t size, VPLBmpShape& shape);
