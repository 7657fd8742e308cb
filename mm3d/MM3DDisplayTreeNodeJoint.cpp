#include "mm3d/MM3DDisplayTreeNodeJoint.h"

#include "foundation/uu/UUWriter.h"

void MM3DDisplayTreeNodeJoint::BuildLocalMatrix(MM3DMatrix& out) {
  if (HasScale()) {
    MM3DMatrixScale(out, Scale()[0], Scale()[1], Scale()[2]);
  } else {
    out = MM3DMatrixIdentity;
  }
  MM3DMatrix step;
  if (HasRotation()) {
    MM3DMatrixRotationXYZ(step, Rotation()[0], Rotation()[1], Rotation()[2]);
    out *= step;
  }
  if (mHasOrient) {
    MM3DMatrixRotationXYZ(step, mOrient[0], mOrient[1], mOrient[2]);
    out *= step;
  }
  if (mHasParentScale) {
    MM3DMatrixScale(step, mParentScaleInverse[0], mParentScaleInverse[1], mParentScaleInverse[2]);
    out *= step;
  }
  AddToTranslationRow(out, Translation());
}

bool MM3DDisplayTreeNodeJoint::Write(UUWriter& writer, MM3DModDatabase& database) {
  return WriteComponents(writer, mOrient) && WriteComponents(writer, mParentScale) &&
         MM3DDisplayTreeNodeSRTBase::Write(writer, database);
}

bool MM3DDisplayTreeNodeJoint::Read(UUReader& reader, MM3DModDatabase& database) {
  static constexpr void (MM3DDisplayTreeNodeJoint::*kSetters[])(float) = {
      &MM3DDisplayTreeNodeJoint::SetOrientX,      &MM3DDisplayTreeNodeJoint::SetOrientY,
      &MM3DDisplayTreeNodeJoint::SetOrientZ,      &MM3DDisplayTreeNodeJoint::SetParentScaleX,
      &MM3DDisplayTreeNodeJoint::SetParentScaleY, &MM3DDisplayTreeNodeJoint::SetParentScaleZ};
  return ReadThroughSetters(reader, *this, kSetters) &&
         MM3DDisplayTreeNodeSRTBase::Read(reader, database);
}

void MM3DDisplayTreeNodeJoint::SetParentScale(int axis, float value) {
  if (!ChangeComponent(mParentScale[axis], value)) return;
  mParentScaleInverse[axis] = value != 0.0f ? 1.0f / value : 1.0f;
  mHasParentScale = AnyDiffers(mParentScale, 1.0f);
  MarkLocalMatrixDirty();
}

void MM3DDisplayTreeNodeJoint::SetOrient(int axis, float radians) {
  if (!ChangeComponent(mOrient[axis], radians)) return;
  mHasOrient = AnyDiffers(mOrient, 0.0f);
  MarkLocalMatrixDirty();
}
