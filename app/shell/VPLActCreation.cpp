#include "app/shell/VPLActCreation.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPL3DCursorSet.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLShellPreferences.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MM3DAnimationPlayer.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/MM3DRenderer.h"

namespace {

constexpr float kDegrees = 0.017453292f;
constexpr float kAspect = 1.333f;
constexpr int32_t kAreaViewDepth = 0;
constexpr int32_t kScreenViewDepth = 5;
// The interface draws in front of the creation, whatever their distances.
const MM3DDepthRange kInterfaceDepth(0.0f, 0.4f);
const MM3DDepthRange kAreaDepth(0.4f, 1.0f);
constexpr int32_t kArrowCursor = 0;

struct ViewSetup {
  float mFieldOfView;
  float mNear;
  float mFar;
};
// The credits keep the projection's defaults.
constexpr ViewSetup kViewSetups[3] = {
    {.mFieldOfView = 45.0f * kDegrees, .mNear = 1.0f, .mFar = 300.0f},
    {.mFieldOfView = 0.6550919f, .mNear = 40.01f, .mFar = 200.0f},
    {.mFieldOfView = 37.534f * kDegrees, .mNear = 1.0f, .mFar = 300.0f},
};

bool HasDisplay(const MMStage& stage) {
  return stage.GetDriver() && stage.GetRenderer() && stage.GetPipeline() &&
         stage.GetTextureStrategy() != nullptr;
}

VPL3DCursorSet* Cursors() { return VPL3DCursorSet::GetGlobal(); }

}  // namespace

VPLActCreation::VPLActCreation(MMStage* stage, MMDisplayModeStrategy* strategy)
    : VPLActCreation(stage, strategy, VPLFileScreenParts::FromApplication(nullptr)) {}

VPLActCreation::VPLActCreation(MMStage* stage, MMDisplayModeStrategy* strategy,
                               const VPLFileScreenParts& sketches)
    : MM3DAct(stage, strategy) {
  if (!HasDisplay(*stage)) return;
  MakeViews();
  MakeScenes(sketches);
  mFrameHook = std::make_unique<UUClassCallback<VPLActCreation, void (VPLActCreation::*)()>>(
      this, &VPLActCreation::Tick);
  stage->AddEventNotification(MMStage::kAfterAdvance, mFrameHook.get());
  if (Cursors() != nullptr) Cursors()->Load(stage);
  mInterface->TakeFocus();
  mInterface->BuildPalette();
  mMode = kCreationMode;
  mSceneInCharge = mInterface.get();
}

void VPLActCreation::MakeViews() {
  for (auto& enclosure : mEnclosures) enclosure = std::make_unique<VPLEnclosure>(GetStage());
  for (size_t n = 0; n < 4; ++n) {
    mViews[n] = std::make_unique<MM3DSpatialView>(GetViewServices(), mEnclosures[n].get(),
                                                  GetStage()->GetLocalRect(),
                                                  n == 0 ? kAreaViewDepth : kScreenViewDepth);
    if (n >= 3) continue;
    MM3DProjectionVolume projection;
    projection.SetPerspective(kViewSetups[n].mFieldOfView, kAspect, kViewSetups[n].mNear,
                              kViewSetups[n].mFar);
    mViews[n]->SetProjection(projection);
  }
  mViews[kVPLCreationUIScene]->SetDepthRange(kInterfaceDepth);
  mViews[kVPLCreationAreaScene]->SetDepthRange(kAreaDepth);
}

void VPLActCreation::MakeScenes(VPLFileScreenParts sketches) {
  MMSceneServices* host = GetSceneServices();
  const auto enclosure = [this](VPLScenesEnum id) { return mEnclosures[id].get(); };
  const auto view = [this](VPLScenesEnum id) { return mViews[id].get(); };
  mInterface = std::make_unique<VPLSceneCreationUI>(host, enclosure(kVPLCreationUIScene),
                                                    view(kVPLCreationUIScene), kVPLCreationUIScene);
  mCreationArea = std::make_unique<VPLSceneCreationArea>(
      host, enclosure(kVPLCreationAreaScene), view(kVPLCreationAreaScene), kVPLCreationAreaScene);
  // Without sketchbooks there is no file screen to show.
  sketches.mHost = this;
  if (sketches.mLibrary != nullptr) {
    mFileScreen =
        std::make_unique<VPLSceneFileIO>(host, enclosure(kVPLFileScreenScene),
                                         view(kVPLFileScreenScene), kVPLFileScreenScene, sketches);
  }
  mCredits = std::make_unique<VPLSceneCredits>(host, enclosure(kVPLCreditsScene),
                                               view(kVPLCreditsScene), kVPLCreditsScene);
  mInterface->SetCreationArea(mCreationArea.get());
  mCreationArea->SetUIHooks(mInterface.get());
  // The creation screen comes first; the file screen waits unseen.
  if (mFileScreen) mFileScreen->Deactivate();
}

