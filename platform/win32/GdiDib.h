#pragma once
// Internal to the platform layer: the header, colour table and rows of a
// device-independent bitmap of every kind GDI takes: 1, 4, 8, 16, 24 and 32
// bits, run-length encoded 4- and 8-bit rows, the 12-byte core header with
// three-byte colours, the 40-byte header and its 52- to 124-byte
// successors, rows bottom-up or top-down.

#include "platform/win32/GdiObjects.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vpl::platform {

constexpr int32_t kMaxDibSide = 32767;

struct GdiDibLayout {
  BITMAPINFOHEADER header{};  // the header as a 40-byte one, whatever its size
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive
  bool bottomUp = false;
  ptrdiff_t stride = 0;  // bytes per stored uncompressed row, a multiple of 4
  // How the rows are drawn: packed and run-length rows as 8-bit indexes.
  GdiPixelFormat format = GdiPixelFormat::kBgrx32;
  // Up to 8 bits the colour table, always 2^bits entries (black past the
  // entries the header names).
  std::vector<RGBQUAD> colors;
  DWORD masks[3] = {};

  bool RunLength() const;
  // Whether the rows must be expanded to one byte per pixel to be drawn.
  bool Expanded() const { return header.biBitCount < 8 || RunLength(); }
};

// False for a header GDI does not take: sizes outside 1 to 32767, bit
// counts other than 1, 4, 8, 16, 24 and 32, a colour count above 2^bits,
// unknown masks or compression, run-length rows top-down or of the wrong
// depth or without an image size.
bool ReadDibLayout(const BITMAPINFO* info, GdiDibLayout& layout);

// Bytes per row of the given width and depth, padded to 4.
ptrdiff_t DibStride(int32_t width, int32_t bitCount);

// Expands the run-length rows the layout describes into index bytes, the
// top row at top and each next one pitch bytes on; pixels the rows skip
// are set to 0.
void ExpandRunLength(const GdiDibLayout& layout, const uint8_t* bits, uint8_t* top,
                     ptrdiff_t pitch);

// Packed 1- or 4-bit rows to and from one index byte per pixel.
void UnpackIndexes(const uint8_t* packed, int32_t bitCount, int32_t width, uint8_t* indexes);
void PackIndexes(const uint8_t* indexes, int32_t bitCount, int32_t width, uint8_t* packed);

// The rows of a DIB as the blitters read them, top row first: 8- to 32-bit
// rows where they lie, packed and run-length rows expanded to indexes.
// Run-length rows are read no further than the header's image size; what
// they leave out is index 0.
class GdiDibRows {
 public:
  // False for a header not taken, missing bits or no memory.
  bool Read(const BITMAPINFO* info, const void* bits);
  GdiPixels Pixels();
  const GdiDibLayout& Layout() const { return mLayout; }

 private:
  bool Expand(const uint8_t* bits);

  GdiDibLayout mLayout;
  std::vector<uint8_t> mExpanded;
  uint8_t* mTop = nullptr;
  ptrdiff_t mPitch = 0;
};

}  // namespace vpl::platform
