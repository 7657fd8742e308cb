#include "mm3d/MM3DProjectionVolume.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMathFunctions.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr float kDefaultHalfFieldOfView = 0.3926991f;  // 22.5 degrees
constexpr float kDefaultAspect = 1.3333334f;
constexpr float kDefaultNear = 1.0f;
constexpr float kDefaultFar = 1000.0f;
constexpr float kMillimetresToInches = 0.03937f;

// Every element 0.
MM3DMatrix ZeroMatrix() { return MM3DMatrix{}; }

}  // namespace

MM3DProjectionVolume::MM3DProjectionVolume() {
  const float halfHeight = MM3DMathFunctions.mTan(kDefaultHalfFieldOfView);
  const float halfWidth = halfHeight * kDefaultAspect;
  Set(true, -halfWidth, halfWidth, -halfHeight, halfHeight, kDefaultNear, kDefaultFar);
}

void MM3DProjectionVolume::SetPerspective(float fieldOfView, float aspect, float nearZ,
                                          float farZ) {
  const float halfHeight = MM3DMathFunctions.mTan(fieldOfView * 0.5f) * nearZ;
  const float halfWidth = halfHeight * aspect;
  Set(true, -halfWidth, halfWidth, -halfHeight, halfHeight, nearZ, farZ);
}

void MM3DProjectionVolume::SetLens(float focalLength, float aperture, float aspect, float nearZ,
                                   float farZ) {
  const float halfAngle =
      MM3DMathFunctions.mArcTan((aperture * 0.5f) / (focalLength * kMillimetresToInches));
  const float halfHeight = MM3DMathFunctions.mTan(halfAngle) * nearZ;
  const float halfWidth = halfHeight * aspect;
  Set(true, -halfWidth, halfWidth, -halfHeight, halfHeight, nearZ, farZ);
}

void MM3DProjectionVolume::SetFrustum(float left, float right, float bottom, float top, float nearZ,
                                      float farZ) {
  Set(true, left, right, bottom, top, nearZ, farZ);
}

void MM3DProjectionVolume::SetOrthographic(float left, float right, float bottom, float top,
                                           float nearZ, float farZ) {
  Set(false, left, right, bottom, top, nearZ, farZ);
}

void MM3DProjectionVolume::Set(bool perspective, float left, float right, float bottom, float top,
                               float nearZ, float farZ) {
  mPerspective = perspective;
  mLeft = left;
  mRight = right;
  mBottom = bottom;
  mTop = top;
  mNear = nearZ;
  mFar = farZ;
  UpdateMatrices();
  UpdateBounds();
}

bool MM3DProjectionVolume::operator==(const MM3DProjectionVolume& other) const {
  return mPerspective == other.mPerspective && mLeft == other.mLeft && mRight == other.mRight &&
         mBottom == other.mBottom && mTop == other.mTop && mNear == other.mNear &&
         mFar == other.mFar;
}

void MM3DProjectionVolume::UpdateMatrices() {
  mProjection = ZeroMatrix();
  mInverse = ZeroMatrix();
  if (mPerspective) {
    UpdatePerspectiveMatrices();
  } else {
    UpdateParallelMatrices();
  }
}

// The window enters only through its width and height: it is taken as
// centred on the viewing axis.
void MM3DProjectionVolume::UpdatePerspectiveMatrices() {
  const float n = mNear;
  const float f = mFar;
  auto& p = mProjection.mElement;
  p[0][0] = 2.0f * n / (mRight - mLeft);
  p[1][1] = 2.0f * n / (mTop - mBottom);
  p[2][2] = (f + n) / (f - n);
  p[2][3] = 1.0f;
  p[3][2] = -2.0f * f * n / (f - n);
  auto& i = mInverse.mElement;
  i[0][0] = (mRight - mLeft) / (2.0f * n);
  i[1][1] = (mTop - mBottom) / (2.0f * n);
  i[2][3] = -(f - n) / (2.0f * f * n);
  i[3][2] = 1.0f;
  i[3][3] = (f + n) / (2.0f * f * n);
}

void MM3DProjectionVolume::UpdateParallelMatrices() {
  const float width = mRight - mLeft;
  const float height = mTop - mBottom;
  const float depth = mFar - mNear;
  auto& p = mProjection.mElement;
  p[0][0] = 2.0f / width;
  p[1][1] = 2.0f / height;
  p[2][2] = 2.0f / depth;
  p[3][0] = -(mRight + mLeft) / width;
  p[3][1] = -(mTop + mBottom) / height;
  p[3][2] = -(mFar + mNear) / depth;
  p[3][3] = 1.0f;
  auto& i = mInverse.mElement;
  i[0][0] = width / 2.0f;
  i[1][1] = height / 2.0f;
  i[2][2] = depth / 2.0f;
  i[3][0] = (mRight + mLeft) / 2.0f;
  i[3][1] = (mTop + mBottom) / 2.0f;
  i[3][2] = (mFar + mNear) / 2.0f;
  i[3][3] = 1.0f;
}

