#include "mm3d/MM3DLinearFunctionCurve.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

bool MM3DLinearCurveKey::Write(UUWriter& writer) const {
  const float fields[2] = {mTime, mValue};
  return writer.WriteFloats(fields, 2);
}

bool MM3DLinearCurveKey::Read(UUReader& reader) {
  float fields[2];
  if (!reader.ReadFloats(fields, 2)) return false;
  mTime = fields[0];
  mValue = fields[1];
  return true;
}

MM3DLinearFunctionCurve::MM3DLinearFunctionCurve(MM3DCurveValueKind valueKind)
    : MM3DFunctionCurve(valueKind) {}

MM3DLinearFunctionCurve::MM3DLinearFunctionCurve(UUGrowableArray<MM3DLinearCurveKey>& keys,
                                                 MM3DCurveValueKind valueKind)
    : MM3DFunctionCurve(valueKind) {
  SetKeys(keys);
}

float MM3DLinearFunctionCurve::Evaluate(float seconds) {
  if (mKeys.Count() == 0) return 0.0f;
  if (seconds < mKeys.First().mTime) return mKeys.First().mValue;
  if (seconds > mKeys.Last().mTime) return mKeys.Last().mValue;
  const MM3DKeySegment segment = mKeys.FindSegment(seconds);
  const MM3DLinearCurveKey& p = mKeys[segment.mFrom];
  if (!segment.mBetween) return p.mValue;
  const MM3DLinearCurveKey& q = mKeys[segment.mFrom + 1];
  return p.mValue + (q.mValue - p.mValue) * (seconds - p.mTime) / (q.mTime - p.mTime);
}

float MM3DLinearFunctionCurve::GetStartTime() const {
  return mKeys.Count() == 0 ? 0.0f : mKeys.First().mTime;
}

float MM3DLinearFunctionCurve::GetEndTime() const {
  return mKeys.Count() == 0 ? 0.0f : mKeys.Last().mTime;
}
