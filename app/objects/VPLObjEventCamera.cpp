#include "app/objects/VPLObjEventCamera.h"

#include "app/objects/VPLCameraMoves.h"
#include "app/objects/VPLObjButton.h"
#include "app/objects/VPLSceneBase.h"
#include "app/objects/VPLScript.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"

#include <cmath>

namespace {

// The pad's start and loop sounds by direction, ids of collection 0.
constexpr MMResourceId kRaiseStart = 52;
constexpr MMResourceId kRaiseLoop = 53;
constexpr MMResourceId kOrbitPositiveStart = 48;
constexpr MMResourceId kOrbitPositiveLoop = 49;
constexpr MMResourceId kOrbitNegativeStart = 50;
constexpr MMResourceId kOrbitNegativeLoop = 51;
constexpr MMResourceId kLowerStart = 46;
constexpr MMResourceId kLowerLoop = 47;

}  // namespace

VPLObjEventCamera::VPLObjEventCamera(VPLSceneBase* scene, const UURefCount<MM3DModel>& model,
                                     const MMTaskCallback& callback)
    : VPLObjEvent(scene, model, callback), mScene(scene) {
  VPLObjEventCamera::ComputeCentre();
}

void VPLObjEventCamera::SetScriptId(MMResourceId id) {
  mDefinition = id;
  VPLObjEvent::SetScriptId(id);
  ComputeCentre();
}

void VPLObjEventCamera::ComputeCentre() {
  MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
  GetBounds(min, max);
  mCentre = MM3DVector(min.mX + (max.mX - min.mX) * 0.5f, min.mY + (max.mY - min.mY) * 0.5f,
                       min.mZ + (max.mZ - min.mZ) * 0.5f, 1.0f);
  mHalfWidth = std::fabs(min.mX - max.mX) * 0.5f;
  mHalfHeight = std::fabs((max.mY - min.mY) * 0.5f + 0.5f);
}

int32_t VPLObjEventCamera::Now() const { return GetStage()->GetTaskManager()->GetNow(); }

bool VPLObjEventCamera::HandleEvent(const VPLPickEvent& event) {
  if (!HitTest(event.mRay)) return false;
  if (!mArmed) mArmed = Now() - mHoverStart >= kArmDelay;
  if (mArmed) Step(event);
  return false;
}

void VPLObjEventCamera::PlayHoverLook(bool loop) {
  if (mDefinition == kMMNoResource) return;
  const VPLScript definition(mDefinition, kVPLButtonDefinition);
  if (mScene != nullptr && definition.FindTag(kVPLHoverOnSoundTag) >= 0) {
    mScene->PlayListSoundAtObject(*this, definition.GetTagScriptId(kVPLHoverOnSoundTag), false);
  }
  if (definition.FindTag(kVPLHoverFramesTag) < 0) return;
  const int32_t first =
      VPLObjButton::FrameTime(definition.GetTagInt16(kVPLRestFramesTag), kFrameRate);
  const int32_t last = VPLObjButton::FrameTime(
      definition.GetTagInt16(static_cast<int16_t>(kVPLRestFramesTag + 1)), kFrameRate);
  // A range of one frame shows that frame: there is nothing to loop over.
  PlayAnimation(first, last, loop && first != last);
}

void VPLObjEventCamera::OnHoverOn() {
  PlayHoverLook(true);
  mHoverStart = Now();
  mArmed = false;
}

void VPLObjEventCamera::OnHoverOff() {
  PlayHoverLook(false);
  SetRotation(0.0f, 0.0f, 0.0f);
  mHoverStart = 0;
  mArmed = false;
}

bool VPLObjEventCamera::PointerOffset(const VPLPickEvent& event, float& dx, float& dy) const {
  const MM3DVector right(mCentre.mX + 5.0f, mCentre.mY, mCentre.mZ, 1.0f);
  const MM3DVector up(mCentre.mX, mCentre.mY + 5.0f, mCentre.mZ, 1.0f);
  MM3DVector hit;
  if (!VPLIntersectSegmentPlane(event.mRay, mCentre, right, up, hit)) return false;
  dx = mCentre.mX - hit.mX;
  dy = hit.mY - mCentre.mY;
  return true;
}

