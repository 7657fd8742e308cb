// Device-independent bitmaps as GDI reads them: headers of every size,
// colour tables, packed and run-length encoded rows.
#include "platform/win32/GdiDib.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace vpl::platform {

namespace {

constexpr DWORD kCoreHeaderSize = 12;
constexpr DWORD kInfoHeaderSizes[] = {40, 52, 56, 108, 124};
// The masks of BI_BITFIELDS follow a 40-byte header; longer headers hold
// them at the same place.
constexpr size_t kMasksOffset = 40;

uint16_t Word(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

// The 12-byte core header as a 40-byte one: 16-bit sizes, rows bottom-up.
BITMAPINFOHEADER CoreHeader(const uint8_t* bytes) {
  BITMAPINFOHEADER header{};
  header.biSize = kCoreHeaderSize;
  header.biWidth = Word(bytes + 4);
  header.biHeight = Word(bytes + 6);
  header.biPlanes = Word(bytes + 8);
  header.biBitCount = Word(bytes + 10);
  header.biCompression = BI_RGB;
  return header;
}

bool ReadHeader(const BITMAPINFO* info, BITMAPINFOHEADER& header) {
  if (info == nullptr) return false;
  DWORD size = 0;
  std::memcpy(&size, info, sizeof size);
  if (size == kCoreHeaderSize) {
    header = CoreHeader(reinterpret_cast<const uint8_t*>(info));
    return header.biBitCount != 16 && header.biBitCount != 32;
  }
  // A header read from a file may lie at any address.
  std::memcpy(&header, info, sizeof header);
  return std::find(std::begin(kInfoHeaderSizes), std::end(kInfoHeaderSizes), size) !=
         std::end(kInfoHeaderSizes);
}

bool ReadIndexedFormat(const BITMAPINFOHEADER& header) {
  const DWORD entries = DWORD{1} << header.biBitCount;
  if (header.biClrUsed > entries) return false;
  switch (header.biCompression) {
    case BI_RGB:
      return true;
    case BI_RLE8:
      return header.biBitCount == 8 && header.biHeight > 0 && header.biSizeImage > 0;
    case BI_RLE4:
      return header.biBitCount == 4 && header.biHeight > 0 && header.biSizeImage > 0;
    default:
      return false;
  }
}

bool ReadFormat(const BITMAPINFO* info, GdiDibLayout& layout) {
  const BITMAPINFOHEADER& header = layout.header;
  const DWORD compression = header.biCompression;
  if (header.biBitCount <= 8) {
    layout.format = GdiPixelFormat::kIndexed8;
    return (header.biBitCount == 1 || header.biBitCount == 4 || header.biBitCount == 8) &&
           ReadIndexedFormat(header);
  }
  if (compression != BI_RGB && compression != BI_BITFIELDS) return false;
  if (compression == BI_BITFIELDS) {
    std::memcpy(layout.masks, reinterpret_cast<const uint8_t*>(info) + kMasksOffset,
                sizeof layout.masks);
  }
  const DWORD* m = layout.masks;
  switch (header.biBitCount) {
    case 16:
      if (compression == BI_RGB || (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F)) {
        layout.format = GdiPixelFormat::kRgb555;
        return true;
      }
      layout.format = GdiPixelFormat::kRgb565;
      return m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F;
    case 24:
      layout.format = GdiPixelFormat::kBgr24;
      return compression == BI_RGB;
    case 32:
      layout.format = GdiPixelFormat::kBgrx32;
      return compression == BI_RGB || (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF);
    default:
      return false;
  }
}

// The colour table follows the header, four bytes an entry, or three after
// a core header.
void ReadColors(const BITMAPINFO* info, GdiDibLayout& layout) {
  const BITMAPINFOHEADER& header = layout.header;
  if (header.biBitCount > 8) return;
  const size_t entries = size_t{1} << header.biBitCount;
  const size_t given = header.biClrUsed == 0 ? entries : header.biClrUsed;
  const size_t entryBytes = header.biSize == kCoreHeaderSize ? 3 : 4;
  const auto* table = reinterpret_cast<const uint8_t*>(info) + header.biSize;
  layout.colors.assign(entries, RGBQUAD{});
  for (size_t i = 0; i < given; ++i) {
    const uint8_t* entry = table + i * entryBytes;
    layout.colors[i] = RGBQUAD{entry[0], entry[1], entry[2], 0};
  }
}

// Runs and literal strings are short (at most 255 bytes, mostly a few
// dozen): library fills and copies cost more to start than to move them.
// These move 16 bytes at a time, the last 16 overlapping, and shorter
// counts in two overlapping halves; they never touch a byte outside
// [0, count).
template <size_t kBytes>
void MoveBlock(uint8_t* to, const uint8_t* from) {
  uint8_t block[kBytes];
  std::memcpy(block, from, kBytes);
  std::memcpy(to, block, kBytes);
}

template <size_t kBytes>
void MoveOverlapping(uint8_t* to, const uint8_t* from, size_t count) {
  MoveBlock<kBytes>(to, from);
  MoveBlock<kBytes>(to + count - kBytes, from + count - kBytes);
}

void CopyBelow16(uint8_t* to, const uint8_t* from, size_t count) {
  if (count >= 8) {
    MoveOverlapping<8>(to, from, count);
  } else if (count >= 4) {
    MoveOverlapping<4>(to, from, count);
  } else if (count >= 2) {
    MoveOverlapping<2>(to, from, count);
  } else if (count == 1) {
    *to = *from;
  }
}

// A fill writes a pattern of its value held in a register, not in memory
// that the bytes stored might alias.
template <typename Pattern>
void Put(uint8_t* to, Pattern pattern) {
  std::memcpy(to, &pattern, sizeof pattern);
}

template <typename Pattern>
void PutOverlapping(uint8_t* to, size_t count, Pattern pattern) {
  Put(to, pattern);
  Put(to + count - sizeof pattern, pattern);
}

void FillShort(uint8_t* to, size_t count, uint8_t value) {
  const uint64_t pattern = 0x0101010101010101ull * value;
  if (count >= 16) {
    const struct { uint64_t mLow, mHigh; } wide{pattern, pattern};
    for (size_t i = 0; i + 16 < count; i += 16) Put(to + i, wide);
    Put(to + count - 16, wide);
  } else if (count >= 8) {
    PutOverlapping(to, count, pattern);
  } else if (count >= 4) {
    PutOverlapping(to, count, static_cast<uint32_t>(pattern));
  } else if (count >= 2) {
    PutOverlapping(to, count, static_cast<uint16_t>(pattern));
  } else if (count == 1) {
    *to = value;
  }
}

void CopyShort(uint8_t* to, const uint8_t* from, size_t count) {
  if (count < 16) return CopyBelow16(to, from, count);
  for (size_t i = 0; i + 16 < count; i += 16) MoveBlock<16>(to + i, from + i);
  MoveBlock<16>(to + count - 16, from + count - 16);
}

// Stores count bytes of value in whole 16-byte blocks, at least 32 bytes
// so that the common short runs take no loop: up to 32 bytes more.
constexpr size_t kFillBurst = 32;
void FillBlocks(uint8_t* to, size_t count, uint8_t value) {
  const uint64_t pattern = 0x0101010101010101ull * value;
  const struct { uint64_t mLow, mHigh; } wide{pattern, pattern};
  Put(to, wide);
  Put(to + 16, wide);
  for (size_t i = kFillBurst; i < count; i += 16) Put(to + i, wide);
}

// Copies count bytes in whole 16-byte blocks: up to 15 bytes more.
void CopyBlocks(uint8_t* to, const uint8_t* from, size_t count) {
  for (size_t i = 0; i < count; i += 16) MoveBlock<16>(to + i, from + i);
}

// Expands run-length rows into one index byte per pixel, rows pitch bytes
// apart from the top one, and sets every pixel the rows skip to 0.
// Runs and literal strings past the right edge are dropped; reading stops
// at the end mark, past the top row or at the end of the data. Pixels are
// written in the rows' order, bottom row first, so the pixels a line end,
// a delta or the stop skips are cleared as the cursor jumps over them.
// The cursor lives in locals of Expand: as members, every pixel byte
// stored could alias it, and it would go to memory and back between runs.
class RleExpander {
 public:
  RleExpander(const GdiDibLayout& layout, uint8_t* top, ptrdiff_t pitch)
      : mTop(top),
        mPitch(pitch),
        mWidth(layout.width),
        mHeight(layout.height),
        mFourBit(layout.header.biCompression == BI_RLE4) {}

  void Expand(const uint8_t* data, size_t size) const {
    Cursor at{0, 0, Row(0)};
    size_t read = 0;
    while (read + 2 <= size && at.y < mHeight) {
      if (!mFourBit) read = PutEightBitCodes(at, data, size, read);
      if (read + 2 > size || at.y >= mHeight) break;
      const uint8_t count = data[read];
      const uint8_t value = data[read + 1];
      read += 2;
      if (count > 0) {
        PutRun(at, count, value);
      } else if (!Escape(at, value, data, size, read)) {
        break;
      }
    }
    Clear(at, 0, mHeight);
  }

 private:
  // The next pixel, on line y counted from the bottom row, which starts at
  // row (null past the top row).
  struct Cursor {
    int64_t x;
    int64_t y;
    uint8_t* row;
  };

  static uint8_t Nibble(uint8_t pair, int i) {
    return static_cast<uint8_t>(i % 2 == 0 ? pair >> 4 : pair & 0x0F);
  }

  // Puts the 8-bit runs and literal strings that lie wholly inside the
  // line, while the data holds the longest code and its padding; answers
  // the offset of the first code it leaves, for the checked path. Whole
  // 16-byte blocks are stored: the slack past a code is left inside the
  // line, where the next code or the clearing of a skip overwrites it.
  size_t PutEightBitCodes(Cursor& at, const uint8_t* data, size_t size, size_t read) const {
    constexpr size_t kLongestCode = 2 + 255 + 1;
    constexpr int64_t kSlack = kFillBurst;
    if (size < kLongestCode + kSlack) return read;
    const size_t last = size - kLongestCode - kSlack;
    uint8_t* const row = at.row;
    int64_t x = at.x;
    const int64_t end = mWidth - kSlack;
    while (read <= last) {
      const uint8_t count = data[read];
      const uint8_t value = data[read + 1];
      if (count > 0) {
        if (x + count > end) break;
        FillBlocks(row + x, count, value);
        x += count;
        read += 2;
      } else {
        if (value <= kLastEscape || x + value > end) break;
        CopyBlocks(row + x, data + read + 2, value);
        x += value;
        read += 2 + ((value + 1u) & ~size_t{1});
      }
    }
    at.x = x;
    return read;
  }

  // Answers whether expanding goes on.
  bool Escape(Cursor& at, uint8_t code, const uint8_t* data, size_t size, size_t& read) const {
    switch (code) {
      case kEndOfLine:
        MoveTo(at, 0, at.y + 1);
        return true;
      case kEndOfBitmap:
        return false;
      case kDelta:
        if (size - read < 2) return false;
        MoveTo(at, at.x + data[read], at.y + data[read + 1]);
        read += 2;
        return true;
      default: {
        // A literal string, padded to a 16-bit boundary.
        const size_t bytes = mFourBit ? (code + 1u) / 2 : code;
        if (size - read < bytes) return false;
        PutLiteral(at, code, data + read);
        read += (bytes + 1) & ~size_t{1};
        return true;
      }
    }
  }

  static constexpr uint8_t kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2, kLastEscape = kDelta;

  uint8_t* Row(int64_t y) const { return mTop + (mHeight - 1 - y) * mPitch; }

  // Clears the pixels from the cursor's to before (toX, toY).
  void Clear(const Cursor& at, int64_t toX, int64_t toY) const {
    int64_t x = at.x;
    int64_t y = at.y;
    for (; y < toY && y < mHeight; ++y, x = 0) {
      if (x < mWidth) std::memset(Row(y) + x, 0, static_cast<size_t>(mWidth - x));
    }
    toX = std::min(toX, mWidth);
    if (y == toY && y < mHeight && toX > x) {
      std::memset(Row(y) + x, 0, static_cast<size_t>(toX - x));
    }
  }

  void MoveTo(Cursor& at, int64_t toX, int64_t toY) const {
    Clear(at, toX, toY);
    at = {toX, toY, toY < mHeight ? Row(toY) : nullptr};
  }

  // How many of the next count pixels of line y, from x, fall inside the
  // picture.
  int Visible(int64_t x, int count) const {
    return x >= mWidth ? 0 : static_cast<int>(std::min<int64_t>(count, mWidth - x));
  }

  void PutRun(Cursor& at, int count, uint8_t value) const {
    const int visible = Visible(at.x, count);
    if (visible > 0) {
      uint8_t* to = at.row + at.x;
      if (!mFourBit) {
        FillShort(to, static_cast<size_t>(visible), value);
      } else {
        for (int i = 0; i < visible; ++i) to[i] = Nibble(value, i);
      }
    }
    at.x += count;
  }

  void PutLiteral(Cursor& at, int count, const uint8_t* from) const {
    const int visible = Visible(at.x, count);
    if (visible > 0) {
      uint8_t* to = at.row + at.x;
      if (!mFourBit) {
        CopyShort(to, from, static_cast<size_t>(visible));
      } else {
        for (int i = 0; i < visible; ++i) to[i] = Nibble(from[i / 2], i);
      }
    }
    at.x += count;
  }

  uint8_t* mTop;
  ptrdiff_t mPitch;
  int64_t mWidth;
  int64_t mHeight;
  bool mFourBit;
};

}  // namespace

void ExpandRunLength(const GdiDibLayout& layout, const uint8_t* bits, uint8_t* top,
                     ptrdiff_t pitch) {
  RleExpander(layout, top, pitch).Expand(bits, layout.header.biSizeImage);
}

bool GdiDibLayout::RunLength() const {
  return header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
}

ptrdiff_t DibStride(int32_t width, int32_t bitCount) {
  return (static_cast<ptrdiff_t>(width) * bitCount + 31) / 32 * 4;
}

bool ReadDibLayout(const BITMAPINFO* info, GdiDibLayout& layout) {
  layout = GdiDibLayout{};
  if (!ReadHeader(info, layout.header)) return false;
  const BITMAPINFOHEADER& header = layout.header;
  const int64_t height =
      header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
  if (header.biWidth < 1 || header.biWidth > kMaxDibSide || height < 1 || height > kMaxDibSide) {
    return false;
  }
  if (!ReadFormat(info, layout)) return false;
  ReadColors(info, layout);
  layout.width = header.biWidth;
  layout.height = static_cast<int32_t>(height);
  layout.bottomUp = header.biHeight > 0;
  layout.stride = DibStride(layout.width, header.biBitCount);
  return true;
}

void UnpackIndexes(const uint8_t* packed, int32_t bitCount, int32_t width, uint8_t* indexes) {
  const int perByte = 8 / bitCount;
  const int mask = (1 << bitCount) - 1;
  for (int32_t x = 0; x < width; ++x) {
    const int shift = 8 - bitCount * (x % perByte + 1);
    indexes[x] = static_cast<uint8_t>((packed[x / perByte] >> shift) & mask);
  }
}

void PackIndexes(const uint8_t* indexes, int32_t bitCount, int32_t width, uint8_t* packed) {
  const int perByte = 8 / bitCount;
  const int mask = (1 << bitCount) - 1;
  std::fill_n(packed, (width + perByte - 1) / perByte, uint8_t{0});
  for (int32_t x = 0; x < width; ++x) {
    const int shift = 8 - bitCount * (x % perByte + 1);
    packed[x / perByte] = static_cast<uint8_t>(packed[x / perByte] | (indexes[x] & mask) << shift);
  }
}

bool GdiDibRows::Read(const BITMAPINFO* info, const void* bits) {
  mExpanded.clear();
  if (bits == nullptr || !ReadDibLayout(info, mLayout)) return false;
  auto* data = static_cast<uint8_t*>(const_cast<void*>(bits));
  if (mLayout.Expanded()) return Expand(data);
  mPitch = mLayout.bottomUp ? -mLayout.stride : mLayout.stride;
  mTop = mLayout.bottomUp ? data + (mLayout.height - 1) * mLayout.stride : data;
  return true;
}

bool GdiDibRows::Expand(const uint8_t* bits) {
  const auto width = static_cast<size_t>(mLayout.width);
  try {
    mExpanded.assign(width * static_cast<size_t>(mLayout.height), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  mTop = mExpanded.data();
  mPitch = mLayout.width;
  if (mLayout.RunLength()) {
    ExpandRunLength(mLayout, bits, mTop, mPitch);
    return true;
  }
  for (int32_t y = 0; y < mLayout.height; ++y) {
    const int32_t stored = mLayout.bottomUp ? mLayout.height - 1 - y : y;
    UnpackIndexes(bits + stored * mLayout.stride, mLayout.header.biBitCount, mLayout.width,
                  mTop + y * mPitch);
  }
  return true;
}

GdiPixels GdiDibRows::Pixels() {
  GdiPixels pixels;
  pixels.top = mTop;
  pixels.pitch = mPitch;
  pixels.width = mLayout.width;
  pixels.height = mLayout.height;
  pixels.format = mLayout.format;
  pixels.colors = mLayout.colors.empty() ? nullptr : mLayout.colors.data();
  pixels.colorCount = static_cast<int32_t>(mLayout.colors.size());
  return pixels;
}

}  // namespace vpl::platform
