#include "mm/resources/MMPictureLoader.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/al/ALBytes.h"
#include "mm/drawing/MMPaletteOperations.h"
#include "mm/resources/MMTimestamp.h"

#include <lzo/lzo1x.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kPaletteBytes = 1024;
constexpr int32_t kMaxDimension = 32767;
// LZO1X packs at most about 255 bytes into one, so a larger claim about a
// packed picture's unpacked size is a damaged file, refused before any
// block is allocated for it.
constexpr int64_t kMaxPackingRatio = 256;
constexpr int64_t kPackingAllowance = 1024;

// The block for packed data while the loaders reload referenced pictures.
uint8_t* gScratch = nullptr;
int32_t gScratchSize = 0;

// A may-fail block of size bytes, purging cached items while that frees
// something.
void* AllocatePurging(int32_t size) {
  for (;;) {
    if (void* block = ALAllocate(static_cast<size_t>(size), ALDefaultAllocator, kALMayFail)) {
      return block;
    }
    if (MMResourceCache::PurgeLeastRecentlyUsed() == 0) return nullptr;
  }
}

int32_t RowPitch(int32_t width, int32_t bytesPerPixel) { return (width * bytesPerPixel + 3) & ~3; }

}  // namespace

MMPictureLoader::MMPictureLoader(MMPictureResourceFile* file, uint16_t collectionNumber,
                                 int16_t pictureCount)
    : MMPictureCollection(collectionNumber),
      mCache("picture resource cache", pictureCount),
      mManager(pictureCount, mCache),
      mHelper(this, mCache),
      mFile(file),
      mPictureCount(pictureCount),
      mLargestUnpackedSize(0) {
  // Only pictures that can be read need room in the scratch block.
  for (int16_t i = 0; i < pictureCount; ++i) {
    if (HasConsistentGeometry(i)) {
      mLargestUnpackedSize = std::max(mLargestUnpackedSize, file->GetUnpackedSize(i));
    }
  }
  lzo_init();
}

MMPictureLoader::~MMPictureLoader() {
  mFile->Close(false);
  delete mFile;
  mCache.FreeAll();
}

int32_t MMPictureLoader::GetSubFormat(int16_t item) {
  return (mFile->GetFormat(item) & MMPictureResourceFile::kSubFormatMask) >> 2;
}

int32_t MMPictureLoader::GetBitsPerPixel(int16_t item) {
  return (mFile->GetFormat(item) & MMPictureResourceFile::kEightBit) != 0 ? 8 : 32;
}

bool MMPictureLoader::IsBitmap(int16_t item) {
  return (mFile->GetFormat(item) & MMPictureResourceFile::kEncoded) == 0;
}

int32_t MMPictureLoader::GetStoredSize(int16_t item) const {
  int32_t offset = 0;
  int32_t size = 0;
  return mFile->GetSubfileRange(item, &offset, &size) ? size : 0;
}

int32_t MMPictureLoader::GetBlockSize(int16_t item) const {
  const int32_t unpacked = mFile->GetUnpackedSize(item);
  return unpacked > 0 ? unpacked : GetStoredSize(item);
}

bool MMPictureLoader::HasConsistentGeometry(int16_t item) const {
  const UUPoint size = mFile->GetSize(item);
  const uint8_t format = mFile->GetFormat(item);
  const uint8_t selector = mFile->GetPaletteSelector(item);
  if (item < 0 || item >= mPictureCount || size.mX <= 0 || size.mY <= 0 ||
      size.mX > kMaxDimension || size.mY > kMaxDimension) {
    return false;
  }
  if (selector >= 2 && selector - 2 >= mFile->GetSharedPaletteCount()) return false;
  const int64_t palette = selector == 1 ? kPaletteBytes : 0;
  const int64_t bytesPerPixel = (format & MMPictureResourceFile::kEightBit) != 0 ? 1 : 4;
  const bool encoded = (format & MMPictureResourceFile::kEncoded) != 0;
  const int64_t least = palette + (encoded ? 4 * int64_t{size.mY} + 2
                                           : size.mY * ((size.mX * bytesPerPixel + 3) & ~3));
  const int64_t most = encoded ? palette + MMEncodedImage::kMaxBlockSize : least;
  const int32_t block = GetBlockSize(item);
  const int32_t unpacked = mFile->GetUnpackedSize(item);
  const int64_t stored = GetStoredSize(item);
  return stored > 0 && block >= least && unpacked >= 0 && unpacked <= most &&
         unpacked <= stored * kMaxPackingRatio + kPackingAllowance;
}

