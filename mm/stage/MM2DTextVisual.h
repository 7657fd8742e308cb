#pragma once

#include "mm/drawing/MMSurface.h"
#include "mm/stage/MM2DVisual.h"

#include <cstdint>

// A visual that shows one line of text in a style. Its bounds are measured
// on the stage's back surface, relative to the anchor (0, 0), and kept until
// the text, the style or the enclosure changes.
class MM2DTextBasedVisual : public MM2DVisual {
 public:
  explicit MM2DTextBasedVisual(int32_t depth);
  MM2DTextBasedVisual(const char* text, int32_t depth);
  ~MM2DTextBasedVisual() override;

  // A length below 1 means the whole text; an empty text (or null) leaves
  // no text.
  void SetText(const char* text, int32_t length);
  void SetStyle(const MMTextStyle& style);
  void SetStyle(MMFont* font, const AFColor& color, int32_t verticalAlignment,
                int32_t horizontalAlignment);
  void SetFont(MMFont* font);
  void SetVerticalAlignment(int32_t alignment);
  void SetHorizontalAlignment(int32_t alignment);

  // Null when there is no text.
  const char* GetText() const { return mText; }
  const MMTextStyle& GetStyle() const { return mStyle; }
  // All zeros without an enclosure or a font.
  UURect GetTextBounds() const;

 protected:
  void AttachToEnclosure(MMEnclosure* enclosure) override;

 private:
  // Invalidates the old area, changes, forgets the bounds and invalidates
  // the new area.
  template <typename Change>
  void Restyle(Change change);
  void StoreText(const char* text, int32_t length);

  // The characters of a block whose first 32-bit word holds length + 1.
  char* mText = nullptr;
  MMTextStyle mStyle;
  // A cache of the measured bounds.
  mutable bool mBoundsValid = false;
  mutable UURect mBounds;
};

// A text placed by the style's alignments relative to its anchor. It is
// never hit.
class MM2DPointTextVisual : public MM2DTextBasedVisual {
 public:
  MM2DPointTextVisual(UUPoint anchor, int32_t depth)
      : MM2DTextBasedVisual(depth), mAnchor(anchor) {}
  MM2DPointTextVisual(UUPoint anchor, const char* text, int32_t depth)
      : MM2DTextBasedVisual(text, depth), mAnchor(anchor) {}

  UURect GetBounds() const override;
  UUPoint GetPosition() const override { return mAnchor; }
  void DrawClipped(MMSurface* surface) override;

 protected:
  void StorePosition(UUPoint point) override { mAnchor = point; }

 private:
  UUPoint mAnchor;
};
