// The creation screen's questions and its quit request: what it asks
// before work is thrown away, what each answer does, and when the program
// may close.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjButtonTool.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLShellPreferences.h"

namespace {

constexpr int32_t kFailedQuestion = 7;

struct QuestionLook {
  MMResourceId mLayout;
  int16_t mTextEntry;
};

QuestionLook LookOf(int32_t kind) {
  switch (kind) {
    case VPLSceneCreationUI::kQuit:
      return {440, 35};
    case VPLCreationUIHooks::kSketchbookFull:
      return {438, 33};
    case kFailedQuestion:
      return {438, 32};
    default:
      return {439, 28};
  }
}

}  // namespace

void VPLSceneCreationUI::AskUser(int32_t kind) {
  if (kind == kNoQuestion) return;
  const QuestionLook look = LookOf(kind);
  auto* dialog = new VPL3DMessageDialog(
      this, VPLObjButtonTool::TableModel(look.mLayout, kVPLLayoutTable), look.mLayout,
      VPLStringList().GetText(look.mTextEntry), &VPLSceneUIBase::OnDialogResponse);
  if (auto* act = dynamic_cast<VPLActCreation*>(GetHost()->GetAct())) {
    act->OpenDialog(dialog);
  } else {
    AddDialog(dialog);
  }
  mPendingQuestion = kind;
  mLastAnswer = kNoQuestion;
  mQuestionDialog = dialog;
}

void VPLSceneCreationUI::DialogResult(VPL3DCallbackDialog* dialog, int32_t response) {
  if (mPendingQuestion == kNoQuestion || mQuestionDialog == nullptr || dialog != mQuestionDialog) {
    VPLSceneUIBase::DialogResult(dialog, response);
    return;
  }
  if (response == kCreditsAnswer) {
    static_cast<VPLActCreation*>(GetHost()->GetAct())->ShowCredits(kVPLCreationUIScene, dialog);
    return;
  }
  VPLSceneUIBase::DialogResult(dialog, response);
  mQuestionDialog = nullptr;
  mLastAnswer = kNoQuestion;
  const int32_t kind = mPendingQuestion;
  Answer(kind, response);
}

void VPLSceneCreationUI::Answer(int32_t kind, int32_t response) {
  const bool yes = response == kYes;
  switch (kind) {
    case kSaveBeforeNewSketch:
      if (yes && !SaveOrSay()) return;
      mArea->NewSketch();
      RefreshCurrentTool();
      // The new sketch's own question (a full sketchbook) may be open now.
      if (mQuestionDialog == nullptr) mPendingQuestion = kNoQuestion;
      return;
    case kSaveBeforeFileScreen:
      if (yes && !SaveOrSay()) return;
      static_cast<VPLActCreation*>(GetHost()->GetAct())->LeaveForFileScreen(kVPLCreationUIScene);
      break;
    case kSaveBeforeQuit:
    case 1:
      if (yes && !SaveOrSay()) return;
      if (kind == kSaveBeforeQuit) {
        if (mCloseRequested) {
          Quit();
        } else {
          Bind(&VPLSceneCreationUI::AskToQuit).Post();
        }
      }
      break;
    case kQuit:
      if (yes) Quit();
      break;
    case kFailedQuestion:
      // The notice answers nothing: the work it speaks of is still unsaved,
      // and the next close must ask for it again.
      mPendingQuestion = kNoQuestion;
      return;
    default:
      break;
  }
  mLastAnswer = (kind == kQuit && !yes) ? kNoQuestion : kind;
  mPendingQuestion = kNoQuestion;
}

// A failed save keeps the work and says so; the step that wanted the
// save does not go on.
bool VPLSceneCreationUI::SaveOrSay() {
  if (mArea->SaveSketch()) {
    mSaveFailed = false;
    return true;
  }
  mSaveFailed = true;
  if (mArea->GetCreation() != nullptr) mArea->GetCreation()->SetModified(true);
  AskUser(kFailedQuestion);
  return false;
}

// Nobody is there to answer: keeping is the safe answer, whatever the
// preferences say and whatever question stands open.
bool VPLSceneCreationUI::KeepWorkAndQuit() {
  if (IsModified()) mArea->SaveSketch();
  mArea->StoreSketchbookNumber();
  Quit();
  sQuitting = true;
  return true;
}

void VPLSceneCreationUI::Quit() {
  if (VPLGetServices().mQuit) VPLGetServices().mQuit();
}

bool VPLSceneCreationUI::OnQuitRequest(bool force) {
  if (sQuitting) return true;
  if (VPLSessionEnding()) return KeepWorkAndQuit();
  if (mQuestionDialog != nullptr) return false;
  if (mLastAnswer == kSaveBeforeQuit) {
    mArea->StoreSketchbookNumber();
    Quit();
    sQuitting = true;
    return false;
  }
  if (mLastAnswer == kQuit) {
    mArea->StoreSketchbookNumber();
    return true;
  }
  // Only the quit questions' answers decide a close; after any other,
  // modified work is still asked for.
  if (IsModified()) {
    // After a failed save only the child's answer may let the work go.
    if (!VPLAutoSaves() || mSaveFailed) {
      mCloseRequested = force;
      AskUser(kSaveBeforeQuit);
      return false;
    }
    if (!SaveOrSay()) return false;
    mArea->StoreSketchbookNumber();
    if (force) {
      Quit();
      sQuitting = true;
      return true;
    }
    AskToQuit();
    return true;
  }
  if (force) {
    mArea->StoreSketchbookNumber();
    Quit();
    sQuitting = true;
    return true;
  }
  AskToQuit();
  mCloseRequested = force;
  return false;
}
