#pragma once
// The credits as textures: each item is one page of the credits script, a
// column of centred text lines and vertical gaps on a transparent ground.

#include "app/objects/RU3DTextureCollectionFromSurface.h"
#include "mm/resources/MMScript.h"

#include <cstdint>

class RU3DTextureCollectionFromCreditsScript : public RU3DTextureCollectionFromSurface {
 public:
  // The credits: row p names page p's script.
  static constexpr MMResourceId kCreditsScript = 646;
  // A page script's row tags.
  static constexpr int16_t kLineTag = 1;
  static constexpr int16_t kGapTag = 2;

  explicit RU3DTextureCollectionFromCreditsScript(uint16_t collectionNumber);

  // The new item's id (collection number << 16 | index); -1 when full.
  MMResourceId AddEntry(const UURect& rect, int16_t page);
  // -1 changes nothing; an index past the end appends.
  void SetEntry(MMResourceId id, const UURect& rect, int16_t page);

  bool IsOpaque(int16_t /*i*/) override { return false; }
  MM3DBlendFactors GetBlendFactors(int16_t /*i*/) override { return MM3DBlendFactors{4, 5}; }
  bool DrawEntry(int16_t i, MMSurface* surface) override;
  // The ground (black) becomes transparent, every other pixel opaque.
  bool GetImage(int16_t i, MMSurface* surface, MMBitmap& description) override;

 private:
  struct PageEntry : Entry {
    int16_t mPage = 0;
  };

  // Draws one text line at (x, y); answers its height. A line asking for
  // no font height, or one over 1000 pixels, draws nothing.
  static int32_t DrawLine(MMSurface& surface, MMResourceId line, int32_t x, int32_t y);

  MMScript mCredits;
};
