#include "app/creation/VPLToolFactory.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLToolSoundArcade.h"
#include "app/creation/VPLToolSoundGeneric.h"

#include <array>

namespace {

// By class number; 6, 10, 11 and 16 build the move tool and have no row of
// their own that is used.
constexpr VPLToolKind kMove{482, 3, 4, kVPLMoveSound};
constexpr std::array<VPLToolKind, kVPLToolCount> kKinds{{
    kMove,                                   // 0 move
    {484, 7, 8, kVPLScaleSound},             // 1 scale
    {486, 12, 12, kVPLGenericSound},         // 2 delete
    {485, 10, 11, kVPLGenericSound},         // 3 mirror
    {483, 5, 6, kVPLRotateSound},            // 4 rotate
    {490, 19, 19, kVPLGenericSound},         // 5 flood colour
    kMove,                                   // 6
    {493, 16, 16, kVPLDrawSound},            // 7 tube
    {495, 17, 17, kVPLOwnSound},             // 8 freehand shape
    {494, 18, 18, kVPLPrimativeShapeSound},  // 9 primitive shape
    kMove,                                   // 10
    kMove,                                   // 11
    {492, 21, 21, kVPLGenericSound},         // 12 magnet push
    {487, 14, 14, kVPLGenericSound},         // 13 align
    {488, 15, 15, kVPLGenericSound},         // 14 group
    {489, 9, 9, kVPLGenericSound},           // 15 path
    kMove,                                   // 16
    {491, 20, 20, kVPLGenericSound},         // 17 magnet pull
}};
constexpr VPLToolKind kColorSucker{VPLToolFactory::kColorSuckerScript,
                                   VPLToolFactory::kColorSuckerCursor,
                                   VPLToolFactory::kColorSuckerCursor, kVPLGenericSound};

std::array<VPLToolMaker, kVPLToolCount>& Makers() {
  static std::array<VPLToolMaker, kVPLToolCount> makers = [] {
    std::array<VPLToolMaker, kVPLToolCount> all{};
    for (int32_t k = 0; k < kVPLToolCount; ++k)
      all[static_cast<size_t>(k)] = VPLDefaultToolMaker(k);
    return all;
  }();
  return makers;
}

bool InRange(int32_t value) { return value >= 0 && value < kVPLToolCount; }

}  // namespace

int32_t VPLToolFactory::ClassOf(int32_t value) {
  switch (value) {
    case kVPLToolStart:
    case kVPLToolCharacter:
    case kVPLToolUnused:
    case kVPLToolColorSucker:
      return kVPLToolMove;
    default:
      return InRange(value) ? value : -1;
  }
}

const VPLToolKind& VPLToolFactory::GetKind(int32_t value) {
  return kKinds[static_cast<size_t>(InRange(value) ? ClassOf(value) : kVPLToolMove)];
}

const VPLToolKind& VPLToolFactory::ColorSuckerKind() { return kColorSucker; }

std::unique_ptr<VPLTool> VPLToolFactory::Make(int32_t value, VPLSceneCreationArea& area) {
  const int32_t classNumber = ClassOf(value);
  if (classNumber < 0) return nullptr;
  return Build(classNumber, GetKind(value), area);
}

std::unique_ptr<VPLTool> VPLToolFactory::MakeColorSucker(VPLSceneCreationArea& area) {
  return Build(kVPLToolColorSucker, kColorSucker, area);
}

VPLToolMaker VPLToolFactory::SetMaker(int32_t classNumber, VPLToolMaker maker) {
  if (!InRange(classNumber)) return nullptr;
  return std::exchange(Makers()[static_cast<size_t>(classNumber)], maker);
}

std::unique_ptr<VPLTool> VPLToolFactory::Build(int32_t classNumber, const VPLToolKind& kind,
                                               VPLSceneCreationArea& area) {
  const VPLToolMaker maker = Makers()[static_cast<size_t>(classNumber)];
  if (maker == nullptr) return nullptr;
  const VPLToolSetup setup{.mView = area.GetView(),
                           .mCreation = area.GetCreation(),
                           .mArea = &area,
                           .mSoundScript = kind.mSoundScript};
  std::unique_ptr<VPLTool> tool(maker(setup));
  if (!tool) return nullptr;
  if (kind.mSound != kVPLOwnSound && kind.mSound != kVPLGenericSound) {
    tool->SetSound(MakeSound(kind.mSound, area, kind.mSoundScript));
  }
  tool->SetCursors(kind.mCursor, kind.mAlternateCursor);
  return tool;
}

std::unique_ptr<VPLToolSound> VPLToolFactory::MakeSound(VPLToolSoundKind kind,
                                                        VPLSceneCreationArea& area,
                                                        MMResourceId script) {
  switch (kind) {
    case kVPLMoveSound:
      return std::make_unique<VPLToolSoundMove>(&area, script);
    case kVPLScaleSound:
      return std::make_unique<VPLToolSoundScale>(&area, script);
    case kVPLRotateSound:
      return std::make_unique<VPLToolSoundRotate>(&area, script);
    case kVPLDrawSound:
      return std::make_unique<VPLToolSoundDraw>(&area, script);
    case kVPLPrimativeShapeSound:
      return std::make_unique<VPLToolSoundPrimativeShape>(&area, script);
    default:
      return std::make_unique<VPLToolSoundGeneric>(&area, script);
  }
}
