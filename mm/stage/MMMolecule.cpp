#include "mm/stage/MMMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUCallback.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMSceneServices.h"

void MMMolecule::Detach() {
  if (mScene->GetFocusMolecule() == this) mScene->SetFocusMolecule(nullptr);
}

void MMMolecule::SetVisibility(MMVisibility visibility) {
  if (visibility != mVisibility) ApplyVisibility(visibility);
}

void MMMolecule::TakeFocus() {
  if (mHasFocus) return;
  mScene->TakeFocus();
  mScene->SetFocusMolecule(this);
}

MMTaskCallback MMMolecule::MakeVisibilityCallback(MMVisibility visibility) {
  using Apply =
      UUClassCallback1Parameter<MMMolecule, void (MMMolecule::*)(MMVisibility), MMVisibility>;
  return MMTaskCallback(
      GetTaskClient(), new (ALGlobalAllocator) Apply(this, &MMMolecule::SetVisibility, visibility));
}

MMTaskCallback MMMolecule::MakeShowCallback() { return MakeVisibilityCallback(kMMShown); }

MMTaskCallback MMMolecule::MakeHideCallback() { return MakeVisibilityCallback(kMMHidden); }

MMTaskCallback MMMolecule::MakeTakeFocusCallback() {
  using Focus = UUClassCallback<MMMolecule, void (MMMolecule::*)()>;
  return MMTaskCallback(GetTaskClient(),
                        new (ALGlobalAllocator) Focus(this, &MMMolecule::TakeFocus));
}

MMTaskClient* MMMolecule::GetTaskClient() const { return mScene->GetTaskClient(); }

MMStageSoundGroup* MMMolecule::GetSoundGroup() const { return mScene->GetSoundGroup(); }

MMEnclosure* MMMolecule::GetEnclosure() const {
  return static_cast<MMEnclosure*>(mScene->GetUserData());
}

MMAct* MMMolecule::GetAct() const { return mScene->GetHost()->GetAct(); }

MMStage* MMMolecule::GetStage() const { return mScene->GetStage(); }
