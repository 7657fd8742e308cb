// The BMP writer: file header, info header, then the surface's own padded
// rows from the bottom row up, as every viewer reads them.

#include "app/shell/VPLPictureFiles.h"

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/MMSurface.h"
#include "platform/win32/kernel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr uint16_t kSignature = 0x4D42;  // "BM"
// Rows go to the file in blocks of about this many bytes.
constexpr size_t kWriteBlock = 64 * 1024;
constexpr char kTemporarySuffix[] = ".tmp";

class HeaderBytes {
 public:
  void U16(uint32_t value) { Number(value, 2); }
  void U32(uint32_t value) { Number(value, 4); }
  const std::vector<uint8_t>& Get() const { return mBytes; }

 private:
  void Number(uint32_t value, int size) {
    for (int i = 0; i < size; ++i) mBytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> mBytes;
};

std::vector<uint8_t> MakeHeaders(const MMBitmap& image, uint32_t rowBytes) {
  const auto height = static_cast<uint32_t>(image.GetHeight());
  HeaderBytes bytes;
  bytes.U16(kSignature);
  bytes.U32(rowBytes * height + kPixelOffset);
  bytes.U16(0);
  bytes.U16(0);
  bytes.U32(kPixelOffset);
  bytes.U32(kInfoHeaderSize);
  bytes.U32(static_cast<uint32_t>(image.GetWidth()));
  bytes.U32(height);
  bytes.U16(1);
  bytes.U16(static_cast<uint32_t>(image.mBitsPerPixel));
  for (int i = 0; i < 6; ++i) bytes.U32(0);  // no compression, sizes, resolutions, colours
  return bytes.Get();
}

// No colour table is written, so only direct-colour images can be stored;
// the file's size must fit its 32-bit field.
bool IsWritable(const MMBitmap& image) {
  const uint64_t fileSize = uint64_t{static_cast<uint32_t>(std::abs(image.mPitch))} *
                                static_cast<uint32_t>(std::max(image.GetHeight(), 0)) +
                            kPixelOffset;
  return (image.mBitsPerPixel == 24 || image.mBitsPerPixel == 32) && image.GetWidth() > 0 &&
         image.GetHeight() > 0 && image.mPixels != nullptr && fileSize <= UINT32_MAX;
}

bool WriteRows(UUFile& file, const MMBitmap& image, uint32_t rowBytes) {
  std::vector<uint8_t> block;
  block.reserve(std::max<size_t>(kWriteBlock, rowBytes));
  for (int32_t y = image.mRect.mBottom - 1; y >= image.mRect.mTop; --y) {
    const uint8_t* row = image.GetPixelAddress(image.mRect.mLeft, y);
    block.insert(block.end(), row, row + rowBytes);
    if (block.size() + rowBytes > block.capacity() || y == image.mRect.mTop) {
      if (!file.Write(block.data(), static_cast<uint32_t>(block.size()))) return false;
      block.clear();
    }
  }
  return true;
}

bool WriteImage(const UUDirectory& directory, const char* name, const MMBitmap& image) {
  const auto rowBytes = static_cast<uint32_t>(std::abs(image.mPitch));
  const std::vector<uint8_t> headers = MakeHeaders(image, rowBytes);
  UUFile file(directory, name, kUUFileCreate, UUFileOptions());
  return file.IsOpen() && file.Write(headers.data(), static_cast<uint32_t>(headers.size())) &&
         WriteRows(file, image, rowBytes) && file.FlushToDisk() && file.Close();
}

bool MoveIntoPlace(const UUDirectory& directory, const char* from, const char* to) {
  char fromPath[kUUPathCapacity];
  char toPath[kUUPathCapacity];
  return UUMakeFilePath(fromPath, directory, from) && UUMakeFilePath(toPath, directory, to) &&
         MoveFileExA(fromPath, toPath, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

bool VPLWriteBmpFile(MMSurface* surface, const UUDirectory& directory, const char* fileName) {
  if (surface == nullptr || fileName == nullptr) return false;
  const std::string temporary = std::string(fileName) + kTemporarySuffix;
  surface->BeginDraw();
  MMBitmap image;
  const bool written = surface->GetImageDescription(image) && IsWritable(image) &&
                       WriteImage(directory, temporary.c_str(), image);
  surface->EndDraw();
  if (written && MoveIntoPlace(directory, temporary.c_str(), fileName)) return true;
  UUDeleteFile(directory, temporary.c_str());
  return false;
}
