#include "app/creation/VPLToolSoundGeneric.h"

#include "app/objects/RU3DLogicalSoundChannel.h"

VPLToolSoundGeneric::VPLToolSoundGeneric(VPLSceneCreationArea* area, MMResourceId scriptId)
    : VPLToolSound(area, scriptId) {}

VPLToolSoundGeneric::~VPLToolSoundGeneric() = default;

void VPLToolSoundGeneric::PlayPress(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::StartLoop(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::MoveLoop(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::StopLoop(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::PlayRelease(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::PlayAction(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::PlayDrag(const MM3DVector&, bool) {}
void VPLToolSoundGeneric::StopAll(const MM3DVector&, bool) {}
void VPLToolSoundMove::PlayDrag(const MM3DVector&, bool) {}
void VPLToolSoundScale::PlayExtra(const MM3DVector&, bool) {}
void VPLToolSoundPrimativeShape::PlayExtra(const MM3DVector&, bool) {}
