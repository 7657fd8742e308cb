#include "app/creation/VPLToolSoundArcade.h"

#include "app/objects/RU3DLogicalSoundChannel.h"

VPLToolSoundArcade::VPLToolSoundArcade(VPLSceneCreationArea* area, MMResourceId scriptId)
    : VPLToolSound(area, scriptId) {}

VPLToolSoundArcade::~VPLToolSoundArcade() = default;

RU3DArcadeSoundChannel* VPLToolSoundArcade::GetChannel(int16_t tag) const {
  if (tag < 0 || tag >= kVPLSoundTagCount) return nullptr;
  return mChannels[static_cast<size_t>(tag)].get();
}

void VPLToolSoundArcade::PlayPress(const MM3DVector&, bool) {}
void VPLToolSoundArcade::StartLoop(const MM3DVector&, bool) {}
void VPLToolSoundArcade::MoveLoop(const MM3DVector&, bool) {}
void VPLToolSoundArcade::StopLoop(const MM3DVector&, bool) {}
void VPLToolSoundArcade::PlayRelease(const MM3DVector&, bool) {}
void VPLToolSoundArcade::PlayAction(const MM3DVector&, bool) {}
void VPLToolSoundArcade::PlayDrag(const MM3DVector&, bool) {}
void VPLToolSoundArcade::StopAll(const MM3DVector&, bool) {}
void VPLToolSoundRotate::PlayDrag(const MM3DVector&, bool) {}
void VPLToolSoundDraw::PlayDrag(const MM3DVector&, bool) {}
void VPLToolSoundDraw::SetStart(const MM3DVector& position, bool alternate) {
  VPLToolSoundArcade::SetStart(position, alternate);
  mDirection = 0.0f;
}
