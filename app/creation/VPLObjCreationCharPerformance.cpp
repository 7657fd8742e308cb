#include "app/creation/VPLCameraThread.h"
#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPomblePlayer.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UURandom.h"
#include "mm3d/MM3DAnimationClip.h"

namespace {

// The performance table's rows: tag, then a reference to a list.
constexpr int16_t kPerformanceTableKind = 3;

}  // namespace

VPLObjCreationChar::ExportPlayback& VPLObjCreationChar::GetExportPlayback() {
  static ExportPlayback playback;
  return playback;
}

bool VPLObjCreationChar::FindAnimationRow(AnimationList list, int32_t row, AnimationRow& out) {
  const VPLScript table(kPerformanceTable, kPerformanceTableKind);
  const MMResourceId id = table.GetTagScriptId(list);
  if (id == kMMNoResource) return false;
  const MMScript rows(id);
  if (row < 0 || row >= rows.GetRowCount()) return false;
  out.mStartFrame = rows.GetInt16(row, kStartFrameOffset);
  out.mEndFrame = rows.GetInt16(row, kEndFrameOffset);
  out.mSoundList = rows.GetScriptId(row, kSoundListOffset);
  return true;
}

int32_t VPLObjCreationChar::CountDances() {
  const VPLScript table(kPerformanceTable, kPerformanceTableKind);
  const MMResourceId id = table.GetTagScriptId(kDances);
  return id == kMMNoResource ? 0 : MMScript(id).GetRowCount();
}

int32_t VPLObjCreationChar::DanceRow() const {
  return mAnimationChoice >= 0 && mAnimationChoice < CountDances() ? mAnimationChoice : 0;
}

MMTaskCallback VPLObjCreationChar::Task(void (VPLObjCreationChar::*member)()) {
  return MMTaskCallback(GetTaskClient(), new UUClassCallback(this, member));
}

MMTaskCallback VPLObjCreationChar::StepDoneTask(bool first) {
  return MMTaskCallback(
      GetTaskClient(),
      new UUClassCallback1Parameter(this, &VPLObjCreationChar::OnPerformanceStepDone, first));
}

void VPLObjCreationChar::CreateCameraThread() {
  if (mCameraThread != nullptr) mCameraThread->Terminate();
  VPLCreation* creation = GetCreation();
  mCameraThread = std::make_unique<VPLCameraThread>(
      GetTaskClient(), creation != nullptr ? &creation->GetCamera() : nullptr, this);
  mCameraThread->SetArrivalTask(Task(&VPLObjCreationChar::OnCameraArrived));
  mCameraThread->SetReturnTask(Task(&VPLObjCreationChar::AbortPerformance));
  mCameraThread->SetTarget(FindInterestLocator());
}

// A thread still running from an earlier show, idle, takes up the new
// glide.
void VPLObjCreationChar::StartPerformance() {
  if (mCameraThread == nullptr) CreateCameraThread();
  mCameraThread->SetTarget(FindInterestLocator());
  mCameraThread->Start(VPLCameraThread::kApproach);
  if (mCameraThread->GetState() == MMAbstractThread::kStopped) {
    mCameraThread->MakeStartCallback().Post(this);
  }
}

void VPLObjCreationChar::PlayStep(const AnimationRow& row, const MMTaskCallback& completion) {
  VPLPomblePlayer* player = GetPlayer();
  PlayShowSound(row.mSoundList);
  player->SetCompletionTask(completion);
  if (!player->Resume()) player->PlayFrames(row.mStartFrame, row.mEndFrame, false);
}

void VPLObjCreationChar::PlayShowSound(MMResourceId soundList) {
  if (mScene != nullptr) mScene->PlayListSound(soundList, false);
}

void VPLObjCreationChar::OnCameraArrived() {
  VPLPomblePlayer* player = GetPlayer();
  if (player == nullptr) return;
  if (player->IsPlaying()) {
    player->SetCompletionTask({});
    StopSceneSound();
    player->Stop();
  }
  AnimationRow opening;
  if (!FindAnimationRow(kOpening, 0, opening)) {
    EndShow();
    return;
  }
  PlayStep(opening, StepDoneTask(true));
}

