#include "mm3d/MM3DCamera.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DMathFunctions.h"

#include <utility>

namespace {

constexpr float kDegenerateUp = 0.00001f;
constexpr MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
constexpr MM3DVector kInitialUp(0.0f, 1.0f, 0.0f, 1.0f);
constexpr MM3DVector kUpHint(0.0f, 1.0f, 0.0f, 0.0f);
// The viewing direction of a camera without an interest point.
constexpr MM3DVector kAhead(0.0f, 0.0f, 1.0f, 0.0f);

float Length(const MM3DVector& v) { return MM3DMathFunctions.mSqrt(v.LengthSquared()); }

MM3DVector Normalized(MM3DVector v) {
  v.Divide(Length(v));
  return v;
}

MM3DMatrix Product(const MM3DMatrix& a, const MM3DMatrix& b, const MM3DMatrix& c) {
  MM3DMatrix ab;
  MM3DMatrix abc;
  MM3DMatrixMultiply(ab, a, b);
  MM3DMatrixMultiply(abc, ab, c);
  return abc;
}

}  // namespace

MM3DCamera::MM3DCamera() : mPosition(kOrigin), mRoll(0.0f), mUp(kInitialUp) {}

MM3DCamera::MM3DCamera(const MM3DVector& position, UUOwned<MM3DVector> interest, float roll)
    : mPosition(position), mRoll(roll), mInterest(std::move(interest)), mUp(kInitialUp) {}

void MM3DCamera::SetInterest(const MM3DVector& interest) {
  if (mInterest) {
    *mInterest = interest;
  } else {
    mInterest = UUOwned<MM3DVector>(new MM3DVector(interest));
  }
}

MM3DVector MM3DCamera::GetViewDirection() const {
  if (!mInterest) return kAhead;
  return Normalized(mInterest->Direction(mPosition));
}

MM3DVector MM3DCamera::PerpendicularUp(const MM3DVector& direction) const {
  MM3DMatrix roll;
  MM3DMatrixRotationZ(roll, mRoll);
  MM3DVector hint;
  roll.TransformDirection(hint, kUpHint);
  MM3DVector along = direction;
  along.Scale(hint.Dot(direction));
  hint.Subtract(along);
  return hint;
}

MM3DVector MM3DCamera::GetUpVector() const {
  return Normalized(PerpendicularUp(GetViewDirection()));
}

MM3DVector MM3DCamera::GetSideVector() const { return GetUpVector().Cross(GetViewDirection()); }

void MM3DCamera::GetViewMatrix(MM3DMatrix& out) {
  const MM3DVector forward = GetViewDirection();
  MM3DVector up = PerpendicularUp(forward);
  const float length = Length(up);
  if (length >= kDegenerateUp) {
    up.Divide(length);
    mUp = up;
  } else {
    up = mUp;
  }
  const MM3DVector side = up.Cross(forward);
  MM3DMatrix rotation = MM3DMatrixIdentity;
  const MM3DVector* axes[3] = {&side, &up, &forward};
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) {
      rotation.mElement[row][column] = axes[column]->GetComponent(row);
    }
  }
  MM3DMatrix translation;
  MM3DMatrixTranslation(translation, -mPosition.mX, -mPosition.mY, -mPosition.mZ);
  MM3DMatrixMultiply(out, translation, rotation);
}

MM3DMatrix MM3DCamera::InViewSpace(const MM3DMatrix& middle) {
  MM3DMatrix view;
  GetViewMatrix(view);
  MM3DMatrix inverse = view;
  inverse.InvertAffine();
  return Product(view, middle, inverse);
}

void MM3DCamera::TransformCamera(const MM3DMatrix& matrix, bool moveEye, bool moveInterest) {
  MM3DVector moved;
  if (moveEye) {
    matrix.TransformPoint(moved, mPosition);
    mPosition = moved;
  }
  if (moveInterest && mInterest) {
    matrix.TransformPoint(moved, *mInterest);
    *mInterest = moved;
  }
}

void MM3DCamera::MoveInViewSpace(const MM3DVector& offset) {
  MM3DMatrix translation;
  MM3DMatrixTranslation(translation, offset.mX, offset.mY, offset.mZ);
  TransformCamera(InViewSpace(translation), true, true);
}

void MM3DCamera::TurnInViewSpace(float x, float y, float z) {
  MM3DMatrix rotation;
  MM3DMatrixRotationXYZ(rotation, x, y, z);
  TransformCamera(InViewSpace(rotation), false, true);
}

void MM3DCamera::OrbitInterest(float x, float y, float z) {
  if (!mInterest) return;
  const MM3DVector& interest = *mInterest;
  MM3DMatrix toOrigin;
  MM3DMatrix rotation;
  MM3DMatrix back;
  MM3DMatrixTranslation(toOrigin, -interest.mX, -interest.mY, -interest.mZ);
  MM3DMatrixRotationXYZ(rotation, x, y, z);
  MM3DMatrixTranslation(back, interest.mX, interest.mY, interest.mZ);
  TransformCamera(Product(toOrigin, rotation, back), true, false);
}

bool MM3DCamera::Write(UUWriter& writer) {
  const bool hasInterest = static_cast<bool>(mInterest);
  if (!MM3DDatabase::SaveReference(writer, this) || !mPosition.Write(writer) ||
      !writer.WriteFloats(&mRoll, 1) || !writer.WriteBooleans(&hasInterest, 1)) {
    return false;
  }
  return !hasInterest || MM3DWriteSharedVector(writer, *mInterest);
}

bool MM3DCamera::Read(UUReader& reader) {
  MM3DVector position;
  float roll = 0.0f;
  bool hasInterest = false;
  if (!MM3DDatabase::LoadReference(reader, this) || !position.Read(reader) ||
      !reader.ReadFloats(&roll, 1) || !reader.ReadBooleans(&hasInterest, 1)) {
    return false;
  }
  mPosition = position;
  mRoll = roll;
  if (!hasInterest) {
    mInterest.Reset();
    return true;
  }
  mInterest.Reset(new MM3DVector(kOrigin));
  return MM3DReadSharedVector(reader, *mInterest);
}

bool MM3DWriteSharedVector(UUWriter& writer, MM3DVector& vector) {
  return MM3DDatabase::SaveReference(writer, &vector) && vector.Write(writer);
}

bool MM3DReadSharedVector(UUReader& reader, MM3DVector& vector) {
  return MM3DDatabase::LoadReference(reader, &vector) && vector.Read(reader);
}
