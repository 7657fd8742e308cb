#pragma once
// A Windows device-independent bitmap kept as one memory block (the 40-byte
// header, the colour table, then the rows bottom-up, each padded to 4
// bytes), with its BMP reader, row access, mirror, flip and quarter turns,
// copy-on-write sharing, and a renderer that scales it into a drawing
// surface with brightness and contrast.

#include "app/shell/HandleOrPtr.h"
#include "foundation/uu/UURect.h"
#include "platform/win32/gdi.h"

#include <cstddef>
#include <cstdint>

class MMDrawingSurface;

class UseCount {
 public:
  int32_t mUseCount = 1;
};

class CDib : public UseCount, public HandleOrPtr<unsigned char> {
 public:
  static constexpr int32_t kNeutral = 50;

  CDib() = default;
  virtual ~CDib() = default;

  // Free the old block and take the new one, reading its size and depth;
  // false, all zero and the block freed when its header is not a sound
  // 40-byte one of 1, 4, 8, 16, 24 or 32 bits within the block's bytes.
  bool SetBlockHandle(HGLOBAL handle);
  bool SetBlockPointer(unsigned char* block);

  // The whole bitmap stretched into the rectangle.
  void Draw(HDC dc, const UURect& rect) const;

  // Bytes of a row from GetRow: width x 3 above 8 bits, else width.
  int32_t GetUnpackedRowLength() const;
  // Row y counted from the top: one byte per pixel up to 8 bits, three at
  // 24 bits; false at other depths or outside the bitmap.
  bool GetRow(int32_t y, unsigned char* buffer) const;
  bool GetColorTable(unsigned char* buffer) const;

  bool MirrorHorizontal();
  bool FlipVertical();
  // Quarter turns: 90 anticlockwise, 270 clockwise, 180 both flips; false,
  // unchanged, for other angles.
  bool Rotate(int32_t angle);

  // Itself when not shared; else a private copy, this one's use dropped.
  CDib* MakeUnique();
  // A copy of the block in new global memory; null without memory.
  CDib* Clone() const;

  // Scales the bitmap into the rectangle of the surface with brightness and
  // contrast; false when nothing could be drawn.
  bool DrawInto(MMDrawingSurface& surface, const UURect& rect) const;

  int32_t GetBrightness() const { return mBrightness; }
  int32_t GetContrast() const { return mContrast; }
  void SetBrightness(int32_t brightness) { mBrightness = brightness; }
  void SetContrast(int32_t contrast);
  int32_t GetWidth() const { return mWidth; }
  int32_t GetHeight() const { return mHeight; }
  int16_t GetBitsPerPixel() const { return mBitsPerPixel; }

 private:
  bool TakeSize();
  bool Replace(HGLOBAL handle);
  HGLOBAL RotatedBlock(bool anticlockwise) const;

  int32_t mBrightness = kNeutral;
  int32_t mContrast = kNeutral;
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  int16_t mBitsPerPixel = 0;
};

constexpr size_t kCDibHeaderBytes = 40;

size_t CDibColorTableBytes(int32_t bitsPerPixel);
// Rows padded to 4 bytes.
size_t CDibRowBytes(int32_t width, int32_t bitsPerPixel);
size_t CDibBlockSize(const unsigned char* block);
unsigned char* CDibBitsAddress(unsigned char* block);
// Reads a BMP file, or hands a ".jpg" or ".pst" file to the JPEG importer.
// Null for a file that is missing, damaged or of a kind not kept here.
CDib* CDibReadFile(const char* path);
// A logical palette from the colour table; null above 8 bits.
HPALETTE CDibCreatePalette(const unsigned char* block);

void MMReverseElements(void* data, size_t count, size_t elementSize);
void CDibCopyRows(const unsigned char* source, ptrdiff_t sourceStride, unsigned char* destination,
                  ptrdiff_t destinationStride, size_t rowBytes, int32_t count);
