// The move, scale and rotate drags of a created object, the bake that puts
// its size and turn into its vertices, and the mirrors.
#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLCreation.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

float Length(const MM3DVector& v) { return std::sqrt(v.LengthSquared()); }

float Horizontal(const MM3DVector& v) { return std::sqrt(v.mX * v.mX + v.mZ * v.mZ); }

// Every vertex-data block of every part of every mesh of the tree.
template <typename Visit>
void ForEachBlock(MM3DDisplayTreeNode* root, Visit visit) {
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(root);
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[m]);
    for (int32_t p = 0; p < mesh->GetPartCount(); ++p) {
      const MM3DVertexDataBlocks& blocks = mesh->GetPart(p).mBlocks;
      for (int32_t b = 0; b < blocks.Count(); ++b) {
        if (blocks[b]) visit(*blocks[b]);
      }
    }
  }
}

// Positions through the matrix; normals through it and back to unit length.
void TransformBlock(MM3DIndexedMeshVertexData& block, const MM3DMatrix& matrix) {
  for (int32_t i = 0; i < block.mPositions.Count(); ++i) {
    const MM3DVector p = block.mPositions[i];
    matrix.TransformPoint(block.mPositions[i], p);
  }
  for (int32_t i = 0; i < block.mNormals.Count(); ++i) {
    const MM3DVector n = block.mNormals[i];
    MM3DVector turned;
    matrix.TransformDirection(turned, n);
    const float length = Length(turned);
    if (length > 0.0f) turned.Divide(length);
    block.mNormals[i] = turned;
  }
}

}  // namespace

void VPLObjCreation::PausePath() {
  if (mPathChannel && mPathChannel->GetChannel().IsPlaying()) mPathChannel->Stop();
  mPathPaused = true;
}

void VPLObjCreation::ResumePath() {
  if (mPathPlaying) StartSound(mPathChannel.get(), mPathSound, true);
  mPathPaused = false;
}

bool VPLObjCreation::OutsideTheWorld() const {
  MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
  GetBounds(min, max);
  return Horizontal(min) > kWorldRadius && Horizontal(max) > kWorldRadius;
}

void VPLObjCreation::QueueRemoval() {
  if (mCreation != nullptr) mCreation->QueueRemoval(this);
}

void VPLObjCreation::BeginMove() { PausePath(); }

void VPLObjCreation::DragMove(float x, float y, float z) { SetLocation(MM3DVector(x, y, z, 1)); }

void VPLObjCreation::EndMove(float x, float y, float z) {
  SetLocation(MM3DVector(x, y, z, 1));
  if (OutsideTheWorld()) QueueRemoval();
  ResumePath();
}

void VPLObjCreation::SetScaleNode(const MM3DMatrix& matrix) {
  if (MM3DDisplayTreeNodeTransform* node = GetScaleNode()) node->SetMatrix(matrix);
}

void VPLObjCreation::BeginScale(float sx, float sy, float sz) {
  PausePath();
  BakeScale();
  mScaleStepTime = mPreviousScaleStepTime = Now();
  if (MM3DDisplayTreeNodeTransform* node = GetScaleNode()) mScaleBase = node->GetMatrix();
  const float start[3] = {sx, sy, sz};
  std::copy(start, start + 3, mJiggleLow);
  std::fill(mScaleCurrent, mScaleCurrent + 3, 1.0f);
  std::fill(mJiggleHigh, mJiggleHigh + 3, 1.0f);
  mStepsHeld = true;
  MM3DMatrix scale;
  MM3DMatrixScale(scale, sx, sy, sz);
  MM3DMatrix scaled;
  MM3DMatrixMultiply(scaled, mScaleBase, scale);
  SetScaleNode(scaled);
}

