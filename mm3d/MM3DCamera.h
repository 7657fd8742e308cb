#pragma once
// An eye position looking at an interest point, with a roll angle that
// turns the up hint about the world z axis. Every move ends in a new
// world-to-camera matrix whose camera space looks along +z with x to the
// side and y up.

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DVector.h"

class UUReader;
class UUWriter;

class MM3DCamera {
 public:
  MM3DCamera();
  // Takes over the interest point; the caller's pointer is left empty.
  MM3DCamera(const MM3DVector& position, UUOwned<MM3DVector> interest, float roll);
  virtual ~MM3DCamera() = default;

  void SetPosition(const MM3DVector& position) { mPosition = position; }
  const MM3DVector& GetPosition() const { return mPosition; }
  // The interest point, or null.
  const MM3DVector* GetInterest() const { return mInterest.Get(); }
  // Moves the interest point, or gives the camera one.
  void SetInterest(const MM3DVector& interest);
  float GetRoll() const { return mRoll; }
  void SetRoll(float roll) { mRoll = roll; }

  // The look-at matrix; remembers the up axis it used, which stands in
  // when the up hint runs parallel to the viewing direction.
  void GetViewMatrix(MM3DMatrix& out);
  // The unit vector from the eye to the interest point, w 0.
  MM3DVector GetViewDirection() const;
  // The unit up axis, without the fallback to the remembered one.
  MM3DVector GetUpVector() const;
  // The up axis x the viewing direction.
  MM3DVector GetSideVector() const;

  // Slides eye and interest point along the camera's own axes.
  void MoveInViewSpace(const MM3DVector& offset);
  // Turns the interest point about the eye, about the camera's own axes.
  void TurnInViewSpace(float x, float y, float z);
  // Moves the eye about the interest point.
  void OrbitInterest(float x, float y, float z);

  // The camera record: its reference, position, roll and interest point.
  bool Write(UUWriter& writer);
  bool Read(UUReader& reader);

 private:
  // The up hint made perpendicular to the viewing direction, not yet
  // normalised.
  MM3DVector PerpendicularUp(const MM3DVector& direction) const;
  // Applies the matrix to the eye, and to the interest point as well when
  // asked.
  void TransformCamera(const MM3DMatrix& matrix, bool moveEye, bool moveInterest);
  // view x middle x view inverse: middle applied in camera space.
  MM3DMatrix InViewSpace(const MM3DMatrix& middle);

  MM3DVector mPosition;
  float mRoll;
  UUOwned<MM3DVector> mInterest;
  MM3DVector mUp;
};

// A vector written as a shared object: its reference, then its four floats.
bool MM3DWriteSharedVector(UUWriter& writer, MM3DVector& vector);
bool MM3DReadSharedVector(UUReader& reader, MM3DVector& vector);
