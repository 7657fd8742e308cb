#pragma once
// The integer forms of the keyed curves, for the fixed-point pipeline:
// times in 1/4096 s, values in the value kind's fixed form, evaluated in
// 20.12 arithmetic. Their bodies on file are those of the float forms,
// converted when read and written. The running system never builds them.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DAggregateFunctionCurve.h"
#include "mm3d/MM3DCurveKeys.h"
#include "mm3d/MM3DFunctionCurve.h"

#include <cstdint>

struct MM3DIntegralLinearCurveKey {
  int32_t mTime;   // 1/4096 s
  int32_t mValue;  // the value kind's fixed form
};

class MM3DIntegralLinearFunctionCurve : public MM3DFunctionCurve {
 public:
  explicit MM3DIntegralLinearFunctionCurve(MM3DCurveValueKind valueKind);
  MM3DIntegralLinearFunctionCurve(UUGrowableArray<MM3DIntegralLinearCurveKey>& keys,
                                  MM3DCurveValueKind valueKind);

  void SetKeys(UUGrowableArray<MM3DIntegralLinearCurveKey>& keys) { mKeys.Set(keys); }

  MM3DFunctionCurveKind GetKind() const override { return kMM3DLinearCurve; }
  float Evaluate(float seconds) override { return EvaluateAsFloat(seconds); }
  int32_t EvaluateFixed(int32_t time) override;
  float GetStartTime() const override;
  float GetEndTime() const override;
  bool IsConstant() const override { return mKeys.Count() == 1; }
  bool Write(UUWriter& writer) const override;
  bool Read(UUReader& reader) override;

 private:
  MM3DCurveKeys<MM3DIntegralLinearCurveKey> mKeys;
};

// Value and tangents in 1/16777216 turn for angles, in 1/4096 for every
// other value kind.
struct MM3DIntegralAggregateCurveKey {
  int32_t mTime;  // 1/4096 s
  int32_t mValue;
  int32_t mInTangent;  // per second
  int32_t mOutTangent;
  MM3DKeyInterpolation mInterpolation;
};

class MM3DIntegralAggregateFunctionCurve : public MM3DFunctionCurveWithInfinity {
 public:
  MM3DIntegralAggregateFunctionCurve(MM3DCurveValueKind valueKind, MM3DCurveInfinity preInfinity,
                                     MM3DCurveInfinity postInfinity);
  MM3DIntegralAggregateFunctionCurve(UUGrowableArray<MM3DIntegralAggregateCurveKey>& keys,
                                     MM3DCurveValueKind valueKind, MM3DCurveInfinity preInfinity,
                                     MM3DCurveInfinity postInfinity);

  void SetKeys(UUGrowableArray<MM3DIntegralAggregateCurveKey>& keys) { mKeys.Set(keys); }

  MM3DFunctionCurveKind GetKind() const override { return kMM3DAggregateCurve; }
  float Evaluate(float seconds) override { return EvaluateAsFloat(seconds); }
  // The value in the fixed form of the value kind: rounded to an integer,
  // in 1/4096 turn, or in 1/4096.
  int32_t EvaluateFixed(int32_t time) override;
  float GetStartTime() const override;
  float GetEndTime() const override;
  bool IsConstant() const override { return mKeys.Count() == 1; }
  bool Write(UUWriter& writer) const override;
  bool Read(UUReader& reader) override;

  // A float key in the stored units, and back.
  MM3DIntegralAggregateCurveKey ToStored(const MM3DAggregateCurveKey& key) const;
  MM3DAggregateCurveKey FromStored(const MM3DIntegralAggregateCurveKey& key) const;

 private:
  // The value in the stored unit at a time inside the keys' range, before
  // them and after them.
  int32_t SegmentValue(int32_t time);
  int32_t ValueBefore(int32_t time);
  int32_t ValueAfter(int32_t time);

  MM3DCurveKeys<MM3DIntegralAggregateCurveKey> mKeys;
};
