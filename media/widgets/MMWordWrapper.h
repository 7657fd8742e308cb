#pragma once

#include "foundation/uu/UURect.h"

#include <cstdint>
#include <vector>

class MMSurface;

// Flows a text through a sequence of boxes, filling each with as many lines
// as fit, measured with the font selected on a surface. Lines break between
// words at blanks and at line feeds; a word wider than its box is split.
// Each line goes to the subclass with its baseline position.
class MMWordWrapper {
 public:
  explicit MMWordWrapper(int16_t boxCount);
  virtual ~MMWordWrapper() = default;

  // An index outside the boxes is ignored.
  void SetBox(int16_t index, const UURect& rect);
  UURect GetBox(int16_t index) const;
  // The whole text through the boxes, in order.
  void WrapText(MMSurface* surface, const char* text);
  // Answers the text after the last line placed in the box.
  const char* FillBox(MMSurface* surface, const char* text, int16_t index);

  int16_t GetBoxCount() const { return static_cast<int16_t>(mBoxes.size()); }
  int16_t GetBoxesUsed() const { return mBoxesUsed; }
  // False when the last wrap ran out of boxes before the end of the text.
  bool AllFitted() const { return mAllFitted; }
  // True when the last wrap split a word wider than its box.
  bool WordBroken() const { return mWordBroken; }

 protected:
  virtual void BeginBox(int16_t, const char*) {}
  // The line's text (trailing blanks left out) and its baseline's start.
  virtual void EmitLine(int16_t index, const char* text, int32_t length, int32_t x, int32_t y) = 0;
  virtual void EndBox(int16_t, const char*) {}

 private:
  // Places one line; answers where the next begins.
  const char* WrapLine(MMSurface* surface, int16_t index, const char* begin, int32_t x, int32_t y,
                       int32_t width);
  // The end of the longest piece of the word from begin that fits the
  // width; begin itself when not one character fits.
  const char* LongestFittingPiece(MMSurface* surface, const char* begin, const char* wordEnd,
                                  int32_t width) const;

  std::vector<UURect> mBoxes;
  int16_t mBoxesUsed = 0;
  bool mAllFitted = true;
  bool mWordBroken = false;
};
