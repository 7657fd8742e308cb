#include "app/objects/RU3DTextureCollectionFromString.h"

#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMFont.h"
#include "mm/drawing/MMSurface.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The text's width drawn at the anchor with the style.
int32_t WidthOf(MMSurface& surface, const std::string& text, UUPoint anchor,
                const MMTextStyle& style) {
  const UURect bounds = surface.GetTextBounds(text.c_str(), anchor.mX, anchor.mY, style);
  return bounds.GetWidth();
}

struct Split {
  std::string mLine;
  std::string mRest;
  bool mFound = false;
};

class LineTaker {
 public:
  LineTaker(MMSurface& surface, UUPoint anchor, const MMTextStyle& style, int32_t limit)
      : mSurface(surface), mAnchor(anchor), mStyle(style), mLimit(limit) {}

  // Takes one line off the text: the longest run of words that fits, else
  // the longest run of characters; nothing when not one character fits.
  Split Take(const std::string& text, int32_t width) const {
    const auto n = static_cast<int32_t>(text.size());
    // A font narrower than a pixel a character still moves one a step.
    const int32_t average = std::max(1, width / std::max(1, n));
    const int32_t start = std::clamp(mLimit / average, 0, n - 1);
    Split split = Forward(text, start);
    if (!split.mFound) split = Backward(text, start);
    if (!split.mFound) split = Hard(text, start);
    return split;
  }

 private:
  bool Fits(const std::string& candidate) const {
    return WidthOf(mSurface, candidate, mAnchor, mStyle) <= mLimit;
  }

  Split Forward(const std::string& text, int32_t start) const {
    Split split;
    const auto n = static_cast<int32_t>(text.size());
    for (int32_t i = start; i < n; ++i) {
      const bool last = i == n - 1;
      if (text[static_cast<size_t>(i)] != ' ' && !last) continue;
      std::string candidate = last ? text : text.substr(0, static_cast<size_t>(i));
      if (!Fits(candidate)) break;
      split = Split{std::move(candidate),
                    last ? std::string() : text.substr(static_cast<size_t>(i) + 1), true};
    }
    return split;
  }

  Split Backward(const std::string& text, int32_t start) const {
    for (int32_t i = start; i >= 0; --i) {
      if (text[static_cast<size_t>(i)] != ' ') continue;
      std::string candidate = text.substr(0, static_cast<size_t>(i));
      if (Fits(candidate))
        return Split{std::move(candidate), text.substr(static_cast<size_t>(i) + 1), true};
    }
    return Split{};
  }

  Split Hard(const std::string& text, int32_t start) const {
    for (int32_t k = start; k >= 1; --k) {
      std::string candidate = text.substr(0, static_cast<size_t>(k));
      if (Fits(candidate))
        return Split{std::move(candidate), text.substr(static_cast<size_t>(k)), true};
    }
    return Split{};
  }

  MMSurface& mSurface;
  UUPoint mAnchor;
  const MMTextStyle& mStyle;
  int32_t mLimit;
};

MMTextStyle SurfaceStyle(const RU3DTextStyle& style) {
  return MMTextStyle{style.mFont.get(), style.mColor, style.mHorizontalAlignment,
                     style.mVerticalAlignment};
}

AFColor Rgb(uint8_t red, uint8_t green, uint8_t blue) {
  AFColor color;
  color.mRed = red;
  color.mGreen = green;
  color.mBlue = blue;
  return color;
}

// A text in white is drawn on black, any other on white.
AFColor GroundOf(const AFColor& text) {
  return text == Rgb(255, 255, 255) ? Rgb(0, 0, 0) : Rgb(255, 255, 255);
}

// A pixel's share of text (0 to 255), read along the one channel in
// which the text's colour and the ground's differ most (GroundOf makes
// them differ in one at least).
struct CoverageScale {
  uint32_t mShift = 0;
  int32_t mGround = 0;
  int32_t mSpan = 0;

  uint32_t Of(uint32_t pixel) const {
    const auto value = static_cast<int32_t>(pixel >> mShift & 0xFFu);
    return static_cast<uint32_t>(std::clamp((value - mGround) * 255 / mSpan, 0, 255));
  }
};