void MM3DProjectionVolume::UpdateBounds() {
  mXMin = std::min(mLeft, mRight);
  mXMax = std::max(mLeft, mRight);
  mYMin = std::min(mBottom, mTop);
  mYMax = std::max(mBottom, mTop);
  mZMin = std::min(mNear, mFar);
  mZMax = std::max(mNear, mFar);
  // In a perspective volume the side planes widen with depth: each bound
  // grows by bound / near per unit of depth beyond the near plane.
  const auto slope = [this](float bound) {
    return mPerspective ? bound * (mFar / mNear - 1.0f) / (mFar - mNear) : 0.0f;
  };
  mSlopeXMin = slope(mXMin);
  mSlopeXMax = slope(mXMax);
  mSlopeYMin = slope(mYMin);
  mSlopeYMax = slope(mYMax);
}

void MM3DProjectionVolume::ComputeOutcodes(int32_t count, const MM3DVector* points,
                                           uint8_t* codes) const {
  for (int32_t i = 0; i < count; ++i) {
    const MM3DVector& point = points[i];
    const float depth = point.mZ - mZMin;
    uint8_t code = 0;
    if (point.mX < mXMin + mSlopeXMin * depth) {
      code |= kMM3DOutsideLeft;
    } else if (point.mX > mXMax + mSlopeXMax * depth) {
      code |= kMM3DOutsideRight;
    }
    if (!(point.mY >= mYMin + mSlopeYMin * depth)) {
      code |= kMM3DOutsideBottom;
    } else if (point.mY > mYMax + mSlopeYMax * depth) {
      code |= kMM3DOutsideTop;
    }
    if (!(point.mZ >= mZMin)) {
      code |= kMM3DOutsideNear;
    } else if (point.mZ > mZMax) {
      code |= kMM3DOutsideFar;
    }
    codes[i] = code;
  }
}

bool MM3DProjectionVolume::AllOutside(int32_t count, const uint8_t* codes) {
  uint8_t common = kMM3DOutsideAll;
  for (int32_t i = 0; i < count; ++i) common &= codes[i];
  return common != 0;
}

MM3DVector MM3DProjectionVolume::Project(const MM3DVector& point, const UURect& viewport) const {
  MM3DVector clip;
  mProjection.TransformPoint(clip, point);
  const float x = clip.mX / clip.mW;
  const float y = clip.mY / clip.mW;
  const float z = clip.mZ / clip.mW;
  const auto left = static_cast<float>(viewport.mLeft);
  const auto right = static_cast<float>(viewport.mRight);
  const auto top = static_cast<float>(viewport.mTop);
  const auto bottom = static_cast<float>(viewport.mBottom);
  return MM3DVector(left + (right - left) * (x + 1.0f) / 2.0f,
                    bottom - (bottom - top) * (y + 1.0f) / 2.0f, (z + 1.0f) / 2.0f, 1.0f);
}

MM3DVector MM3DProjectionVolume::Unproject(float x, float y, float depth,
                                           const UURect& viewport) const {
  const auto left = static_cast<float>(viewport.mLeft);
  const auto right = static_cast<float>(viewport.mRight);
  const auto top = static_cast<float>(viewport.mTop);
  const auto bottom = static_cast<float>(viewport.mBottom);
  const MM3DVector device((x - left) * 2.0f / (right - left) - 1.0f,
                          (bottom - y) * 2.0f / (bottom - top) - 1.0f, depth * 2.0f - 1.0f, 1.0f);
  MM3DVector p;
  mInverse.TransformPoint(p, device);
  return MM3DVector(p.mX / p.mW, p.mY / p.mW, p.mZ / p.mW, 1.0f);
}

bool MM3DProjectionVolume::Write(UUWriter& writer) const {
  if (!writer.WriteBooleans(&mPerspective, 1)) return false;
  for (const float* value : {&mLeft, &mRight, &mBottom, &mTop, &mNear, &mFar}) {
    if (!writer.WriteFloats(value, 1)) return false;
  }
  return true;
}

bool MM3DProjectionVolume::Read(UUReader& reader) {
  if (!reader.ReadBooleans(&mPerspective, 1)) return false;
  for (float* field : {&mLeft, &mRight, &mBottom, &mTop, &mNear, &mFar}) {
    float value = 0.0f;
    if (!reader.ReadFloats(&value, 1)) return false;
    *field = value;
  }
  UpdateMatrices();
  UpdateBounds();
  return true;
}
