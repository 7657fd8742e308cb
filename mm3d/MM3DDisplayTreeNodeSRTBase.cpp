#include "mm3d/MM3DDisplayTreeNodeSRTBase.h"

#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DSceneChanges.h"

MM3DDisplayTreeNodeSRTBase::MM3DDisplayTreeNodeSRTBase()
    : mLocal(MM3DMatrixIdentity), mWorld(MM3DMatrixIdentity) {}

void MM3DDisplayTreeNodeSRTBase::GetWorldMatrix(MM3DMatrix& out) {
  if (mWorldDirty) {
    if (mLocalDirty) {
      BuildLocalMatrix(mLocal);
      mLocalDirty = false;
    }
    if (GetParent() != nullptr) {
      MM3DMatrix parentWorld;
      GetParent()->GetWorldMatrix(parentWorld);
      MM3DMatrixMultiply(mWorld, mLocal, parentWorld);
    } else {
      mWorld = mLocal;
    }
    mWorldDirty = false;
  }
  out = mWorld;
}

void MM3DDisplayTreeNodeSRTBase::InvalidateWorldMatrix() {
  if (mWorldDirty) return;
  mWorldDirty = true;
  MM3DDisplayTreeNodeWithVisibility::InvalidateWorldMatrix();
}

bool MM3DDisplayTreeNodeSRTBase::Write(UUWriter& writer, MM3DModDatabase& database) {
  return WriteComponents(writer, mScale) && WriteComponents(writer, mRotation) &&
         WriteComponents(writer, mTranslation) &&
         MM3DDisplayTreeNodeWithVisibility::Write(writer, database);
}

bool MM3DDisplayTreeNodeSRTBase::Read(UUReader& reader, MM3DModDatabase& database) {
  static constexpr void (MM3DDisplayTreeNodeSRTBase::*kSetters[])(float) = {
      &MM3DDisplayTreeNodeSRTBase::SetScaleX,       &MM3DDisplayTreeNodeSRTBase::SetScaleY,
      &MM3DDisplayTreeNodeSRTBase::SetScaleZ,       &MM3DDisplayTreeNodeSRTBase::SetRotationX,
      &MM3DDisplayTreeNodeSRTBase::SetRotationY,    &MM3DDisplayTreeNodeSRTBase::SetRotationZ,
      &MM3DDisplayTreeNodeSRTBase::SetTranslationX, &MM3DDisplayTreeNodeSRTBase::SetTranslationY,
      &MM3DDisplayTreeNodeSRTBase::SetTranslationZ};
  const bool good = ReadThroughSetters(reader, *this, kSetters) &&
                    MM3DDisplayTreeNodeWithVisibility::Read(reader, database);
  mLocalDirty = true;
  InvalidateWorldMatrix();
  return good;
}

void MM3DDisplayTreeNodeSRTBase::SetTranslation(const MM3DVector& translation) {
  mTranslation[0] = translation.mX;
  mTranslation[1] = translation.mY;
  mTranslation[2] = translation.mZ;
  MarkLocalMatrixDirty();
}

void MM3DDisplayTreeNodeSRTBase::MarkLocalMatrixDirty() {
  MM3DSceneChanges::Note();
  if (mLocalDirty) return;
  InvalidateWorldMatrix();
  mLocalDirty = true;
}

bool MM3DDisplayTreeNodeSRTBase::ChangeComponent(float& component, float value) {
  if (component == value) return false;
  component = value;
  return true;
}

bool MM3DDisplayTreeNodeSRTBase::AnyDiffers(const Component& values, float neutral) {
  return values[0] != neutral || values[1] != neutral || values[2] != neutral;
}

void MM3DDisplayTreeNodeSRTBase::AddToTranslationRow(MM3DMatrix& matrix, const Component& offset) {
  for (int axis = 0; axis < 3; ++axis) matrix.mElement[3][axis] += offset[axis];
}

bool MM3DDisplayTreeNodeSRTBase::WriteComponents(UUWriter& writer, const Component& values) {
  return writer.WriteFloats(values, 3);
}

void MM3DDisplayTreeNodeSRTBase::SetScaleComponent(int axis, float value) {
  if (!ChangeComponent(mScale[axis], value)) return;
  mHasScale = AnyDiffers(mScale, 1.0f);
  MarkLocalMatrixDirty();
  if (GetKind() != kMM3DNodeJoint) return;
  for (UUOwned<MM3DDisplayTreeNode>& child : GetChildren()) {
    if (child->GetKind() == kMM3DNodeJoint) {
      static_cast<MM3DDisplayTreeNodeJoint&>(*child).SetParentScale(axis, value);
    }
  }
}

void MM3DDisplayTreeNodeSRTBase::SetRotationComponent(int axis, float radians) {
  if (!ChangeComponent(mRotation[axis], radians)) return;
  mHasRotation = AnyDiffers(mRotation, 0.0f);
  MarkLocalMatrixDirty();
}

void MM3DDisplayTreeNodeSRTBase::SetTranslationComponent(int axis, float value) {
  if (ChangeComponent(mTranslation[axis], value)) MarkLocalMatrixDirty();
}
