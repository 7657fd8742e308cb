#pragma once
// Glides the creation camera's gaze to Pomble for a show and back: a
// lightweight thread that steps once per millisecond of scene time, 500
// equal steps from the gaze it saved when it was made to where the target
// stood when the glide began (then it holds on the target as it moves), and
// 500 steps back. Arrival and return each post their task. Stopping it puts
// the saved gaze back. Stage thread only.

#include "mm/tasks/MMLightweightThread.h"
#include "mm/tasks/MMTaskCallback.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class MM3DDisplayTreeNodeLocator;
class VPLCreationCamera;

class VPLCameraThread : public MMLightweightThread {
 public:
  enum Glide : int32_t { kApproach = 0, kReturn = 1, kHold = 2, kIdle = 3 };
  static constexpr int16_t kGlideSteps = 500;
  static constexpr float kStepShare = 0.002f;
  static constexpr int32_t kStepInterval = 1;

  // Saves the camera's gaze (none without a camera: then nothing moves).
  // The tasks are posted on behalf of the owner.
  VPLCameraThread(MMTaskClient* client, VPLCreationCamera* camera, const void* taskOwner);

  // Prepares a glide; the thread is started apart. Other kinds do nothing.
  void Start(int32_t kind);
  void StartApproach() { Start(kApproach); }
  void StartReturn() { Start(kReturn); }
  void SetArrivalTask(const MMTaskCallback& task) { mArrivalTask = task; }
  void SetReturnTask(const MMTaskCallback& task) { mReturnTask = task; }
  // Without a target the gaze stays where it is while the steps count on
  // and the tasks are posted as usual, so a show still runs.
  void SetTarget(MM3DDisplayTreeNodeLocator* target) { mTarget = target; }
  MM3DDisplayTreeNodeLocator* GetTarget() const { return mTarget; }
  Glide GetGlide() const { return mGlide; }
  int16_t GetStepCount() const { return mStepCount; }
  const MM3DVector& GetSavedInterest() const { return mSavedInterest; }

  bool Step() override;

 private:
  // The step of a glide from the saved gaze to the target.
  void AimSteps();
  void GlideStep();
  MM3DVector Approach(const MM3DVector& current);
  MM3DVector Return(const MM3DVector& current);
  // The saved gaze moved by the steps taken; the current one without a
  // target.
  MM3DVector Along(const MM3DVector& current) const;
  MM3DVector TargetOr(const MM3DVector& current) const;
  void Post(const MMTaskCallback& task) const { task.Post(mTaskOwner); }

  VPLCreationCamera* mCamera;
  const void* mTaskOwner;
  MM3DDisplayTreeNodeLocator* mTarget = nullptr;
  Glide mGlide = kIdle;
  MM3DVector mSavedInterest{0.0f, 0.0f, 0.0f, 0.0f};
  MM3DVector mStep{0.0f, 0.0f, 0.0f, 0.0f};
  MMTaskCallback mArrivalTask;
  MMTaskCallback mReturnTask;
  int16_t mStepCount = 0;
};
