#pragma once
// A bone of a skinned character. Besides its scale, rotation and
// translation it has an orientation, applied after the rotation, and the
// scale of its parent joint, which it cancels so that scaling a bone does
// not scale the bones below it:
// local = scale x rotation x orientation x (parent scale)^-1 x translation.

#include "mm3d/MM3DDisplayTreeNodeSRTBase.h"

class MM3DDisplayTreeNodeJoint : public MM3DDisplayTreeNodeSRTBase {
 public:
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeJoint; }
  void BuildLocalMatrix(MM3DMatrix& out) override;
  // Orientation and parent scale (6 floats), then the components' record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  void SetOrientX(float radians) { SetOrient(0, radians); }
  void SetOrientY(float radians) { SetOrient(1, radians); }
  void SetOrientZ(float radians) { SetOrient(2, radians); }
  void SetParentScaleX(float value) { SetParentScale(0, value); }
  void SetParentScaleY(float value) { SetParentScale(1, value); }
  void SetParentScaleZ(float value) { SetParentScale(2, value); }
  // A change-only setter of one parent-scale component by axis (0 x, 1 y,
  // 2 z). A zero scale has no inverse: the joint then leaves that axis
  // as it is.
  void SetParentScale(int axis, float value);

  MM3DVector GetOrient() const { return ToVector(mOrient); }
  MM3DVector GetParentScale() const { return ToVector(mParentScale); }
  MM3DVector GetParentScaleInverse() const { return ToVector(mParentScaleInverse); }

 private:
  void SetOrient(int axis, float radians);

  Component mOrient = {0.0f, 0.0f, 0.0f};
  Component mParentScale = {1.0f, 1.0f, 1.0f};
  Component mParentScaleInverse = {1.0f, 1.0f, 1.0f};
  bool mHasOrient = false;
  bool mHasParentScale = false;
};
