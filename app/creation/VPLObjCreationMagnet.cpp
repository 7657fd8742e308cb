// The magnet tools' operations on a created object: each event of a drag
// is one step on the surface under the pointer. Pulling, and pushing at
// its start, first moves the object's size and turn into its vertices.
#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLMagnetStep.h"
#include "app/objects/VPLPicking.h"

void VPLObjCreation::BeginMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, VPLMagnetStep::kPullStrength);
}

void VPLObjCreation::DragMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, VPLMagnetStep::kPullStrength);
}

void VPLObjCreation::EndMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, VPLMagnetStep::kPullStrength);
  RefreshBounds();
}

void VPLObjCreation::BeginMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, VPLMagnetStep::kPushStrength);
}

void VPLObjCreation::DragMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach) {
  MagnetStep(start, end, reach, VPLMagnetStep::kPushStrength);
}

void VPLObjCreation::EndMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach) {
  MagnetStep(start, end, reach, VPLMagnetStep::kPushStrength);
  RefreshBounds();
}

void VPLObjCreation::MagnetStep(const MM3DVector& start, const MM3DVector& end, float reach,
                                float strength) {
  MM3DVector hit(0.0f, 0.0f, 0.0f, 1.0f);
  if (!VPLPickModel(*this, start, end, hit, nullptr)) return;
  VPLMagnetStep(GetDisplayTreeRoot(), hit, reach, strength).Run();
}
