#include "mm/stage/MM3DMorphingAnimationPlayer.h"

#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm3d/MM3DAnimationClip.h"

#include <cmath>

namespace {

constexpr int32_t kEveryFrame = 0;  // the stage's notification kind of each frame

}  // namespace

MM3DMorphingAnimationPlayer::MM3DMorphingAnimationPlayer(MMScene* scene, MM3DAnimationClip* clip)
    : mScene(scene),
      mClip(clip),
      mPulseCallback(new UUClassCallback(this, &MM3DMorphingAnimationPlayer::Pulse)) {}

MM3DMorphingAnimationPlayer::~MM3DMorphingAnimationPlayer() { Stop(); }

void MM3DMorphingAnimationPlayer::Play(int32_t start, int32_t end, int32_t morph) {
  if (mPlaying) {
    mMorphTime = MM3DPlaySpan::ToSeconds(morph);
    mPreviousTime = GetCurrentTime();
  } else {
    Stage()->AddEventNotification(kEveryFrame, mPulseCallback.Get());
    mMorphTime = 0.0f;
  }
  mSpan = MM3DPlaySpan::FromTo(start, end);
  mStartClock = Now();
  mPlaying = true;
}

void MM3DMorphingAnimationPlayer::Stop() {
  if (mPlaying) Stage()->RemoveEventNotification(kEveryFrame, mPulseCallback.Get());
  mPlaying = false;
}

float MM3DMorphingAnimationPlayer::GetCurrentTime(bool* finished) const {
  bool clamped = false;
  const int32_t clipTime =
      mSpan.ClipTimeAt(static_cast<int64_t>(Now()) - mStartClock, false, clamped);
  if (finished != nullptr) *finished = clamped;
  return MM3DPlaySpan::ToSeconds(clipTime);
}

void MM3DMorphingAnimationPlayer::Pulse() {
  bool finished = false;
  const float time = GetCurrentTime(&finished);
  const float start = MM3DPlaySpan::ToSeconds(mSpan.mStartTime);
  // The morph is measured by the time played, so a backward play blends
  // too and a play without a morph never divides by its zero length.
  const float played = std::fabs(time - start);
  if (played < mMorphTime) {
    const float progress = played / mMorphTime;
    mClip->ApplyBlended(mPreviousTime, 1.0f - progress, time, progress);
  } else {
    mClip->Apply(time);
  }
  if (finished) Stop();
}

int32_t MM3DMorphingAnimationPlayer::GetClipDuration() const {
  return MM3DPlaySpan::ToMilliseconds(mClip->GetEndTime() - mClip->GetStartTime());
}

int32_t MM3DMorphingAnimationPlayer::GetClipStart() const {
  return MM3DPlaySpan::ToMilliseconds(mClip->GetStartTime());
}

int32_t MM3DMorphingAnimationPlayer::GetClipEnd() const {
  return MM3DPlaySpan::ToMilliseconds(mClip->GetEndTime());
}

int32_t MM3DMorphingAnimationPlayer::Now() const { return mScene->GetTaskClient()->GetTime(); }

MMStage* MM3DMorphingAnimationPlayer::Stage() const { return mScene->GetStage(); }
