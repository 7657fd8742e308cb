// The program's tool makers, one row per tool number (see VPLToolFactory.h).
// A tool's owner includes its header under its family's comment below and
// fills its own row only, so that tools added side by side touch separate
// lines.
#include "app/creation/VPLToolFactory.h"
// The editing tools.
#include "app/creation/VPLToolAlign.h"
#include "app/creation/VPLToolColorSucker.h"
#include "app/creation/VPLToolDelete.h"
#include "app/creation/VPLToolFloodColor.h"
#include "app/creation/VPLToolGroup.h"
#include "app/creation/VPLToolMagnet.h"
#include "app/creation/VPLToolMirror.h"
#include "app/creation/VPLToolMove.h"
#include "app/creation/VPLToolPath.h"
#include "app/creation/VPLToolRotate.h"
#include "app/creation/VPLToolScale.h"
#include "app/creation/VPLToolShapePrimitive.h"

// The drawing tools.
#include "app/creation/VPLToolShapeFreehand.h"
#include "app/creation/VPLToolTubeDraw.h"

#include <array>

namespace {

constexpr std::array<VPLToolMaker, kVPLToolCount> kDefaultMakers{{
    // 0 move (also built for 6, 10, 11 and 16)
    VPLMakeTool<VPLToolMove>,
    // 1 scale
    VPLMakeTool<VPLToolScale>,
    // 2 delete
    VPLMakeTool<VPLToolDelete>,
    // 3 mirror
    VPLMakeTool<VPLToolMirror>,
    // 4 rotate
    VPLMakeTool<VPLToolRotate>,
    // 5 flood colour
    VPLMakeTool<VPLToolFloodColor>,
    // 6 builds the move tool
    nullptr,
    // 7 tube
    VPLMakeTool<VPLToolTubeDraw>,
    // 8 freehand shape
    VPLMakeTool<VPLToolShapeFreehand>,
    // 9 primitive shape
    VPLMakeTool<VPLToolShapePrimitive>,
    // 10 builds the move tool
    nullptr,
    // 11 builds the move tool
    nullptr,
    // 12 magnet push
    VPLMakeTool<VPLToolMagnetPush>,
    // 13 align
    VPLMakeTool<VPLToolAlign>,
    // 14 group
    VPLMakeTool<VPLToolGroup>,
    // 15 path
    VPLMakeTool<VPLToolPath>,
    // 16 the colour sucker, the area's second tool
    VPLMakeTool<VPLToolColorSucker>,
    // 17 magnet pull
    VPLMakeTool<VPLToolMagnetPull>,
}};

}  // namespace

VPLToolMaker VPLDefaultToolMaker(int32_t classNumber) {
  if (classNumber < 0 || classNumber >= kVPLToolCount) return nullptr;
  return kDefaultMakers[static_cast<size_t>(classNumber)];
}
