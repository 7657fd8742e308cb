#include "mm3d/MM3DDisplayTreeDataNodes.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DModDatabase.h"

namespace {

constexpr MM3DVector kOrigin = {0.0f, 0.0f, 0.0f, 1.0f};
constexpr MM3DVector kZero = {0.0f, 0.0f, 0.0f, 0.0f};

}  // namespace

bool MM3DDisplayTreeNodeSpline::Write(UUWriter& writer, MM3DModDatabase& database) {
  return MM3DModDatabase::WriteShared(writer, database.GetSplines(), mSpline);
}

bool MM3DDisplayTreeNodeSpline::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DModDatabase::ReadShared(reader, database.GetSplines(), mSpline);
}

MM3DDisplayTreeNodeLocator::MM3DDisplayTreeNodeLocator() : mPoint(kOrigin) {}

bool MM3DDisplayTreeNodeLocator::Write(UUWriter& writer, MM3DModDatabase&) {
  return mPoint.Write(writer);
}

bool MM3DDisplayTreeNodeLocator::Read(UUReader& reader, MM3DModDatabase&) {
  return mPoint.Read(reader);
}

MM3DVector MM3DDisplayTreeNodeLocator::GetWorldPosition() {
  MM3DMatrix world;
  GetWorldMatrix(world);
  MM3DVector position;
  world.TransformPoint(position, mPoint);
  return position;
}

MM3DDisplayTreeNodeDistance::MM3DDisplayTreeNodeDistance() : mFirst(kOrigin), mSecond(kOrigin) {}

bool MM3DDisplayTreeNodeDistance::Write(UUWriter& writer, MM3DModDatabase&) {
  return mFirst.Write(writer) && mSecond.Write(writer);
}

bool MM3DDisplayTreeNodeDistance::Read(UUReader& reader, MM3DModDatabase&) {
  return mFirst.Read(reader) && mSecond.Read(reader);
}

MM3DDisplayTreeNodeBoundingData::MM3DDisplayTreeNodeBoundingData()
    : mVectors{kZero, kZero, kZero, kZero} {}

MM3DDisplayTreeNodeBoundingData::MM3DDisplayTreeNodeBoundingData(const float (&values)[16]) {
  for (int32_t i = 0; i < kVectorCount; ++i) {
    mVectors[i] =
        MM3DVector(values[4 * i], values[4 * i + 1], values[4 * i + 2], values[4 * i + 3]);
  }
}

bool MM3DDisplayTreeNodeBoundingData::Write(UUWriter& writer, MM3DModDatabase&) {
  for (const MM3DVector& vector : mVectors) {
    if (!vector.Write(writer)) return false;
  }
  return true;
}

bool MM3DDisplayTreeNodeBoundingData::Read(UUReader& reader, MM3DModDatabase&) {
  for (MM3DVector& vector : mVectors) {
    if (!vector.Read(reader)) return false;
  }
  return true;
}

MM3DDisplayTreeNodeSphereData::MM3DDisplayTreeNodeSphereData() : mCentre(kOrigin), mRadius(0.0f) {}

bool MM3DDisplayTreeNodeSphereData::Write(UUWriter& writer, MM3DModDatabase&) {
  return mCentre.Write(writer) && writer.WriteFloats(&mRadius, 1);
}

bool MM3DDisplayTreeNodeSphereData::Read(UUReader& reader, MM3DModDatabase&) {
  return mCentre.Read(reader) && reader.ReadFloats(&mRadius, 1);
}
