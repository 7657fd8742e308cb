#include "mm3d/MM3DLightSources.h"

#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DSceneChanges.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr MM3DColor kNoLight{0.0f, 0.0f, 0.0f, 1.0f};

// x, y, z at unit length with the exact square root, w 0.
MM3DVector ExactUnitDirection(const MM3DVector& v) {
  MM3DVector out(v.mX, v.mY, v.mZ, 0.0f);
  out.Divide(std::sqrt(out.LengthSquared()));
  return out;
}

// The vector from the point toward the light, scaled by the fast
// reciprocal square root: a light at the point gives zero.
MM3DVector FastDirectionToward(const MM3DVector& light, const MM3DVector& point) {
  MM3DVector out = light.Direction(point);
  out.Scale(MM3DFastInverseSqrt(out.LengthSquared()));
  return out;
}

}  // namespace

void MM3DPointLightSource::Transform(const MM3DMatrix& worldToModel, bool force) {
  if (TakeDirty(force)) worldToModel.TransformPoint(mTransformedPosition, GetPosition());
}

void MM3DPointLightSource::Illuminate(const MM3DVector& point, MM3DVector& direction,
                                      MM3DColor& color) {
  direction = FastDirectionToward(mTransformedPosition, point);
  color = GetEffectiveColor();
}

void MM3DPointLightSource::GetAmbient(MM3DColor& out) const { out = kNoLight; }

void MM3DPointLightSource::ShadeVertex() {
  *mOutColor = GetEffectiveColor();
  const MM3DVector direction = FastDirectionToward(mTransformedPosition, **mCursor);
  mOutDirection->mX = direction.mX;
  mOutDirection->mY = direction.mY;
  mOutDirection->mZ = direction.mZ;
}

MM3DInfiniteLightSource::MM3DInfiniteLightSource(const MM3DColor& color, float intensity,
                                                 const MM3DVector& direction)
    : MM3DLight(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), color, intensity), mDirection(direction) {
  mDirection.Divide(std::sqrt(direction.LengthSquared()));
  mDirection.mW = direction.mW;
}

void MM3DInfiniteLightSource::Transform(const MM3DMatrix& worldToModel, bool force) {
  if (!TakeDirty(force)) return;
  // Directions are transformed as the difference of two transformed
  // points so that translation drops out.
  MM3DVector origin;
  MM3DVector tip;
  worldToModel.TransformPoint(origin, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  worldToModel.TransformPoint(tip, MM3DVector(mDirection.mX, mDirection.mY, mDirection.mZ, 1.0f));
  mTransformedDirection = ExactUnitDirection(tip.Direction(origin));
}

void MM3DInfiniteLightSource::Illuminate(const MM3DVector& /*point*/, MM3DVector& direction,
                                         MM3DColor& color) {
  direction = mTransformedDirection;
  color = GetEffectiveColor();
}

void MM3DInfiniteLightSource::GetAmbient(MM3DColor& out) const { out = kNoLight; }

void MM3DInfiniteLightSource::ShadeVertex() {
  *mOutDirection = mTransformedDirection;
  *mOutColor = GetEffectiveColor();
}

bool MM3DSpotLightInterest::Transform(const MM3DMatrix& worldToModel, bool force) {
  if (!force && !mDirty) return false;
  worldToModel.TransformPoint(mTransformedPoint, mPoint);
  mDirty = false;
  return true;
}

void MM3DSpotLightInterest::SetPoint(const MM3DVector& point) {
  MM3DSceneChanges::Note();
  mPoint = point;
  mDirty = true;
}

MM3DSpotLightSource::MM3DSpotLightSource(const MM3DVector& position, const MM3DColor& color,
                                         float intensity,
                                         std::unique_ptr<MM3DSpotLightInterest> interest,
                                         float coneAngle, float penumbraAngle)
    : MM3DLight(position, color, intensity),
      mInterest(std::move(interest)),
      mConeAngle(coneAngle),
      mPenumbraAngle(penumbraAngle) {}

void MM3DSpotLightSource::Transform(const MM3DMatrix& worldToModel, bool force) {
  bool changed = TakeDirty(force);
  if (changed) worldToModel.TransformPoint(mTransformedPosition, GetPosition());
  if (mInterest == nullptr) return;
  changed = mInterest->Transform(worldToModel, force) || changed;
  if (changed) {
    mSpotDirection =
        ExactUnitDirection(mTransformedPosition.Direction(mInterest->GetTransformedPoint()));
  }
}

float MM3DSpotLightSource::Falloff(const MM3DVector& point, MM3DVector& direction) const {
  direction = ExactUnitDirection(mTransformedPosition.Direction(point));
  // Rounding can push the cosine just past 1 on the axis itself.
  const float cosine = std::clamp(direction.Dot(mSpotDirection), -1.0f, 1.0f);
  const float angle = std::fabs(std::acos(cosine));
  if (angle < mConeAngle) return 1.0f;
  const float t = angle - mConeAngle;
  if (t < mPenumbraAngle) return 1.0f - t / mPenumbraAngle;
  return 0.0f;
}

void MM3DSpotLightSource::Illuminate(const MM3DVector& point, MM3DVector& direction,
                                     MM3DColor& color) {
  const float share = Falloff(point, direction);
  const MM3DColor& effective = GetEffectiveColor();
  if (share == 0.0f) {
    color = kNoLight;
    return;
  }
  color = {effective.mR * share, effective.mG * share, effective.mB * share, effective.mA * share};
}

void MM3DSpotLightSource::GetAmbient(MM3DColor& out) const { out = kNoLight; }

void MM3DSpotLightSource::ShadeVertex() {
  MM3DVector direction;
  const float share = Falloff(**mCursor, direction);
  const MM3DColor& effective = GetEffectiveColor();
  if (share == 0.0f) {
    *mOutColor = kNoLight;
  } else {
    *mOutColor = {effective.mR * share, effective.mG * share, effective.mB * share, effective.mA};
  }
  *mOutDirection = direction;
}

MM3DAmbientLightSource::MM3DAmbientLightSource(const MM3DColor& color, float intensity)
    : MM3DPointLightSource(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), color, intensity) {}

void MM3DAmbientLightSource::Illuminate(const MM3DVector& /*point*/, MM3DVector& direction,
                                        MM3DColor& color) {
  direction = MM3DVector(0.0f, 0.0f, 0.0f, 1.0f);
  color = kNoLight;
}

void MM3DAmbientLightSource::GetAmbient(MM3DColor& out) const { out = GetEffectiveColor(); }
