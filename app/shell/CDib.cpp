#include "app/shell/CDib.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kMaxSide = 32767;

BITMAPINFOHEADER HeaderOf(const unsigned char* block) {
  BITMAPINFOHEADER header{};
  std::memcpy(&header, block, sizeof header);
  return header;
}

bool KnownDepth(int32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

uint32_t ReadPixel(const unsigned char* row, int32_t x, int32_t bits) {
  if (bits < 8) {
    const int32_t perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    return (row[x / perByte] >> shift) & ((1u << bits) - 1);
  }
  uint32_t value = 0;
  std::memcpy(&value, row + static_cast<ptrdiff_t>(x) * (bits / 8), static_cast<size_t>(bits / 8));
  return value;
}

void WritePixel(unsigned char* row, int32_t x, int32_t bits, uint32_t value) {
  if (bits < 8) {
    const int32_t perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    const uint32_t mask = ((1u << bits) - 1) << shift;
    unsigned char& byte = row[x / perByte];
    byte = static_cast<unsigned char>((byte & ~mask) | ((value << shift) & mask));
    return;
  }
  std::memcpy(row + static_cast<ptrdiff_t>(x) * (bits / 8), &value, static_cast<size_t>(bits / 8));
}

// A zeroed global block; null without memory.
HGLOBAL NewGlobalBlock(size_t bytes) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (handle == nullptr) return nullptr;
  if (void* address = GlobalLock(handle)) {
    std::memset(address, 0, bytes);
    GlobalUnlock(handle);
    return handle;
  }
  GlobalFree(handle);
  return nullptr;
}

}  // namespace

size_t CDibColorTableBytes(int32_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
      return 8;
    case 4:
      return 64;
    case 8:
      return 1024;
    case 16:
    case 32:
      return 12;  // the three masks of BI_BITFIELDS
    case 24:
      return 0;
    default:
      return 8;
  }
}

size_t CDibRowBytes(int32_t width, int32_t bitsPerPixel) {
  return (static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32 * 4;
}

size_t CDibBlockSize(const unsigned char* block) {
  const BITMAPINFOHEADER header = HeaderOf(block);
  const int64_t height = header.biHeight;
  return kCDibHeaderBytes + CDibColorTableBytes(header.biBitCount) +
         CDibRowBytes(header.biWidth, header.biBitCount) * static_cast<size_t>(height);
}

unsigned char* CDibBitsAddress(unsigned char* block) {
  return block + kCDibHeaderBytes + CDibColorTableBytes(HeaderOf(block).biBitCount);
}

void MMReverseElements(void* data, size_t count, size_t elementSize) {
  auto* bytes = static_cast<unsigned char*>(data);
  for (size_t i = 0, j = count; i + 1 < j; ++i, --j) {
    std::swap_ranges(bytes + i * elementSize, bytes + (i + 1) * elementSize,
                     bytes + (j - 1) * elementSize);
  }
}

void CDibCopyRows(const unsigned char* source, ptrdiff_t sourceStride, unsigned char* destination,
                  ptrdiff_t destinationStride, size_t rowBytes, int32_t count) {
  for (int32_t y = 0; y < count; ++y) {
    std::memcpy(destination + y * destinationStride, source + y * sourceStride, rowBytes);
  }
}

HPALETTE CDibCreatePalette(const unsigned char* block) {
  const int32_t bits = HeaderOf(block).biBitCount;
  if (bits > 8) return nullptr;
  const int32_t count = 1 << bits;
  std::vector<unsigned char> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * 256);
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(count);
  const unsigned char* table = block + kCDibHeaderBytes;
  for (int32_t i = 0; i < count; ++i) {
    const unsigned char* entry = table + 4 * i;
    palette->palPalEntry[i] = PALETTEENTRY{entry[2], entry[1], entry[0], 0};
  }
  return CreatePalette(palette);
}

bool CDib::SetBlockHandle(HGLOBAL handle) {
  TakeHandle(handle);
  return TakeSize();
}

