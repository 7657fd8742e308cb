// The JPEG writer: a probe that the folder can hold the raw image, the
// pixels turned into packed RGB rows, then the JPEG library's defaults.

#include "app/objects/VPLStringList.h"
#include "app/shell/VPLPictureFiles.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/drawing/MMSurface.h"
#include "platform/win32/kernel.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

constexpr int kRgbComponents = 3;
constexpr char kProbeName[] = "vpljpeg.probe";
constexpr size_t kProbeBlock = 256 * 1024;

// Writes the first row height + 1 times: a folder that takes these bytes
// can take the compressed picture. The rows go out a block at a time.
bool ProbeDisk(const UUDirectory& directory, const MMBitmap& bitmap) {
  const auto rowBytes = static_cast<size_t>(std::abs(bitmap.mPitch));
  const size_t rowsPerBlock = rowBytes == 0 ? 1 : std::max<size_t>(1, kProbeBlock / rowBytes);
  const uint8_t* row = bitmap.GetPixelAddress(bitmap.mRect.mLeft, bitmap.mRect.mTop);
  std::vector<uint8_t> block;
  for (size_t i = 0; i < rowsPerBlock; ++i) block.insert(block.end(), row, row + rowBytes);
  bool written = false;
  {
    UUFile probe(directory, kProbeName, kUUFileCreate, UUFileOptions());
    written = probe.IsOpen();
    for (size_t left = static_cast<size_t>(bitmap.GetHeight()) + 1; written && left > 0;) {
      const size_t rows = std::min(left, rowsPerBlock);
      written = probe.Write(block.data(), static_cast<uint32_t>(rows * rowBytes));
      left -= rows;
    }
    written = probe.Close() && written;
  }
  UUDeleteFile(directory, kProbeName);
  return written;
}

size_t PackedRowBytes(const MMBitmap& bitmap) {
  return static_cast<size_t>(bitmap.GetWidth()) * kRgbComponents;
}

// Blue, green, red, fourth byte becomes red, green, blue.
void ConvertToRgb(const MMBitmap& bitmap, uint8_t* rgb) {
  for (int32_t y = bitmap.mRect.mTop; y < bitmap.mRect.mBottom; ++y) {
    const uint8_t* in = bitmap.GetPixelAddress(bitmap.mRect.mLeft, y);
    for (int32_t x = 0; x < bitmap.GetWidth(); ++x, in += 4, rgb += kRgbComponents) {
      rgb[0] = in[2];
      rgb[1] = in[1];
      rgb[2] = in[0];
    }
  }
}

// The library's errors while compressing come back here instead of ending
// the process.
struct JpegWriteErrors {
  jpeg_error_mgr manager;
  std::jmp_buf recovery;
};

[[noreturn]] void JumpToRecovery(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegWriteErrors*>(info->err)->recovery, 1);
}

// Only plain C objects live between the recovery point and the jump.
bool Compress(const MMBitmap& bitmap, const uint8_t* rgb, const char* path) {
  jpeg_compress_struct info{};
  JpegWriteErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = JumpToRecovery;
  std::FILE* volatile file = nullptr;
  if (setjmp(errors.recovery) != 0) {
    jpeg_destroy_compress(&info);
    if (file != nullptr) std::fclose(file);
    return false;
  }
  jpeg_create_compress(&info);
  file = _fsopen(path, "wb", _SH_DENYNO);
  if (file == nullptr) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(bitmap.GetWidth());
  info.image_height = static_cast<JDIMENSION>(bitmap.GetHeight());
  info.input_components = kRgbComponents;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPROW>(rgb + info.next_scanline * PackedRowBytes(bitmap));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  const bool flushed = std::ferror(file) == 0;
  const bool closed = std::fclose(file) == 0;
  jpeg_destroy_compress(&info);
  return flushed && closed;
}

}  // namespace

bool VPLWriteJpegFile(const MMBitmap& bitmap, const char* path) {
  UUDirectory directory;
  char name[kUUPathCapacity];
  if (bitmap.mBitsPerPixel != 32 || bitmap.mPixels == nullptr ||
      !UUSplitFilePath(path, directory, name) || !ProbeDisk(directory, bitmap)) {
    return false;
  }
  // Rows of 3 x width rounded up to 4 bytes, as the library's examples
  // reserve them.
  const size_t bufferSize =
      (PackedRowBytes(bitmap) + 3) / 4 * 4 * static_cast<size_t>(bitmap.GetHeight());
  auto* rgb = static_cast<uint8_t*>(ALAllocate(bufferSize, ALGlobalAllocator, kALMayFail));
  if (rgb == nullptr) {
    VPLAlertStringListText(kVPLTextOutOfMemory);
    return false;
  }
  ConvertToRgb(bitmap, rgb);
  const bool written = Compress(bitmap, rgb, path);
  ALFree(rgb);
  return written;
}

bool VPLSaveJpegPicture(MMSurface* surface, const UUDirectory& directory, const char* fileName) {
  if (surface == nullptr) return false;
  char path[kUUPathCapacity];
  surface->BeginDraw();
  MMBitmap bitmap;
  const bool written = surface->GetImageDescription(bitmap) &&
                       UUMakeFilePath(path, directory, fileName) && VPLWriteJpegFile(bitmap, path);
  surface->EndDraw();
  return written;
}

bool VPLSavePicture(int32_t type, MMSurface* surface, const UUDirectory& directory,
                    const char* fileName) {
  if (type == kVPLPictureBmp) return VPLWriteBmpFile(surface, directory, fileName);
  if (type != kVPLPictureJpeg) return false;
  if (VPLSaveJpegPicture(surface, directory, fileName)) return true;
  // The JPEG goes straight to its name; what a failure left is removed.
  UUDeleteFile(directory, fileName);
  return false;
}
