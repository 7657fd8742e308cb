#include "app/creation/VPLToolSoundGeneric.h"

#include "app/objects/RU3DLogicalSoundChannel.h"
#include "media/sound/MMLogicalSoundChannel.h"

#include <algorithm>
#include <cmath>

namespace {

const MM3DVector kOneShotSource(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kLoopSource(1.0f, 1.0f, 1.0f, 1.0f);
constexpr float kHalfPitch = 32768.0f;

// The loop's rate in 16.16 fixed point, a share of half the rate above or
// below its own.
int32_t PitchFor(float share) {
  return static_cast<int32_t>(static_cast<float>(kVPLUnitPitch) + share * kHalfPitch);
}

}  // namespace

VPLToolSoundGeneric::VPLToolSoundGeneric(VPLSceneCreationArea* area, MMResourceId scriptId)
    : VPLToolSound(area, scriptId) {
  MMSoundGroup* group = GetSoundGroup();
  if (group == nullptr) return;
  mOneShot = std::make_unique<RU3DGenericSoundChannel>(group, GetEye(), GetFacing(), kOneShotSource,
                                                       kOneShotInterval);
  mLoop = std::make_unique<RU3DGenericSoundChannel>(group, GetEye(), GetFacing(), kLoopSource,
                                                    kLoopInterval);
}

VPLToolSoundGeneric::~VPLToolSoundGeneric() { VPLToolSoundGeneric::StopAll(mStart, mAlternate); }

RU3DLogicalSoundChannel* VPLToolSoundGeneric::ChannelOf(int16_t tag) const {
  if (tag == kVPLSoundLoop || tag == kVPLSoundLoop + 1) return mLoop.get();
  return mOneShot.get();
}

void VPLToolSoundGeneric::StopAll(const MM3DVector& position, bool /*alternate*/) {
  if (mOneShot) mOneShot->Stop();
  if (!mLoop) return;
  mLoop->Stop();
  Follow(*mLoop, position);
}

void VPLToolSoundScale::PlayExtra(const MM3DVector& position, bool alternate) {
  const int32_t pitch = Pitch(mStart, position, alternate);
  if (IsPlaying(mLoop.get()) && pitch != kVPLKeepPitch) mLoop->GetChannel().SetPitch(pitch);
}

int32_t VPLToolSoundScale::Pitch(const MM3DVector& start, const MM3DVector& position,
                                 bool alternate) {
  const float d = alternate ? Distance(position, start) : std::fabs(start.mY - position.mY);
  const bool rising = alternate ? position.mX > start.mX : position.mY > start.mY;
  if (d == 0.0f || !(d < kPitchRange)) return kVPLKeepPitch;
  const float share = d / kPitchRange;
  return PitchFor(rising ? share : -share);
}

void VPLToolSoundPrimativeShape::PlayExtra(const MM3DVector& position, bool /*alternate*/) {
  if (IsPlaying(mLoop.get())) mLoop->GetChannel().SetPitch(Pitch(mStart, position));
}

int32_t VPLToolSoundPrimativeShape::Pitch(const MM3DVector& start, const MM3DVector& position) {
  return PitchFor(std::min(Distance(position, start), kPitchRange) / kPitchRange);
}
