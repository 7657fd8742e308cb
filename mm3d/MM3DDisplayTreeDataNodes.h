#pragma once
// Nodes that carry data inside a display tree without drawing anything: a
// spline, a point (locator), a pair of points (distance), four vectors of
// bounding data and a sphere. Sitting in the tree, their data moves with
// the transforms above them; their world matrix is their parent's.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DSpline.h"
#include "mm3d/MM3DVector.h"

class MM3DDisplayTreeNodeSpline : public MM3DDisplayTreeNode {
 public:
  MM3DDisplayTreeNodeSpline() = default;
  explicit MM3DDisplayTreeNodeSpline(const UURefCount<MM3DSpline>& spline) : mSpline(spline) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeSpline; }
  // The spline's index in the database's spline table (appended when
  // absent; -1 without a spline).
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const UURefCount<MM3DSpline>& GetSpline() const { return mSpline; }
  void SetSpline(const UURefCount<MM3DSpline>& spline) { mSpline = spline; }

 private:
  UURefCount<MM3DSpline> mSpline;
};

class MM3DDisplayTreeNodeLocator : public MM3DDisplayTreeNode {
 public:
  // At the origin.
  MM3DDisplayTreeNodeLocator();
  explicit MM3DDisplayTreeNodeLocator(const MM3DVector& point) : mPoint(point) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeLocator; }
  // The point (4 floats).
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const MM3DVector& GetPoint() const { return mPoint; }
  void SetPoint(const MM3DVector& point) { mPoint = point; }
  // The point transformed by the node's world matrix.
  MM3DVector GetWorldPosition();

 private:
  MM3DVector mPoint;
};

class MM3DDisplayTreeNodeDistance : public MM3DDisplayTreeNode {
 public:
  // Both points at the origin.
  MM3DDisplayTreeNodeDistance();
  MM3DDisplayTreeNodeDistance(const MM3DVector& first, const MM3DVector& second)
      : mFirst(first), mSecond(second) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeDistance; }
  // The first point, then the second (4 floats each).
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  // The points as stored, in the node's own space.
  const MM3DVector& GetFirstPoint() const { return mFirst; }
  const MM3DVector& GetSecondPoint() const { return mSecond; }
  void SetFirstPoint(const MM3DVector& point) { mFirst = point; }
  void SetSecondPoint(const MM3DVector& point) { mSecond = point; }

 private:
  MM3DVector mFirst;
  MM3DVector mSecond;
};

class MM3DDisplayTreeNodeBoundingData : public MM3DDisplayTreeNode {
 public:
  static constexpr int32_t kVectorCount = 4;

  // Four zero vectors until read.
  MM3DDisplayTreeNodeBoundingData();
  // The four vectors, four floats each.
  explicit MM3DDisplayTreeNodeBoundingData(const float (&values)[16]);

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeBoundingData; }
  // The four vectors, 4 floats each.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const MM3DVector& GetVector(int32_t index) const { return mVectors[index]; }

 private:
  MM3DVector mVectors[kVectorCount];
};

class MM3DDisplayTreeNodeSphereData : public MM3DDisplayTreeNode {
 public:
  // At the origin with radius 0.
  MM3DDisplayTreeNodeSphereData();
  MM3DDisplayTreeNodeSphereData(const MM3DVector& centre, float radius)
      : mCentre(centre), mRadius(radius) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeSphereData; }
  // The centre (4 floats), the radius (1 float).
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const MM3DVector& GetCentre() const { return mCentre; }
  float GetRadius() const { return mRadius; }
  void SetCentre(const MM3DVector& centre) { mCentre = centre; }
  void SetRadius(float radius) { mRadius = radius; }

 private:
  MM3DVector mCentre;
  float mRadius;
};
