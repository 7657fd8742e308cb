#pragma once
// The child's own pictures from the Textures folder as textures for the
// created objects, each drawn at 128 x 128; it also serves the fill
// chooser's list of user textures.

#include "app/objects/RU3DTextureCollectionFromSurface.h"
#include "app/objects/VPLServices.h"
#include "app/shell/VPLUserTextureLibrary.h"

#include <memory>

class VPLTextureCollectionFromFile : public RU3DTextureCollectionFromSurface,
                                     public VPLUserTextureList {
 public:
  static constexpr uint16_t kCollectionNumber = 1;
  static constexpr int32_t kTextureSide = 128;

  VPLTextureCollectionFromFile() : RU3DTextureCollectionFromSurface(kCollectionNumber) {}

  // Lists the folder's pictures, one entry each in the folder's order.
  bool Load(const UUDirectory& directory);

  int32_t GetCount() const override { return GetEntryCount(); }
  // Collection << 16 | index below the count; -1 past it.
  int32_t GetTextureId(int32_t index) const override;
  // The first picture of that file name, whatever its case; -1 for none.
  MMResourceId FindTextureId(const char* fileName) const override;
  // The picture's file name; null for another collection's id or no picture.
  const char* GetTextureFileName(MMResourceId id) const override;
  // The same into a 260-byte name; false when there is none.
  bool GetTextureFileName(MMResourceId id, char* fileName) const;

  MMResourceId AddEntry(const UURect& rect, int32_t picture);
  void SetEntry(MMResourceId id, const UURect& rect, int32_t picture);

  bool IsOpaque(int16_t /*i*/) override { return true; }
  MM3DBlendFactors GetBlendFactors(int16_t /*i*/) override { return kOpaque; }
  bool DrawEntry(int16_t i, MMSurface* surface) override;

 private:
  static constexpr MM3DBlendFactors kOpaque{kMM3DBlendOne, kMM3DBlendZero};

  struct PictureEntry : Entry {
    int32_t mPicture = -1;
  };
  static std::unique_ptr<Entry> MakeEntry(const UURect& rect, int32_t picture);
  const VPLUserTexture* PictureOf(int16_t i) const;

  std::unique_ptr<VPLUserTextureLibrary> mLibrary;
};
