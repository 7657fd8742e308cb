#include "app/shell/VPLPrintLayout.h"

#include <algorithm>

namespace {

struct Scale {
  double mX;
  double mY;
};

UURect SlotRect(const VPLPageLayout& layout, const UUPoint& corner) {
  return UURect(corner.mX, corner.mY, corner.mX + layout.mSlotSize.mX,
                corner.mY + layout.mSlotSize.mY);
}

// Each side scaled and truncated toward zero, then moved onto the page.
UURect ToPage(const UURect& rect, const Scale& scale, const UURect& page) {
  return UURect(static_cast<int32_t>(rect.mLeft * scale.mX) + page.mLeft,
                static_cast<int32_t>(rect.mTop * scale.mY) + page.mTop,
                static_cast<int32_t>(rect.mRight * scale.mX) + page.mLeft,
                static_cast<int32_t>(rect.mBottom * scale.mY) + page.mTop);
}

UURect UnionOfSlots(const VPLPageLayout& layout) {
  UURect all = SlotRect(layout, layout.mSlots.front());
  for (const UUPoint& corner : layout.mSlots) {
    const UURect slot = SlotRect(layout, corner);
    all = UURect(std::min(all.mLeft, slot.mLeft), std::min(all.mTop, slot.mTop),
                 std::max(all.mRight, slot.mRight), std::max(all.mBottom, slot.mBottom));
  }
  return all;
}

// How far the layout reaches outside the printable area on its worse side.
UUPoint Overhang(const UURect& layout, const UURect& printable) {
  const int32_t dx =
      std::max({0, printable.mLeft - layout.mLeft, layout.mRight - printable.mRight});
  const int32_t dy =
      std::max({0, printable.mTop - layout.mTop, layout.mBottom - printable.mBottom});
  return UUPoint{static_cast<int16_t>(dx), static_cast<int16_t>(dy)};
}

UURect Inset(const UURect& rect, int32_t dx, int32_t dy) {
  return UURect(rect.mLeft + dx, rect.mTop + dy, rect.mRight - dx, rect.mBottom - dy);
}

}  // namespace

std::vector<VPLPrintSlot> VPLPlaceSlots(const VPLPageLayout& layout, const UURect& page,
                                        const UURect& printable, int32_t verticalDotsPerInch,
                                        int16_t mode) {
  std::vector<VPLPrintSlot> placed;
  if (layout.mSlots.empty() || layout.mArea.GetWidth() == 0 || layout.mArea.GetHeight() == 0) {
    return placed;
  }
  const Scale scale{static_cast<double>(page.GetWidth()) / layout.mArea.GetWidth(),
                    static_cast<double>(page.GetHeight()) / layout.mArea.GetHeight()};
  const UUPoint overhang = Overhang(ToPage(UnionOfSlots(layout), scale, page), printable);
  const bool inset = mode == kVPLPrintModeCutMarks && overhang.mX == 0 && overhang.mY == 0;
  const int32_t frameInset = inset ? verticalDotsPerInch / 4 : 0;
  for (const UUPoint& corner : layout.mSlots) {
    const UURect slot =
        Inset(ToPage(SlotRect(layout, corner), scale, page), overhang.mX, overhang.mY);
    placed.push_back(VPLPrintSlot{slot, Inset(slot, frameInset, frameInset)});
  }
  return placed;
}
