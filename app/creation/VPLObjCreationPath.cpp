// A created object's motion path: the spline of a path model that the
// object follows, run after run, while the path plays.
#include "app/creation/VPLObjCreation.h"

#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DSpline.h"

void VPLObjCreation::SetPath(int32_t pathId, int32_t duration) {
  if (pathId == -1) {
    mPathId = -1;
    StopPath();
    return;
  }
  if (pathId == mPathId) return;
  MakePathSoundChannel();
  mPathDuration = duration;
  mPathId = pathId;
  MMStage* stage = GetStage();
  const UURefCount<MM3DModel> model =
      MM3DGetModel(pathId, stage != nullptr ? stage->GetTextureMap() : nullptr);
  if (mPathMolecule) mPathMolecule->Detach();
  mPathMolecule.reset();
  mPathSpline = nullptr;
  if (!model) return;
  mPathMolecule = std::make_unique<MM3DModelMolecule>(GetScene(), model);
  MM3DDisplayTreeNode* root = mPathMolecule->GetDisplayTreeRoot();
  const auto* node = root != nullptr ? static_cast<const MM3DDisplayTreeNodeSpline*>(
                                           root->FindNodeOfKind(kMM3DNodeSpline, kMM3DVisitDown))
                                     : nullptr;
  mPathSpline = node != nullptr ? node->GetSpline().Get() : nullptr;
  if (mPathSpline != nullptr)
    mPathSpline->Evaluate(mPathLastPoint, mPathSpline->GetStartParameter());
}

void VPLObjCreation::PlayPath() {
  if (mPathPlaying) return;
  StartSound(mPathChannel.get(), mPathSound, true);
  mPathElapsed = 0;
  mPathPlaying = true;
  ResumePath();
  IncrementBusy();
}

void VPLObjCreation::StopPath() {
  if (!mPathPlaying) return;
  if (mPathChannel && mPathChannel->GetChannel().IsPlaying()) mPathChannel->Stop();
  DecrementBusy();
  mPathPlaying = false;
  // The bounds were left behind while the path moved the object.
  if (mBusy == 0) RefreshBounds();
}

void VPLObjCreation::StepPath(int32_t now) {
  if (!mPathPlaying || mPathPaused) {
    mPathStart = now;
    return;
  }
  const int32_t elapsed = now - mPathStart;
  mPathElapsed = elapsed;
  float f = 0.0f;
  if (elapsed > mPathDuration || elapsed <= 0) {
    mPathElapsed = 0;
    mPathStart = now;
  } else {
    f = static_cast<float>(elapsed) / static_cast<float>(mPathDuration);
  }
  if (mPathSpline == nullptr) return;
  MM3DVector point;
  mPathSpline->Evaluate(point,
                        mPathSpline->GetStartParameter() + mPathSpline->GetParameterRange() * f);
  const MM3DVector p = GetWorldPosition();
  SetLocation(MM3DVector(p.mX + point.mX - mPathLastPoint.mX, p.mY + point.mY - mPathLastPoint.mY,
                         p.mZ + point.mZ - mPathLastPoint.mZ, p.mW));
  mPathLastPoint = point;
}
