#include "app/creation/VPLPomblePreviewObject.h"

#include "app/creation/VPLObjButtonToolPomble.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLPicking.h"
#include "foundation/al/ALAllocator.h"

namespace {

// The depth the character's own pose visual draws at.
constexpr int32_t kVisualDepth = 1;

}  // namespace

VPLPomblePreviewObject::VPLPomblePreviewObject(MMScene* scene, const UURefCount<MM3DModel>& model,
                                               const MMTaskCallback& callback,
                                               const VPLPombleVisual* character)
    : VPLObjButton(scene, model, callback, kMMNoResource),
      mPoseVisual(new (ALGlobalAllocator) VPLPombleVisual(this, model, kVisualDepth)) {
  ReplaceVisual(mPoseVisual);
  mPoseVisual->BindBlendNodes();
  if (character == nullptr) return;
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    mPoseVisual->SetPartPose(part, character->GetPartPose(part), false);
  }
}

bool VPLPomblePreviewObject::HitTest(const VPLSegment& ray) const {
  if (GetVisibility() != kMMShown || !IntersectsBounds(ray.mStart, ray.mEnd)) return false;
  // The posed shape is what the child sees.
  MM3DVector hit;
  return VPLPickDeformedModel(*this, ray.mStart, ray.mEnd, hit, nullptr);
}

void VPLPomblePreviewObject::OnDoubleClick() {
  VPLObjButton::OnDoubleClick();
  if (mTool != nullptr) mTool->ResetHiddenPartPoses();
}
