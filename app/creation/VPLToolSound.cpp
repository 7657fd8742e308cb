#include "app/creation/VPLToolSound.h"

#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/RU3DLogicalSoundChannel.h"
#include "app/objects/VPLServices.h"
#include "foundation/al/ALMilliseconds.h"
#include "media/sound/MMSoundGroup.h"
#include "media/sound/MMSoundReference.h"
#include "mm/resources/MMScript.h"

#include <cmath>

namespace {

constexpr int16_t kListSoundOffset = 0;

}  // namespace

VPLToolSound::VPLToolSound(VPLSceneCreationArea* area, MMResourceId scriptId)
    : mArea(area), mScript(scriptId, kScriptKind) {}

void VPLToolSound::Begin(const MM3DVector& position, bool alternate) {
  SetStart(position, alternate);
  StopAll(position, alternate);
  PlayPress(position, alternate);
  StartLoop(position, alternate);
}

void VPLToolSound::Drag(const MM3DVector& position, bool alternate) {
  MoveLoop(position, alternate);
  PlayDrag(position, alternate);
  SetPosition(position, alternate);
}

void VPLToolSound::End(const MM3DVector& position, bool alternate) {
  StopLoop(position, alternate);
  PlayRelease(position, alternate);
  SetPosition(position, alternate);
}

void VPLToolSound::Act(const MM3DVector& position, bool alternate) {
  PlayAction(position, alternate);
  SetPosition(position, alternate);
}

void VPLToolSound::StopLoopHere() { StopLoop(mPosition, false); }

void VPLToolSound::PlayPress(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundPress, position, alternate, false);
}

void VPLToolSound::StartLoop(const MM3DVector& /*position*/, bool alternate) {
  if (ChannelOf(kVPLSoundLoop) != nullptr) {
    PlayLoop(ChannelOf(kVPLSoundLoop), ChannelOf(kVPLSoundLoop + 1), alternate);
  }
}

void VPLToolSound::MoveLoop(const MM3DVector& position, bool alternate) {
  if (ChannelOf(kVPLSoundLoop) != nullptr) {
    FollowLoop(ChannelOf(kVPLSoundLoop), ChannelOf(kVPLSoundLoop + 1), position, alternate);
  }
}

void VPLToolSound::StopLoop(const MM3DVector& /*position*/, bool /*alternate*/) {
  RU3DLogicalSoundChannel* normal = ChannelOf(kVPLSoundLoop);
  if (normal == nullptr) return;
  StopIfPlaying(normal);
  RU3DLogicalSoundChannel* alternateChannel = ChannelOf(kVPLSoundLoop + 1);
  if (alternateChannel != normal) StopIfPlaying(alternateChannel);
}

void VPLToolSound::PlayRelease(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundRelease, position, alternate, false);
}

void VPLToolSound::PlayAction(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundAction, position, alternate, false);
}

void VPLToolSound::PlayDrag(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundDragAccent, position, alternate, true);
}

void VPLToolSound::PlayMoment(int16_t tag, const MM3DVector& position, bool alternate,
                              bool onlySilent) {
  if (ChannelOf(tag) == nullptr) return;
  PlayOneShot(tag, ChannelOf(tag), ChannelOf(static_cast<int16_t>(tag + 1)), position, alternate,
              onlySilent);
}

void VPLToolSound::SetStart(const MM3DVector& position, bool alternate) {
  mAlternate = alternate;
  mPosition = position;
  mStart = position;
}

void VPLToolSound::SetPosition(const MM3DVector& position, bool alternate) {
  mAlternate = alternate;
  mPosition = position;
}

MMResourceId VPLToolSound::SoundOf(int16_t tag) const {
  if (!HasTag(tag)) return kMMNoResource;
  const MMScript list(mScript.GetTagScriptId(tag));
  const int32_t n = VPLGetServices().GetSoundSetIndex();
  if (n < 0 || list.GetRowCount() < n + 1) return kMMNoResource;
  return static_cast<MMResourceId>(list.GetUInt32(n, kListSoundOffset));
}

