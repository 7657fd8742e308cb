#pragma once
// The compact angle curves of rotation channels: 16-bit angles in 1/4096
// turn on a regular grid of time. The interval-count curve (curve kind 2)
// keeps keys at chosen grid points and is straight between them; the
// fixed-interval curve (curve kind 3) keeps one sample per interval. Both
// answer radians and have the value kind of angles.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DCurveKeys.h"
#include "mm3d/MM3DFunctionCurve.h"

#include <cstdint>

class UUReader;
class UUWriter;

// Radians clamped to the 16-bit range of 1/4096 turn, then truncated.
int16_t MM3DAngleToShort(float radians);
// Radians clamped to 128 turns either way, in 1/16777216 turn, truncated.
int32_t MM3DAngleToFine(float radians);

class MM3DIntervalAngleKey {
 public:
  MM3DIntervalAngleKey() = default;
  MM3DIntervalAngleKey(uint16_t interval, int16_t angle) : mInterval(interval), mAngle(angle) {}
  // The key at a time on a grid of intervalCount intervals over the
  // duration, rounded to the nearest interval.
  MM3DIntervalAngleKey(float time, float startTime, float duration, int32_t intervalCount,
                       float radians);

  // The unsigned 16-bit interval, then the int16 angle.
  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);

  uint16_t mInterval = 0;
  int16_t mAngle = 0;  // 1/4096 turn
};

class MM3DIntervalCountAngleFunctionCurve : public MM3DFunctionCurve {
 public:
  MM3DIntervalCountAngleFunctionCurve();
  // Takes the keys over. The first key lies on interval 0 and the last
  // key's interval is the number of intervals in the duration.
  MM3DIntervalCountAngleFunctionCurve(float startTime, float duration,
                                      UUGrowableArray<MM3DIntervalAngleKey>& keys);

  void SetKeys(float startTime, float duration, UUGrowableArray<MM3DIntervalAngleKey>& keys);

  MM3DFunctionCurveKind GetKind() const override { return kMM3DIntervalCountAngleCurve; }
  float Evaluate(float seconds) override;
  int32_t EvaluateFixed(int32_t time) override { return EvaluateAsFixed(time); }
  float GetStartTime() const override { return mStartTime; }
  float GetEndTime() const override { return mStartTime + mDuration; }
  bool IsConstant() const override { return mKeys.Count() == 1; }
  // Start time, duration, the int32 count and the keys.
  bool Write(UUWriter& writer) const override;
  bool Read(UUReader& reader) override;

 protected:
  // The segment holding interval i, or the key that holds there.
  MM3DKeySegment FindInterval(int32_t interval);

  float mStartTime = 0.0f;
  float mDuration = 0.0f;
  MM3DCurveKeys<MM3DIntervalAngleKey> mKeys;

 private:
  // The angle in 1/4096 turn.
  int32_t AngleAt(float seconds);
  // Notes whether the interval numbers never decrease, which the cursor
  // search needs.
  void CheckKeyOrder();

  bool mKeysInOrder = true;
};

// The integer form: start and duration in 1/4096 s (read as the float
// times 4096, truncated), evaluated in 20.12 arithmetic.
class MM3DIntegralIntervalCountAngleFunctionCurve : public MM3DIntervalCountAngleFunctionCurve {
 public:
  using MM3DIntervalCountAngleFunctionCurve::MM3DIntervalCountAngleFunctionCurve;

  float Evaluate(float seconds) override { return EvaluateAsFloat(seconds); }
  // The angle in 1/4096 turn at a time in 1/4096 s.
  int32_t EvaluateFixed(int32_t time) override;
  bool Read(UUReader& reader) override;
};

class MM3DFixedIntervalAngleFunctionCurve : public MM3DFunctionCurve {
 public:
  MM3DFixedIntervalAngleFunctionCurve();
  // Takes the samples over; sample i of n belongs to start + i x duration / n.
  MM3DFixedIntervalAngleFunctionCurve(float startTime, float duration,
                                      UUGrowableArray<int16_t>& samples);

  void SetSamples(float startTime, float duration, UUGrowableArray<int16_t>& samples);

  MM3DFunctionCurveKind GetKind() const override { return kMM3DFixedIntervalAngleCurve; }
  float Evaluate(float seconds) override;
  int32_t EvaluateFixed(int32_t time) override { return EvaluateAsFixed(time); }
  float GetStartTime() const override { return mStartTime; }
  float GetEndTime() const override { return mStartTime + mDuration; }
  bool IsConstant() const override { return mSamples.Count() == 1; }
  // Start time, duration, the int32 count and the int16 samples.
  bool Write(UUWriter& writer) const override;
  bool Read(UUReader& reader) override;

 protected:
  float mStartTime = 0.0f;
  float mDuration = 0.0f;
  UUGrowableArray<int16_t> mSamples;

 private:
  int32_t AngleAt(float seconds) const;
};

// The integer form: start and duration in 1/4096 s, the sample position in
// 20.12.
class MM3DIntegralFixedIntervalAngleFunctionCurve : public MM3DFixedIntervalAngleFunctionCurve {
 public:
  using MM3DFixedIntervalAngleFunctionCurve::MM3DFixedIntervalAngleFunctionCurve;

  float Evaluate(float seconds) override { return EvaluateAsFloat(seconds); }
  int32_t EvaluateFixed(int32_t time) override;
  bool Read(UUReader& reader) override;
};
