#include "app/shell/VPLPictureImport.h"

#include "app/objects/VPLStringList.h"
#include "app/shell/MMResampleArea.h"
#include "app/shell/VPLBmpCheck.h"
#include "app/shell/VPLPictureFiles.h"
#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "platform/win32/gdi.h"

#include <strings.h>

#include <cstring>
#include <memory>

namespace {

constexpr int32_t kDepth = 32;
constexpr size_t kFileHeaderSize = 14;

struct FreeBlock {
  void operator()(void* block) const { ALFree(block); }
};
using FileBytes = std::unique_ptr<uint8_t, FreeBlock>;

bool EndsWith(const char* name, const char* extension) {
  const size_t length = std::strlen(extension);
  const size_t nameLength = std::strlen(name);
  return length > 0 && nameLength >= length &&
         strcasecmp(name + nameLength - length, extension) == 0;
}

// The picture's own size, or its fit in the target when it is larger; at
// the origin either way.
UURect FittedRect(int32_t width, int32_t height, const UURect& target) {
  UURect rect(0, 0, width, height);
  if (width > target.GetWidth() || height > target.GetHeight()) {
    rect = VPLFitPictureRect(rect, target);
  }
  return UURect(0, 0, rect.GetWidth(), rect.GetHeight());
}

UUOwned<MMSurface> MakeSurface(const UURect& rect) {
  return UUOwned<MMSurface>(WinMMCreateOffscreenSurface(kDepth, rect, AFPalette()));
}

// White under the picture, then the whole image scaled into the surface.
void DrawScaled(MMSurface& surface, const MMBitmap& image) {
  surface.FillRect(surface.GetRect(), AFColor(AFRGB(255, 255, 255)));
  surface.BeginDraw();
  MMBitmap destination;
  if (surface.GetImageDescription(destination)) MMResampleArea32(image, destination);
  surface.EndDraw();
}

UUOwned<MMSurface> LoadJpeg(const UUDirectory& directory, const char* fileName,
                            const UURect& target) {
  char path[kUUPathCapacity];
  if (!UUMakeFilePath(path, directory, fileName)) return {};
  UUOwned<MMBitmapWithPixels> bitmap(VPLReadJpegFileToFit(path, target.GetSize()));
  if (bitmap.Get() == nullptr) return {};
  UUOwned<MMSurface> surface =
      MakeSurface(FittedRect(bitmap->GetWidth(), bitmap->GetHeight(), target));
  if (surface.Get() != nullptr) DrawScaled(*surface, *bitmap);
  return surface;
}

FileBytes ReadWholeFile(const UUDirectory& directory, const char* fileName, size_t& size) {
  int32_t fileSize = 0;
  if (!UUGetFileSize(directory, fileName, fileSize) || fileSize < 0) return {};
  size = static_cast<size_t>(fileSize);
  FileBytes bytes(static_cast<uint8_t*>(ALAllocate(size + 1, ALGlobalAllocator, kALMayFail)));
  UUFile file(directory, fileName, kUUFileRead, UUFileOptions());
  if (bytes == nullptr || !file.IsOpen() || !file.Read(bytes.get(), static_cast<uint32_t>(size))) {
    return {};
  }
  return bytes;
}

// The platform decodes every depth and run-length form into the surface.
void Decode(MMSurface& surface, const uint8_t* bytes, const VPLBmpShape& shape) {
  const UURect rect = surface.GetRect();
  surface.BeginDraw();
  StretchDIBits(surface.GetDC(), rect.mLeft, rect.mTop, rect.GetWidth(), rect.GetHeight(), 0, 0,
                shape.mSize.mX, shape.mSize.mY, bytes + shape.mPixelOffset,
                reinterpret_cast<const BITMAPINFO*>(bytes + kFileHeaderSize), DIB_RGB_COLORS,
                SRCCOPY);
  surface.EndDraw();
}

UUOwned<MMSurface> LoadBmp(const UUDirectory& directory, const char* fileName,
                           const UURect& target) {
  size_t size = 0;
  FileBytes bytes = ReadWholeFile(directory, fileName, size);
  VPLBmpShape shape{};
  if (bytes == nullptr || !VPLCheckBmpFile(bytes.get(), size, shape)) return {};
  UUOwned<MMSurface> fitted = MakeSurface(FittedRect(shape.mSize.mX, shape.mSize.mY, target));
  if (fitted.Get() == nullptr) return {};
  UUOwned<MMSurface> full = MakeSurface(UURect(0, 0, shape.mSize.mX, shape.mSize.mY));
  if (full.Get() == nullptr) return fitted;
  Decode(*full, bytes.get(), shape);
  full->BeginDraw();
  MMBitmap image;
  if (full->GetImageDescription(image)) DrawScaled(*fitted, image);
  full->EndDraw();
  return fitted;
}

}  // namespace

UURect VPLFitPictureRect(const UURect& source, const UURect& target) {
  const int32_t sw = source.GetWidth(), sh = source.GetHeight();
  const int32_t tw = target.GetWidth(), th = target.GetHeight();
  if (int64_t{sh} * tw > int64_t{th} * sw) {
    const auto width = static_cast<int16_t>(MulDiv(sw, th, sh));
    const int32_t left = target.mLeft + (tw - width) / 2;
    return UURect(left, target.mTop, left + width, target.mBottom);
  }
  const auto height = static_cast<int16_t>(MulDiv(sh, tw, sw));
  const int32_t top = target.mTop + (th - height) / 2;
  return UURect(target.mLeft, top, target.mRight, top + height);
}

UUOwned<MMSurface> VPLLoadPictureToFit(const UUDirectory& directory, const char* fileName,
                                       const UURect& target) {
  if (fileName == nullptr) return {};
  const VPLStringList strings;
  if (EndsWith(fileName, strings.GetText(kVPLTextJpegExtension))) {
    return LoadJpeg(directory, fileName, target);
  }
  if (EndsWith(fileName, strings.GetText(kVPLTextBmpExtension))) {
    return LoadBmp(directory, fileName, target);
  }
  return {};
}
