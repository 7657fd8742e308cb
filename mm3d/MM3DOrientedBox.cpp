#include "mm3d/MM3DOrientedBox.h"

namespace {

// The sign of each half-axis (or the minimum, -1, and maximum, +1) at each
// corner.
constexpr float kCornerSigns[kMM3DBoxCornerCount][3] = {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1},
                                                        {1, -1, -1},  {-1, -1, 1}, {-1, 1, 1},
                                                        {1, 1, 1},    {1, -1, 1}};

MM3DVector HalfDifference(const MM3DVector& a, const MM3DVector& b) {
  MM3DVector half = a.Direction(b);
  half.Scale(0.5f);
  return half;
}

}  // namespace

void MM3DBoxCorners(const MM3DVector& minimum, const MM3DVector& maximum,
                    MM3DVector (&out)[kMM3DBoxCornerCount]) {
  for (int32_t i = 0; i < kMM3DBoxCornerCount; ++i) {
    const float* signs = kCornerSigns[i];
    out[i] =
        MM3DVector(signs[0] < 0 ? minimum.mX : maximum.mX, signs[1] < 0 ? minimum.mY : maximum.mY,
                   signs[2] < 0 ? minimum.mZ : maximum.mZ, 1.0f);
  }
}

MM3DOrientedBox::MM3DOrientedBox()
    : mCentre(0.0f, 0.0f, 0.0f, 1.0f),
      mHalfAxes{{0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}} {}

MM3DOrientedBox::MM3DOrientedBox(const float (&values)[16])
    : mCentre(values[0], values[1], values[2], values[3]),
      mHalfAxes{{values[4], values[5], values[6], values[7]},
                {values[8], values[9], values[10], values[11]},
                {values[12], values[13], values[14], values[15]}} {}

void MM3DOrientedBox::SetFromAxisAligned(const MM3DVector& minimum, const MM3DVector& maximum) {
  mCentre = MM3DVector((minimum.mX + maximum.mX) / 2, (minimum.mY + maximum.mY) / 2,
                       (minimum.mZ + maximum.mZ) / 2, 1.0f);
  mHalfAxes[0] = MM3DVector((maximum.mX - minimum.mX) / 2, 0.0f, 0.0f, 0.0f);
  mHalfAxes[1] = MM3DVector(0.0f, (maximum.mY - minimum.mY) / 2, 0.0f, 0.0f);
  mHalfAxes[2] = MM3DVector(0.0f, 0.0f, (maximum.mZ - minimum.mZ) / 2, 0.0f);
}

void MM3DOrientedBox::SetFromCorners(const MM3DVector (&corners)[kMM3DBoxCornerCount]) {
  mCentre = MM3DVector(0.0f, 0.0f, 0.0f, 1.0f);
  for (const MM3DVector& corner : corners) mCentre.Add(corner);
  mCentre.Scale(1.0f / kMM3DBoxCornerCount);
  mHalfAxes[0] = HalfDifference(corners[3], corners[0]);
  mHalfAxes[1] = HalfDifference(corners[1], corners[0]);
  mHalfAxes[2] = HalfDifference(corners[4], corners[0]);
}

void MM3DOrientedBox::GetCorners(MM3DVector (&out)[kMM3DBoxCornerCount]) const {
  for (int32_t i = 0; i < kMM3DBoxCornerCount; ++i) {
    out[i] = mCentre;
    for (int32_t axis = 0; axis < 3; ++axis) {
      MM3DVector step = mHalfAxes[axis];
      step.Scale(kCornerSigns[i][axis]);
      out[i].Add(step);
    }
    out[i].mW = 1.0f;
  }
}

bool MM3DOrientedBox::Write(UUWriter& writer) const {
  return mCentre.Write(writer) && mHalfAxes[0].Write(writer) && mHalfAxes[1].Write(writer) &&
         mHalfAxes[2].Write(writer);
}

bool MM3DOrientedBox::Read(UUReader& reader) {
  return mCentre.Read(reader) && mHalfAxes[0].Read(reader) && mHalfAxes[1].Read(reader) &&
         mHalfAxes[2].Read(reader);
}
