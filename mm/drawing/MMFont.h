#pragma once

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUPoint.h"

#include <cstdint>

class MMSurface;

// A font the surfaces draw text with. It is selected on one surface at a
// time; every operation but the metric getters needs it selected. A length
// of 0 means: up to the terminating zero.
class MMFont {
 public:
  virtual ~MMFont() = default;
  virtual void Select(MMSurface* surface) = 0;
  virtual void Deselect() = 0;
  virtual bool IsSelected() const = 0;
  virtual int32_t GetCapHeight() const = 0;
  virtual int32_t GetAscent() const = 0;
  virtual int32_t GetDescent() const = 0;
  virtual int32_t GetLineSpacing() const = 0;
  virtual int32_t GetTextWidth(const char* text, int32_t length) = 0;
  // Fills length + 1 positions: 0, then each character's right end.
  virtual int32_t GetCharPositions(int16_t* positions, const char* text, int32_t length) = 0;
  virtual int32_t GetLeftOverhang(const char* text) = 0;
  virtual int32_t GetRightOverhang(uint32_t character) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  virtual UUPoint GetPosition() = 0;
  // Draws at the text position and moves it to the end of the text.
  virtual void DrawText(const AFColor& color, const char* text, int32_t length) = 0;
};
