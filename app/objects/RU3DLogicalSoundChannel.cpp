#include "app/objects/RU3DLogicalSoundChannel.h"

#include "foundation/al/ALMilliseconds.h"
#include "mm3d/MM3DMathFunctions.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this a horizontal direction has no length and no side.
constexpr float kNoLength = 0.00001f;
constexpr float kQuarterTurn = 1.5707964f;
constexpr float kHalfTurn = 3.1415927f;

int32_t Now() { return static_cast<int32_t>(ALMilliseconds()); }

int32_t Volume(float distanceSquared, float maxDistanceSquared) {
  // A distance that is no number counts as out of hearing.
  const float c = distanceSquared < maxDistanceSquared ? distanceSquared : maxDistanceSquared;
  const float volume = static_cast<float>(RU3DLogicalSoundChannel::kFullVolume) -
                       c * RU3DLogicalSoundChannel::kFullVolume / maxDistanceSquared;
  return std::clamp(MM3DTruncate(volume), 0, RU3DLogicalSoundChannel::kFullVolume);
}

// The pan of a source in horizontal direction a for a listener facing b:
// the angle between them folded to the front, a quarter turn being full
// pan, negative when a lies to the left of b.
int32_t Pan(float ax, float az, float bx, float bz) {
  const float aLength = std::sqrt(ax * ax + az * az);
  const float bLength = std::sqrt(bx * bx + bz * bz);
  if (!(aLength >= kNoLength) || !(bLength >= kNoLength)) return 0;
  ax /= aLength;
  az /= aLength;
  bx /= bLength;
  bz /= bLength;
  // Rounding can carry the dot product of two unit directions past 1.
  const float dot = std::clamp(ax * bx + az * bz, -1.0f, 1.0f);
  float angle = (ax == bx && az == bz) ? 0.0f : std::acos(dot);
  if (angle > kQuarterTurn) angle = kHalfTurn - angle;
  const int32_t magnitude =
      std::clamp(MM3DTruncate(angle * RU3DLogicalSoundChannel::kFullPan / kQuarterTurn), 0,
                 RU3DLogicalSoundChannel::kFullPan);
  // The listener's right is up x facing, with y up: (bz, 0, -bx).
  const float towardRight = ax * bz - az * bx;
  return towardRight < 0.0f ? -magnitude : magnitude;
}

}  // namespace

RU3DLogicalSoundChannel::RU3DLogicalSoundChannel(const MM3DVector& listener,
                                                 const MM3DVector& facing, const MM3DVector& source,
                                                 int32_t updateInterval)
    : mListener(listener),
      mFacing(facing),
      mSource(source),
      mLastUpdate(Now()),
      mUpdateInterval(updateInterval) {}

RU3DLogicalSoundChannel::Mix RU3DLogicalSoundChannel::Spatialize(const MM3DVector& listener,
                                                                 const MM3DVector& facing,
                                                                 const MM3DVector& source,
                                                                 float maxDistanceSquared) {
  const MM3DVector s = source.Direction(listener);
  const MM3DVector f = facing.Direction(listener);
  return Mix{Volume(s.LengthSquared(), maxDistanceSquared), Pan(s.mX, s.mZ, f.mX, f.mZ)};
}

void RU3DLogicalSoundChannel::UpdateSpatialization() {
  if (mDirty) {
    const Mix mix = Spatialize(mListener, mFacing, mSource, mMaxDistanceSquared);
    GetChannel().SetVolume(mix.mVolume);
    GetChannel().SetPan(mix.mPan);
    mDirty = false;
  }
  mLastUpdate = Now();
}

void RU3DLogicalSoundChannel::PlayAt(const MM3DVector& position, const MMSoundReference& sound,
                                     bool loop) {
  if (!position.Equals(mSource)) {
    mSource = position;
    mDirty = true;
    UpdateSpatialization();
  }
  Play(sound, loop);
}

bool RU3DLogicalSoundChannel::Stop() {
  const bool playing = GetChannel().IsPlaying();
  GetChannel().Stop();
  return playing;
}

RU3DGenericSoundChannel::RU3DGenericSoundChannel(MMSoundGroup* group, const MM3DVector& listener,
                                                 const MM3DVector& facing, const MM3DVector& source,
                                                 int32_t updateInterval)
    : RU3DLogicalSoundChannel(listener, facing, source, updateInterval),
      mChannel(std::make_unique<MMGenericSoundChannel>(group)) {
  UpdateSpatialization();
}

RU3DGenericSoundChannel::~RU3DGenericSoundChannel() { mChannel->Stop(); }

void RU3DGenericSoundChannel::Play(const MMSoundReference& sound, bool loop) {
  mChannel->Play(sound, loop);
  mDirty = true;
  UpdateSpatialization();
}

RU3DArcadeSoundChannel::RU3DArcadeSoundChannel(MMSoundGroup* group, const MM3DVector& listener,
                                               const MM3DVector& facing, const MM3DVector& source,
                                               int32_t updateInterval, MMResourceId soundId)
    : RU3DLogicalSoundChannel(listener, facing, source, updateInterval),
      mChannel(std::make_unique<MMArcadeSoundChannel>(group, MMSoundReference(soundId))),
      mSoundId(soundId) {
  UpdateSpatialization();
}

RU3DArcadeSoundChannel::~RU3DArcadeSoundChannel() { mChannel->Stop(); }

void RU3DArcadeSoundChannel::Play(const MMSoundReference& /*sound*/, bool loop) {
  mChannel->Play(loop);
  mDirty = true;
  UpdateSpatialization();
}
