#include "mm3d/MM3DAnimationClip.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DFunctionCurve.h"

#include <algorithm>

namespace {

constexpr float kFixedOne = 4096.0f;

float FromFixed(int32_t value) { return static_cast<float>(value) / kFixedOne; }

}  // namespace

MM3DAnimationClip::MM3DAnimationClip(float startTime, float endTime,
                                     UUGrowableArray<MM3DAnimation*>& animations)
    : mStartTime(startTime), mEndTime(endTime) {
  mAnimations.Reserve(animations.Count());
  for (MM3DAnimation* animation : animations) mAnimations.Append(animation);
  animations.EraseRange(0, animations.Count());
}

MM3DAnimationClip::~MM3DAnimationClip() {
  for (MM3DAnimation* animation : mAnimations) delete animation;
}

void MM3DAnimationClip::AddAnimation(UUOwned<MM3DAnimation> animation) {
  mAnimations.Append(animation.Release());
}

UUOwned<MM3DAnimation> MM3DAnimationClip::RemoveAnimation(int32_t index) {
  UUOwned<MM3DAnimation> animation(mAnimations[index]);
  mAnimations.EraseRange(index, index + 1);
  return animation;
}

void MM3DAnimationClip::Apply(float seconds) {
  for (MM3DAnimation* animation : mAnimations) animation->Apply(seconds);
}

void MM3DAnimationClip::ApplyBlended(float time1, float weight1, float time2, float weight2) {
  for (MM3DAnimation* animation : mAnimations) {
    animation->ApplyBlended(time1, weight1, time2, weight2);
  }
}

void MM3DAnimationClip::ApplyFixed(int32_t time) { Apply(FromFixed(time)); }

void MM3DAnimationClip::ApplyBlendedFixed(int32_t time1, int32_t weight1, int32_t time2,
                                          int32_t weight2) {
  ApplyBlended(FromFixed(time1), FromFixed(weight1), FromFixed(time2), FromFixed(weight2));
}

float MM3DAnimationClip::GetEarliestStart() const {
  if (mAnimations.Count() == 0) return 0.0f;
  float earliest = mAnimations[0]->GetStartTime();
  for (MM3DAnimation* animation : mAnimations) {
    earliest = std::min(earliest, animation->GetStartTime());
  }
  return earliest;
}

float MM3DAnimationClip::GetLatestEnd() const {
  if (mAnimations.Count() == 0) return 0.0f;
  float latest = mAnimations[0]->GetEndTime();
  for (MM3DAnimation* animation : mAnimations) latest = std::max(latest, animation->GetEndTime());
  return latest;
}

bool MM3DAnimationClip::Write(UUWriter& writer, MM3DModDatabase& database) const {
  const float range[2] = {mStartTime, mEndTime};
  const int32_t count = mAnimations.Count();
  if (!writer.WriteFloats(range, 2) || !writer.WriteInt32s(&count, 1)) return false;
  for (MM3DAnimation* animation : mAnimations) {
    if (!animation->WriteWithKind(writer, database)) return false;
  }
  return true;
}

bool MM3DReadAnimationClip(UUReader& reader, MM3DModDatabase& database,
                           UUOwned<MM3DAnimationClip>& clip) {
  clip.Reset(new MM3DAnimationClip);
  float range[2] = {};
  if (!reader.ReadFloats(range, 2)) return false;
  clip->SetStartTime(range[0]);
  clip->SetEndTime(range[1]);
  int32_t count = 0;
  if (!MM3DDatabase::ReadInt32(reader, count) || !MM3DCheckCount(reader, count)) return false;
  // The array grows as the animations arrive, so a damaged count reserves
  // nothing.
  for (int32_t i = 0; i < count; ++i) {
    UUOwned<MM3DAnimation> animation;
    if (!MM3DReadAnimation(reader, database, animation)) return false;
    clip->AddAnimation(std::move(animation));
  }
  return true;
}
