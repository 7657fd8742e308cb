#include "mm3d/MM3DTextureLoader.h"

#include "foundation/al/ALAllocator.h"
#include "mm/resources/MMTimestamp.h"
#include "mm3d/MM3DTextureResourceFile.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"
#include "platform/win32/kernel.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int32_t kEntryBytes = MM3DTextureResourceFile::kTexelBytes;

// Palette entries are stored red, green, blue, alpha.
void UnpackPalette(const uint8_t* bytes, int32_t count, MM3DPaletteEntry* palette) {
  for (int32_t k = 0; k < count; ++k) {
    const uint8_t* entry = bytes + k * kEntryBytes;
    palette[k] = MM3DPaletteEntry{entry[0], entry[1], entry[2], entry[3]};
  }
}

}  // namespace

MM3DTextureLoader::MM3DTextureLoader(uint16_t collectionNumber, MM3DTextureResourceFile* file,
                                     int16_t textureCount)
    : MM3DTextureCollection(collectionNumber), mFile(file), mTextureCount(textureCount) {}

MM3DTextureLoader::~MM3DTextureLoader() {
  mFile->Close(false);
  mFile->CloseIfOpen();
  delete mFile;
}

UUPoint MM3DTextureLoader::GetSize(int16_t i) { return mFile->GetSize(i); }

int32_t MM3DTextureLoader::GetPaletteCount(int16_t i) {
  return mFile->IsTrueColor(i) ? 0 : mFile->GetPaletteCount(i);
}

bool MM3DTextureLoader::IsOpaque(int16_t i) { return !mFile->HasAlpha(i); }

int32_t MM3DTextureLoader::GetBitsPerPixel(int16_t i) { return mFile->IsTrueColor(i) ? 32 : 8; }

uint16_t MM3DTextureLoader::FindByName(const char* name) {
  char buffer[kMM3DTextureNameCapacity];
  for (int16_t i = 0; i < mTextureCount; ++i) {
    if (lstrcmpiA(GetName(buffer, i), name) == 0) return static_cast<uint16_t>(i);
  }
  return kMM3DTextureNotFound;
}

char* MM3DTextureLoader::GetName(char* buffer, int16_t i) {
  const char* name = mFile->GetSubfileName(i);
  buffer[0] = '\0';
  if (name != nullptr) std::strncat(buffer, name, kMM3DTextureNameCapacity - 1);
  return buffer;
}

bool MM3DTextureLoader::LoadImage(int16_t i, MM3DDriverTextureImage& image) {
  image.Clear();
  if (i < 0 || i >= mTextureCount) return false;
  return ReadTexels(i, image);
}

bool MM3DTextureLoader::ReadTexels(int16_t i, MM3DDriverTextureImage& image) {
  // The subfile must hold the palette and texels before room is made.
  int32_t offset = 0;
  int32_t size = 0;
  if (!mFile->GetSubfileRange(i, &offset, &size) || size < mFile->GetTexelDataSize(i)) {
    return false;
  }
  const UUPoint side = mFile->GetSize(i);
  const bool trueColor = mFile->IsTrueColor(i);
  const int32_t entries = GetPaletteCount(i);
  const auto texelBytes = static_cast<uint32_t>(side.mX * side.mY * (trueColor ? kEntryBytes : 1));
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[texelBytes]);
  if (block == nullptr) return false;
  uint8_t paletteBytes[kMM3DPaletteSize * kEntryBytes];
  UURecoverableCDFile& file = mFile->GetFile();
  int32_t position = 0;
  if (!file.Seek(offset, kUUSeekFromStart, &position)) return false;
  if (!file.Read(paletteBytes, static_cast<uint32_t>(entries * kEntryBytes))) return false;
  if (!file.Read(block.get(), texelBytes)) return false;
  const uint8_t opaque = mFile->HasAlpha(i) ? 0 : 1;
  if (trueColor) {
    image.SetPixels(side.mX, side.mY, std::move(block), opaque);
  } else {
    MM3DPaletteEntry palette[kMM3DPaletteSize];
    UnpackPalette(paletteBytes, entries, palette);
    image.SetPalettedPixels(side.mX, side.mY, std::move(block), entries, palette, opaque);
  }
  return true;
}

MM3DTextureLoader* MM3DOpenTextureResourceFile(const UUDirectory& directory, const char* name,
                                               bool) {
  auto* file = new (ALGlobalAllocator) MM3DTextureResourceFile();
  if (!file->Open(directory, name, true, false)) {
    file->Close(false);
    delete file;
    return nullptr;
  }
  MMCheckTimestamp(file->GetKindCode(), file->GetCollectionNumber(), file->GetStamp1(),
                   file->GetStamp2());
  return new (ALGlobalAllocator) MM3DTextureLoader(
      static_cast<uint16_t>(file->GetCollectionNumber()), file, file->GetSubfileCount());
}
