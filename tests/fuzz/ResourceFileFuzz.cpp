// Opens the input as a resource file and reads everything in it: every
// subfile of the container, every picture in both of its forms, and every
// row, field and text of every script.

#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm/resources/MMGenericResourceFile.h"
#include "mm/resources/MMPictureLoader.h"
#include "mm/resources/MMScriptCollection.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* kFileName = "vplres-fuzz-input.mmp";

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
      volatile uint8_t last =
          *bitmap.GetPixelAddress(bitmap.GetWidth() - 1, bitmap.GetHeight() - 1);
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

// Every field offset of a row, two bytes apart as the rows are laid out,
// and one beyond the row.
void ReadEveryField(const MMScript& script, int32_t row) {
  for (int32_t offset = 0; offset <= script.GetRowSize() && offset <= INT16_MAX; offset += 2) {
    const auto at = static_cast<int16_t>(offset);
    volatile int64_t sink = int64_t{script.GetByte(row, at)} + script.GetInt16(row, at) +
                            script.GetInt32(row, at) + script.GetScriptId(row, at) +
                            script.GetPoint(row, at).mX + script.GetRect(row, at).mRight;
    volatile double real = script.GetFloat(row, at) + script.GetDouble(row, at);
    volatile size_t length = std::strlen(script.GetString(row, at));
    (void)sink;
    (void)real;
    (void)length;
  }
}

void ReadEveryScript(const UUDirectory& directory) {
  MMScriptLoader* loader = MMOpenScriptFile(directory, kFileName);
  if (loader == nullptr) return;
  for (int32_t entry = 0; entry < loader->GetFile()->GetSubfileCount(); ++entry) {
    const MMScript script(MMMakeScriptId(loader, static_cast<int16_t>(entry)));
    for (int32_t row = 0; row < script.GetRowCount(); ++row) ReadEveryField(script, row);
    script.FindRow(0, 0, 1, 0);
    script.CountRows(0, 0, 0);
  }
  delete loader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  ReadEverySubfile(directory);
  ReadEveryPicture(directory);
  ReadEveryScript(directory);
  return 0;
}
