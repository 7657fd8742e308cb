#include "app/shell/VPLSceneCredits.h"

#include "app/objects/VPL3DDialogBase.h"
#include "app/objects/VPLObj.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLCreditsThread.h"
#include "mm/stage/MMView.h"
#include "mm3d/MM3DModelCollection.h"

namespace {

// Pressed: value 2 of the mouse-event flags.
constexpr int32_t kPressed = 2;
constexpr int16_t kReferenceOffset = 2;
constexpr int16_t kModelTag = 0;
// The quit question's text, which the dialog shows again afterwards.
constexpr int16_t kQuitQuestionEntry = 35;

}  // namespace

VPLSceneCredits::VPLSceneCredits(MMSceneServices* host, MMEnclosure* enclosure, MMView* view,
                                 int32_t sceneId)
    : VPLSceneBase(host, enclosure, view, sceneId) {
  if (GetView() != nullptr) GetView()->SetVisibility(kMMHidden);
}

VPLSceneCredits::~VPLSceneCredits() {
  mCreditModel.reset();
  mThread.reset();
}

void VPLSceneCredits::SetCaller(int32_t returnScene, VPL3DDialogBase* dialog) {
  mReturnScene = returnScene;
  mDialog = dialog;
}

void VPLSceneCredits::Activate() {
  VPLSceneBase::Activate();
  if (mDialog != nullptr) mDialog->HideAll();
  mThread = std::make_unique<VPLCreditsThread>(GetTaskClient(), this);
  mThread->Start();
}

void VPLSceneCredits::Deactivate() {
  VPLSceneBase::Deactivate();
  mThread.reset();
  mCreditIndex = 0;
  mCreditModel.reset();
  if (mDialog == nullptr) return;
  mDialog->ShowAll();
  mDialog->SetText(VPLStringList().GetText(kQuitQuestionEntry));
}

void VPLSceneCredits::ShowNextCredit() {
  const VPLScript credits(kCreditList, kVPLScriptList);
  if (mCreditIndex >= credits.GetScript().GetRowCount()) {
    PostReturn();
    return;
  }
  ShowCreditModel(credits.GetScript().GetScriptId(mCreditIndex, kReferenceOffset));
  if (mDialog != nullptr) mDialog->SetImage(static_cast<int16_t>(mCreditIndex));
  ++mCreditIndex;
}

void VPLSceneCredits::ShowCreditModel(MMResourceId creditTable) {
  const MMScript credit(creditTable);
  const MMResourceId modelTable = credit.GetScriptId(0, kReferenceOffset);
  if (modelTable == kNoModel || mDialog == nullptr) return;
  const VPLScript models(modelTable, kVPLUntaggedTable);
  const auto modelId = static_cast<MMResourceId>(models.GetTagUInt32(kModelTag));
  UURefCount<MM3DModel> model = MM3DGetModel(modelId, VPLGetServices().mTextureMap);
  // A credit whose model does not load shows its picture only.
  if (!model) return;
  mCreditModel.reset();
  mCreditModel = std::make_unique<VPLObj>(this, model);
  // One translation holds both the place before the dialog and the raise:
  // a second placement would replace the first.
  const MM3DVector dialog = mDialog->GetWorldPosition();
  mCreditModel->SetPosition(dialog.mX, dialog.mY + kModelRaise, dialog.mZ - kModelDistance);
  mCreditModel->SetScale(kModelScale, kModelScale, 1.0f);
  mCreditModel->SetVisibility(kMMShown);
}

// Posted: the return deactivates this scene, which deletes the thread
// that is stepping now.
void VPLSceneCredits::PostReturn() {
  using ReturnCallback = UUClassCallback<VPLSceneCredits, bool (VPLSceneCredits::*)()>;
  MMTaskCallback(GetTaskClient(), new ReturnCallback(this, &VPLSceneCredits::Return)).Post();
}

bool VPLSceneCredits::Return() {
  auto* act = static_cast<VPLActCreation*>(GetHost()->GetAct());
  if (mReturnScene == kVPLFileScreenScene) {
    act->LeaveForFileScreen(kVPLCreditsScene);
  } else if (mReturnScene == kVPLCreationUIScene) {
    act->ReturnToCreation(kVPLCreditsScene);
  } else {
    return false;
  }
  return true;
}

bool VPLSceneCredits::OnMouse(const MMMouseEvent& event) {
  if ((event.mFlags & kPressed) == 0) return false;
  Return();
  return true;
}

bool VPLSceneCredits::OnKey(const MMKeyEvent& /*event*/) { return Return(); }
