#pragma once
// A curve through keys of time and value, straight between them and level
// before the first key and after the last (curve kind 0).

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DCurveKeys.h"
#include "mm3d/MM3DFunctionCurve.h"

#include <cstdint>

class UUReader;
class UUWriter;

class MM3DLinearCurveKey {
 public:
  MM3DLinearCurveKey() = default;
  MM3DLinearCurveKey(float time, float value) : mTime(time), mValue(value) {}

  // Float time, float value.
  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);

  float mTime = 0.0f;  // seconds
  float mValue = 0.0f;
};

class MM3DLinearFunctionCurve : public MM3DFunctionCurve {
 public:
  explicit MM3DLinearFunctionCurve(MM3DCurveValueKind valueKind);
  // Takes the keys over.
  MM3DLinearFunctionCurve(UUGrowableArray<MM3DLinearCurveKey>& keys, MM3DCurveValueKind valueKind);

  // Replaces the keys, which it takes over, and puts the cursor on the
  // first.
  void SetKeys(UUGrowableArray<MM3DLinearCurveKey>& keys) { mKeys.Set(keys); }

  MM3DFunctionCurveKind GetKind() const override { return kMM3DLinearCurve; }
  float Evaluate(float seconds) override;
  int32_t EvaluateFixed(int32_t time) override { return EvaluateAsFixed(time); }
  float GetStartTime() const override;
  float GetEndTime() const override;
  bool IsConstant() const override { return mKeys.Count() == 1; }
  bool Write(UUWriter& writer) const override { return mKeys.Write(writer); }
  bool Read(UUReader& reader) override { return mKeys.Read(reader); }

 private:
  MM3DCurveKeys<MM3DLinearCurveKey> mKeys;
};
