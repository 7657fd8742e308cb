#include "app/creation/VPLCameraThread.h"

#include "app/creation/VPLCreationCamera.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"

VPLCameraThread::VPLCameraThread(MMTaskClient* client, VPLCreationCamera* camera,
                                 const void* taskOwner)
    : MMLightweightThread(client), mCamera(camera), mTaskOwner(taskOwner) {
  if (mCamera != nullptr) mSavedInterest = mCamera->GetInterest();
}

void VPLCameraThread::Start(int32_t kind) {
  switch (kind) {
    case kApproach:
      mStepCount = 0;
      AimSteps();
      break;
    case kReturn:
      mStepCount = kGlideSteps;
      AimSteps();
      break;
    case kHold:
      break;
    case kIdle:
      mStep = MM3DVector(0.0f, 0.0f, 0.0f, 0.0f);
      break;
    default:
      return;
  }
  mGlide = static_cast<Glide>(kind);
}

void VPLCameraThread::AimSteps() {
  if (mTarget == nullptr) return;
  const MM3DVector target = mTarget->GetWorldPosition();
  mStep = MM3DVector((target.mX - mSavedInterest.mX) * kStepShare,
                     (target.mY - mSavedInterest.mY) * kStepShare,
                     (target.mZ - mSavedInterest.mZ) * kStepShare, 0.0f);
}

bool VPLCameraThread::Step() {
  switch (GetState()) {
    case kStarted:
      Sleep(kStepInterval);
      return true;
    case kRunning:
      if (mGlide != kIdle) GlideStep();
      Sleep(kStepInterval);
      return true;
    case kStopping:
      if (mCamera != nullptr) mCamera->SetInterest(mSavedInterest);
      return false;
    default:
      return true;
  }
}

void VPLCameraThread::GlideStep() {
  if (mCamera == nullptr) return;
  const MM3DVector current = mCamera->GetInterest();
  switch (mGlide) {
    case kApproach:
      mCamera->SetInterest(Approach(current));
      break;
    case kReturn:
      mCamera->SetInterest(Return(current));
      break;
    case kHold:
      mCamera->SetInterest(TargetOr(current));
      break;
    default:
      break;
  }
}

MM3DVector VPLCameraThread::Approach(const MM3DVector& current) {
  if (mStepCount >= kGlideSteps) {
    Post(mArrivalTask);
    mGlide = kHold;
    return TargetOr(current);
  }
  ++mStepCount;
  return Along(current);
}

MM3DVector VPLCameraThread::Return(const MM3DVector& current) {
  if (mStepCount <= 0) {
    Post(mReturnTask);
    mGlide = kIdle;
    return mTarget != nullptr ? mSavedInterest : current;
  }
  --mStepCount;
  return Along(current);
}

MM3DVector VPLCameraThread::Along(const MM3DVector& current) const {
  if (mTarget == nullptr) return current;
  const auto steps = static_cast<float>(mStepCount);
  return MM3DVector(mSavedInterest.mX + mStep.mX * steps, mSavedInterest.mY + mStep.mY * steps,
                    mSavedInterest.mZ + mStep.mZ * steps, mSavedInterest.mW);
}

MM3DVector VPLCameraThread::TargetOr(const MM3DVector& current) const {
  return mTarget != nullptr ? mTarget->GetWorldPosition() : current;
}
