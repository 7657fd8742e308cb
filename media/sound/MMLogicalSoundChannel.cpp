#include "media/sound/MMLogicalSoundChannel.h"

#include "foundation/al/ALMilliseconds.h"
#include "media/sound/MMPhysicalSoundChannel.h"
#include "media/sound/MMSoundGroup.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// a - b on the wrapping millisecond clock.
int32_t Minus(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

MMLogicalSoundChannel::MMLogicalSoundChannel(MMSoundGroup* group)
    : mGroup(group),
      mManager(group->GetManager()),
      mPauseCount(group->GetPauseCount()),
      mSuspendCount(group->GetSuspendCount()) {
  mGroup->AddChannel(this);
}

MMLogicalSoundChannel::~MMLogicalSoundChannel() {
  AttachPhysicalChannel(nullptr);
  mGroup->RemoveChannel(this);
}

int32_t MMLogicalSoundChannel::Now() { return static_cast<int32_t>(ALMilliseconds()); }

int32_t MMLogicalSoundChannel::Elapsed() const {
  return mPauseState != kRunning ? mTimeBase : Minus(Now(), mTimeBase);
}

int32_t MMLogicalSoundChannel::GetElapsed() const { return IsPlaying() ? Elapsed() : 0; }

void MMLogicalSoundChannel::Stop() {
  if (IsPlaying()) {
    if (mPhysical != nullptr) mPhysical->Stop();
    Reset();
  }
  mRequest.mPending = false;
}

void MMLogicalSoundChannel::OnSuspend() {
  if (mPhysical != nullptr) AttachPhysicalChannel(nullptr);
}

bool MMLogicalSoundChannel::IsFinished() {
  if (IsLooping()) return false;
  if (mPhysical != nullptr) return mPhysical->IsFinished();
  return IsFinishedWithoutChannel();
}

void MMLogicalSoundChannel::Reset() {
  mPlaying = false;
  mLooping = false;
  mTimeBase = 0;
}

void MMLogicalSoundChannel::Update() {
  if (IsPlaying()) {
    if (IsFinished()) {
      Reset();
      mFinishCallback.Post();
    }
    if (IsPlaying() && mRequest.mPending) {
      if (mPhysical != nullptr) mPhysical->Stop();
      Reset();
    }
  }
  if (mRequest.mPending) {
    Start();
  } else if (IsPlaying() && mSuspendCount == 0) {
    if (mPhysical != nullptr) {
      ApplyPauseState();
    } else {
      TakePhysicalChannel();
    }
  }
  if (mFrameHook != nullptr) mFrameHook->Frame();
}

void MMLogicalSoundChannel::Start() {
  const int32_t position = mRequest.mPosition;
  mPlaying = true;
  mLooping = mRequest.mLoop;
  mTimeBase = position;
  mRequest.mPending = false;
  OnStart();
  if (mPhysical == nullptr && mSuspendCount == 0) AttachPhysicalChannel(AcquirePhysicalChannel());
  SetPosition(position);
}

void MMLogicalSoundChannel::TakePhysicalChannel() {
  AttachPhysicalChannel(AcquirePhysicalChannel());
  SetPosition(Elapsed());
}

void MMLogicalSoundChannel::RequestPlay(int32_t milliseconds, bool loop) {
  mRequest = PlayRequest{.mPending = true, .mLoop = loop, .mPosition = milliseconds};
}

void MMLogicalSoundChannel::StopLooping() {
  if (!IsPlaying() || !IsLooping()) return;
  mLooping = false;
  if (mPhysical != nullptr) mPhysical->StopLooping();
}

void MMLogicalSoundChannel::SetVolume(int32_t volume) {
  if (volume == mVolume) return;
  mVolume = volume;
  if (mPhysical != nullptr) mPhysical->ApplyVolume();
}

void MMLogicalSoundChannel::SetPan(int32_t pan) {
  if (pan == mPan) return;
  mPan = pan;
  if (mPhysical != nullptr) mPhysical->ApplyPan();
}

// A pitch below nothing has no meaning: it is nothing, the slowest the
// device plays.
void MMLogicalSoundChannel::SetPitch(int32_t newPitch) {
  const int32_t pitch = std::max(newPitch, 0);
  if (pitch == mPitch) return;
  mPitch = pitch;
  if (mPhysical != nullptr) mPhysical->ApplyPitch();
}

void MMLogicalSoundChannel::Pause() {
  if (++mPauseCount == 1) OnPause();
}

void MMLogicalSoundChannel::Resume() {
  if (--mPauseCount == 0) OnResume();
}

void MMLogicalSoundChannel::Suspend() {
  if (++mSuspendCount == 1) OnSuspend();
}

void MMLogicalSoundChannel::Unsuspend() {
  if (--mSuspendCount == 0) OnUnsuspend();
}

void MMLogicalSoundChannel::AttachPhysicalChannel(MMPhysicalSoundChannel* channel) {
  if (mPhysical != nullptr) {
    mPhysical->ReleaseBuffer();
    delete std::exchange(mPhysical, nullptr);
    if (mPauseState == kPausedOnDevice) mPauseState = kPausedWithoutDevice;
  }
  if (channel != nullptr) {
    if (!channel->IsBufferMade()) channel->PrepareBuffer();
    if (channel->IsBufferMade()) {
      mPhysical = channel;
    } else {
      delete channel;
    }
  }
  if (mPhysical != nullptr) {
    mPhysical->ApplyVolume();
    mPhysical->ApplyPan();
    mPhysical->ApplyPitch();
  }
}

void MMLogicalSoundChannel::ApplyPauseState() {
  if (mPauseCount != 0) {
    if (mPauseState == kPausedOnDevice) return;
    if (mPauseState == kRunning) {
      mTimeBase = Minus(Now(), mTimeBase);
      mPauseState = kPausedWithoutDevice;
    }
    if (mPhysical != nullptr) {
      mPhysical->Pause();
      mPauseState = kPausedOnDevice;
    }
    return;
  }
  if (mPauseState == kRunning) return;
  if (mPauseState == kPausedOnDevice && mPhysical != nullptr) mPhysical->Resume();
  mTimeBase = Minus(Now(), mTimeBase);
  mPauseState = kRunning;
}

// The byte offset is worked out in 64 bits: a 32-bit product overflows
// after about five minutes of 44100 Hz stereo.
void MMLogicalSoundChannel::SetPosition(int32_t milliseconds) {
  ApplyPauseState();
  if (mPhysical != nullptr) {
    const MMSoundFormat format = mPhysical->GetFormat();
    const int64_t frameBytes = format.GetFrameBytes();
    const int64_t bytes = MMSoundPeriodBytes(format, milliseconds);
    const int64_t offset =
        bytes < 0 ? 0 : std::min<int64_t>(bytes, INT32_MAX) / frameBytes * frameBytes;
    mPhysical->PlayFrom(static_cast<int32_t>(offset));
  }
  mTimeBase = mPauseState == kRunning ? Minus(Now(), milliseconds) : milliseconds;
}
