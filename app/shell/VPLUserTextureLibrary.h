#pragma once
// The child's own pictures in the Textures folder: every BMP and JPEG
// file, in the folder's order (names in byte order), which fixes their
// texture ids for the run.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUDirectoryEntry.h"
#include "foundation/uu/UUList.h"

#include <string>

class MMSurface;

// One picture file.
class VPLUserTexture {
 public:
  VPLUserTexture(const UUDirectory& directory, const char* fileName);

  // The picture reduced to fit the surface (never enlarged) and then
  // stretched over the whole surface; false when it cannot be loaded.
  bool Draw(MMSurface* surface) const;
  const char* GetFileName() const { return mFileName; }

 private:
  UUDirectory mDirectory;
  char mFileName[kUUPathCapacity] = {};
};

class VPLUserTextureLibrary : public UUDirectoryEntryProcessor {
 public:
  explicit VPLUserTextureLibrary(const UUDirectory& directory);
  ~VPLUserTextureLibrary() override;
  VPLUserTextureLibrary(const VPLUserTextureLibrary&) = delete;
  VPLUserTextureLibrary& operator=(const VPLUserTextureLibrary&) = delete;

  // Lists the folder's pictures anew; false when the folder cannot be read.
  bool Scan();
  bool ProcessEntry(const UUDirectoryEntry& entry) override;
  // Null past the end.
  const VPLUserTexture* GetTextureAt(int32_t n) const;
  int32_t GetCount() const { return mTextures.Count(); }
  // The index of the first picture of that name, whatever its case; -1.
  int32_t FindByName(const char* name) const;
  void AddTexture(const UUDirectory& directory, const char* fileName);
  void Clear();

 private:
  UUList<VPLUserTexture*> mTextures;
  UUDirectory mDirectory;
  std::string mBmpExtension;
  std::string mJpegExtension;
};