VPLActCreation::~VPLActCreation() {
  if (mFrameHook) GetStage()->RemoveEventNotification(MMStage::kAfterAdvance, mFrameHook.get());
  mCreationArea.reset();
  mInterface.reset();
  mFileScreen.reset();
  mCredits.reset();
  for (auto& view : mViews) view.reset();
  for (auto& enclosure : mEnclosures) enclosure.reset();
  mMode = kNotBuilt;
  mSceneInCharge = nullptr;
  if (Cursors() != nullptr) Cursors()->Unload();
}

void VPLActCreation::Tick() {
  const int32_t now = GetStage()->GetTaskManager()->GetNow();
  for (VPLSceneBase* scene : std::initializer_list<VPLSceneBase*>{
           mCreationArea.get(), mInterface.get(), mFileScreen.get(), mCredits.get()}) {
    if (scene != nullptr) scene->Tick(now);
  }
}

void VPLActCreation::AppActivated() {
  MM3DAct::AppActivated();
  TakeFocus();
}

void VPLActCreation::WindowActivated() {
  MM3DAct::WindowActivated();
  TakeFocus();
}

void VPLActCreation::GainFocus() {
  MM3DAct::GainFocus();
  SetFocusScene(mCreationArea.get());
}

void VPLActCreation::HandleMouse(const MMMouseEvent& event) {
  if (!mInputEnabled) return;
  if (IsCreationMode()) {
    RouteCreationMouse(event);
  } else if (mMode == kFileScreenMode && mFileScreen) {
    mFileScreen->OnMouse(event);
  } else if (mMode == kCreditsMode && mCredits) {
    mCredits->OnMouse(event);
  }
}

// A drag stays with the scene that took its press, even over the other.
void VPLActCreation::RouteCreationMouse(const MMMouseEvent& event) {
  if (mSceneInCharge != nullptr) {
    if (!mSceneInCharge->OnMouse(event)) mSceneInCharge = nullptr;
    return;
  }
  if (!mInterface || !mCreationArea) return;
  if (mInterface->OnMouse(event)) {
    mSceneInCharge = mInterface.get();
    if (Cursors() != nullptr) Cursors()->Select(mInterface.get(), kArrowCursor);
  } else if (mCreationArea->OnMouse(event)) {
    mSceneInCharge = mCreationArea.get();
  }
}

void VPLActCreation::HandleMouseLeave() {
  if (mInputEnabled) {
    if (IsCreationMode()) {
      if (mInterface) {
        mInterface->OnSecondaryInput();
        if (mCreationArea) mCreationArea->OnSecondaryInput();
      }
    } else if ((mMode == kFileScreenMode || mMode == kCreditsMode) && mFileScreen) {
      mFileScreen->OnSecondaryInput();
    }
  }
  MM3DAct::HandleMouseLeave();
}

void VPLActCreation::HandleKey(const MMKeyEvent& event) {
  if (!mInputEnabled) return;
  if (IsCreationMode()) {
    if (mInterface && mInterface->OnKey(event)) return;
    if (mCreationArea) mCreationArea->OnKey(event);
  } else if (mMode == kFileScreenMode && mFileScreen) {
    mFileScreen->OnKey(event);
  } else if (mMode == kCreditsMode && mCredits) {
    mCredits->OnKey(event);
  }
}

void VPLActCreation::GoToFileScreen(int32_t from) {
  if (!VPLAutoSaves() && mCreationArea && mCreationArea->GetCreation() != nullptr &&
      mCreationArea->GetCreation()->IsModified()) {
    mInterface->AskToSaveBeforeFileScreen();
    return;
  }
  LeaveForFileScreen(from);
}

void VPLActCreation::LeaveForFileScreen(int32_t from) {
  if (from == kVPLCreditsScene) {
    if (mMode != kCreditsMode || mCredits->GetReturnScene() != kVPLFileScreenScene) return;
    mCredits->Deactivate();
    EndScreenChange(kFileScreenMode, mFileScreen.get());
    return;
  }
  if ((from != kVPLCreationAreaScene && from != kVPLCreationUIScene) || !mFileScreen) return;
  BeginScreenChange();
  mFileScreen->SetEntryFlag(true);
  mInterface->Deactivate();
  mCreationArea->Deactivate();
  mFileScreen->Activate();
  PlayTransition(&VPLActCreation::FinishFileScreenChange, kEnterFileScreenStart,
                 kEnterFileScreenEnd);
  mFileScreen->PlayEnterSound();
}

