#pragma once
// Where the copies of the creation go on a page: a layout of slots in its
// own units, stretched over the physical page and, when it would reach
// outside what the printer can print, narrowed on both sides until it fits.

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"

#include <cstdint>
#include <vector>

// A page layout as the print scripts give it.
struct VPLPageLayout {
  UURect mArea;  // the page, in layout units
  UUPoint mSlotSize;
  std::vector<UUPoint> mSlots;  // top-left corners, in layout units
};

// One slot on the page in device pixels: the slot itself, and the frame
// the picture is fitted into.
struct VPLPrintSlot {
  UURect mSlot;
  UURect mFrame;
};

// The print mode whose copies sit inset in their slots, with cut marks.
constexpr int16_t kVPLPrintModeCutMarks = 1;

// The slots in order; none when the layout's area has no width or height.
// In the cut-mark mode the frames lie a quarter inch inside their slots
// unless the layout had to be narrowed.
std::vector<VPLPrintSlot> VPLPlaceSlots(const VPLPageLayout& layout, const UURect& page,
                                        const UURect& printable, int32_t verticalDotsPerInch,
                                        int16_t mode);
