#include "app/objects/VPL3DCallbackDialog.h"

#include "app/objects/VPLSceneUIBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMEvents.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DModelCollection.h"

#include <array>

namespace {

// What each button kind answers, and whether Enter or Escape gives it too.
enum class DefaultKey { kNone, kEnter, kEscape };
struct ButtonKind {
  DialogResponse mResponse;
  DefaultKey mKey;
};
constexpr std::array<ButtonKind, 6> kButtonKinds{{
    {1, DefaultKey::kEnter},
    {4, DefaultKey::kEscape},
    {5, DefaultKey::kNone},
    {2, DefaultKey::kEnter},
    {3, DefaultKey::kEscape},
    {6, DefaultKey::kNone},
}};

using RespondCallback =
    UUClassCallback1Parameter<VPL3DCallbackDialog, void (VPL3DCallbackDialog::*)(DialogResponse),
                              DialogResponse>;

}  // namespace

VPL3DCallbackDialog::VPL3DCallbackDialog(VPLSceneUIBase* owner, const UURefCount<MM3DModel>& model,
                                         MMResourceId layout, const char* text,
                                         ResponseHandler handler)
    : VPL3DDialogBase(owner, model, layout, text), mHandler(handler) {}

void VPL3DCallbackDialog::Respond(DialogResponse response) {
  if (mHandler != nullptr) (GetOwner()->*mHandler)(this, response);
}

bool VPL3DCallbackDialog::HandleKey(const MMKeyEvent& event) {
  if (event.mKeyCode == 0) return VPL3DDialogBase::HandleKey(event);
  // Escape gives one answer, never two contradictory ones.
  if (event.mKeyCode == kEscapeKey) {
    const DialogResponse answer = mEscapeAnswer != 0 ? mEscapeAnswer : mEnterAnswer;
    if (answer != 0) Respond(answer);
  } else if (event.mKeyCode == kEnterKey && mEnterAnswer != 0) {
    Respond(mEnterAnswer);
  }
  return true;
}

void VPL3DMessageDialog::Build() {
  if (GetLayout() == kMMNoResource) return;
  const int32_t count = CountChildRows();
  for (int32_t i = 0; i < count; ++i) MakeButton(ChildDefinition(i));
}

void VPL3DMessageDialog::MakeButton(MMResourceId definition) {
  const VPLScript table(definition, kVPLButtonDefinition);
  if (table.FindTag(kButtonKindTag) < 0 || table.FindTag(kVPLModelTag) < 0) return;
  const uint32_t kind = table.GetTagUInt32(kButtonKindTag);
  if (kind >= kButtonKinds.size()) return;
  const ButtonKind& button = kButtonKinds[kind];
  if (button.mKey == DefaultKey::kEnter) mEnterAnswer = button.mResponse;
  if (button.mKey == DefaultKey::kEscape) mEscapeAnswer = button.mResponse;
  UURefCount<MM3DModel> model = MM3DGetModel(
      static_cast<MMResourceId>(table.GetTagUInt32(kVPLModelTag)), VPLGetServices().mTextureMap);
  if (!model) return;
  auto* respond = new RespondCallback(this, &VPL3DCallbackDialog::Respond, button.mResponse);
  const MMTaskCallback callback(GetScene()->GetTaskClient(), respond);
  AddChild(std::make_unique<VPLUpAlphaHiliteObject>(GetScene(), model, callback, definition));
}
