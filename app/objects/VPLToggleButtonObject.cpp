#include "app/objects/VPLToggleButtonObject.h"

#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

bool HasComponent(const MM3DColor& c) { return c.mR != 0 || c.mG != 0 || c.mB != 0 || c.mA != 0; }

UURefCount<MM3DModel> ModelOf(MMResourceId definition) {
  if (definition == kMMNoResource) return {};
  const VPLScript table(definition, kVPLButtonDefinition);
  return MM3DGetModel(static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag)),
                      VPLGetServices().mTextureMap);
}

}  // namespace

VPLToggleButtonObject::VPLToggleButtonObject(MMScene* scene, const UURefCount<MM3DModel>& model,
                                             MMResourceId offId, MMResourceId onId,
                                             const MMTaskCallback& callback,
                                             MMResourceId definition)
    : VPLUpAlphaHiliteObject(scene, model, callback, definition),
      mOnModel(ModelOf(onId)),
      mOffModel(model),
      mOnId(onId),
      mOffId(offId),
      mOffNodes(GetTransformNodes()) {
  PrepareLooks();
}

void VPLToggleButtonObject::OnRelease(const VPLPickEvent& event) {
  VPLObjButton::OnRelease(event);
  SetState(!mState);
  FireCallback();
}

void VPLToggleButtonObject::SetState(bool on) {
  if (on != mState) {
    mState = on;
    if (on && mOnId != kMMNoResource) {
      ShowLook(mOnModel, kOnLift);
      if (HasComponent(mHoverColor) && HasComponent(mNormalColor)) SetColor(mHoverColor);
    } else if (mOffId != kMMNoResource) {
      ShowLook(mOffModel, -kOnLift);
      if (HasComponent(mHoverColor) && HasComponent(mNormalColor)) SetColor(mNormalColor);
    }
    // The range of the table in force before the flip.
    PlayRange(kVPLToggleFramesTag, true);
  }
  // The shown look's table drives sounds and frames from now on.
  SetDefinition(GetScriptId());
}

void VPLToggleButtonObject::ShowLook(const UURefCount<MM3DModel>& model, float lift) {
  const MM3DVector p = GetWorldPosition();
  const float transparency = GetAlpha();
  SetModel(model, false);
  SetAlpha(transparency);
  SetLocation(MM3DVector(p.mX, p.mY, p.mZ + lift, p.mW));
}

VPLObj::TransformNodes VPLToggleButtonObject::NodesInModel(
    const UURefCount<MM3DModel>& model) const {
  return IsOnModel(model) ? mOnNodes : mOffNodes;
}

void VPLToggleButtonObject::SetModel(const UURefCount<MM3DModel>& model, bool rebuild) {
  if (!rebuild) VPLObj::SetScriptId(IsOnModel(model) ? mOnId : mOffId);
  VPLUpAlphaHiliteObject::SetModel(model, rebuild);
}

void VPLToggleButtonObject::CreateTransformNodes() {
  if (mOffModel.Get() == nullptr) return;
  CreateTransformNodesIn(*mOffModel, mOffNodes);
  PrepareLooks();
}

void VPLToggleButtonObject::RemoveTransformNodes() {
  const bool onShown = IsOnModel(GetModel());
  RemoveTransformNodesOf(onShown ? mOffNodes : mOnNodes);
  VPLUpAlphaHiliteObject::RemoveTransformNodes();
  (onShown ? mOnNodes : mOffNodes) = {};
}

void VPLToggleButtonObject::PrepareLooks() {
  if (mOnId != kMMNoResource && mOnModel.Get() != nullptr) {
    mOnNodes = {};
    CreateTransformNodesIn(*mOnModel, mOnNodes);
    SetTransformNodes(mOnNodes);
    VPLObj::SetScriptId(mOnId);
  }
  const bool onShown = IsOnModel(GetModel());
  SetTransformNodes(onShown ? mOnNodes : mOffNodes);
  VPLObj::SetScriptId(onShown ? mOnId : mOffId);
}
