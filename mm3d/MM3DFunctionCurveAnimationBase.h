#pragma once
// An animation whose value is a function curve evaluated at the time; its
// range is the curve's. The curve is shared with the mod database's curve
// section and other animations. Without a curve an animation writes
// nothing and its range is empty.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DAnimation.h"
#include "mm3d/MM3DFunctionCurve.h"

class MM3DFunctionCurveAnimationBase : public MM3DAnimation {
 public:
  MM3DFunctionCurveAnimationBase() = default;
  explicit MM3DFunctionCurveAnimationBase(MM3DAnimationKind kind) : MM3DAnimation(kind) {}
  MM3DFunctionCurveAnimationBase(UURefCount<MM3DFunctionCurve> curve, MM3DAnimationKind kind)
      : MM3DAnimation(kind), mCurve(std::move(curve)) {}

  float GetStartTime() const override;
  float GetEndTime() const override;
  // The curve's index in the database's curve section, appended there when
  // absent.
  bool Write(UUWriter& writer, MM3DModDatabase& database) const override;
  // Reads the index and shares the curve there.
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  void SetCurve(UURefCount<MM3DFunctionCurve> curve) { mCurve = std::move(curve); }
  const UURefCount<MM3DFunctionCurve>& GetCurveHandle() const { return mCurve; }

 protected:
  bool HasCurve() const { return !mCurve.IsEmpty(); }
  // The curve's value at a time; the curve must be there.
  float ValueAt(float seconds) const { return mCurve->Evaluate(seconds); }
  // weight1 x value(time1) + weight2 x value(time2) in single precision.
  float BlendedValue(float time1, float weight1, float time2, float weight2) const;

 private:
  UURefCount<MM3DFunctionCurve> mCurve;
};
