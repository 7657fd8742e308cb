// Opens the input as a texture file and loads every texture in it into an
// image, asking the collection all it tells about each.

#include "foundation/af/AFError.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUFileSystem.h"
#include "mm3d/MM3DTextureLoader.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"
#include "tests/fuzz/FuzzInputFile.h"

#include <cstdint>

namespace {

const char* kFileName = "vpltexture-fuzz-input.mmx";

void LoadEveryTexture(MM3DTextureLoader& loader) {
  char name[kMM3DTextureNameCapacity];
  for (int16_t i = 0; i < loader.GetTextureCount(); ++i) {
    MM3DDriverTextureImage image;
    if (loader.LoadImage(i, image)) {
      volatile size_t sink = image.ByteCount() + static_cast<size_t>(image.GetPaletteCount());
      (void)sink;
    }
    volatile int64_t sink = int64_t{loader.GetSize(i).mX} + loader.GetPaletteCount(i) +
                            loader.GetBitsPerPixel(i) + (loader.IsOpaque(i) ? 1 : 0) +
                            (loader.FitsSizeLimit(i) ? 1 : 0);
    (void)sink;
    loader.FindByName(loader.GetName(name, i));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const UUDirectory directory = WriteFuzzInputFile(kFileName, data, size);
  if (MM3DTextureLoader* loader = MM3DOpenTextureResourceFile(directory, kFileName, false)) {
    LoadEveryTexture(*loader);
    MM3DDestroyTextureCollections();
  }
  return 0;
}
