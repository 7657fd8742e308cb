#pragma once

#include "mm/drawing/MMFont.h"
#include "platform/win32/gdi.h"

#include <cstdint>

// A font made from a GDI font. Its metrics are read at its first selection
// and kept, whatever device it is selected on later.
class MMSystemFont : public MMFont {
 public:
  // pixelHeight is the character height (not the cell's). Face names are
  // cut to 31 characters.
  MMSystemFont(const char* faceName, int32_t pixelHeight, int32_t weight, bool italic,
               bool underline);
  // Adopts the font: it is deleted with this object.
  explicit MMSystemFont(HFONT font);
  ~MMSystemFont() override;
  MMSystemFont(const MMSystemFont&) = delete;
  MMSystemFont& operator=(const MMSystemFont&) = delete;

  // False when the system could not make the font.
  bool IsValid() const { return mFont != nullptr; }
  void Select(MMSurface* surface) override;
  void Deselect() override;
  bool IsSelected() const override { return mSurface != nullptr; }
  int32_t GetCapHeight() const override { return mCapHeight; }
  int32_t GetAscent() const override { return mAscent; }
  int32_t GetDescent() const override { return mDescent; }
  int32_t GetLineSpacing() const override { return mLineSpacing; }
  int32_t GetTextWidth(const char* text, int32_t length) override;
  int32_t GetCharPositions(int16_t* positions, const char* text, int32_t length) override;
  int32_t GetLeftOverhang(const char* text) override;
  int32_t GetRightOverhang(uint32_t character) override;
  void MoveTo(int32_t x, int32_t y) override;
  UUPoint GetPosition() override;
  void DrawText(const AFColor& color, const char* text, int32_t length) override;

 private:
  HDC SurfaceDC() const;
  // The A (left) or C (right) width of a character, made positive when it
  // reaches outside the cell; else 0.
  int32_t Overhang(uint32_t character, bool left) const;

  MMSurface* mSurface = nullptr;
  bool mMetricsRead = false;
  int32_t mCapHeight = 0;  // ascent less internal leading
  int32_t mAscent = 0;
  int32_t mDescent = 0;
  int32_t mLineSpacing = 0;  // height plus external leading
  HFONT mFont = nullptr;
};
