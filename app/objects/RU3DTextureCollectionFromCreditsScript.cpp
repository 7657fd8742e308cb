#include "app/objects/RU3DTextureCollectionFromCreditsScript.h"

#include "app/objects/VPLScript.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMSurface.h"
#include "mm/drawing/MMSystemFont.h"

namespace {

constexpr MMResourceId kStringList = 8;
constexpr int16_t kFaceTag = 45;
constexpr int32_t kFontWeight = 400;
// A line script's row 0: the text, its colour and its font's height.
constexpr int16_t kTextOffset = 0;
constexpr int16_t kRedOffset = 4;
constexpr int16_t kGreenOffset = 6;
constexpr int16_t kBlueOffset = 8;
constexpr int16_t kHeightOffset = 10;
// A page's rows name their line or gap script here.
constexpr int16_t kReferenceOffset = 2;
// Lines are centred a little right of the middle.
constexpr int32_t kColumnShift = 10;
constexpr int32_t kCentred = 1;
constexpr int32_t kTopAligned = 2;
// Font heights a credits line may ask for; others draw no line.
constexpr int16_t kMaxLineHeight = 1000;

AFColor Black() { return AFColor(); }

}  // namespace

RU3DTextureCollectionFromCreditsScript::RU3DTextureCollectionFromCreditsScript(
    uint16_t collectionNumber)
    : RU3DTextureCollectionFromSurface(collectionNumber), mCredits(kCreditsScript) {}

MMResourceId RU3DTextureCollectionFromCreditsScript::AddEntry(const UURect& rect, int16_t page) {
  auto entry = std::make_unique<PageEntry>();
  entry->mRect = rect;
  entry->mPage = page;
  return AppendEntry(std::move(entry));
}

void RU3DTextureCollectionFromCreditsScript::SetEntry(MMResourceId id, const UURect& rect,
                                                      int16_t page) {
  auto entry = std::make_unique<PageEntry>();
  entry->mRect = rect;
  entry->mPage = page;
  ReplaceEntry(id, std::move(entry));
}

bool RU3DTextureCollectionFromCreditsScript::DrawEntry(int16_t i, MMSurface* surface) {
  const auto* entry = static_cast<const PageEntry*>(GetEntry(i));
  if (entry == nullptr || surface == nullptr) return false;
  surface->FillRect(entry->mRect, Black());
  const int32_t x = entry->mRect.GetWidth() / 2 + kColumnShift;
  int32_t y = 0;
  const MMScript page(mCredits.GetScriptId(entry->mPage, kReferenceOffset));
  const int32_t bottom = entry->mRect.GetHeight();
  // Lines and gaps past the page's foot (or above it) show nothing.
  for (int32_t row = 0; row < page.GetRowCount() && y <= bottom && y >= -bottom; ++row) {
    const int16_t tag = page.GetInt16(row, 0);
    const MMResourceId item = page.GetScriptId(row, kReferenceOffset);
    if (tag == kLineTag) y += DrawLine(*surface, item, x, y);
    if (tag == kGapTag) y += MMScript(item).GetInt16(0, 0);
  }
  return true;
}

int32_t RU3DTextureCollectionFromCreditsScript::DrawLine(MMSurface& surface, MMResourceId line,
                                                         int32_t x, int32_t y) {
  const MMScript script(line);
  const int16_t height = script.GetInt16(0, kHeightOffset);
  if (height <= 0 || height > kMaxLineHeight) return 0;
  const VPLScript strings(kStringList, kVPLStringList);
  MMSystemFont font(strings.GetTagString(kFaceTag), height, kFontWeight, false, false);
  AFColor color;
  color.mRed = static_cast<uint8_t>(script.GetInt16(0, kRedOffset));
  color.mGreen = static_cast<uint8_t>(script.GetInt16(0, kGreenOffset));
  color.mBlue = static_cast<uint8_t>(script.GetInt16(0, kBlueOffset));
  const MMTextStyle style{&font, color, kCentred, kTopAligned};
  const char* text = script.GetString(0, kTextOffset);
  surface.DrawText(text, x, y, style);
  return surface.GetTextBounds(text, 0, 0, style).GetHeight();
}

bool RU3DTextureCollectionFromCreditsScript::GetImage(int16_t i, MMSurface* surface,
                                                      MMBitmap& description) {
  if (!RU3DTextureCollectionFromSurface::GetImage(i, surface, description)) return false;
  description.mSubFormat = kMMSubFormatStraight;
  for (int32_t y = description.mRect.mTop; y < description.mRect.mBottom; ++y) {
    uint8_t* pixel = description.GetPixelAddress(description.mRect.mLeft, y);
    for (int32_t x = 0; x < description.GetWidth(); ++x, pixel += 4) {
      const bool ground = pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
      if (ground) pixel[0] = pixel[1] = pixel[2] = 255;
      pixel[3] = ground ? uint8_t{255} : uint8_t{0};
    }
  }
  return true;
}
