#pragma once
// The texture collection over a texture resource file: texels are read from
// the file each time a texture is loaded, and the driver-texture cache
// keeps the results.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DTextureCollection.h"

#include <cstdint>

class MM3DTextureResourceFile;

class MM3DTextureLoader : public MM3DTextureCollection {
 public:
  // Takes over the open file.
  MM3DTextureLoader(uint16_t collectionNumber, MM3DTextureResourceFile* file, int16_t textureCount);
  ~MM3DTextureLoader() override;

  bool LoadReferenced() override { return true; }
  void EndLoadReferenced(bool) override {}
  void PurgeUnreferenced() override {}

  // Fails, silently, for a texture whose subfile is shorter than its
  // palette and texels.
  bool LoadImage(int16_t i, MM3DDriverTextureImage& image) override;
  UUPoint GetSize(int16_t i) override;
  int32_t GetPaletteCount(int16_t i) override;
  bool IsOpaque(int16_t i) override;
  int32_t GetBitsPerPixel(int16_t i) override;
  // Letter case does not matter.
  uint16_t FindByName(const char* name) override;
  char* GetName(char* buffer, int16_t i) override;

  int16_t GetTextureCount() const { return mTextureCount; }

 private:
  bool ReadTexels(int16_t i, MM3DDriverTextureImage& image);

  MM3DTextureResourceFile* mFile;
  int16_t mTextureCount;
};

// Null, with the file's error recorded, when it cannot be opened. The flag
// is not used.
MM3DTextureLoader* MM3DOpenTextureResourceFile(const UUDirectory& directory, const char* name,
                                               bool flag);
