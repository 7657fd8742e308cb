#include "app/objects/VPL3DDialog.h"

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMEvents.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

constexpr MMResourceId kStringList = 8;

using RemoveCallback =
    UUClassCallback1Parameter<VPLSceneUIBase, void (VPLSceneUIBase::*)(VPLObjEvent*), VPLObjEvent*>;

}  // namespace

UURefCount<MM3DModel> VPLDefinitionModel(MMResourceId definition) {
  const VPLScript table(definition, kVPLButtonDefinition);
  if (table.FindTag(kVPLModelTag) < 0) return {};
  return MM3DGetModel(static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag)),
                      VPLGetServices().mTextureMap);
}

bool VPL3DDialog::HandleKey(const MMKeyEvent& event) {
  if (event.mKeyCode == 0) return VPL3DDialogBase::HandleKey(event);
  if (event.mKeyCode == VPL3DCallbackDialog::kEscapeKey) Close();
  if (event.mKeyCode == VPL3DCallbackDialog::kEnterKey) Accept();
  return true;
}

void VPL3DDialog::Accept() {
  if (!mClosing) Apply();
}

void VPL3DDialog::Close() {
  if (mClosing) return;
  mClosing = true;
  void (VPLSceneUIBase::*remove)(VPLObjEvent*) = &VPLSceneUIBase::RemoveObject;
  PostOwned(
      MMTaskCallback(GetScene()->GetTaskClient(), new RemoveCallback(GetOwner(), remove, this)));
}

void VPL3DDialog::AddButton(MMResourceId definition, void (VPL3DDialog::*action)()) {
  UURefCount<MM3DModel> model = VPLDefinitionModel(definition);
  if (!model) return;
  const MMTaskCallback callback(
      GetScene()->GetTaskClient(),
      new UUClassCallback<VPL3DDialog, void (VPL3DDialog::*)()>(this, action));
  AddChild(std::make_unique<VPLUpAlphaHiliteObject>(GetOwner(), model, callback, definition));
}

void VPL3DDialog::AddOkCancel(MMResourceId ok, MMResourceId cancel) {
  AddButton(ok, &VPL3DDialog::Accept);
  AddButton(cancel, &VPL3DDialog::Close);
}

VPLToggleButtonObject* VPL3DDialog::AddToggle(MMResourceId off, MMResourceId on, int32_t state) {
  UURefCount<MM3DModel> model = VPLDefinitionModel(off);
  if (!model) return nullptr;
  auto toggle =
      std::make_unique<VPLToggleButtonObject>(GetOwner(), model, off, on, MMTaskCallback(), off);
  toggle->SetBaseAlpha(kControlAlpha);
  VPLToggleButtonObject* shown = toggle.get();
  AddChild(std::move(toggle));
  shown->SetState(state > 0);
  return shown;
}

std::unique_ptr<VPLObj> VPL3DDialog::MakeLabel(MMResourceId definition, int16_t textEntry) const {
  UURefCount<MM3DModel> model = VPLDefinitionModel(definition);
  if (!model) return nullptr;
  auto label = std::make_unique<VPLObj>(GetScene(), model, definition);
  RenderLabel(*label, VPLScript(kStringList, kVPLStringList).GetTagString(textEntry));
  return label;
}
