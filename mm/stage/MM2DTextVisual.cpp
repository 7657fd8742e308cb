#include "mm/stage/MM2DTextVisual.h"

#include "foundation/al/ALAllocator.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMStage.h"

#include <cstring>

namespace {

constexpr size_t kLengthWord = sizeof(uint32_t);
constexpr int16_t kNoColor = -2;

}  // namespace

MM2DTextBasedVisual::MM2DTextBasedVisual(int32_t depth) : MM2DVisual(depth) {
  mStyle.mColor = AFColor(kNoColor);
}

MM2DTextBasedVisual::MM2DTextBasedVisual(const char* text, int32_t depth)
    : MM2DTextBasedVisual(depth) {
  StoreText(text, 0);
}

MM2DTextBasedVisual::~MM2DTextBasedVisual() { StoreText(nullptr, 0); }

void MM2DTextBasedVisual::StoreText(const char* text, int32_t length) {
  // The new text may point into the old one, so it is copied before the old block goes.
  char* old = mText;
  mText = nullptr;
  if (length < 1) length = text == nullptr ? 0 : static_cast<int32_t>(std::strlen(text));
  if (length > 0) {
    auto* block = static_cast<char*>(ALAllocate(kLengthWord + static_cast<size_t>(length) + 1,
                                                ALGlobalAllocator, kALMustSucceed));
    const uint32_t stored = static_cast<uint32_t>(length) + 1;
    std::memcpy(block, &stored, kLengthWord);
    mText = block + kLengthWord;
    std::memcpy(mText, text, static_cast<size_t>(length));
    mText[length] = '\0';
  }
  if (old != nullptr) ALFree(old - kLengthWord);
}

template <typename Change>
void MM2DTextBasedVisual::Restyle(Change change) {
  InvalidateBounds();
  change();
  mBoundsValid = false;
  InvalidateBounds();
}

void MM2DTextBasedVisual::SetText(const char* text, int32_t length) {
  Restyle([&] { StoreText(text, length); });
}

void MM2DTextBasedVisual::SetStyle(const MMTextStyle& style) {
  Restyle([&] { mStyle = style; });
}

void MM2DTextBasedVisual::SetStyle(MMFont* font, const AFColor& color, int32_t verticalAlignment,
                                   int32_t horizontalAlignment) {
  Restyle([&] { mStyle = MMTextStyle{font, color, horizontalAlignment, verticalAlignment}; });
}

void MM2DTextBasedVisual::SetFont(MMFont* font) {
  Restyle([&] { mStyle.mFont = font; });
}

void MM2DTextBasedVisual::SetVerticalAlignment(int32_t alignment) {
  Restyle([&] { mStyle.mVerticalAlignment = alignment; });
}

void MM2DTextBasedVisual::SetHorizontalAlignment(int32_t alignment) {
  Restyle([&] { mStyle.mHorizontalAlignment = alignment; });
}

UURect MM2DTextBasedVisual::GetTextBounds() const {
  if (GetEnclosure() == nullptr || mStyle.mFont == nullptr) return UURect();
  if (!mBoundsValid) {
    mBounds = GetEnclosure()->GetStage()->GetBackSurface()->GetTextBounds(mText, 0, 0, mStyle);
    mBoundsValid = true;
  }
  return mBounds;
}

void MM2DTextBasedVisual::AttachToEnclosure(MMEnclosure* enclosure) {
  mBoundsValid = false;
  MM2DVisual::AttachToEnclosure(enclosure);
}

UURect MM2DPointTextVisual::GetBounds() const {
  UURect bounds = GetTextBounds();
  if (bounds == UURect()) return bounds;
  bounds.Offset(mAnchor);
  return bounds;
}

void MM2DPointTextVisual::DrawClipped(MMSurface* surface) {
  if (GetText() != nullptr && GetStyle().mFont != nullptr) {
    surface->DrawText(GetText(), mAnchor.mX, mAnchor.mY, GetStyle());
  }
}
