#include "mm3d/MM3DFunctionCurveAnimationBase.h"

#include "mm3d/MM3DModDatabase.h"

float MM3DFunctionCurveAnimationBase::GetStartTime() const {
  return HasCurve() ? mCurve->GetStartTime() : 0.0f;
}

float MM3DFunctionCurveAnimationBase::GetEndTime() const {
  return HasCurve() ? mCurve->GetEndTime() : 0.0f;
}

bool MM3DFunctionCurveAnimationBase::Write(UUWriter& writer, MM3DModDatabase& database) const {
  return MM3DModDatabase::WriteShared(writer, database.GetCurves(), mCurve);
}

bool MM3DFunctionCurveAnimationBase::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DModDatabase::ReadShared(reader, database.GetCurves(), mCurve);
}

float MM3DFunctionCurveAnimationBase::BlendedValue(float time1, float weight1, float time2,
                                                   float weight2) const {
  const float first = weight1 * ValueAt(time1);
  return first + weight2 * ValueAt(time2);
}
