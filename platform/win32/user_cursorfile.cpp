// Cursor files: the icon and cursor directory with its device-independent
// pictures, and the animated-cursor container around them.

#include <strings.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include "platform/win32/CursorFile.h"
#include "platform/win32/PathMapping.h"

namespace vpl::platform {
namespace {

constexpr size_t kDirectoryHeader = 6;
constexpr size_t kDirectoryEntry = 16;
constexpr size_t kInfoHeader = 40;
constexpr int32_t kLargestSide = 256;
constexpr size_t kLargestFile = 16 * 1024 * 1024;

// Little-endian reads that fail instead of reading past the end.
class ByteView {
 public:
  ByteView(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
  bool Has(size_t offset, size_t count) const { return offset <= mSize && count <= mSize - offset; }
  uint16_t U16(size_t offset) const {
    return static_cast<uint16_t>(mData[offset] | mData[offset + 1] << 8);
  }
  uint32_t U32(size_t offset) const {
    return static_cast<uint32_t>(U16(offset)) | static_cast<uint32_t>(U16(offset + 2)) << 16;
  }
  const uint8_t* At(size_t offset) const { return mData + offset; }
  size_t Size() const { return mSize; }
  ByteView Sub(size_t offset, size_t count) const { return ByteView(mData + offset, count); }

 private:
  const uint8_t* mData;
  size_t mSize;
};

size_t RowBytes(int32_t width, int32_t bits) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bits) + 31) / 32) * 4;
}

uint32_t PaletteColour(ByteView palette, size_t index) {
  if (!palette.Has(index * 4, 4)) return 0;
  const uint8_t* entry = palette.At(index * 4);
  return static_cast<uint32_t>(entry[2]) << 16 | static_cast<uint32_t>(entry[1]) << 8 | entry[0];
}

uint32_t XorPixel(const uint8_t* row, int32_t x, int32_t bits, ByteView palette) {
  switch (bits) {
    case 1:
      return PaletteColour(palette, static_cast<size_t>((row[x / 8] >> (7 - x % 8)) & 1));
    case 4:
      return PaletteColour(palette,
                           static_cast<size_t>((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF));
    case 8:
      return PaletteColour(palette, row[x]);
    case 24:
      return static_cast<uint32_t>(row[x * 3 + 2]) << 16 |
             static_cast<uint32_t>(row[x * 3 + 1]) << 8 | row[x * 3];
    default: {
      const uint8_t* p = row + x * 4;
      return static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[2]) << 16 |
             static_cast<uint32_t>(p[1]) << 8 | p[0];
    }
  }
}

// One picture: the info header, the colour table, the colour rows and the
// transparency mask rows, both bottom-up.
bool ReadPicture(ByteView picture, int32_t hotX, int32_t hotY, CursorImage& image) {
  if (!picture.Has(0, kInfoHeader) || picture.U32(0) < kInfoHeader) return false;
  const auto width = static_cast<int32_t>(picture.U32(4));
  const auto doubledHeight = static_cast<int32_t>(picture.U32(8));
  const int32_t bits = picture.U16(14);
  if (picture.U32(16) != 0 || width <= 0 || width > kLargestSide || doubledHeight <= 0 ||
      doubledHeight > 2 * kLargestSide || doubledHeight % 2 != 0) {
    return false;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  const int32_t height = doubledHeight / 2;
  const auto rows = static_cast<size_t>(height);
  const uint32_t used = picture.U32(32);
  const size_t colours = bits <= 8 ? (used != 0 && used < (1u << bits) ? used : 1u << bits) : 0;
  const size_t paletteOffset = picture.U32(0);
  const size_t colourOffset = paletteOffset + colours * 4;
  const size_t colourRow = RowBytes(width, bits);
  const size_t maskOffset = colourOffset + colourRow * rows;
  const size_t maskRow = RowBytes(width, 1);
  if (!picture.Has(paletteOffset, colours * 4) || !picture.Has(colourOffset, colourRow * rows) ||
      !picture.Has(maskOffset, maskRow * rows)) {
    return false;
  }
  const ByteView palette = picture.Sub(paletteOffset, colours * 4);
  // A hot spot off the picture is one no pointer can have: it is pulled
  // onto the nearest edge pixel.
  image = CursorImage{width, height, std::min(hotX, width - 1), std::min(hotY, height - 1),
                      std::vector<uint32_t>(static_cast<size_t>(width) * rows)};
  bool anyAlpha = false;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = picture.At(colourOffset + colourRow * static_cast<size_t>(height - 1 - y));
    const uint8_t* mask = picture.At(maskOffset + maskRow * static_cast<size_t>(height - 1 - y));
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel = XorPixel(row, x, bits, palette);
      if (bits == 32) {
        anyAlpha = anyAlpha || (pixel >> 24) != 0;
      } else {
        const bool transparent = ((mask[x / 8] >> (7 - x % 8)) & 1) != 0;
        pixel |= transparent ? 0u : 0xFF000000u;
      }
      image.argb[static_cast<size_t>(y * width + x)] = pixel;
    }
  }
  // 32-bit pictures without any alpha use their mask.
  if (bits == 32 && !anyAlpha) {
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* mask = picture.At(maskOffset + maskRow * static_cast<size_t>(height - 1 - y));
      for (int32_t x = 0; x < width; ++x) {
        if (((mask[x / 8] >> (7 - x % 8)) & 1) == 0)
          image.argb[static_cast<size_t>(y * width + x)] |= 0xFF000000u;
      }
    }
  }
  return true;
}