bool MMPictureLoader::AllocateItem(int16_t item) {
  // A damaged picture gets an empty block: its read fails and the block is
  // freed, without holding up the other pictures of the reload.
  const int32_t size = HasConsistentGeometry(item) ? GetBlockSize(item) : 0;
  if (!mCache.Allocate(item, static_cast<uint32_t>(size))) return false;
  if (mCache.Lock(item)) return true;
  mCache.Free(item);
  return false;
}

bool MMPictureLoader::LockItem(int16_t item) {
  if (mCache.Lock(item)) return true;
  if (!HasConsistentGeometry(item)) return false;
  mCache.Free(item);
  if (!AllocateItem(item)) return false;
  if (ReadItem(item)) return true;
  mCache.Unlock(item);
  mCache.Free(item);
  return false;
}

bool MMPictureLoader::ReadStored(int16_t item, uint8_t* destination, int32_t size) {
  UURecoverableCDFile& file = mFile->GetFile();
  int32_t offset = 0;
  int32_t stored = 0;
  if (!mFile->GetSubfileRange(item, &offset, &stored) ||
      !file.Seek(offset, kUUSeekFromStart, nullptr)) {
    return false;
  }
  if (mFile->GetUnpackedSize(item) == 0)
    return stored == size && file.Read(destination, static_cast<uint32_t>(stored));
  // The scratch block serves only packed data that fits it.
  const bool useScratch = gScratch != nullptr && stored <= gScratchSize;
  auto* packed = useScratch ? gScratch : static_cast<uint8_t*>(AllocatePurging(stored));
  if (packed == nullptr) return false;
  lzo_uint unpackedSize = static_cast<lzo_uint>(size);
  const bool unpacked = file.Read(packed, static_cast<uint32_t>(stored)) &&
                        lzo1x_decompress_safe(packed, static_cast<lzo_uint>(stored), destination,
                                              &unpackedSize, nullptr) == LZO_E_OK &&
                        unpackedSize == static_cast<lzo_uint>(size);
  if (!useScratch) ALFree(packed);
  return unpacked;
}

bool MMPictureLoader::FixByteOrder(int16_t item, uint8_t* data, int32_t size) {
  if (mFile->GetPaletteSelector(item) == 1) {
    MMSwapPaletteEntries(reinterpret_cast<MMPaletteEntry*>(data), 256);
    data += kPaletteBytes;
    size -= kPaletteBytes;
  }
  const int32_t bytesPerPixel = GetBitsPerPixel(item) / 8;
  if (!IsBitmap(item)) {
    return MMEncodedImage::FixByteOrder(data, std::min(size, MMEncodedImage::kMaxBlockSize),
                                        mFile->GetSize(item).mY, bytesPerPixel);
  }
  if (bytesPerPixel == 4) ALSwapBytes32(data, static_cast<uint32_t>(size / 4));
  return true;
}

bool MMPictureLoader::IsValidEncoded(int16_t item, uint8_t* data, int32_t size) {
  MMEncodedImage image;
  const int32_t paletteBytes = mFile->GetPaletteSelector(item) == 1 ? kPaletteBytes : 0;
  image.mBitsPerPixel = GetBitsPerPixel(item);
  image.mBytesPerPixel = image.mBitsPerPixel / 8;
  image.mFormat = image.mBitsPerPixel == 8 ? kMMFormat8 : kMMFormat32;
  image.mSubFormat = GetSubFormat(item);
  image.mRect = UURect(0, 0, mFile->GetSize(item).mX, mFile->GetSize(item).mY);
  image.SetData(data + paletteBytes, std::min(size - paletteBytes, MMEncodedImage::kMaxBlockSize));
  return image.IsValid();
}