void VPLActCreation::ReturnToCreation(int32_t from) {
  if (from == kVPLCreditsScene) {
    const int32_t back = mCredits->GetReturnScene();
    if (mMode != kCreditsMode || (back != kVPLCreationAreaScene && back != kVPLCreationUIScene)) {
      return;
    }
    mCredits->Deactivate();
    EndScreenChange(kCreationMode, nullptr);
    return;
  }
  if (from != kVPLFileScreenScene || !mFileScreen) return;
  BeginScreenChange();
  mFileScreen->SetEntryFlag(false);
  PlayTransition(&VPLActCreation::FinishReturnToCreation, kLeaveFileScreenStart,
                 kLeaveFileScreenEnd);
  mFileScreen->PlayLeaveSound();
}

void VPLActCreation::BeginScreenChange() {
  if (Cursors() != nullptr) Cursors()->BeginBusy();
  mInputEnabled = false;
}

// Without a transition player (no cell shows the sketch) the change
// completes at once.
void VPLActCreation::PlayTransition(void (VPLActCreation::*done)(), int32_t start, int32_t end) {
  MM3DAnimationPlayer* player = mFileScreen->GetTransitionPlayer();
  mFileScreen->BeginTransition();
  if (player == nullptr) {
    (this->*done)();
    return;
  }
  player->SetCompletionCallback(
      new UUClassCallback<VPLActCreation, void (VPLActCreation::*)()>(this, done));
  if (player->IsPlaying()) player->Stop();
  player->Play(start, end, false);
}

void VPLActCreation::FinishFileScreenChange() {
  mFileScreen->EndTransition();
  EndScreenChange(kFileScreenMode, mFileScreen.get());
  if (Cursors() != nullptr) Cursors()->EndBusy();
}

void VPLActCreation::FinishReturnToCreation() {
  mFileScreen->Deactivate();
  mFileScreen->EndTransition();
  mCreationArea->Activate();
  mInterface->Activate();
  EndScreenChange(kCreationMode, nullptr);
  mInterface->ShowPrintButton(VPLPrintingAllowed());
  if (Cursors() != nullptr) Cursors()->EndBusy();
}

void VPLActCreation::EndScreenChange(int32_t mode, VPLSceneBase* inCharge) {
  mMode = mode;
  mSceneInCharge = inCharge;
  mInputEnabled = true;
}

void VPLActCreation::ShowCredits(int32_t returnScene, VPL3DCallbackDialog* dialog) {
  mCredits->SetCaller(returnScene, dialog);
  mCredits->Activate();
  mMode = kCreditsMode;
  mSceneInCharge = mCredits.get();
}

void VPLActCreation::OpenDialog(VPLObjEventGrp* dialog) {
  if (auto* screen = dynamic_cast<VPLSceneUIBase*>(mSceneInCharge)) screen->ReleaseActiveControl();
  VPLSceneUIBase* owner =
      mMode == kFileScreenMode ? static_cast<VPLSceneUIBase*>(mFileScreen.get()) : mInterface.get();
  mSceneInCharge = owner;
  owner->AddDialog(dialog);
}

bool VPLActCreation::CanClose() {
  if (IsCreationMode()) return !mInterface || mInterface->OnQuitRequest(true);
  if (mMode == kFileScreenMode) return !mFileScreen || mFileScreen->OnQuitRequest(true);
  return true;
}

bool VPLActCreation::DrawCreationView() {
  const UURefCount<MM3DRenderer> renderer = GetStage()->GetRenderer();
  if (!renderer || !mViews[kVPLCreationAreaScene] || GetStage()->GetPauseCount() > 0) return false;
  MMRegion whole;
  whole.Set(mViews[kVPLCreationAreaScene]->GetRect());
  renderer->BeginFrame();
  mViews[kVPLCreationAreaScene]->Draw(whole);
  renderer->EndFrame();
  return true;
}

void VPLActCreation::UpdateToolPreview() {
  if (mInterface) mInterface->UpdateToolPreview();
}

void VPLActCreation::ShowSlowMachineNotice(bool shown) {
  if (!mInterface) return;
  if (shown) {
    mInterface->ShowSlowMachineNotice();
  } else {
    mInterface->HideSlowMachineNotice();
  }
}