RU3DLogicalSoundChannel* VPLToolSound::Choose(int16_t tag, RU3DLogicalSoundChannel* normal,
                                              RU3DLogicalSoundChannel* alternateChannel,
                                              bool alternate, bool onlySilent,
                                              int16_t& chosenTag) const {
  const auto usable = [onlySilent](RU3DLogicalSoundChannel* channel) {
    return channel != nullptr && !(onlySilent && IsPlaying(channel));
  };
  const auto alternateTag = static_cast<int16_t>(tag + 1);
  if (alternate && HasTag(alternateTag) && usable(alternateChannel)) {
    chosenTag = alternateTag;
    return alternateChannel;
  }
  chosenTag = tag;
  return HasTag(tag) && usable(normal) ? normal : nullptr;
}

void VPLToolSound::PlayOneShot(int16_t tag, RU3DLogicalSoundChannel* normal,
                               RU3DLogicalSoundChannel* alternateChannel,
                               const MM3DVector& position, bool alternate, bool onlySilent) {
  int16_t chosen = tag;
  RU3DLogicalSoundChannel* channel =
      Choose(tag, normal, alternateChannel, alternate, onlySilent, chosen);
  const MMResourceId sound = channel != nullptr ? SoundOf(chosen) : kMMNoResource;
  if (sound != kMMNoResource) channel->PlayAt(position, MMSoundReference(sound), false);
}

void VPLToolSound::PlayLoop(RU3DLogicalSoundChannel* normal,
                            RU3DLogicalSoundChannel* alternateChannel, bool alternate) {
  int16_t chosen = kVPLSoundLoop;
  RU3DLogicalSoundChannel* channel =
      Choose(kVPLSoundLoop, normal, alternateChannel, alternate, false, chosen);
  if (channel != nullptr) StartLooped(*channel, chosen);
}

void VPLToolSound::StartLooped(RU3DLogicalSoundChannel& channel, int16_t tag) const {
  const MMResourceId sound = SoundOf(tag);
  if (sound != kMMNoResource) channel.Play(MMSoundReference(sound), true);
}

void VPLToolSound::FollowLoop(RU3DLogicalSoundChannel* normal,
                              RU3DLogicalSoundChannel* alternateChannel, const MM3DVector& position,
                              bool alternate) {
  if (normal != nullptr) Follow(*normal, position);
  if (alternateChannel != nullptr && alternateChannel != normal) {
    Follow(*alternateChannel, position);
  }
  constexpr auto kAlternateLoop = static_cast<int16_t>(kVPLSoundLoop + 1);
  if (HasTag(kAlternateLoop) && alternateChannel != nullptr && alternate != mAlternate) {
    if (alternate) {
      alternateChannel->Stop();
      StartLooped(*alternateChannel, kAlternateLoop);
    } else if (HasTag(kVPLSoundLoop) && normal != nullptr) {
      normal->Stop();
      StartLooped(*normal, kVPLSoundLoop);
    }
  }
  PlayExtra(position, alternate);
}

void VPLToolSound::Follow(RU3DLogicalSoundChannel& channel, const MM3DVector& position) const {
  if (!channel.mSource.Equals(position)) {
    channel.mSource = position;
    channel.mDirty = true;
  }
  const MM3DVector eye = GetEye();
  if (!channel.mListener.Equals(eye)) {
    channel.mListener = eye;
    channel.mDirty = true;
  }
  const auto now = static_cast<int32_t>(ALMilliseconds());
  if (now - channel.mLastUpdate >= channel.mUpdateInterval) channel.UpdateSpatialization();
}

void VPLToolSound::StopIfPlaying(RU3DLogicalSoundChannel* channel) {
  if (IsPlaying(channel)) channel->Stop();
}

bool VPLToolSound::IsPlaying(RU3DLogicalSoundChannel* channel) {
  return channel != nullptr && channel->GetChannel().IsPlaying();
}

MM3DVector VPLToolSound::GetEye() const { return mArea->GetCamera()->GetPosition(); }

MM3DVector VPLToolSound::GetFacing() const {
  const MM3DCamera& camera = *mArea->GetCamera();
  if (camera.GetInterest() != nullptr) return *camera.GetInterest();
  return camera.GetPosition().Sum(camera.GetViewDirection());
}

MMSoundGroup* VPLToolSound::GetSoundGroup() const {
  return mArea != nullptr ? dynamic_cast<MMSoundGroup*>(mArea->GetSoundGroup()) : nullptr;
}

float VPLToolSound::Distance(const MM3DVector& a, const MM3DVector& b) {
  return std::sqrt(a.Direction(b).LengthSquared());
}
