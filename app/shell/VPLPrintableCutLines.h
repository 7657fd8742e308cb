#pragma once
// Cut marks on a page: four corner brackets, arms an eighth of an inch
// long, drawn with a one-pixel pen on the corners of a rectangle.

#include "foundation/af/AFPalette.h"
#include "foundation/af/AFPrintable.h"
#include "foundation/uu/UURect.h"

class VPLPrintableCutLines : public AFPrintable {
 public:
  VPLPrintableCutLines(const UURect& rect, const AFColor& color) : mRect(rect), mColor(color) {}

  bool Draw(AFPrintSessionBase& session) override;

 private:
  UURect mRect;
  AFColor mColor;
};
