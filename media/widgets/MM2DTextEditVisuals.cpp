#include "media/widgets/MM2DTextEditVisuals.h"

#include "media/widgets/MM2DTextEditMolecule.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/MMFont.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMStage.h"

#include <algorithm>

namespace {

constexpr int32_t kStartAlignment = 0;
constexpr int32_t kEndAlignment = 2;
constexpr int32_t kBaseline = 0;
constexpr int32_t kCursorWidth = 2;

const char* TextOf(const MM2DTextEditMolecule* source) {
  return source != nullptr ? source->GetText() : "";
}

}  // namespace

bool MM2DTEditTextVisual::Contains(int32_t x, int32_t y) const {
  const UURect bounds = GetBounds();
  return x >= bounds.mLeft && x < bounds.mRight && y >= bounds.mTop && y < bounds.mBottom;
}

MM2DStandardTEditTextVisual::MM2DStandardTEditTextVisual(int32_t maximumWidth,
                                                         int32_t verticalAlignment,
                                                         const AFColor& colour, MMFont* font,
                                                         UUPoint anchor, int32_t depth)
    : MM2DTEditTextVisual(anchor, depth),
      mVerticalAlignment(verticalAlignment),
      mColour(colour),
      mFont(font),
      mMaximumWidth(maximumWidth) {}

MMSurface* MM2DStandardTEditTextVisual::BackSurface() const {
  return GetEnclosure() != nullptr ? GetEnclosure()->GetStage()->GetBackSurface() : nullptr;
}

int32_t MM2DStandardTEditTextVisual::ReferenceLine(MMSurface* surface) const {
  return surface->AlignTextY(GetPosition().mY, mVerticalAlignment, kBaseline);
}

UURect MM2DStandardTEditTextVisual::GetBounds() const {
  MMSurface* surface = BackSurface();
  if (surface == nullptr || mFont == nullptr) return UURect();
  if (mBoundsStale) {
    surface->BeginText(mFont);
    const int32_t line = ReferenceLine(surface);
    const int32_t left = GetPosition().mX;
    mBounds = UURect(left, line - surface->GetTextAscent(), left + mMaximumWidth,
                     line + surface->GetTextDescent());
    surface->EndText();
    mBoundsStale = false;
  }
  return mBounds;
}

UUPoint MM2DStandardTEditTextVisual::GetCursorPosition() const {
  MMSurface* surface = BackSurface();
  if (surface == nullptr || mFont == nullptr) return GetPosition();
  surface->BeginText(mFont);
  const char* text = TextOf(GetTextSource());
  const int32_t limit = GetPosition().mX + mMaximumWidth;
  int32_t end = GetPosition().mX;
  if (*text != '\0') end = surface->AlignTextX(end, kStartAlignment, kEndAlignment, text, 0);
  const UUPoint position{std::min(end, limit), ReferenceLine(surface)};
  surface->EndText();
  return position;
}

void MM2DStandardTEditTextVisual::DrawClipped(MMSurface* surface) {
  const char* text = TextOf(GetTextSource());
  if (*text == '\0' || mFont == nullptr) return;
  const UUPoint anchor = GetPosition();
  surface->DrawText(text, anchor.mX, anchor.mY,
                    MMTextStyle{mFont, mColour, kStartAlignment, mVerticalAlignment});
}

void MM2DStandardTEditTextVisual::StorePosition(UUPoint point) {
  MM2DTEditTextVisual::StorePosition(point);
  mBoundsStale = true;
}

void MM2DStandardTEditTextVisual::SetColour(const AFColor& colour) {
  mColour = colour;
  InvalidateBounds();
}

void MM2DStandardTEditTextVisual::SetFont(MMFont* font) {
  InvalidateBounds();
  mFont = font;
  mBoundsStale = true;
  InvalidateBounds();
}

void MM2DTEditCursorVisual::Blink() {
  SetVisibility(GetVisibility() == kMMShown ? kMMHidden : kMMShown);
}

UURect MM2DStandardTEditCursorVisual::GetBounds() const {
  if (mFont == nullptr) return UURect();
  const UUPoint anchor = GetPosition();
  return UURect(anchor.mX, anchor.mY - mFont->GetAscent(), anchor.mX + kCursorWidth,
                anchor.mY + mFont->GetDescent());
}

void MM2DStandardTEditCursorVisual::DrawClipped(MMSurface* surface) {
  surface->FillRect(GetBounds(), mColour);
}

void MM2DStandardTEditCursorVisual::SetColour(const AFColor& colour) {
  mColour = colour;
  InvalidateBounds();
}

void MM2DStandardTEditCursorVisual::SetFont(MMFont* font) {
  InvalidateBounds();
  mFont = font;
  InvalidateBounds();
}
