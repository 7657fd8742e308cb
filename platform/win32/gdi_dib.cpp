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
// dozen): library and string fills and copies cost more to start than to
// move them. These move 8 bytes at a time, the last 8 overlapping, and
// never touch a byte outside [0, count).
void FillShort(uint8_t* to, size_t count, uint8_t value) {
  if (count < 8) {
    for (size_t i = 0; i < count; ++i) to[i] = value;
    return;
  }
  const uint64_t pattern = 0x0101010101010101ull * value;
  for (size_t i = 0; i + 8 < count; i += 8) std::memcpy(to + i, &pattern, 8);
  std::memcpy(to + count - 8, &pattern, 8);
}

void CopyShort(uint8_t* to, const uint8_t* from, size_t count) {
  if (count < 8) {
    for (size_t i = 0; i < count; ++i) to[i] = from[i];
    return;
  }
  uint64_t chunk;
  for (size_t i = 0; i + 8 < count; i += 8) {
    std::memcpy(&chunk, from + i, 8);
    std::memcpy(to + i, &chunk, 8);
  }
  std::memcpy(&chunk, from + count - 8, 8);
  std::memcpy(to + count - 8, &chunk, 8);
}

// Expands run-length rows into one index byte per pixel, rows pitch bytes
// apart from the top one.
// Runs and literal strings past the right edge are dropped; reading stops
// at the end mark, past the top row or at the end of the data.
class RleExpander {
 public:
  RleExpander(const GdiDibLayout& layout, uint8_t* top, ptrdiff_t pitch)
      : mTop(top),
        mPitch(pitch),
        mWidth(layout.width),
        mHeight(layout.height),
        mFourBit(layout.header.biCompression == BI_RLE4) {}

  void Expand(const uint8_t* data, size_t size) {
    size_t at = 0;
    while (at + 2 <= size && mY < mHeight) {
      const uint8_t count = data[at];
      const uint8_t value = data[at + 1];
      at += 2;
      if (count > 0) {
        PutRun(count, value);
      } else if (!Escape(value, data, size, at)) {
        return;
      }
    }
  }

 private:
  static uint8_t Nibble(uint8_t pair, int i) {
    return static_cast<uint8_t>(i % 2 == 0 ? pair >> 4 : pair & 0x0F);
  }

  // Answers whether expanding goes on.
  bool Escape(uint8_t code, const uint8_t* data, size_t size, size_t& at) {
    constexpr uint8_t kEndOfLine = 0, kEndOfBitmap = 1, kDelta = 2;
    switch (code) {
      case kEndOfLine:
        mX = 0;
        ++mY;
        return true;
      case kEndOfBitmap:
        return false;
      case kDelta:
        if (size - at < 2) return false;
        mX += data[at];
        mY += data[at + 1];
        at += 2;
        return true;
      default: {
        // A literal string, padded to a 16-bit boundary.
        const size_t bytes = mFourBit ? (code + 1u) / 2 : code;
        if (size - at < bytes) return false;
        PutLiteral(code, data + at);
        at += (bytes + 1) & ~size_t{1};
        return true;
      }
    }
  }

  // Where the next count pixels of the current line go, and how many of
  // them fall inside the picture.
  uint8_t* Visible(int count, int& visible) const {
    visible = 0;
    if (mY >= mHeight || mX >= mWidth) return nullptr;
    visible = static_cast<int>(std::min<int64_t>(count, mWidth - mX));
    return mTop + (mHeight - 1 - mY) * mPitch + mX;
  }

  void PutRun(int count, uint8_t value) {
    int visible = 0;
    uint8_t* to = Visible(count, visible);
    if (visible > 0 && !mFourBit) {
      FillShort(to, static_cast<size_t>(visible), value);
    } else {
      for (int i = 0; i < visible; ++i) to[i] = Nibble(value, i);
    }
    mX += count;
  }

  void PutLiteral(int count, const uint8_t* from) {
    int visible = 0;
    uint8_t* to = Visible(count, visible);
    if (visible > 0 && !mFourBit) {
      CopyShort(to, from, static_cast<size_t>(visible));
    } else {
      for (int i = 0; i < visible; ++i) to[i] = Nibble(from[i / 2], i);
    }
    mX += count;
  }

  uint8_t* mTop;
  ptrdiff_t mPitch;
  int64_t mWidth;
  int64_t mHeight;
  bool mFourBit;
  int64_t mX = 0;
  int64_t mY = 0;  // counted from the bottom row
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
