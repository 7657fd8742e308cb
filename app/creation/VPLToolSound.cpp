#include "app/creation/VPLToolSound.h"

VPLToolSound::VPLToolSound(VPLSceneCreationArea* area, MMResourceId scriptId)
    : mArea(area), mScript(scriptId, kScriptKind) {}

void VPLToolSound::Begin(const MM3DVector& position, bool alternate) {
  SetStart(position, alternate);
  StopAll(position, alternate);
  PlayPress(position, alternate);
  StartLoop(position, alternate);
}

void VPLToolSound::Drag(const MM3DVector& position, bool alternate) {
  MoveLoop(position, alternate);
  PlayDrag(position, alternate);
  SetPosition(position, alternate);
}

void VPLToolSound::End(const MM3DVector& position, bool alternate) {
  StopLoop(position, alternate);
  PlayRelease(position, alternate);
  SetPosition(position, alternate);
}

void VPLToolSound::Act(const MM3DVector& position, bool alternate) {
  PlayAction(position, alternate);
  SetPosition(position, alternate);
}

void VPLToolSound::StopLoopHere() { StopLoop(mPosition, false); }

void VPLToolSound::SetStart(const MM3DVector& position, bool alternate) {
  mAlternate = alternate;
  mPosition = position;
  mStart = position;
}

void VPLToolSound::SetPosition(const MM3DVector& position, bool alternate) {
  mAlternate = alternate;
  mPosition = position;
}