bool MMPictureLoader::ReadItem(int16_t item) {
  auto* data = static_cast<uint8_t*>(mCache.GetAddress(item));
  const int32_t size = GetBlockSize(item);
  bool good = HasConsistentGeometry(item) && ReadStored(item, data, size);
  if (good && mFile->IsSwapped()) good = FixByteOrder(item, data, size);
  if (good && !IsBitmap(item)) good = IsValidEncoded(item, data, size);
  if (!good) {
    std::memset(data, 0, mCache.GetSize(item));
    // One damaged picture must not stop the others from being read.
    mFile->GetFile().SetError(kUUNoError);
  }
  return good;
}

bool MMPictureLoader::LockPixels(int16_t item, bool encoded, uint8_t** pixels,
                                 const MMPalette** palette) {
  if (item < 0 || item >= mPictureCount || IsBitmap(item) == encoded || !LockItem(item)) {
    return false;
  }
  uint8_t* data = static_cast<uint8_t*>(mCache.GetAddress(item));
  const uint8_t selector = mFile->GetPaletteSelector(item);
  const MMPalette* found = nullptr;
  if (selector == 1) {
    found = reinterpret_cast<const MMPalette*>(data);
    data += kPaletteBytes;
  } else if (selector >= 2) {
    found = mFile->GetSharedPalette(selector - 2);
  }
  if (palette != nullptr) *palette = found;
  *pixels = data;
  return true;
}

// Both forms share the description of the picture.
static void Describe(MMImageDescription* description, const MMPictureLoader& loader, int16_t item,
                     int32_t bits, int32_t subFormat) {
  const UUPoint size = loader.GetFile()->GetSize(item);
  description->mBitsPerPixel = bits;
  description->mBytesPerPixel = bits / 8;
  description->mFormat = bits == 8 ? kMMFormat8 : kMMFormat32;
  description->mSubFormat = subFormat;
  description->mRect = UURect(0, 0, size.mX, size.mY);
}

bool MMPictureLoader::LockBitmap(int16_t item, MMBitmap* bitmap, const MMPalette** palette) {
  uint8_t* pixels = nullptr;
  if (!LockPixels(item, false, &pixels, palette)) return false;
  Describe(bitmap, *this, item, GetBitsPerPixel(item), GetSubFormat(item));
  bitmap->mPixels = pixels;
  bitmap->mPitch = RowPitch(bitmap->GetWidth(), bitmap->mBytesPerPixel);
  return true;
}

bool MMPictureLoader::LockEncoded(int16_t item, MMEncodedImage* image, const MMPalette** palette) {
  uint8_t* data = nullptr;
  if (!LockPixels(item, true, &data, palette)) return false;
  Describe(image, *this, item, GetBitsPerPixel(item), GetSubFormat(item));
  const int32_t paletteBytes = mFile->GetPaletteSelector(item) == 1 ? kPaletteBytes : 0;
  image->SetData(data, std::min(GetBlockSize(item) - paletteBytes, MMEncodedImage::kMaxBlockSize));
  return true;
}

void MMPictureLoader::EndLoadReferenced(bool success) {
  if (mLargestUnpackedSize > 0) {
    gScratch = static_cast<uint8_t*>(AllocatePurging(mLargestUnpackedSize));
    gScratchSize = gScratch != nullptr ? mLargestUnpackedSize : 0;
  }
  mHelper.EndLoadReferenced(success);
  if (gScratch != nullptr) ALFree(gScratch);
  gScratch = nullptr;
  gScratchSize = 0;
}

bool MMOpenPictureFileInfo(const UUDirectory& directory, const char* name, bool keepNames,
                           MMPictureFileInfo* info) {
  auto* file = new (ALGlobalAllocator) MMPictureResourceFile();
  if (!file->Open(directory, name, keepNames, false)) {
    file->Close(false);
    delete file;
    return false;
  }
  MMCheckTimestamp(file->GetKindCode(), file->GetCollectionNumber(), file->GetStamp1(),
                   file->GetStamp2());
  info->mFile = file;
  info->mCollectionNumber = static_cast<uint16_t>(file->GetCollectionNumber());
  info->mPictureCount = file->GetSubfileCount();
  return true;
}

MMPictureLoader* MMOpenPictureFile(const UUDirectory& directory, const char* name, bool keepNames) {
  MMPictureFileInfo info;
  if (!MMOpenPictureFileInfo(directory, name, keepNames, &info)) return nullptr;
  return new (ALGlobalAllocator)
      MMPictureLoader(info.mFile, info.mCollectionNumber, info.mPictureCount);
}
