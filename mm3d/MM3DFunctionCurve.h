#pragma once
// A scalar function of time in seconds, sampled every frame by the
// animations. Curves are stored in a tagged form: the value kind, the curve
// kind, then the kind's body.

#include "foundation/uu/UUOwned.h"

#include <cstdint>

class UUReader;
class UUWriter;

// What the values mean and how they convert to their fixed-point form.
// Any other code behaves like kMM3DFixedValue.
enum MM3DCurveValueKind : int32_t {
  kMM3DPlainValue = 0,  // fixed form: the value rounded to an integer
  kMM3DAngleValue = 1,  // radians; fixed form 4096 per turn
  kMM3DFixedValue = 2,  // fixed form in 1/4096
};

enum MM3DFunctionCurveKind : int32_t {
  kMM3DLinearCurve = 0,
  kMM3DAggregateCurve = 1,
  kMM3DIntervalCountAngleCurve = 2,
  kMM3DFixedIntervalAngleCurve = 3,
};

class MM3DFunctionCurve {
 public:
  explicit MM3DFunctionCurve(MM3DCurveValueKind valueKind) : mValueKind(valueKind) {}
  virtual ~MM3DFunctionCurve() = default;
  MM3DFunctionCurve(const MM3DFunctionCurve&) = delete;
  MM3DFunctionCurve& operator=(const MM3DFunctionCurve&) = delete;

  virtual MM3DFunctionCurveKind GetKind() const = 0;
  // The value at a time in seconds, in the value kind's unit. A curve
  // without keys answers 0. Moves the search cursor, so one curve is
  // evaluated by one thread at a time.
  virtual float Evaluate(float seconds) = 0;
  // The fixed form of the value at a time in 1/4096 s.
  virtual int32_t EvaluateFixed(int32_t time) = 0;
  virtual float GetStartTime() const = 0;
  virtual float GetEndTime() const = 0;
  // Exactly one key.
  virtual bool IsConstant() const = 0;
  // The body; false at the first failure.
  virtual bool Write(UUWriter& writer) const = 0;
  // Replaces the body; false at the first failure, or when a count in it
  // is impossible.
  virtual bool Read(UUReader& reader) = 0;

  float GetDuration() const { return GetEndTime() - GetStartTime(); }
  MM3DCurveValueKind GetValueKind() const { return mValueKind; }
  int32_t ToFixedValue(float value) const;
  float ToFloatValue(int32_t value) const;
  // The int32 value kind, the int32 curve kind, then the body.
  bool WriteTagged(UUWriter& writer) const;

 protected:
  // EvaluateFixed of the float kinds: Evaluate at time / 4096 in the fixed
  // form.
  int32_t EvaluateAsFixed(int32_t time);
  // Evaluate of the integer forms: EvaluateFixed at seconds x 4096
  // truncated, as a float value.
  float EvaluateAsFloat(float seconds);

 private:
  MM3DCurveValueKind mValueKind;
};

// Reads a tagged curve into curve, replacing what it held. A curve kind
// outside 0 to 3 fails the read and creates nothing. A body that fails
// leaves the new curve, holding the keys read, in the pointer.
bool MM3DReadFunctionCurve(UUReader& reader, UUOwned<MM3DFunctionCurve>& curve);

// The curve kinds' shared rule for counts read from a file: a negative
// count fails the read with a short-read error.
bool MM3DCheckCount(UUReader& reader, int32_t count);
