#pragma once
// Curves with behaviour before the first key and after the last
// (MM3DFunctionCurveWithInfinity), and the aggregate curve (curve kind 1),
// whose segments are step, linear or Hermite by the code of the key that
// starts them.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DCurveKeys.h"
#include "mm3d/MM3DFunctionCurve.h"

#include <cstdint>

class UUReader;
class UUWriter;

// Any other code behaves like kMM3DInfinityConstant.
enum MM3DCurveInfinity : int32_t {
  kMM3DInfinityConstant = 0,  // the first or last key's value
  kMM3DInfinityLinear = 1,    // on along the end key's tangent
  kMM3DInfinityCycle = 2,
  kMM3DInfinityCycleWithOffset = 3,  // each cycle shifted by last - first value
  kMM3DInfinityOscillate = 4,        // every other cycle mirrored
};

// The segment that starts at a key. Any other code holds the key's value.
enum MM3DKeyInterpolation : int32_t {
  kMM3DKeyStep = 0,
  kMM3DKeyLinear = 1,
  kMM3DKeyHermite = 2,  // this key's out-tangent and the next key's in-tangent
};

class MM3DFunctionCurveWithInfinity : public MM3DFunctionCurve {
 public:
  MM3DFunctionCurveWithInfinity(MM3DCurveValueKind valueKind, MM3DCurveInfinity preInfinity,
                                MM3DCurveInfinity postInfinity)
      : MM3DFunctionCurve(valueKind), mPreInfinity(preInfinity), mPostInfinity(postInfinity) {}

  MM3DCurveInfinity GetPreInfinity() const { return mPreInfinity; }
  MM3DCurveInfinity GetPostInfinity() const { return mPostInfinity; }
  void SetPreInfinity(MM3DCurveInfinity mode) { mPreInfinity = mode; }
  void SetPostInfinity(MM3DCurveInfinity mode) { mPostInfinity = mode; }
  // The two int32 modes, pre first; false at the first failure, which
  // leaves that mode and the next unchanged.
  bool WriteInfinity(UUWriter& writer) const;
  bool ReadInfinity(UUReader& reader);

 private:
  MM3DCurveInfinity mPreInfinity;
  MM3DCurveInfinity mPostInfinity;
};

class MM3DAggregateCurveKey {
 public:
  MM3DAggregateCurveKey() = default;
  MM3DAggregateCurveKey(MM3DKeyInterpolation interpolation, float time, float value,
                        float inTangent, float outTangent)
      : mTime(time),
        mValue(value),
        mInTangent(inTangent),
        mOutTangent(outTangent),
        mInterpolation(interpolation) {}

  // The int32 interpolation code first, then time, value, in- and
  // out-tangent as floats.
  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);

  float mTime = 0.0f;  // seconds
  float mValue = 0.0f;
  // Slopes in value units per second.
  float mInTangent = 0.0f;
  float mOutTangent = 0.0f;
  MM3DKeyInterpolation mInterpolation = kMM3DKeyStep;
};

class MM3DAggregateFunctionCurve : public MM3DFunctionCurveWithInfinity {
 public:
  MM3DAggregateFunctionCurve(MM3DCurveValueKind valueKind, MM3DCurveInfinity preInfinity,
                             MM3DCurveInfinity postInfinity);
  // Takes the keys over.
  MM3DAggregateFunctionCurve(UUGrowableArray<MM3DAggregateCurveKey>& keys,
                             MM3DCurveValueKind valueKind, MM3DCurveInfinity preInfinity,
                             MM3DCurveInfinity postInfinity);

  void SetKeys(UUGrowableArray<MM3DAggregateCurveKey>& keys) { mKeys.Set(keys); }

  MM3DFunctionCurveKind GetKind() const override { return kMM3DAggregateCurve; }
  float Evaluate(float seconds) override;
  int32_t EvaluateFixed(int32_t time) override { return EvaluateAsFixed(time); }
  float GetStartTime() const override;
  float GetEndTime() const override;
  bool IsConstant() const override { return mKeys.Count() == 1; }
  // The two infinity modes, then the keys.
  bool Write(UUWriter& writer) const override;
  bool Read(UUReader& reader) override;

  // The segment rule between keys p and q at a time strictly after p.
  static float EvaluateSegment(const MM3DAggregateCurveKey& p, const MM3DAggregateCurveKey& q,
                               float seconds);

 private:
  // The value at a time inside the keys' range.
  float SegmentValue(float seconds);
  float EvaluateBefore(float seconds);
  float EvaluateAfter(float seconds);

  MM3DCurveKeys<MM3DAggregateCurveKey> mKeys;
};
