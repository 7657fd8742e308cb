#pragma once
// The visuals of a one-line text field: its text, and the cursor bar at the
// end of the text.

#include "foundation/af/AFPalette.h"
#include "mm/stage/MM2DVisual.h"

#include <cstdint>

class MMFont;
class MMSurface;
class MM2DTextEditMolecule;

// Shows the text of its source molecule, and is hit inside its bounds.
class MM2DTEditTextVisual : public MM2DPointBasedVisual {
 public:
  using MM2DPointBasedVisual::MM2DPointBasedVisual;

  bool Contains(int32_t x, int32_t y) const override;
  // Where the cursor stands: after the end of the text, on its baseline.
  virtual UUPoint GetCursorPosition() const = 0;

  void SetTextSource(MM2DTextEditMolecule* source) { mTextSource = source; }
  MM2DTextEditMolecule* GetTextSource() const { return mTextSource; }

 private:
  MM2DTextEditMolecule* mTextSource = nullptr;
};

// The text from its anchor, as wide as the maximum width and as high as the
// font, measured on the stage's back surface.
class MM2DStandardTEditTextVisual : public MM2DTEditTextVisual {
 public:
  MM2DStandardTEditTextVisual(int32_t maximumWidth, int32_t verticalAlignment,
                              const AFColor& colour, MMFont* font, UUPoint anchor, int32_t depth);

  // All zeros without an enclosure.
  UURect GetBounds() const override;
  void DrawClipped(MMSurface* surface) override;
  // Never beyond the maximum width.
  UUPoint GetCursorPosition() const override;
  void SetColour(const AFColor& colour);
  void SetFont(MMFont* font);

 protected:
  void StorePosition(UUPoint point) override;

 private:
  // The baseline and the end of the text, with the font selected on the
  // back surface.
  int32_t ReferenceLine(MMSurface* surface) const;
  MMSurface* BackSurface() const;

  int32_t mVerticalAlignment;
  AFColor mColour;
  MMFont* mFont;
  int32_t mMaximumWidth;
  mutable UURect mBounds;
  mutable bool mBoundsStale = true;
};

// A bar that blinks: each Blink shows it when hidden and hides it when
// shown.
class MM2DTEditCursorVisual : public MM2DPointBasedVisual {
 public:
  using MM2DPointBasedVisual::MM2DPointBasedVisual;

  void Blink();
};

// A bar two pixels wide from the font's ascent above its anchor to its
// descent below.
class MM2DStandardTEditCursorVisual : public MM2DTEditCursorVisual {
 public:
  MM2DStandardTEditCursorVisual(const AFColor& colour, MMFont* font, int32_t depth)
      : MM2DTEditCursorVisual(UUPoint{0, 0}, depth), mColour(colour), mFont(font) {}

  UURect GetBounds() const override;
  void DrawClipped(MMSurface* surface) override;
  void SetColour(const AFColor& colour);
  void SetFont(MMFont* font);

 private:
  AFColor mColour;
  MMFont* mFont;
};
