// Reads the input as a BMP file into a device-independent bitmap and works
// it over (every row, a quarter turn, a mirror, rendering into small 32-
// and 8-bit surfaces); then hands the same bytes, once the file is seen to
// hold what its header describes, to the platform's decoding; and reads the
// same file through the picture importer, whose own checks come first.
//
// Pictures whose header claims more than kMaxPixels are skipped: the
// program allocates them as it should, but a run-length file of a few
// bytes may describe a gigabyte of rows, which only tests the fuzzer's
// memory limit.

#include "app/shell/CDib.h"
#include "app/shell/VPLPictureImport.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "platform/win32/gdi.h"
#include "tests/fuzz/FuzzInputFile.h"
#include "tests/fuzz/StringListScript.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* kFileName = "vplbmp-fuzz-input.bmp";
constexpr int64_t kMaxPixels = int64_t{1} << 18;
constexpr size_t kFileHeader = 14;
constexpr int32_t kSurfaceSide = 24;

uint32_t Le(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | at[i];
  return value;
}

// Width and height as the picture importer reads them: 16-bit unsigned
// after a core header, 32-bit signed after a 40-byte one.
bool PictureSize(const uint8_t* data, size_t size, int64_t& width, int64_t& height) {
  if (size < kFileHeader + 12 || data[0] != 'B' || data[1] != 'M') return false;
  const uint32_t headerSize = Le(data + kFileHeader, 4);
  if (headerSize == 12) {
    width = Le(data + 18, 2);
    height = Le(data + 20, 2);
    return true;
  }
  if (headerSize != 40 || size < kFileHeader + 40) return false;
  width = static_cast<int32_t>(Le(data + 18, 4));
  height = static_cast<int32_t>(Le(data + 22, 4));
  return true;
}

// Colours all over the cube, so that the 8-bit surface's colour look-ups
// end near where they start.
AFPalette SpreadPalette() {
  AFPalette palette;
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    palette.mEntries[i] = AFPaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7),
                                         static_cast<uint8_t>(i * 13), 0};
  }
  return palette;
}

void WorkTheBitmapOver(CDib& dib) {
  static const AFPalette kPalette = SpreadPalette();
  std::vector<unsigned char> row(static_cast<size_t>(dib.GetUnpackedRowLength()));
  for (int32_t y = 0; y < dib.GetHeight(); ++y) dib.GetRow(y, row.data());
  dib.Rotate(90);
  dib.MirrorHorizontal();
  for (int32_t bits : {32, 8}) {
    std::unique_ptr<WinMMOffscreenSurface> surface(
        WinMMCreateOffscreenSurface(bits, UURect(0, 0, kSurfaceSide, kSurfaceSide), kPalette));
    if (surface) dib.DrawInto(*surface, UURect(-3, 2, kSurfaceSide + 5, kSurfaceSide - 4));
  }
}

void ReadAsBitmap(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  const std::string path = std::string(directory.Text()) + kFileName;
  std::unique_ptr<CDib> dib(CDibReadFile(path.c_str()));
  if (dib) WorkTheBitmapOver(*dib);
}

// The bytes StretchDIBits reads after the header: the colour table, and
// the rows (all of them, or the image size of run-length rows).
bool HoldsWhatTheHeaderSays(const uint8_t* data, size_t size, int64_t width, int64_t height) {
  const uint32_t headerSize = Le(data + kFileHeader, 4);
  const bool core = headerSize == 12;
  const uint32_t bits = Le(data + kFileHeader + (core ? 10 : 14), 2);
  const uint32_t compression = core ? 0 : Le(data + kFileHeader + 16, 4);
  const uint32_t colorsUsed = core ? 0 : Le(data + kFileHeader + 32, 4);
  const uint64_t entries = bits > 8 ? 3 : colorsUsed != 0 ? colorsUsed : uint64_t{1} << bits;
  const uint64_t tableEnd = kFileHeader + headerSize + entries * (core ? 3 : 4);
  const uint64_t offset = Le(data + 10, 4);
  const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
  const uint64_t rows = compression == 1 || compression == 2
                            ? Le(data + kFileHeader + 20, 4)
                            : stride * static_cast<uint64_t>(height < 0 ? -height : height);
  return bits <= 32 && tableEnd <= size && offset <= size && rows <= size - offset;
}

void DecodeOnThePlatform(const uint8_t* data, size_t size, int64_t width, int64_t height) {
  if (!HoldsWhatTheHeaderSays(data, size, width, height)) return;
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kSurfaceSide;
  info.bmiHeader.biHeight = kSurfaceSide;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, section);
  // The whole picture, squeezed into the surface as the importer does.
  const auto w = static_cast<int>(width);
  const auto h = static_cast<int>(height < 0 ? -height : height);
  StretchDIBits(dc, 0, 0, kSurfaceSide, kSurfaceSide, 0, 0, w, h, data + Le(data + 10, 4),
                reinterpret_cast<const BITMAPINFO*>(data + kFileHeader), DIB_RGB_COLORS, SRCCOPY);
  SelectObject(dc, previous);
  DeleteObject(section);
  DeleteDC(dc);
}

// The importer takes the file by its extension from the string list.
void ImportAsPicture(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterPictureExtensions(), true);
  (void)registered;
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  VPLLoadPictureToFit(directory, kFileName, UURect(0, 0, kSurfaceSide, kSurfaceSide));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int64_t width = 0, height = 0;
  const bool sized = PictureSize(data, size, width, height);
  if (sized && width * (height < 0 ? -height : height) > kMaxPixels) return 0;
  ReadAsBitmap(data, size);
  if (sized) DecodeOnThePlatform(data, size, width, height);
  ImportAsPicture(data, size);
  return 0;
}