bool ReadIconDirectory(ByteView file, CursorImage& image) {
  if (!file.Has(0, kDirectoryHeader) || file.U16(0) != 0) return false;
  const uint16_t type = file.U16(2);
  if ((type != 1 && type != 2) || file.U16(4) == 0 ||
      !file.Has(kDirectoryHeader, kDirectoryEntry)) {
    return false;
  }
  const size_t entry = kDirectoryHeader;
  const uint32_t size = file.U32(entry + 8);
  const uint32_t offset = file.U32(entry + 12);
  if (!file.Has(offset, size)) return false;
  const int32_t hotX = type == 2 ? file.U16(entry + 4) : 0;
  const int32_t hotY = type == 2 ? file.U16(entry + 6) : 0;
  return ReadPicture(file.Sub(offset, size), hotX, hotY, image);
}

bool IsTag(ByteView view, size_t offset, std::string_view tag) {
  return view.Has(offset, 4) && std::memcmp(view.At(offset), tag.data(), 4) == 0;
}

// The first "icon" chunk of the "fram" list of a RIFF "ACON" file.
bool ReadAnimatedCursor(ByteView file, CursorImage& image) {
  if (!IsTag(file, 0, "RIFF") || !IsTag(file, 8, "ACON")) return false;
  for (size_t offset = 12; file.Has(offset, 8);) {
    const uint32_t size = file.U32(offset + 4);
    if (!file.Has(offset + 8, size)) return false;
    if (IsTag(file, offset, "LIST") && IsTag(file, offset + 8, "fram")) {
      const ByteView list = file.Sub(offset + 12, size >= 4 ? size - 4 : 0);
      for (size_t inner = 0; list.Has(inner, 8);) {
        const uint32_t chunk = list.U32(inner + 4);
        if (!list.Has(inner + 8, chunk)) return false;
        if (IsTag(list, inner, "icon")) return ReadIconDirectory(list.Sub(inner + 8, chunk), image);
        inner += 8 + chunk + (chunk & 1);
      }
      return false;
    }
    offset += 8 + size + (size & 1);
  }
  return false;
}

constexpr int32_t kProgramPictureSize = 32;
constexpr char kEmptyCursorName[] = "emptyCursor.cur";
constexpr uintptr_t kProgramIconId = 1;

// Cursors made from files, by handle.
// Handles are counted, never reused, so that a new cursor is never taken
// for one destroyed before it.
struct FileCursors {
  std::mutex mutex;
  uintptr_t nextHandle = 0x10000;
  std::unordered_map<HCURSOR, std::unique_ptr<CursorImage>> cursors;
};
FileCursors& TheFileCursors() {
  static auto* cursors = new FileCursors;
  return *cursors;
}

}  // namespace

bool ReadCursorFile(const std::vector<uint8_t>& bytes, CursorImage& image) {
  const ByteView file(bytes.data(), bytes.size());
  return ReadAnimatedCursor(file, image) || ReadIconDirectory(file, image);
}

HCURSOR AddCursorImage(std::unique_ptr<CursorImage> image) {
  FileCursors& all = TheFileCursors();
  std::lock_guard lock(all.mutex);
  auto* handle = reinterpret_cast<HCURSOR>(all.nextHandle++);
  all.cursors.emplace(handle, std::move(image));
  return handle;
}

HCURSOR ProgramCursor(LPCSTR name) {
  static const HCURSOR empty = [] {
    auto image = std::make_unique<CursorImage>();
    image->width = image->height = kProgramPictureSize;
    image->argb.assign(kProgramPictureSize * kProgramPictureSize, 0);
    return AddCursorImage(std::move(image));
  }();
  if (IS_INTRESOURCE(name) || strcasecmp(name, kEmptyCursorName) != 0) return nullptr;
  return empty;
}

// The program's icon: a yellow disc with a blue rim on a clear ground.
HICON ProgramIcon(LPCSTR name) {
  static const HCURSOR icon = [] {
    auto image = std::make_unique<CursorImage>();
    image->width = image->height = kProgramPictureSize;
    const int32_t middle = kProgramPictureSize / 2;
    for (int32_t y = 0; y < kProgramPictureSize; ++y) {
      for (int32_t x = 0; x < kProgramPictureSize; ++x) {
        const int32_t d = (x - middle) * (x - middle) + (y - middle) * (y - middle);
        image->argb.push_back(d < 144 ? 0xFFF2C94Cu : d < 225 ? 0xFF2F80EDu : 0u);
      }
    }
    return AddCursorImage(std::move(image));
  }();
  return name == MAKEINTRESOURCEA(kProgramIconId) ? reinterpret_cast<HICON>(icon) : nullptr;
}

bool FileCursorImage(HCURSOR cursor, CursorImage& image) {
  FileCursors& all = TheFileCursors();
  std::lock_guard lock(all.mutex);
  const auto found = all.cursors.find(cursor);
  if (found == all.cursors.end()) return false;
  image = *found->second;
  return true;
}

}  // namespace vpl::platform

using namespace vpl::platform;

HCURSOR LoadCursorFromFileA(LPCSTR fileName) {
  std::ifstream in(ToHostPath(fileName), std::ios::binary);
  if (!in) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  char buffer[4096];
  while (in.read(buffer, sizeof(buffer)) || in.gcount() > 0) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    if (bytes.size() > kLargestFile) break;
  }
  auto image = std::make_unique<CursorImage>();
  if (bytes.size() > kLargestFile || !ReadCursorFile(bytes, *image)) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  return AddCursorImage(std::move(image));
}

BOOL DestroyCursor(HCURSOR cursor) {
  FileCursors& all = TheFileCursors();
  std::lock_guard lock(all.mutex);
  return all.cursors.erase(cursor) != 0 ? TRUE : FALSE;
}
