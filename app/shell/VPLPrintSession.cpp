#include "app/shell/VPLPrintSession.h"

#include "app/objects/VPLStringList.h"
#include "app/shell/VPLPrintableCutLines.h"
#include "mm/drawing/MMBlitRequest.h"
#include "mm/drawing/MMPrintableSurface.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/resources/MMScript.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

constexpr MMResourceId kSmallPaperLayout = 21;
constexpr MMResourceId kLargePaperLayout = 22;
// Papers wider or longer than these (tenths of a millimetre) take the large
// layout: every real paper does.
constexpr int32_t kSmallPaperWidth = 218;
constexpr int32_t kSmallPaperHeight = 282;
constexpr int16_t kTagOffset = 0;
constexpr int16_t kValueOffset = 2;
constexpr int16_t kPageTag = 0;
constexpr int16_t kAreaTag = 1;
constexpr int16_t kSlotScriptTag = 4;
constexpr int16_t kSlotTag = 1;
constexpr int32_t kPointsPerInch = 72;
constexpr int32_t kCaptionWeight = 400;
constexpr int32_t kCopyDepth = 24;
constexpr int32_t kCutMarkDistance = 2;

AFColor Grey(uint8_t level) { return AFColor(AFRGB(level, level, level)); }

MMResourceId ScriptAt(const MMScript& script, int16_t tag, int32_t n) {
  return script.GetScriptId(script.FindRow(0, kTagOffset, n, tag), kValueOffset);
}

// The picture as 24 bits, the depth the page takes.
std::unique_ptr<WinMMOffscreenSurface> MakeCopy(MMSurface& picture) {
  const UURect size(0, 0, picture.GetRect().GetWidth(), picture.GetRect().GetHeight());
  std::unique_ptr<WinMMOffscreenSurface> copy(
      WinMMCreateOffscreenSurface(kCopyDepth, size, AFPalette()));
  if (copy == nullptr) return nullptr;
  picture.BeginDraw();
  copy->BeginDraw();
  MMBitmap source;
  MMBitmap destination;
  MMBitmapBlitRequest blit;
  if (picture.GetImageDescription(source) && copy->GetImageDescription(destination) &&
      blit.Prepare(&source, destination, destination.mRect)) {
    blit.Execute();
  }
  copy->EndDraw();
  picture.EndDraw();
  return copy;
}

}  // namespace

VPLPrintSession::VPLPrintSession(MMSurface* surface, int16_t mode, const char* caption)
    : AFPrintSessionBase(AFPalette()), mSurface(surface), mMode(mode) {
  if (caption != nullptr) std::strncpy(mCaption, caption, kCaptionSize - 1);
}

MMResourceId VPLPrintSession::LayoutScriptFor(const UURect& paperInTenths) {
  const int32_t width = std::min(paperInTenths.GetWidth(), paperInTenths.GetHeight());
  const int32_t height = std::max(paperInTenths.GetWidth(), paperInTenths.GetHeight());
  return width > kSmallPaperWidth || height > kSmallPaperHeight ? kLargePaperLayout
                                                                : kSmallPaperLayout;
}

VPLPageLayout VPLPrintSession::ReadLayout() const {
  const MMScript layouts(LayoutScriptFor(GetPaperSizeInTenthsOfMillimetre(false)));
  const MMScript page(ScriptAt(layouts, kPageTag, mMode));
  const MMScript slots(ScriptAt(page, kSlotScriptTag, 0));
  VPLPageLayout layout;
  layout.mArea = page.GetTagRect(kAreaTag, 0, 0);
  layout.mSlotSize = slots.GetPoint(0, kValueOffset);
  const int32_t count = slots.CountRows(0, kTagOffset, kSlotTag);
  for (int32_t i = 0; i < count; ++i) layout.mSlots.push_back(slots.GetTagPoint(kSlotTag, 0, i));
  return layout;
}

bool VPLPrintSession::PrintPage(int32_t) {
  if (mSurface == nullptr) return false;
  const VPLStringList strings;
  const int32_t dotsPerInch = GetResolution().mY;
  const int32_t captionHeight =
      MulDiv(std::atoi(strings.GetText(kVPLTextCaptionPoints)), dotsPerInch, kPointsPerInch);
  bool result = false;
  for (const VPLPrintSlot& slot : VPLPlaceSlots(ReadLayout(), GetPaperRect(false),
                                                GetPrintableArea(false), dotsPerInch, mMode)) {
    PrintSlot(slot, captionHeight, result);
  }
  return result;
}

// A slot whose copy cannot be made is skipped after the alert; the page's
// result stays that of the last item printed.
void VPLPrintSession::PrintSlot(const VPLPrintSlot& slot, int32_t captionHeight, bool& result) {
  std::unique_ptr<WinMMOffscreenSurface> copy = MakeCopy(*mSurface);
  if (copy == nullptr) {
    VPLAlertStringListText(kVPLTextOutOfMemory);
    return;
  }
  const UURect size(0, 0, mSurface->GetRect().GetWidth(), mSurface->GetRect().GetHeight());
  const UURect picture = FitRect(size, slot.mFrame);
  result = MMPrintableSurface(picture, copy.get()).Print(*this);
  if (result && mCaption[0] != '\0') result = PrintCaption(*copy, picture, captionHeight);
  if (mMode == kVPLPrintModeCutMarks) {
    const UURect marks(slot.mSlot.mLeft - kCutMarkDistance, slot.mSlot.mTop - kCutMarkDistance,
                       slot.mSlot.mRight + kCutMarkDistance, slot.mSlot.mBottom + kCutMarkDistance);
    result = VPLPrintableCutLines(marks, Grey(128)).Print(*this);
  }
}

// The caption centred under the picture, its baseline a caption's height
// below it.
bool VPLPrintSession::PrintCaption(MMSurface& copy, const UURect& picture, int32_t captionHeight) {
  const VPLStringList strings;
  const char* face = strings.GetText(kVPLTextCaptionFace);
  int32_t width = 0;
  {
    MMSystemFont font(face, captionHeight, kCaptionWeight, false, false);
    const MMTextStyle style{.mFont = &font, .mColor = Grey(0)};
    width = copy.GetTextBounds(mCaption, 0, 0, style).GetWidth();
  }
  const UUPoint baseline{(picture.mLeft + picture.mRight) / 2 - width / 2,
                         picture.mBottom + captionHeight};
  return AFPrintableText(baseline, mCaption, face, captionHeight, Grey(0)).Print(*this);
}
