#include "mm/stage/MM3DAnimationPlayer.h"

#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm3d/MM3DAnimationClip.h"

#include <climits>

namespace {

constexpr int32_t kEveryFrame = 0;  // the stage's notification kind of each frame
// The span of a play that does not end in practice.
constexpr int32_t kOpenEnded = INT_MAX;

}  // namespace

MM3DAnimationPlayer::MM3DAnimationPlayer(MMScene* scene, MM3DAnimationClip* clip)
    : mScene(scene),
      mClip(clip),
      mPulseCallback(new UUClassCallback(this, &MM3DAnimationPlayer::Pulse)) {}

MM3DAnimationPlayer::~MM3DAnimationPlayer() {
  if (mPlaying) Unregister();
}

void MM3DAnimationPlayer::Play(int32_t start, int32_t end, bool looping) {
  Start(MM3DPlaySpan::FromTo(start, end), looping);
}

void MM3DAnimationPlayer::PlayClip(bool looping) {
  const int32_t duration = GetClipDuration();
  Start(MM3DPlaySpan{.mStartTime = GetClipStart(), .mSpan = duration, .mSpanLength = duration},
        looping);
}

void MM3DAnimationPlayer::PlayOpenEnded() {
  Start(MM3DPlaySpan{.mStartTime = GetClipStart(), .mSpan = kOpenEnded, .mSpanLength = kOpenEnded},
        false);
}

// A second play while playing keeps the one registration, so Stop and the
// destructor leave no notification pointing at this player.
void MM3DAnimationPlayer::Start(const MM3DPlaySpan& span, bool looping) {
  if (!mPlaying) Stage()->AddEventNotification(kEveryFrame, mPulseCallback.Get());
  mLooping = looping;
  mSpan = span;
  mStartClock = Now();
  mPlaying = true;
}

void MM3DAnimationPlayer::Stop() {
  if (mPlaying) Unregister();
  mPlaying = false;
}

void MM3DAnimationPlayer::Pulse() {
  bool finished = false;
  const int32_t clipTime =
      mSpan.ClipTimeAt(static_cast<int64_t>(Now()) - mStartClock, mLooping, finished);
  mClip->Apply(MM3DPlaySpan::ToSeconds(clipTime));
  if (finished) Finish();
}

// The callback is taken out of the player before it runs, so it may start
// a new play or set a new callback.
void MM3DAnimationPlayer::Finish() {
  Stop();
  UUOwned<UUCallback> completion(mCompletionCallback.Release());
  if (completion) completion->Invoke();
}

int32_t MM3DAnimationPlayer::GetClipDuration() const {
  return MM3DPlaySpan::ToMilliseconds(mClip->GetEndTime() - mClip->GetStartTime());
}

int32_t MM3DAnimationPlayer::GetClipStart() const {
  return MM3DPlaySpan::ToMilliseconds(mClip->GetStartTime());
}

int32_t MM3DAnimationPlayer::GetClipEnd() const {
  return MM3DPlaySpan::ToMilliseconds(mClip->GetEndTime());
}

int32_t MM3DAnimationPlayer::Now() const { return mScene->GetTaskClient()->GetTime(); }

MMStage* MM3DAnimationPlayer::Stage() const { return mScene->GetStage(); }

void MM3DAnimationPlayer::Unregister() {
  Stage()->RemoveEventNotification(kEveryFrame, mPulseCallback.Get());
}
