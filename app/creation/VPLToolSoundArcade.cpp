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

RU3DLogicalSoundChannel* VPLToolSoundArcade::ChannelOf(int16_t tag) const {
  return GetChannel(tag);
}

void VPLToolSoundArcade::StopAll(const MM3DVector& position, bool /*alternate*/) {
  for (auto& channel : mChannels) {
    if (channel) channel->Stop();
  }
  for (int16_t tag : {int16_t{kVPLSoundLoop}, int16_t{kVPLSoundLoop + 1}}) {
    if (GetChannel(tag) != nullptr) Follow(*GetChannel(tag), position);
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
