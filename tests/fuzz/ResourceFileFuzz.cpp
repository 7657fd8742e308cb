// Opens the input as a resource file and reads everything in it: every
// subfile of the container, and every picture in both of its forms.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/MMGenericResourceFile.h"
#include "mm/MMPictureLoader.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* kFileName = "vplres-fuzz-input.mmp";

UUDirectory TempDirectory() {
  UUDirectory directory;
  UUGetTempDirectory(directory);
  return directory;
}

void ReadEverySubfile(const UUDirectory& directory) {
  MMDummyResourceFile file(MME_PICTURE_RESOURCE_FILE_NOT_FOUND);
  if (!file.Open(directory, kFileName, false, true)) return;
  std::vector<uint8_t> buffer;
  for (int32_t i = 0; i < file.GetSubfileCount(); ++i) {
    int32_t offset = 0;
    int32_t size = 0;
    if (!file.GetSubfileRange(i, &offset, &size)) continue;
    buffer.resize(static_cast<size_t>(size));
    file.GetFile().Seek(offset, kUUSeekFromStart, nullptr);
    file.GetFile().Read(buffer.data(), static_cast<uint32_t>(size));
    file.GetFile().SetError(kUUNoError);
  }
  file.Close(false);
}

void ReadEveryPicture(const UUDirectory& directory) {
  MMPictureLoader* loader = MMOpenPictureFile(directory, kFileName, true);
  if (loader == nullptr) return;
  for (int16_t i = 0; i < loader->GetItemCount(); ++i) {
    MMBitmap bitmap;
    MMEncodedImage image;
    const MMPalette* palette = nullptr;
    if (loader->LockBitmap(i, &bitmap, &palette)) {
      volatile uint8_t last = *bitmap.GetPixelAddress(bitmap.GetWidth() - 1, bitmap.GetHeight() - 1);
      (void)last;
      loader->Unlock(i);
    }
    if (loader->LockEncoded(i, &image, &palette)) {
      for (int32_t y = 0; y < image.GetHeight(); ++y) image.FindPixel(image.GetWidth() - 1, y);
      loader->Unlock(i);
    }
    loader->GetTransparencyAt(i, UUPoint{0, 0});
  }
  MMAddPictureReference(MMMakePictureId(loader, 0));
  MMResourceCollection::PurgeAllUnreferenced();
  MMResourceCollection::ReloadAllReferenced();
  MMReleasePictureReference(MMMakePictureId(loader, 0));
  delete loader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = TempDirectory();
  {
    UUFile file(directory, kFileName, kUUFileCreate, UUFileOptions());
    file.Write(data, static_cast<uint32_t>(size));
  }
  AFClearError();
  ReadEverySubfile(directory);
  ReadEveryPicture(directory);
  return 0;
}
