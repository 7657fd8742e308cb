// The program's tool makers, one row per tool number (see VPLToolFactory.h).
// A tool's owner includes its header under its family's comment below and
// fills its own row only, so that tools added side by side touch separate
// lines.
#include "app/creation/VPLToolFactory.h"
// The editing tools.

// The drawing tools.
#include "app/creation/VPLToolShapeFreehand.h"
#include "app/creation/VPLToolTubeDraw.h"

#include <array>

namespace {

constexpr std::array<VPLToolMaker, kVPLToolCount> kDefaultMakers{{
    // 0 move (also built for 6, 10, 11 and 16)
    nullptr,
    // 1 scale
    nullptr,
    // 2 delete
    nullptr,
    // 3 mirror
    nullptr,
    // 4 rotate
    nullptr,
    // 5 flood colour
    nullptr,
    // 6 builds the move tool
    nullptr,
    // 7 tube
    VPLMakeTool<VPLToolTubeDraw>,
    // 8 freehand shape
    VPLMakeTool<VPLToolShapeFreehand>,
    // 9 primitive shape
    nullptr,
    // 10 builds the move tool
    nullptr,
    // 11 builds the move tool
    nullptr,
    // 12 magnet push
    nullptr,
    // 13 align
    nullptr,
    // 14 group
    nullptr,
    // 15 path
    nullptr,
    // 16 the colour sucker, the area's second tool
    nullptr,
    // 17 magnet pull
    nullptr,
}};

}  // namespace

VPLToolMaker VPLDefaultToolMaker(int32_t classNumber) {
  if (classNumber < 0 || classNumber >= kVPLToolCount) return nullptr;
  return kDefaultMakers[static_cast<size_t>(classNumber)];
}