bool CDib::SetBlockPointer(unsigned char* block) {
  TakePointer(block);
  return TakeSize();
}

bool CDib::TakeSize() {
  mWidth = mHeight = mBitsPerPixel = 0;
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr || BlockBytes() < kCDibHeaderBytes) {
    Free();
    return false;
  }
  const BITMAPINFOHEADER header = HeaderOf(lock.Get());
  const bool sound = header.biSize == kCDibHeaderBytes && header.biWidth >= 1 &&
                     header.biWidth <= kMaxSide && header.biHeight >= 1 &&
                     header.biHeight <= kMaxSide && KnownDepth(header.biBitCount) &&
                     CDibBlockSize(lock.Get()) <= BlockBytes();
  if (!sound) {
    Free();
    return false;
  }
  mWidth = header.biWidth;
  mHeight = header.biHeight;
  mBitsPerPixel = static_cast<int16_t>(header.biBitCount);
  return true;
}

void CDib::SetContrast(int32_t contrast) { mContrast = std::clamp(contrast, 0, 100); }

void CDib::Draw(HDC dc, const UURect& rect) const {
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr) return;
  StretchDIBits(dc, rect.mLeft, rect.mTop, rect.GetWidth(), rect.GetHeight(), 0, 0, mWidth, mHeight,
                CDibBitsAddress(lock.Get()), reinterpret_cast<BITMAPINFO*>(lock.Get()),
                DIB_RGB_COLORS, SRCCOPY);
}

int32_t CDib::GetUnpackedRowLength() const { return mBitsPerPixel > 8 ? mWidth * 3 : mWidth; }

bool CDib::GetRow(int32_t y, unsigned char* buffer) const {
  if (y < 0 || y >= mHeight || buffer == nullptr) return false;
  if (mBitsPerPixel != 1 && mBitsPerPixel != 4 && mBitsPerPixel != 8 && mBitsPerPixel != 24) {
    return false;
  }
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr) return false;
  const unsigned char* row = CDibBitsAddress(lock.Get()) + static_cast<size_t>(mHeight - 1 - y) *
                                                               CDibRowBytes(mWidth, mBitsPerPixel);
  if (mBitsPerPixel >= 8) {
    std::memcpy(buffer, row, static_cast<size_t>(GetUnpackedRowLength()));
    return true;
  }
  for (int32_t x = 0; x < mWidth; ++x) {
    buffer[x] = static_cast<unsigned char>(ReadPixel(row, x, mBitsPerPixel));
  }
  return true;
}

bool CDib::GetColorTable(unsigned char* buffer) const {
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr || buffer == nullptr) return false;
  std::memcpy(buffer, lock.Get() + kCDibHeaderBytes, CDibColorTableBytes(mBitsPerPixel));
  return true;
}

bool CDib::MirrorHorizontal() {
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr) return false;
  const size_t rowBytes = CDibRowBytes(mWidth, mBitsPerPixel);
  unsigned char* bits = CDibBitsAddress(lock.Get());
  std::vector<uint32_t> pixels(static_cast<size_t>(mWidth));
  for (int32_t y = 0; y < mHeight; ++y) {
    unsigned char* row = bits + static_cast<size_t>(y) * rowBytes;
    if (mBitsPerPixel >= 8) {
      MMReverseElements(row, static_cast<size_t>(mWidth), static_cast<size_t>(mBitsPerPixel / 8));
      continue;
    }
    for (int32_t x = 0; x < mWidth; ++x) {
      pixels[static_cast<size_t>(x)] = ReadPixel(row, x, mBitsPerPixel);
    }
    for (int32_t x = 0; x < mWidth; ++x) {
      WritePixel(row, mWidth - 1 - x, mBitsPerPixel, pixels[static_cast<size_t>(x)]);
    }
  }
  return true;
}

