#pragma once
// Sketch thumbnails as textures for the file screen's cells. The renderer
// keeps a driver texture per id, so each cell owns two entries and every
// refresh switches to the other one: the new id makes the renderer read
// the thumbnail from the file again.

#include "app/objects/RU3DTextureCollectionFromSurface.h"
#include "app/shell/VPLSketch.h"

class VPLTextureCollectionFromSketchHandle : public RU3DTextureCollectionFromSurface {
 public:
  static constexpr uint16_t kCollectionNumber = 4;

  VPLTextureCollectionFromSketchHandle() : RU3DTextureCollectionFromSurface(kCollectionNumber) {}

  // Appends a cell's pair showing the sketch; the id of the second entry.
  MMResourceId AddEntry(const UURect& rect, const VPLSketch& sketch);
  // Stores the sketch in the partner of the current id; the partner's id.
  MMResourceId SetEntry(MMResourceId current, const UURect& rect, const VPLSketch& sketch);

  bool IsOpaque(int16_t /*i*/) override { return true; }
  MM3DBlendFactors GetBlendFactors(int16_t /*i*/) override { return kOpaque; }
  // False for a missing, damaged or other-sized thumbnail.
  bool DrawEntry(int16_t i, MMSurface* surface) override;

 private:
  static constexpr MM3DBlendFactors kOpaque{kMM3DBlendOne, kMM3DBlendZero};

  // An entry names its sketch's file, which outlives the book's records.
  struct SketchEntry : Entry {
    UUDirectory mDirectory;
    char mFileName[kUUPathCapacity] = {};
  };
  static std::unique_ptr<Entry> MakeEntry(const UURect& rect, const VPLSketch& sketch);
};