void VPLObjCreationChar::OnPerformanceStepDone(bool first) {
  VPLPomblePlayer* player = GetPlayer();
  AnimationRow interlude;
  if (player == nullptr || !(mRepeat || first) || !FindAnimationRow(kInterlude, 0, interlude)) {
    EndShow();
    return;
  }
  player->SetPausedElapsed(VPLPomblePlayer::kNothingPaused);
  PlayStep(interlude, Task(&VPLObjCreationChar::PlayChosenAnimation));
}

// The show ends by itself: the gaze glides back and the character tool
// shows the character standing again.
void VPLObjCreationChar::EndShow() {
  StopPerformance();
  mToolRefreshTask.Post(this);
  if (VPLPomblePlayer* player = GetPlayer()) {
    player->SetPausedElapsed(VPLPomblePlayer::kNothingPaused);
  }
}

void VPLObjCreationChar::PlayChosenAnimation() {
  if (GetPlayer() == nullptr) return;
  const VPLScript setting(kRandomSetting, kVPLUntaggedTable);
  if (setting.GetScript().GetInt16(0, 0) != 0) PickRandomAnimation();
  AnimationRow dance;
  if (!FindAnimationRow(kDances, DanceRow(), dance)) {
    EndShow();
    return;
  }
  PlayStep(dance, StepDoneTask(false));
}

void VPLObjCreationChar::PickRandomAnimation() {
  const int32_t count = CountDances();
  UURandom* random = VPLGetServices().mRandom;
  if (count <= 0 || random == nullptr) return;
  mAnimationChoice = static_cast<int16_t>(random->Range(0, count - 1));
}

void VPLObjCreationChar::StopPerformance() {
  VPLPomblePlayer* player = GetPlayer();
  if (player != nullptr && player->IsPlaying()) {
    player->SetCompletionTask({});
    // The sound plays on through the glide back; Abort takes the pause
    // back, so a channel that honours pausing does not stay silent.
    if (mScene != nullptr && mScene->IsSoundPlaying() && !mSoundPaused) {
      mScene->PauseSound();
      mSoundPaused = true;
    }
    player->Stop();
  }
  // A thread that no longer runs would never glide back nor end the show.
  if (mCameraThread != nullptr && mCameraThread->GetState() != MMAbstractThread::kStopped) {
    mCameraThread->Start(VPLCameraThread::kReturn);
  } else {
    AbortPerformance();
  }
}

void VPLObjCreationChar::AbortPerformance() {
  if (mCameraThread != nullptr && mCameraThread->GetState() != MMAbstractThread::kStopped) {
    mCameraThread->Stop();
  }
  VPLPomblePlayer* player = GetPlayer();
  if (player == nullptr) return;
  player->SetCompletionTask({});
  StopSceneSound();
  player->PlayFrames(0, 1, false);
}

void VPLObjCreationChar::StopSceneSound() {
  if (mScene == nullptr) return;
  if (mScene->IsSoundPlaying()) mScene->StopSound();
  if (mSoundPaused) mScene->ResumeSound();
  mSoundPaused = false;
}

void VPLObjCreationChar::Tick(int32_t now) {
  if (!mStepsHeld) {
    StepSpin(now);
    StepColorPulse(now);
    StepPath(now);
  }
  if (VPLGetServices().mMovieExportActive && HasAllParts()) {
    TickExport(now);
  } else if (GetExportPlayback().mStart != -1) {
    EndExport();
  }
}

// The export's frames are rendered at chosen scene times: the dance runs
// on that clock, without sound, and on past its range while frames come.
void VPLObjCreationChar::TickExport(int32_t now) {
  ExportPlayback& playback = GetExportPlayback();
  if (playback.mStart == -1) {
    AnimationRow dance;
    playback.mBase = FindAnimationRow(kDances, DanceRow(), dance)
                         ? VPLPomblePlayer::FrameToMilliseconds(dance.mStartFrame)
                         : 0;
    playback.mStart = now;
    playback.mPerformedBefore = IsPerforming();
    AbortPerformance();
  }
  if (mClip != nullptr) {
    mClip->Apply(MM3DPlaySpan::ToSeconds(playback.mBase + now - playback.mStart));
  }
}

void VPLObjCreationChar::EndExport() {
  ExportPlayback& playback = GetExportPlayback();
  if (HasAllParts() && GetPlayer() != nullptr) {
    if (playback.mPerformedBefore) {
      StartPerformance();
    } else {
      GetPlayer()->PlayFrames(0, 1, false);
    }
  }
  playback.mStart = -1;
}
