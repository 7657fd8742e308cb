#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"

#include "foundation/uu/UUWriter.h"

void MM3DDisplayTreeNodeSRTTransform::BuildLocalMatrix(MM3DMatrix& out) {
  MM3DMatrixTranslation(out, -mScalePivot[0], -mScalePivot[1], -mScalePivot[2]);
  MM3DMatrix step;
  if (HasScale()) {
    MM3DMatrixScale(step, Scale()[0], Scale()[1], Scale()[2]);
    out *= step;
  }
  Component offset;
  for (int axis = 0; axis < 3; ++axis) {
    offset[axis] = mScalePivot[axis] + mScalePivotTranslation[axis] - mRotatePivot[axis];
  }
  AddToTranslationRow(out, offset);
  if (HasRotation()) {
    MM3DMatrixRotationXYZ(step, Rotation()[0], Rotation()[1], Rotation()[2]);
    out *= step;
  }
  for (int axis = 0; axis < 3; ++axis) {
    offset[axis] = mRotatePivot[axis] + mRotatePivotTranslation[axis] + Translation()[axis];
  }
  AddToTranslationRow(out, offset);
}

bool MM3DDisplayTreeNodeSRTTransform::Write(UUWriter& writer, MM3DModDatabase& database) {
  return WriteComponents(writer, mScalePivot) && WriteComponents(writer, mScalePivotTranslation) &&
         WriteComponents(writer, mRotatePivot) &&
         WriteComponents(writer, mRotatePivotTranslation) &&
         MM3DDisplayTreeNodeSRTBase::Write(writer, database);
}

bool MM3DDisplayTreeNodeSRTTransform::Read(UUReader& reader, MM3DModDatabase& database) {
  using Node = MM3DDisplayTreeNodeSRTTransform;
  static constexpr void (Node::*kSetters[])(float) = {&Node::SetScalePivotX,
                                                      &Node::SetScalePivotY,
                                                      &Node::SetScalePivotZ,
                                                      &Node::SetScalePivotTranslationX,
                                                      &Node::SetScalePivotTranslationY,
                                                      &Node::SetScalePivotTranslationZ,
                                                      &Node::SetRotatePivotX,
                                                      &Node::SetRotatePivotY,
                                                      &Node::SetRotatePivotZ,
                                                      &Node::SetRotatePivotTranslationX,
                                                      &Node::SetRotatePivotTranslationY,
                                                      &Node::SetRotatePivotTranslationZ};
  return ReadThroughSetters(reader, *this, kSetters) &&
         MM3DDisplayTreeNodeSRTBase::Read(reader, database);
}

void MM3DDisplayTreeNodeSRTTransform::ChangePivot(Component& pivot, int axis, float value) {
  if (ChangeComponent(pivot[axis], value)) MarkLocalMatrixDirty();
}

void MM3DDisplayTreeNodeSRTTransform::StorePivot(Component& pivot, const MM3DVector& value) {
  pivot[0] = value.mX;
  pivot[1] = value.mY;
  pivot[2] = value.mZ;
  MarkLocalMatrixDirty();
}
