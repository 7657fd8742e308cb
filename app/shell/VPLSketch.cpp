#include "app/shell/VPLSketch.h"

#include "app/shell/VPLSafeFile.h"
#include "foundation/uu/UUFile.h"

#include <cstring>

namespace {

constexpr int16_t kMaxBytesPerPixel = 4;

bool ReadSignature(UURandomAccessStream& stream) {
  char bytes[kVPLSketchSignatureSize];
  return stream.Read(bytes, kVPLSketchSignatureSize) &&
         std::memcmp(bytes, kVPLSketchSignature, kVPLSketchSignatureSize) == 0;
}

// The bytes from the current position to the end; the position stays.
int64_t BytesLeft(UURandomAccessStream& stream) {
  int32_t here = 0;
  int32_t end = 0;
  if (!stream.Seek(0, FILE_CURRENT, &here) || !stream.Seek(0, FILE_END, &end) ||
      !stream.Seek(here, FILE_BEGIN, nullptr)) {
    return -1;
  }
  return static_cast<int64_t>(end) - here;
}

bool SizesMakeSense(const VPLSketchHeader& header, int64_t bytesLeft) {
  if (header.mWidth < 1 || header.mHeight < 1) return false;
  if (header.mBytesPerPixel < 1 || header.mBytesPerPixel > kMaxBytesPerPixel) return false;
  return int64_t{header.mWidth} * header.mHeight * header.mBytesPerPixel <= bytesLeft;
}

int64_t ThumbnailBytes(const VPLSketchHeader& header) {
  return int64_t{header.mWidth} * header.mHeight * header.mBytesPerPixel;
}

bool Fits(const VPLSketchHeader& header, const MMBitmap& bitmap) {
  return header.mWidth == bitmap.GetWidth() && header.mHeight == bitmap.GetHeight() &&
         header.mBytesPerPixel == bitmap.mBytesPerPixel && bitmap.mPixels != nullptr;
}

bool WriteThumbnail(UURandomAccessStream& stream, const MMBitmap& thumbnail) {
  const int32_t width = thumbnail.GetWidth();
  const int32_t height = thumbnail.GetHeight();
  if (width < 1 || height < 1 || width > INT16_MAX || height > INT16_MAX) return false;
  if (thumbnail.mPixels == nullptr) return false;
  const int16_t sizes[3] = {static_cast<int16_t>(width), static_cast<int16_t>(height),
                            static_cast<int16_t>(thumbnail.mBytesPerPixel)};
  bool written = stream.WriteInt16s(sizes, 3);
  const auto rowBytes = static_cast<uint32_t>(width * thumbnail.mBytesPerPixel);
  if (thumbnail.mPitch == static_cast<int32_t>(rowBytes)) {
    // Rows without padding go out in one write.
    const uint8_t* top = thumbnail.GetPixelAddress(thumbnail.mRect.mLeft, thumbnail.mRect.mTop);
    return written && stream.Write(top, rowBytes * static_cast<uint32_t>(height));
  }
  for (int32_t row = 0; written && row < height; ++row) {
    const int32_t y = thumbnail.mRect.mTop + row;
    written = stream.Write(thumbnail.GetPixelAddress(thumbnail.mRect.mLeft, y), rowBytes);
  }
  return written;
}

}  // namespace

bool VPLReadSketchHeader(UURandomAccessStream& stream, VPLSketchHeader& header) {
  VPLSketchHeader read;
  uint8_t flag = 0;
  int16_t sizes[3] = {};
  if (!stream.Seek(0, FILE_BEGIN, nullptr) || !stream.ReadInt32s(&read.mCreationTime, 1) ||
      !ReadSignature(stream) || !stream.Read(&flag, 1) || !stream.ReadInt16s(sizes, 3)) {
    return false;
  }
  read.mHasCreation = flag != 0;
  read.mWidth = sizes[0];
  read.mHeight = sizes[1];
  read.mBytesPerPixel = sizes[2];
  if (!SizesMakeSense(read, BytesLeft(stream))) return false;
  header = read;
  return true;
}

bool VPLIsSketchFile(const UUDirectory& directory, const char* name, int32_t* creationTime) {
  UUFile file(directory, name);
  int32_t time = 0;
  if (!file.IsOpen() || !file.ReadInt32s(&time, 1) || !ReadSignature(file)) return false;
  if (creationTime != nullptr) *creationTime = time;
  return true;
}

bool VPLWriteSketch(UURandomAccessStream& stream, int32_t creationTime, VPLSketchCreation* creation,
                    const MMBitmap& thumbnail) {
  const uint8_t flag = creation != nullptr ? 1 : 0;
  return stream.WriteInt32s(&creationTime, 1) &&
         stream.Write(kVPLSketchSignature, kVPLSketchSignatureSize) && stream.Write(&flag, 1) &&
         WriteThumbnail(stream, thumbnail) && (creation == nullptr || creation->Write(stream));
}

VPLSketch::VPLSketch(const UUDirectory& directory, const char* fileName) {
  Rename(directory, fileName);
  UUFile file(mDirectory, mFileName);
  int32_t time = 0;
  if (file.IsOpen() && file.ReadInt32s(&time, 1)) mCreationTime = time;
}

VPLSketch::VPLSketch(const UUDirectory& directory, const char* fileName, int32_t creationTime)
    : mCreationTime(creationTime) {
  Rename(directory, fileName);
}

void VPLSketch::Rename(const UUDirectory& directory, const char* fileName) {
  mDirectory.Assign(directory);
  const size_t length = strnlen(fileName, kUUPathCapacity - 1);
  std::memcpy(mFileName, fileName, length);
  mFileName[length] = '\0';
}

bool VPLSketch::Write(VPLSketchCreation* creation, const MMBitmap& thumbnail) {
  VPLSafeFile file(mDirectory);
  return VPLWriteSketch(file.Stream(), mCreationTime, creation, thumbnail) &&
         file.Replace(mFileName);
}

bool VPLSketch::ReadCreation(VPLSketchCreation& creation) const {
  UUFile file(mDirectory, mFileName);
  VPLSketchHeader header;
  if (!file.IsOpen() || !VPLReadSketchHeader(file, header) || !header.mHasCreation) return false;
  const auto skip = static_cast<int32_t>(ThumbnailBytes(header));
  return file.Seek(skip, FILE_CURRENT, nullptr) && creation.Read(file);
}

bool VPLSketch::ReadThumbnail(MMBitmap& thumbnail) const {
  UUFile file(mDirectory, mFileName);
  VPLSketchHeader header;
  if (!file.IsOpen() || !VPLReadSketchHeader(file, header) || !Fits(header, thumbnail)) {
    return false;
  }
  const auto rowBytes = static_cast<uint32_t>(header.mWidth * header.mBytesPerPixel);
  bool read = true;
  for (int32_t row = 0; read && row < header.mHeight; ++row) {
    const int32_t y = thumbnail.mRect.mTop + row;
    read = file.Read(thumbnail.GetPixelAddress(thumbnail.mRect.mLeft, y), rowBytes);
  }
  return read;
}
