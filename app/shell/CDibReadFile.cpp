// Reading BMP files into DIB blocks. Every header field is checked against
// the file and the block before anything is read, so a damaged or hostile
// file gives null and nothing is read past the file or written past the
// block.
#include "app/shell/CDib.h"
#include "app/shell/JPEGImporter.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr int32_t kMaxSide = 32767;

uint32_t Le32(const unsigned char* at) {
  return static_cast<uint32_t>(at[0] | at[1] << 8 | at[2] << 16) | static_cast<uint32_t>(at[3])
                                                                       << 24;
}

bool SoundHeader(const BITMAPINFOHEADER& h) {
  const bool depth = h.biBitCount == 1 || h.biBitCount == 4 || h.biBitCount == 8 ||
                     h.biBitCount == 16 || h.biBitCount == 24 || h.biBitCount == 32;
  const bool compression = h.biCompression == BI_RGB ||
                           (h.biCompression == BI_RLE8 && h.biBitCount == 8) ||
                           (h.biCompression == BI_RLE4 && h.biBitCount == 4) ||
                           (h.biCompression == BI_BITFIELDS && h.biBitCount >= 16);
  return h.biSize == kCDibHeaderBytes && depth && compression && h.biWidth >= 1 &&
         h.biWidth <= kMaxSide && h.biHeight >= 1 && h.biHeight <= kMaxSide;
}

bool RunLength(const BITMAPINFOHEADER& h) {
  return h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
}

// A global block, locked while this lives, freed unless released.
class GlobalBlock {
 public:
  explicit GlobalBlock(size_t bytes) : mHandle(GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (mHandle != nullptr) mAddress = static_cast<unsigned char*>(GlobalLock(mHandle));
  }
  ~GlobalBlock() {
    if (mHandle == nullptr) return;
    GlobalUnlock(mHandle);
    GlobalFree(mHandle);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;

  unsigned char* Address() const { return mAddress; }
  HGLOBAL Release() {
    GlobalUnlock(mHandle);
    return std::exchange(mHandle, nullptr);
  }

 private:
  HGLOBAL mHandle;
  unsigned char* mAddress = nullptr;
};

// Run-length rows are expanded by the platform: set into a DIB section of
// the same header without compression, whose rows then replace them.
bool ExpandRunLength(unsigned char* block) {
  BITMAPINFOHEADER header{};
  std::memcpy(&header, block, sizeof header);
  const size_t tableBytes = CDibColorTableBytes(header.biBitCount);
  std::unique_ptr<unsigned char[]> info(new unsigned char[kCDibHeaderBytes + tableBytes]);
  std::memcpy(info.get(), block, kCDibHeaderBytes + tableBytes);
  BITMAPINFOHEADER plain = header;
  plain.biCompression = BI_RGB;
  plain.biSizeImage = 0;
  std::memcpy(info.get(), &plain, sizeof plain);
  HDC dc = CreateCompatibleDC(nullptr);
  HPALETTE palette = CDibCreatePalette(block);
  HPALETTE previous = palette != nullptr ? SelectPalette(dc, palette, FALSE) : nullptr;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(info.get()), DIB_RGB_COLORS,
                                     &bits, nullptr, 0);
  const bool set =
      section != nullptr &&
      SetDIBits(dc, section, 0, static_cast<UINT>(header.biHeight), CDibBitsAddress(block),
                reinterpret_cast<BITMAPINFO*>(block), DIB_RGB_COLORS) == header.biHeight;
  if (palette != nullptr) {
    SelectPalette(dc, previous, FALSE);
    DeleteObject(palette);
  }
  GdiFlush();
  if (set) {
    std::memcpy(
        CDibBitsAddress(block), bits,
        CDibRowBytes(header.biWidth, header.biBitCount) * static_cast<size_t>(header.biHeight));
    std::memcpy(block, &plain, sizeof plain);
  }
  if (section != nullptr) DeleteObject(section);
  DeleteDC(dc);
  return set;
}

bool IsJpegName(const char* name) {
  char extension[kUUPathCapacity];
  UUGetExtension(name, extension);
  return lstrcmpiA(extension, "jpg") == 0 || lstrcmpiA(extension, "pst") == 0;
}

// Reads the rest of the file after its header into a block; null for a
// file that does not hold what its header says.
HGLOBAL ReadBlock(UUFile& file, int32_t fileSize, uint32_t pixelOffset) {
  unsigned char info[kCDibHeaderBytes];
  if (!file.Read(info, sizeof info)) return nullptr;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, info, sizeof header);
  if (!SoundHeader(header)) return nullptr;
  const size_t tableBytes = CDibColorTableBytes(header.biBitCount);
  const size_t rowArea =
      CDibRowBytes(header.biWidth, header.biBitCount) * static_cast<size_t>(header.biHeight);
  const size_t stored = RunLength(header) ? header.biSizeImage : rowArea;
  const auto size = static_cast<size_t>(fileSize);
  if (stored > rowArea || pixelOffset > size || stored > size - pixelOffset) return nullptr;
  GlobalBlock block(kCDibHeaderBytes + tableBytes + rowArea);
  if (block.Address() == nullptr) return nullptr;
  std::memset(block.Address(), 0, kCDibHeaderBytes + tableBytes + rowArea);
  std::memcpy(block.Address(), info, sizeof info);
  // A file with fewer colours than the depth allows holds a shorter table:
  // what lies before the rows is read, the rest of the table stays black.
  const size_t tableEnd = kFileHeaderBytes + kCDibHeaderBytes;
  const size_t tableRead =
      pixelOffset >= tableEnd ? std::min(tableBytes, pixelOffset - tableEnd) : tableBytes;
  if (!file.Read(block.Address() + kCDibHeaderBytes, static_cast<uint32_t>(tableRead)) ||
      !file.Seek(static_cast<int32_t>(pixelOffset), kUUSeekFromStart, nullptr) ||
      !file.Read(CDibBitsAddress(block.Address()), static_cast<uint32_t>(stored))) {
    return nullptr;
  }
  if (RunLength(header) && !ExpandRunLength(block.Address())) return nullptr;
  return block.Release();
}

}  // namespace

CDib* CDibReadFile(const char* path) {
  UUDirectory directory;
  char name[kUUPathCapacity];
  if (path == nullptr || !UUSplitFilePath(path, directory, name)) return nullptr;
  if (IsJpegName(name)) return JPEGtoCDibImporter().Import(directory, name);
  int32_t fileSize = 0;
  if (!UUGetFileSize(directory, name, fileSize) || fileSize < 0) return nullptr;
  UUFile file(directory, name, kUUFileRead, UUFileOptions());
  unsigned char fileHeader[kFileHeaderBytes];
  if (!file.IsOpen() || !file.Read(fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' ||
      fileHeader[1] != 'M') {
    return nullptr;
  }
  HGLOBAL handle = ReadBlock(file, fileSize, Le32(fileHeader + 10));
  if (handle == nullptr) return nullptr;
  auto dib = std::make_unique<CDib>();
  if (!dib->SetBlockHandle(handle)) return nullptr;
  return dib.release();
}