float VPLObjEventCamera::RateAt(float half, float d) {
  return half == 0.0f ? 0.0f : (half - std::fabs(d)) / half;
}

void VPLObjEventCamera::TakeDirection(int32_t direction) {
  if (direction != mLastDirection) {
    StopSound();
    mDirectionChanged = true;
  }
  mLastDirection = direction;
}

void VPLObjEventCamera::PlayStepSound(MMResourceId start, MMResourceId loop) {
  if (mDirectionChanged) {
    PlaySound(start, false);
    mDirectionChanged = false;
  } else if (!IsSoundPlaying()) {
    PlaySound(loop, true);
  }
}

void VPLObjEventCamera::PlaySound(MMResourceId sound, bool loop) {
  if (mScene != nullptr) mScene->PlaySoundAtObject(*this, sound, loop);
}

void VPLObjEventCamera::StopSound() {
  if (mScene != nullptr) mScene->StopSound();
}

bool VPLObjEventCamera::IsSoundPlaying() const {
  return mScene != nullptr && mScene->IsSoundPlaying();
}

int32_t VPLObjEventCameraRotate::Direction(const VPLPickEvent& event) {
  float dx = 0.0f;
  float dy = 0.0f;
  if (!PointerOffset(event, dx, dy)) return kNoDirection;
  if (std::fabs(dy) >= std::fabs(dx)) {
    if (GetHalfHeight() == 0.0f) return kNoDirection;
    mRate = RateAt(GetHalfHeight(), dy);
    return dy > 0.0f ? kUp : kDown;
  }
  if (GetHalfWidth() == 0.0f) return kNoDirection;
  mRate = RateAt(GetHalfWidth(), dx);
  return dx > 0.0f ? kLeft : kRight;
}

bool VPLObjEventCameraRotate::Step(const VPLPickEvent& event) {
  const int32_t direction = Direction(event);
  TakeDirection(direction);
  const float tilt = kTilt * mRate;
  switch (direction) {
    case kUp:
      if (mMoves != nullptr) mMoves->RaiseCamera(mRate * kRaiseStep);
      SetRotation(-tilt, 0.0f, 0.0f);
      PlayStepSound(kRaiseStart, kRaiseLoop);
      break;
    case kRight:
      if (mMoves != nullptr) mMoves->OrbitCameraPositive(mRate * kOrbitStep);
      SetRotation(0.0f, tilt, 0.0f);
      PlayStepSound(kOrbitPositiveStart, kOrbitPositiveLoop);
      break;
    case kLeft:
      if (mMoves != nullptr) mMoves->OrbitCameraNegative(mRate * kOrbitStep);
      SetRotation(0.0f, -tilt, 0.0f);
      PlayStepSound(kOrbitNegativeStart, kOrbitNegativeLoop);
      break;
    case kDown:
      if (mMoves != nullptr) mMoves->LowerCamera(mRate * kRaiseStep);
      SetRotation(tilt, 0.0f, 0.0f);
      PlayStepSound(kLowerStart, kLowerLoop);
      break;
    default:
      break;
  }
  return false;
}

int32_t VPLObjEventCameraZoom::Direction(const VPLPickEvent& event) {
  float dx = 0.0f;
  float dy = 0.0f;
  if (!PointerOffset(event, dx, dy) || GetHalfHeight() == 0.0f) return kNoDirection;
  mRate = RateAt(GetHalfHeight(), dy);
  return dy >= 0.0f ? kUp : kDown;
}

bool VPLObjEventCameraZoom::Step(const VPLPickEvent& event) {
  const int32_t direction = Direction(event);
  TakeDirection(direction);
  const float tilt = kTilt * mRate;
  if (direction == kUp) {
    if (mMoves != nullptr) mMoves->ZoomCameraIn(mRate * kZoomStep);
    SetRotation(-tilt, 0.0f, 0.0f);
  } else if (direction == kDown) {
    if (mMoves != nullptr) mMoves->ZoomCameraOut(mRate * kZoomStep);
    SetRotation(tilt, 0.0f, 0.0f);
  } else {
    return false;
  }
  PlayStepSound(kStartSound, kLoopSound);
  return false;
}
