#include "app/creation/VPLToolSoundArcade.h"

#include "app/objects/RU3DLogicalSoundChannel.h"
#include "media/sound/MMLogicalSoundChannel.h"

#include <cmath>

namespace {

const MM3DVector kSource(0.0f, 0.0f, 0.0f, 1.0f);
constexpr float kFullTurn = 6.2831855f;

}  // namespace

VPLToolSoundArcade::VPLToolSoundArcade(VPLSceneCreationArea* area, MMResourceId scriptId)
    : VPLToolSound(area, scriptId) {
  MMSoundGroup* group = GetSoundGroup();
  if (group == nullptr) return;
  for (int16_t tag = 0; tag < kVPLSoundTagCount; ++tag) {
    const MMResourceId sound = SoundOf(tag);
    if (sound == kMMNoResource) continue;
    mChannels[static_cast<size_t>(tag)] = std::make_unique<RU3DArcadeSoundChannel>(
        group, GetEye(), GetFacing(), kSource, kInterval, sound);
  }
}

VPLToolSoundArcade::~VPLToolSoundArcade() { VPLToolSoundArcade::StopAll(mStart, mAlternate); }

RU3DArcadeSoundChannel* VPLToolSoundArcade::GetChannel(int16_t tag) const {
  if (tag < 0 || tag >= kVPLSoundTagCount) return nullptr;
  return mChannels[static_cast<size_t>(tag)].get();
}

void VPLToolSoundArcade::PlayPress(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundPress, position, alternate, false);
}

void VPLToolSoundArcade::StartLoop(const MM3DVector& /*position*/, bool alternate) {
  if (GetChannel(kVPLSoundLoop) != nullptr) {
    PlayLoop(GetChannel(kVPLSoundLoop), GetChannel(kVPLSoundLoop + 1), alternate);
  }
}

void VPLToolSoundArcade::MoveLoop(const MM3DVector& position, bool alternate) {
  if (GetChannel(kVPLSoundLoop) != nullptr) {
    FollowLoop(GetChannel(kVPLSoundLoop), GetChannel(kVPLSoundLoop + 1), position, alternate);
  }
}

void VPLToolSoundArcade::StopLoop(const MM3DVector& /*position*/, bool /*alternate*/) {
  if (GetChannel(kVPLSoundLoop) == nullptr) return;
  StopIfPlaying(GetChannel(kVPLSoundLoop));
  StopIfPlaying(GetChannel(kVPLSoundLoop + 1));
}

void VPLToolSoundArcade::PlayRelease(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundRelease, position, alternate, false);
}

void VPLToolSoundArcade::PlayAction(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundAction, position, alternate, false);
}

void VPLToolSoundArcade::PlayDrag(const MM3DVector& position, bool alternate) {
  PlayMoment(kVPLSoundDragAccent, position, alternate, true);
}

void VPLToolSoundArcade::StopAll(const MM3DVector& position, bool /*alternate*/) {
  for (auto& channel : mChannels) {
    if (channel) channel->Stop();
  }
  for (int16_t tag : {int16_t{kVPLSoundLoop}, int16_t{kVPLSoundLoop + 1}}) {
    if (GetChannel(tag) != nullptr) Follow(*GetChannel(tag), position);
  }
}

void VPLToolSoundArcade::PlayMoment(int16_t tag, const MM3DVector& position, bool alternate,
                                    bool onlySilent) {
  if (GetChannel(tag) == nullptr) return;
  PlayOneShot(tag, GetChannel(tag), GetChannel(static_cast<int16_t>(tag + 1)), position, alternate,
              onlySilent);
}

void VPLToolSoundRotate::PlayDrag(const MM3DVector& position, bool alternate) {
  if (Distance(position, mPosition) > kAccentDistance) {
    VPLToolSoundArcade::PlayDrag(position, alternate);
  }
}

void VPLToolSoundDraw::PlayDrag(const MM3DVector& position, bool alternate) {
  if (TakeStep(position)) VPLToolSoundArcade::PlayDrag(position, alternate);
}

bool VPLToolSoundDraw::TakeStep(const MM3DVector& position) {
  const MM3DVector step = mPosition.Direction(position);
  const float summed = std::fabs(step.mX + step.mY + step.mZ);
  if (summed > kJump) return true;
  if (!(summed > kLeastStep)) return false;
  float direction = std::atan2(step.mY, step.mX);
  if (direction < 0.0f) direction += kFullTurn;
  const float turn = std::fabs(direction - mDirection);
  mDirection = direction;
  return turn > kSharpTurn && turn < kFullTurn - kSharpTurn;
}

void VPLToolSoundDraw::SetStart(const MM3DVector& position, bool alternate) {
  VPLToolSoundArcade::SetStart(position, alternate);
  mDirection = 0.0f;
}