void VPLObjCreation::DragScale(float sx, float sy, float sz) {
  if (!(sx > kLeastScaleStep && sy > kLeastScaleStep && sz > kLeastScaleStep)) {
    std::copy(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
    return;
  }
  mPreviousScaleStepTime = mScaleStepTime;
  mScaleStepTime = Now();
  MM3DMatrix scale;
  MM3DMatrixScale(scale, sx, sy, sz);
  MM3DMatrix scaled;
  MM3DMatrixMultiply(scaled, mScaleBase, scale);
  SetScaleNode(scaled);
  std::copy(mScaleCurrent, mScaleCurrent + 3, mJiggleHigh);
  const float current[3] = {sx, sy, sz};
  std::copy(current, current + 3, mScaleCurrent);
}

void VPLObjCreation::EndScale() {
  MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
  GetBounds(min, max);
  if (Length(max.Direction(min)) < kLeastSize) QueueRemoval();
  const bool still = std::equal(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent) ||
                     mScaleStepTime == mPreviousScaleStepTime;
  if (still) {
    for (float* values : {mJiggleLow, mScaleCurrent, mJiggleHigh})
      std::fill(values, values + 3, 1.0f);
    mJiggling = false;
  } else {
    mJigglePeriod = mScaleStepTime - mPreviousScaleStepTime;
    std::copy(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
    for (int32_t axis = 0; axis < 3; ++axis) {
      const float start = mJiggleLow[axis];
      const float previous = mJiggleHigh[axis];
      mJiggleLow[axis] = std::min(start, previous);
      mJiggleHigh[axis] = previous > start ? previous : start;
      mJiggleGrowing[axis] = false;
    }
    mJiggling = true;
  }
  if (mJiggling) {
    MakeJiggleSoundChannel();
  } else if (mJiggleChannel) {
    mJiggleChannel->Stop();
  }
  mStepsHeld = false;
  RefreshBounds();
  ResumePath();
}

void VPLObjCreation::TurnBy(float ax, float ay, float az) {
  if (GetType() == kVPLObjCreationChar) {
    RotateBy(ax, ay, az);
    return;
  }
  MM3DDisplayTreeNodeTransform* node = GetRotationNode();
  if (node == nullptr) return;
  MM3DMatrix step;
  MM3DMatrixRotationXYZ(step, ax, ay, az);
  MM3DMatrix turned;
  MM3DMatrixMultiply(turned, node->GetMatrix(), step);
  node->SetMatrix(turned);
}

void VPLObjCreation::BeginRotate(float ax, float ay, float az) {
  if (mSpinChannel && mSpinChannel->GetChannel().IsPlaying()) mSpinChannel->Stop();
  PausePath();
  mSpinning = false;
  mJiggleInterrupted = false;
  if (mJiggling) {
    std::copy(mJiggleHigh, mJiggleHigh + 3, mScaleCurrent);
    mJiggling = false;
    mJiggleInterrupted = true;
    MM3DMatrix scale;
    MM3DMatrixScale(scale, mJiggleHigh[0], mJiggleHigh[1], mJiggleHigh[2]);
    MM3DMatrix scaled;
    MM3DMatrixMultiply(scaled, mScaleBase, scale);
    SetScaleNode(scaled);
  }
  BakeScale();
  std::fill(mSpinIncrement, mSpinIncrement + 3, 0.0f);
  mRotateStepTime = mPreviousRotateStepTime = Now();
  if (GetType() == kVPLObjCreationChar) {
    RotateBy(mSpinIncrement[0], mSpinIncrement[1], mSpinIncrement[2]);
  } else {
    TurnBy(ax, ay, az);
  }
}

void VPLObjCreation::DragRotate(float ax, float ay, float az) {
  mPreviousRotateStepTime = mRotateStepTime;
  mRotateStepTime = Now();
  const float increment[3] = {ax, ay, az};
  std::copy(increment, increment + 3, mSpinIncrement);
  TurnBy(ax, ay, az);
}

void VPLObjCreation::EndRotate(float /*ax*/, float /*ay*/, float /*az*/) {
  BakeScale();
  const bool turned =
      mSpinIncrement[0] != 0.0f || mSpinIncrement[1] != 0.0f || mSpinIncrement[2] != 0.0f;
  if (!turned) {
    mSpinning = false;
    mSpinPeriod = 0;
    if (mSpinChannel) mSpinChannel->Stop();
  } else {
    mSpinPeriod = mRotateStepTime - mPreviousRotateStepTime;
    mSpinning = true;
    MakeSpinSoundChannel();
    UpdateSpinSound();
  }
  if (mJiggleInterrupted) mJiggling = true;
  RefreshBounds();
  ResumePath();
}

void VPLObjCreation::BakeScale() {
  MM3DDisplayTreeNodeTransform* scaleNode = GetScaleNode();
  MM3DDisplayTreeNodeTransform* rotationNode = GetRotationNode();
  if (scaleNode == nullptr || rotationNode == nullptr) return;
  MM3DMatrix bake;
  MM3DMatrixMultiply(bake, scaleNode->GetMatrix(), rotationNode->GetMatrix());
  for (int32_t axis = 0; axis < 3; ++axis) {
    mJiggleLow[axis] /= mScaleCurrent[axis];
    mJiggleHigh[axis] /= mScaleCurrent[axis];
  }
  std::fill(mScaleCurrent, mScaleCurrent + 3, 1.0f);
  MM3DMatrix identity;
  identity.SetIdentity();
  scaleNode->SetMatrix(identity);
  rotationNode->SetMatrix(identity);
  if (bake.IsIdentity()) return;
  ForEachBlock(GetDisplayTreeRoot(),
               [&bake](MM3DIndexedMeshVertexData& block) { TransformBlock(block, bake); });
}

void VPLObjCreation::MirrorLeftRight(const MM3DVector& eye, const MM3DVector& interest) {
  Mirror(eye, interest, 0);
}

void VPLObjCreation::MirrorUpDown(const MM3DVector& eye, const MM3DVector& interest) {
  Mirror(eye, interest, 1);
}

MM3DMatrix VPLObjCreation::ViewTurn(const MM3DVector& eye, const MM3DVector& interest) {
  MM3DVector d = interest.Direction(eye);
  d.mY = 0.0f;
  const float length = Length(d);
  if (length > 0.0f) {
    d.Divide(length);
  } else {
    d = MM3DVector(0.0f, 0.0f, 1.0f, 0.0f);
  }
  const float angle = d.mX > 0.0f ? -std::acos(std::clamp(d.mZ, -1.0f, 1.0f))
                                  : std::acos(std::clamp(d.mZ, -1.0f, 1.0f));
  MM3DMatrix into;
  MM3DMatrixRotationY(into, angle);
  return into;
}

void VPLObjCreation::Mirror(const MM3DVector& eye, const MM3DVector& interest, int32_t axis) {
  const MM3DMatrix into = ViewTurn(eye, interest);
  MM3DMatrix back = into;
  back.InvertAffine();
  MM3DMatrix flip;
  flip.SetIdentity();
  if (axis == 0) {
    MM3DMatrixScale(flip, -1.0f, 1.0f, 1.0f);
  } else {
    MM3DMatrixScale(flip, 1.0f, -1.0f, 1.0f);
  }
  MM3DMatrix intoFlipped;
  MM3DMatrixMultiply(intoFlipped, into, flip);
  MM3DMatrix mirror;
  MM3DMatrixMultiply(mirror, intoFlipped, back);
  for (MM3DDisplayTreeNodeIndexedMesh* mesh : mMeshNodes) {
    for (int32_t p = 0; p < mesh->GetPartCount(); ++p) {
      const MM3DVertexDataBlocks& blocks = mesh->GetPart(p).mBlocks;
      for (int32_t b = 0; b < blocks.Count(); ++b) {
        if (!blocks[b]) continue;
        MM3DIndexedMeshVertexData& block = *blocks[b];
        for (int32_t i = 0; i + 2 < block.mIndices.Count(); i += 3) {
          std::swap(block.mIndices[i], block.mIndices[i + 2]);
        }
        TransformBlock(block, mirror);
      }
    }
  }
  RefreshBounds();
}
