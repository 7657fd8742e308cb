#include "mm3d/MM3DAnimationPlayer.h"

#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm3d/MM3DAnimationClip.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int32_t kEveryFrame = 0;  // the stage's notification kind of each frame
constexpr float kSecondsPerMillisecond = 0.001f;
constexpr float kMillisecondsPerSecond = 1000.0f;
// The span of a play that does not end in practice.
constexpr int32_t kOpenEnded = INT_MAX;

int32_t ToMilliseconds(float seconds) {
  return static_cast<int32_t>(seconds * kMillisecondsPerSecond);
}

}  // namespace

MM3DAnimationPlayer::MM3DAnimationPlayer(MMScene* scene, MM3DAnimationClip* clip)
    : mScene(scene),
      mClip(clip),
      mPulseCallback(new UUClassCallback(this, &MM3DAnimationPlayer::Pulse)) {}

MM3DAnimationPlayer::~MM3DAnimationPlayer() {
  if (mPlaying) Unregister();
}

void MM3DAnimationPlayer::Play(int32_t start, int32_t end, bool looping) {
  const int64_t span = static_cast<int64_t>(end) - start;
  Start(start, static_cast<int32_t>(span),
        static_cast<int32_t>(std::min<int64_t>(std::llabs(span), kOpenEnded)), looping);
}

void MM3DAnimationPlayer::PlayClip(bool looping) {
  const int32_t duration = GetClipDuration();
  Start(GetClipStart(), duration, duration, looping);
}

void MM3DAnimationPlayer::PlayOpenEnded() { Start(GetClipStart(), kOpenEnded, kOpenEnded, false); }

// A second play while playing keeps the one registration, so Stop and the
// destructor leave no notification pointing at this player.
void MM3DAnimationPlayer::Start(int32_t start, int32_t span, int32_t spanLength, bool looping) {
  if (!mPlaying) Stage()->AddEventNotification(kEveryFrame, mPulseCallback.Get());
  mLooping = looping;
  mSpan = span;
  mSpanLength = spanLength;
  mStartTime = start;
  mStartClock = Now();
  mPlaying = true;
}

void MM3DAnimationPlayer::Stop() {
  if (mPlaying) Unregister();
  mPlaying = false;
}

void MM3DAnimationPlayer::Pulse() {
  bool finished = false;
  const int32_t clipTime = ClipTimeAt(static_cast<int64_t>(Now()) - mStartClock, finished);
  mClip->Apply(static_cast<float>(clipTime) * kSecondsPerMillisecond);
  if (finished) Finish();
}

int32_t MM3DAnimationPlayer::ClipTimeAt(int64_t elapsed, bool& finished) const {
  if (mLooping) {
    // A loop of no length stays at its start.
    elapsed = mSpanLength == 0 ? 0 : elapsed % mSpanLength;
  } else if (elapsed > mSpanLength) {
    elapsed = mSpanLength;
    finished = true;
  }
  const int64_t clipTime = mSpan >= 0 ? mStartTime + elapsed : mStartTime - elapsed;
  return static_cast<int32_t>(std::clamp<int64_t>(clipTime, INT_MIN, INT_MAX));
}

// The callback is taken out of the player before it runs, so it may start
// a new play or set a new callback.
void MM3DAnimationPlayer::Finish() {
  Stop();
  UUOwned<UUCallback> completion(mCompletionCallback.Release());
  if (completion) completion->Invoke();
}

int32_t MM3DAnimationPlayer::GetClipDuration() const {
  return ToMilliseconds(mClip->GetEndTime() - mClip->GetStartTime());
}

int32_t MM3DAnimationPlayer::GetClipStart() const { return ToMilliseconds(mClip->GetStartTime()); }

int32_t MM3DAnimationPlayer::GetClipEnd() const { return ToMilliseconds(mClip->GetEndTime()); }

int32_t MM3DAnimationPlayer::Now() const { return mScene->GetTaskClient()->GetTime(); }

MMStage* MM3DAnimationPlayer::Stage() const { return mScene->GetStage(); }

void MM3DAnimationPlayer::Unregister() {
  Stage()->RemoveEventNotification(kEveryFrame, mPulseCallback.Get());
}
