#include "mm3d/MM3DLightAnimations.h"

#include "mm3d/MM3DModDatabase.h"

void MM3DLightAnimationBase::Apply(float seconds) {
  if (HasCurve()) SetValue(ValueAt(seconds));
}

void MM3DLightAnimationBase::ApplyBlended(float time1, float weight1, float time2, float weight2) {
  if (HasCurve()) SetValue(BlendedValue(time1, weight1, time2, weight2));
}

bool MM3DLightAnimationBase::Write(UUWriter& writer, MM3DModDatabase& database) const {
  return MM3DFunctionCurveAnimationBase::Write(writer, database) &&
         MM3DModDatabase::WriteShared(writer, database.GetLights(), mLight);
}

bool MM3DLightAnimationBase::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DFunctionCurveAnimationBase::Read(reader, database) &&
         MM3DModDatabase::ReadShared(reader, database.GetLights(), mLight);
}

void MM3DLightAnimationBase::SetValue(float value) {
  if (mLight.IsEmpty()) return;
  MM3DColor color = mLight->GetColor();
  SetColorComponent(color, value);
  if (color != mLight->GetColor()) mLight->SetColor(color);
}