CoverageScale CoverageOf(uint32_t text, const AFColor& ground) {
  const uint32_t groundPixel =
      uint32_t{ground.mBlue} | uint32_t{ground.mGreen} << 8 | uint32_t{ground.mRed} << 16;
  CoverageScale scale;
  for (uint32_t shift : {0u, 8u, 16u}) {
    const auto groundValue = static_cast<int32_t>(groundPixel >> shift & 0xFFu);
    const int32_t span = static_cast<int32_t>(text >> shift & 0xFFu) - groundValue;
    if (std::abs(span) > std::abs(scale.mSpan)) scale = CoverageScale{shift, groundValue, span};
  }
  return scale;
}

}  // namespace

RU3DTextureCollectionFromString::RU3DTextureCollectionFromString(uint16_t collectionNumber)
    : RU3DTextureCollectionFromSurface(collectionNumber) {}

std::unique_ptr<RU3DTextureCollectionFromString::TextEntry>
RU3DTextureCollectionFromString::MakeEntry(const UURect& rect, const char* text, UUPoint anchor,
                                           const RU3DTextStyle& style) {
  auto entry = std::make_unique<TextEntry>();
  entry->mRect = rect;
  const std::string whole = text != nullptr ? text : "";
  entry->mText = whole.substr(0, std::min(whole.size(), kMaxTextLength));
  entry->mAnchor = anchor;
  entry->mStyle = style;
  return entry;
}

MMResourceId RU3DTextureCollectionFromString::AddText(const UURect& rect, const char* text,
                                                      UUPoint anchor, const RU3DTextStyle& style) {
  return AppendEntry(MakeEntry(rect, text, anchor, style));
}

void RU3DTextureCollectionFromString::ReplaceText(MMResourceId id, const UURect& rect,
                                                  const char* text, UUPoint anchor,
                                                  const RU3DTextStyle& style) {
  ReplaceEntry(id, MakeEntry(rect, text, anchor, style));
}

std::vector<std::string> RU3DTextureCollectionFromString::WrapText(MMSurface& surface,
                                                                   const std::string& text,
                                                                   UUPoint anchor,
                                                                   const MMTextStyle& style,
                                                                   int32_t limit) {
  std::vector<std::string> lines;
  const LineTaker taker(surface, anchor, style, limit);
  std::string rest = text;
  int32_t width = WidthOf(surface, rest, anchor, style);
  while (width > limit && !rest.empty()) {
    Split split = taker.Take(rest, width);
    if (!split.mLine.empty()) lines.push_back(std::move(split.mLine));
    rest = std::move(split.mRest);
    width = WidthOf(surface, rest, anchor, style);
  }
  if (width != 0 && !rest.empty()) lines.push_back(std::move(rest));
  return lines;
}

bool RU3DTextureCollectionFromString::DrawEntry(int16_t i, MMSurface* surface) {
  const TextEntry* entry = GetTextEntry(i);
  if (entry == nullptr || surface == nullptr || !entry->mStyle.mFont) return false;
  const MMTextStyle style = SurfaceStyle(entry->mStyle);
  surface->FillRect(entry->mRect, GroundOf(style.mColor));
  const std::vector<std::string> lines = WrapText(*surface, entry->mText, entry->mAnchor, style,
                                                  entry->mRect.GetWidth() - kWrapMargin);
  surface->BeginText(style.mFont);
  const int32_t lineHeight = surface->GetLineSpacing();
  surface->EndText();
  const auto count = static_cast<int32_t>(lines.size());
  int32_t y = entry->mAnchor.mY;
  if (count > 1) y -= count * lineHeight / 2;
  for (const std::string& line : lines) {
    surface->DrawText(line.c_str(), entry->mAnchor.mX, y, style);
    y += lineHeight;
  }
  return true;
}

bool RU3DTextureCollectionFromString::GetImage(int16_t i, MMSurface* surface,
                                               MMBitmap& description) {
  if (!RU3DTextureCollectionFromSurface::GetImage(i, surface, description)) return false;
  const AFColor& color = GetTextEntry(i)->mStyle.mColor;
  const uint32_t text =
      uint32_t{color.mBlue} | uint32_t{color.mGreen} << 8 | uint32_t{color.mRed} << 16;
  const CoverageScale coverage = CoverageOf(text, GroundOf(color));
  description.mSubFormat = kMMSubFormatStraight;
  // Every pixel takes the text's colour; how far it lies from the ground
  // toward the text is how opaque it stays, so that the letters' smoothed
  // edges blend into whatever the texture lies on.
  TransformPixels(description, [text, coverage](uint32_t pixel) {
    return text | (255u - coverage.Of(pixel)) << 24;
  });
  return true;
}
