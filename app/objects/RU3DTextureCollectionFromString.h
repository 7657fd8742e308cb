#pragma once
// Texts as textures: each item is a text word-wrapped into its rectangle
// and drawn around an anchor; every texel takes the text's colour, opaque
// as far as the text covers it. Scene objects show labels with it
// (VPLObj::RenderText).

#include "app/objects/RU3DTextureCollectionFromSurface.h"
#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUPoint.h"

#include <memory>
#include <string>
#include <vector>

class MMFont;
struct MMTextStyle;

// How a text item is drawn. The item keeps the font alive, since it is
// drawn again whenever the engine reloads its texture.
struct RU3DTextStyle {
  std::shared_ptr<MMFont> mFont;
  AFColor mColor;
  int32_t mHorizontalAlignment = 0;
  int32_t mVerticalAlignment = 0;
};

class RU3DTextureCollectionFromString : public RU3DTextureCollectionFromSurface {
 public:
  // A text keeps at most this many characters.
  static constexpr size_t kMaxTextLength = 255;
  // Lines stay this much narrower than the rectangle.
  static constexpr int32_t kWrapMargin = 100;

  explicit RU3DTextureCollectionFromString(uint16_t collectionNumber);

  // The new item's id (collection number << 16 | index); -1 when full.
  MMResourceId AddText(const UURect& rect, const char* text, UUPoint anchor,
                       const RU3DTextStyle& style);
  // Replaces the id's item (appends past the end); -1 changes nothing.
  void ReplaceText(MMResourceId id, const UURect& rect, const char* text, UUPoint anchor,
                   const RU3DTextStyle& style);

  bool IsOpaque(int16_t /*i*/) override { return false; }
  MM3DBlendFactors GetBlendFactors(int16_t /*i*/) override { return kTextBlend; }
  bool DrawEntry(int16_t i, MMSurface* surface) override;
  // Every pixel takes the text's colour, as opaque as the text covers it:
  // fully in the letters, partly on their smoothed edges, not at all on
  // the ground.
  bool GetImage(int16_t i, MMSurface* surface, MMBitmap& description) override;

  // The lines the text is drawn as on the surface; a line that nothing
  // of fits ends the text there.
  static std::vector<std::string> WrapText(MMSurface& surface, const std::string& text,
                                           UUPoint anchor, const MMTextStyle& style, int32_t limit);

  // Source alpha over one minus source alpha.
  static constexpr MM3DBlendFactors kTextBlend{4, 5};

 private:
  struct TextEntry : Entry {
    std::string mText;
    UUPoint mAnchor;
    RU3DTextStyle mStyle;
  };

  static std::unique_ptr<TextEntry> MakeEntry(const UURect& rect, const char* text, UUPoint anchor,
                                              const RU3DTextStyle& style);
  TextEntry* GetTextEntry(int16_t i) const { return static_cast<TextEntry*>(GetEntry(i)); }
};
