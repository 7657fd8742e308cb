#pragma once
// A node placed by scale, rotation and translation about pivots, as the
// animations of a model's parts drive it. Scaling happens about the scale
// pivot and rotation about the rotate pivot:
// local = T(-Sp) x S x T(Sp + St - Rp) x R x T(Rp + Rt + t).

#include "mm3d/MM3DDisplayTreeNodeSRTBase.h"

class MM3DDisplayTreeNodeSRTTransform : public MM3DDisplayTreeNodeSRTBase {
 public:
  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeSRTTransform; }
  void BuildLocalMatrix(MM3DMatrix& out) override;
  // The four pivot points (12 floats), then the components' record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  void SetScalePivotX(float value) { ChangePivot(mScalePivot, 0, value); }
  void SetScalePivotY(float value) { ChangePivot(mScalePivot, 1, value); }
  void SetScalePivotZ(float value) { ChangePivot(mScalePivot, 2, value); }
  void SetScalePivotTranslationX(float value) { ChangePivot(mScalePivotTranslation, 0, value); }
  void SetScalePivotTranslationY(float value) { ChangePivot(mScalePivotTranslation, 1, value); }
  void SetScalePivotTranslationZ(float value) { ChangePivot(mScalePivotTranslation, 2, value); }
  void SetRotatePivotX(float value) { ChangePivot(mRotatePivot, 0, value); }
  void SetRotatePivotY(float value) { ChangePivot(mRotatePivot, 1, value); }
  void SetRotatePivotZ(float value) { ChangePivot(mRotatePivot, 2, value); }
  void SetRotatePivotTranslationX(float value) { ChangePivot(mRotatePivotTranslation, 0, value); }
  void SetRotatePivotTranslationY(float value) { ChangePivot(mRotatePivotTranslation, 1, value); }
  void SetRotatePivotTranslationZ(float value) { ChangePivot(mRotatePivotTranslation, 2, value); }
  // Store x, y and z without comparing.
  void SetScalePivot(const MM3DVector& point) { StorePivot(mScalePivot, point); }
  void SetScalePivotTranslation(const MM3DVector& offset) {
    StorePivot(mScalePivotTranslation, offset);
  }
  void SetRotatePivot(const MM3DVector& point) { StorePivot(mRotatePivot, point); }
  void SetRotatePivotTranslation(const MM3DVector& offset) {
    StorePivot(mRotatePivotTranslation, offset);
  }

 private:
  void ChangePivot(Component& pivot, int axis, float value);
  void StorePivot(Component& pivot, const MM3DVector& value);

  Component mScalePivot = {0.0f, 0.0f, 0.0f};
  Component mScalePivotTranslation = {0.0f, 0.0f, 0.0f};
  Component mRotatePivot = {0.0f, 0.0f, 0.0f};
  Component mRotatePivotTranslation = {0.0f, 0.0f, 0.0f};
};
