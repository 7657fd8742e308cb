#include "app/shell/VPLBmpCheck.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr int64_t kLargestSide = 32767;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint64_t kMaskBytes = 12;

uint32_t Le(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

// The fields both header kinds have, read from the later headers' first
// 40 bytes.
struct Header {
  uint32_t size = 0;
  int64_t width = 0;
  int64_t height = 0;
  uint32_t bits = 0;
  uint32_t compression = 0;
  uint32_t imageSize = 0;
  uint32_t colorsUsed = 0;
};

bool ReadHeader(const uint8_t* bytes, size_t size, Header& header) {
  const uint8_t* info = bytes + kFileHeaderSize;
  header.size = Le(info, 4);
  if (header.size != kCoreHeaderSize && header.size != kInfoHeaderSize &&
      header.size != kV4HeaderSize && header.size != kV5HeaderSize) {
    return false;
  }
  if (size < kFileHeaderSize + header.size) return false;
  if (header.size == kCoreHeaderSize) {
    header.width = Le(info + 4, 2);
    header.height = Le(info + 6, 2);
    header.bits = Le(info + 10, 2);
    return true;
  }
  header.width = static_cast<int32_t>(Le(info + 4, 4));
  header.height = static_cast<int32_t>(Le(info + 8, 4));
  header.bits = Le(info + 14, 2);
  header.compression = Le(info + 16, 4);
  header.imageSize = Le(info + 20, 4);
  header.colorsUsed = Le(info + 32, 4);
  return true;
}

// Where the colour table (or the 40-byte header's masks) ends.
uint64_t TableEnd(const Header& header) {
  const uint64_t start = kFileHeaderSize + header.size;
  if (header.bits > 8) {
    const bool masksFollow = header.compression == kBitFields && header.size == kInfoHeaderSize;
    return start + (masksFollow ? kMaskBytes : 0);
  }
  const uint64_t entries = header.colorsUsed != 0 ? header.colorsUsed : uint64_t{1} << header.bits;
  return start + entries * (header.size == kCoreHeaderSize ? 3 : 4);
}

uint64_t RowBytes(const Header& header, int64_t rows) {
  if (header.compression == kRle8 || header.compression == kRle4) return header.imageSize;
  const uint64_t stride = (static_cast<uint64_t>(header.width) * header.bits + 31) / 32 * 4;
  return stride * static_cast<uint64_t>(rows);
}

}  // namespace

bool VPLCheckBmpFile(const uint8_t* bytes, size_t size, VPLBmpShape& shape) {
  Header header;
  if (bytes == nullptr || size < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M' ||
      !ReadHeader(bytes, size, header)) {
    return false;
  }
  // Top-down files store a negative height.
  const int64_t rows = header.height < 0 ? -header.height : header.height;
  if (header.width < 1 || header.width > kLargestSide || rows < 1 || rows > kLargestSide ||
      header.width * rows > kVPLLargestBmpPixels || header.bits == 0 || header.bits > 32) {
    return false;
  }
  const uint64_t offset = Le(bytes + 10, 4);
  if (TableEnd(header) > size || offset > size || RowBytes(header, rows) > size - offset) {
    return false;
  }
  shape.mSize = UUPoint{static_cast<int32_t>(header.width), static_cast<int32_t>(rows)};
  shape.mPixelOffset = static_cast<uint32_t>(offset);
  return true;
}
