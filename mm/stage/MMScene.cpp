#include "mm/stage/MMScene.h"

#include "mm/stage/MMAct.h"
#include "mm/stage/MMMolecule.h"
#include "mm/stage/MMSceneServices.h"
#include "mm/stage/MMSoundManager.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskClient.h"

MMScene::MMScene(MMSceneServices* host, void* userData) : mHost(host), mUserData(userData) {
  mHost->AddScene(this);
  MMStage* stage = GetStage();
  mTaskClient = new (ALGlobalAllocator) MMTaskClient(stage->GetTaskManager());
  MMStageSoundManager* sound = stage->GetSoundManager();
  mSoundGroup = sound != nullptr ? sound->CreateSoundGroup() : nullptr;
}

MMScene::~MMScene() {
  mHost->RemoveScene(this);
  mNotifications.Clear();
  delete mSoundGroup;
  delete mTaskClient;
}

MMStage* MMScene::GetStage() const { return mHost->GetAct()->GetStage(); }

bool MMScene::TakeFocus() {
  if (!mHasFocus) {
    mHost->TakeFocus();
    mHost->SetFocusScene(this);
  }
  return mHasFocus;
}

void MMScene::ResignFocus() {
  if (mHost->GetFocusScene() == this) mHost->SetFocusScene(nullptr);
}

void MMScene::SetFocusMolecule(MMMolecule* molecule) {
  if (molecule == mFocusMolecule) return;
  if (mFocusMolecule != nullptr && mHasFocus) mFocusMolecule->LoseFocus();
  mFocusMolecule = molecule;
  if (mFocusMolecule != nullptr && mHasFocus) mFocusMolecule->GainFocus();
}

bool MMScene::HandleKey(const MMKeyEvent& event) {
  return mFocusMolecule != nullptr && mFocusMolecule->HandleKey(event);
}

void MMScene::GainFocus() {
  mHasFocus = true;
  if (mFocusMolecule != nullptr) mFocusMolecule->GainFocus();
}

void MMScene::LoseFocus() {
  if (mFocusMolecule != nullptr) mFocusMolecule->LoseFocus();
  mHasFocus = false;
}

void MMScene::AppActivated() { FireNotifications(kMMSceneAppActivated); }
void MMScene::AppDeactivated() { FireNotifications(kMMSceneAppDeactivated); }
void MMScene::WindowActivated() { FireNotifications(kMMSceneWindowActivated); }
void MMScene::WindowDeactivated() { FireNotifications(kMMSceneWindowDeactivated); }
void MMScene::StagePaused() { FireNotifications(kMMSceneStagePaused); }
void MMScene::StageResumed() { FireNotifications(kMMSceneStageResumed); }

void MMScene::PauseClock() {
  mTaskClient->Pause();
  if (mSoundGroup != nullptr) mSoundGroup->Pause();
}

void MMScene::ResumeClock() {
  mTaskClient->Resume();
  if (mSoundGroup != nullptr) mSoundGroup->Resume();
}

void MMScene::Pause() {
  if (++mPauseDepth != 1) return;
  PauseClock();
  FireNotifications(kMMScenePaused);
}

// A resume without a matching pause does nothing, so that the depth never
// drops below 0 and a later pause still stops the clock.
void MMScene::Resume() {
  if (mPauseDepth <= 0 || --mPauseDepth != 0) return;
  ResumeClock();
  FireNotifications(kMMSceneResumed);
}

void MMScene::AddNotification(UUCallback* callback, int32_t kind) {
  mNotifications.PushBack(NotificationRegistration{callback, kind});
}

void MMScene::RemoveNotification(UUCallback* callback, int32_t kind) {
  mNotifications.Remove(NotificationRegistration{callback, kind});
}

bool MMScene::HasNotification(UUCallback* callback, int32_t kind) const {
  return UUListContains(mNotifications.Begin(), mNotifications.End(),
                        NotificationRegistration{callback, kind});
}

bool MMScene::HasNotificationCallback(UUCallback* callback) const {
  for (const NotificationRegistration& entry : mNotifications) {
    if (entry.mCallback == callback) return true;
  }
  return false;
}

// A callback may add or remove registrations while the scene fires: the
// callbacks of the kind are taken first, and one removed meanwhile is
// skipped.
void MMScene::FireNotifications(int32_t kind) {
  UUList<UUCallback*> callbacks;
  for (const NotificationRegistration& entry : mNotifications) {
    if (entry.mKind == kind) callbacks.PushBack(entry.mCallback);
  }
  for (UUCallback* callback : callbacks) {
    if (HasNotification(callback, kind)) callback->Invoke();
  }
}