bool CDib::FlipVertical() {
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr) return false;
  const size_t rowBytes = CDibRowBytes(mWidth, mBitsPerPixel);
  unsigned char* bits = CDibBitsAddress(lock.Get());
  for (int32_t i = 0, j = mHeight - 1; i < j; ++i, --j) {
    std::swap_ranges(bits + static_cast<size_t>(i) * rowBytes,
                     bits + static_cast<size_t>(i + 1) * rowBytes,
                     bits + static_cast<size_t>(j) * rowBytes);
  }
  return true;
}

bool CDib::Rotate(int32_t angle) {
  switch (angle) {
    case 0:
    case 360:
      return true;
    case 180:
      return MirrorHorizontal() && FlipVertical();
    case 90:
    case 270: {
      HGLOBAL rotated = RotatedBlock(angle == 90);
      return rotated != nullptr && Replace(rotated);
    }
    default:
      // Other angles would leave a blank picture: the bitmap stays as it is.
      return false;
  }
}

// 90 (anticlockwise) takes (x, y) to (y, width - 1 - x), 270 (clockwise)
// to (height - 1 - y, x), y counted from the top.
HGLOBAL CDib::RotatedBlock(bool anticlockwise) const {
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr) return nullptr;
  const int32_t width = mHeight, height = mWidth, bits = mBitsPerPixel;
  const size_t tableBytes = CDibColorTableBytes(bits);
  const size_t rowBytes = CDibRowBytes(width, bits);
  HGLOBAL handle =
      NewGlobalBlock(kCDibHeaderBytes + tableBytes + rowBytes * static_cast<size_t>(height));
  if (handle == nullptr) return nullptr;
  auto* block = static_cast<unsigned char*>(GlobalLock(handle));
  std::memcpy(block, lock.Get(), kCDibHeaderBytes + tableBytes);
  BITMAPINFOHEADER header = HeaderOf(block);
  header.biWidth = width;
  header.biHeight = height;
  header.biSizeImage = 0;
  std::memcpy(block, &header, sizeof header);
  const size_t oldRowBytes = CDibRowBytes(mWidth, bits);
  const unsigned char* from = CDibBitsAddress(lock.Get());
  unsigned char* to = CDibBitsAddress(block);
  for (int32_t y = 0; y < mHeight; ++y) {
    const unsigned char* row = from + static_cast<size_t>(mHeight - 1 - y) * oldRowBytes;
    for (int32_t x = 0; x < mWidth; ++x) {
      const int32_t nx = anticlockwise ? y : mHeight - 1 - y;
      const int32_t ny = anticlockwise ? mWidth - 1 - x : x;
      WritePixel(to + static_cast<size_t>(height - 1 - ny) * rowBytes, nx, bits,
                 ReadPixel(row, x, bits));
    }
  }
  GlobalUnlock(handle);
  return handle;
}

bool CDib::Replace(HGLOBAL handle) {
  const int32_t brightness = mBrightness, contrast = mContrast;
  const bool taken = SetBlockHandle(handle);
  mBrightness = brightness;
  mContrast = contrast;
  return taken;
}

CDib* CDib::MakeUnique() {
  if (mUseCount == 1) return this;
  CDib* copy = Clone();
  if (copy == nullptr) return nullptr;
  if (--mUseCount == 0) delete this;
  return copy;
}

CDib* CDib::Clone() const {
  HandleOrPtrLock<unsigned char> lock(*this);
  if (lock.Get() == nullptr) return nullptr;
  const size_t bytes = CDibBlockSize(lock.Get());
  HGLOBAL handle = NewGlobalBlock(bytes);
  if (handle == nullptr) return nullptr;
  std::memcpy(GlobalLock(handle), lock.Get(), bytes);
  GlobalUnlock(handle);
  auto* copy = new CDib;
  copy->mBrightness = mBrightness;
  copy->mContrast = mContrast;
  if (!copy->SetBlockHandle(handle)) {
    delete copy;
    return nullptr;
  }
  return copy;
}
