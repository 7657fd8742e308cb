#include "mm3d/MM3DFunctionCurve.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DAggregateFunctionCurve.h"
#include "mm3d/MM3DAngleFunctionCurves.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "mm3d/MM3DMathFunctions.h"

namespace {

constexpr float kFixedOne = 4096.0f;
constexpr float kFixedPerRadian = 4096.0f / kMM3DTwoPi;
constexpr float kRadiansPerFixed = kMM3DTwoPi * (1.0f / 4096.0f);

MM3DFunctionCurve* CreateCurve(int32_t kind, MM3DCurveValueKind valueKind) {
  switch (kind) {
    case kMM3DLinearCurve:
      return new MM3DLinearFunctionCurve(valueKind);
    case kMM3DAggregateCurve:
      return new MM3DAggregateFunctionCurve(valueKind, kMM3DInfinityConstant,
                                            kMM3DInfinityConstant);
    case kMM3DIntervalCountAngleCurve:
      return new MM3DIntervalCountAngleFunctionCurve;
    case kMM3DFixedIntervalAngleCurve:
      return new MM3DFixedIntervalAngleFunctionCurve;
    default:
      return nullptr;
  }
}

}  // namespace

int32_t MM3DFunctionCurve::ToFixedValue(float value) const {
  switch (mValueKind) {
    case kMM3DPlainValue:
      return MM3DRoundHalfAway(value);
    case kMM3DAngleValue:
      return MM3DTruncate(value * kFixedPerRadian);
    default:
      return MM3DTruncate(value * kFixedOne);
  }
}

float MM3DFunctionCurve::ToFloatValue(int32_t value) const {
  switch (mValueKind) {
    case kMM3DPlainValue:
      return static_cast<float>(value);
    case kMM3DAngleValue:
      return static_cast<float>(value) * kRadiansPerFixed;
    default:
      return static_cast<float>(value) * (1.0f / kFixedOne);
  }
}

int32_t MM3DFunctionCurve::EvaluateAsFixed(int32_t time) {
  return ToFixedValue(Evaluate(static_cast<float>(time) * (1.0f / kFixedOne)));
}

float MM3DFunctionCurve::EvaluateAsFloat(float seconds) {
  return ToFloatValue(EvaluateFixed(MM3DTruncate(seconds * kFixedOne)));
}

bool MM3DFunctionCurve::WriteTagged(UUWriter& writer) const {
  const int32_t tags[2] = {mValueKind, GetKind()};
  return writer.WriteInt32s(&tags[0], 1) && writer.WriteInt32s(&tags[1], 1) && Write(writer);
}

bool MM3DReadFunctionCurve(UUReader& reader, UUOwned<MM3DFunctionCurve>& curve) {
  int32_t valueKind = 0;
  int32_t kind = 0;
  if (!reader.ReadInt32s(&valueKind, 1) || !reader.ReadInt32s(&kind, 1)) return false;
  MM3DFunctionCurve* created = CreateCurve(kind, static_cast<MM3DCurveValueKind>(valueKind));
  if (created == nullptr) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  curve.Reset(created);
  return created->Read(reader);
}

bool MM3DCheckCount(UUReader& reader, int32_t count) {
  if (count >= 0) return true;
  reader.SetError(kUUErrorShortRead);
  return false;
}
