#include "mm3d/MM3DVector.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMathFunctions.h"

void MM3DVector::MakeDirection(const MM3DVector& other) {
  *this = MM3DVector(other.mX, other.mY, other.mZ, 0.0f);
}

void MM3DVector::Add(const MM3DVector& other) {
  mX += other.mX;
  mY += other.mY;
  mZ += other.mZ;
}

void MM3DVector::Subtract(const MM3DVector& other) {
  mX -= other.mX;
  mY -= other.mY;
  mZ -= other.mZ;
}

MM3DVector MM3DVector::Sum(const MM3DVector& other) const {
  MM3DVector sum = *this;
  sum.Add(other);
  return sum;
}

MM3DVector MM3DVector::Difference(const MM3DVector& other) const {
  MM3DVector difference = *this;
  difference.Subtract(other);
  return difference;
}

MM3DVector MM3DVector::Direction(const MM3DVector& other) const {
  return MM3DVector(mX - other.mX, mY - other.mY, mZ - other.mZ, 0.0f);
}

void MM3DVector::Scale(float factor) {
  mX *= factor;
  mY *= factor;
  mZ *= factor;
}

void MM3DVector::Divide(float divisor) { Scale(1.0f / divisor); }

float MM3DVector::LengthSquared() const { return mX * mX + mY * mY + mZ * mZ; }

float MM3DVector::Dot(const MM3DVector& other) const {
  return mX * other.mX + mY * other.mY + mZ * other.mZ;
}

MM3DVector MM3DVector::Cross(const MM3DVector& other) const {
  return MM3DVector(mY * other.mZ - mZ * other.mY, mZ * other.mX - mX * other.mZ,
                    mX * other.mY - mY * other.mX, mW);
}

bool MM3DVector::Equals(const MM3DVector& other) const {
  return mX == other.mX && mY == other.mY && mZ == other.mZ && mW == other.mW;
}

float MM3DVector::GetComponent(int index) const {
  switch (index) {
    case 1:
      return mY;
    case 2:
      return mZ;
    case 3:
      return mW;
    default:
      return mX;
  }
}

void MM3DVector::SetComponent(int index, float value) {
  switch (index) {
    case 1:
      mY = value;
      break;
    case 2:
      mZ = value;
      break;
    case 3:
      mW = value;
      break;
    default:
      mX = value;
      break;
  }
}

bool MM3DVector::Write(UUWriter& writer) const {
  const float values[4] = {mX, mY, mZ, mW};
  return writer.WriteFloats(values, 4);
}

bool MM3DVector::Read(UUReader& reader) {
  float values[4];
  if (!reader.ReadFloats(values, 4)) return false;
  *this = MM3DVector(values[0], values[1], values[2], values[3]);
  return true;
}

void MM3DNormalizeVectors(MM3DVector* first, MM3DVector* end) {
  for (MM3DVector* vector = first; vector < end; ++vector) {
    vector->Scale(MM3DFastInverseSqrt(vector->LengthSquared()));
  }
}
