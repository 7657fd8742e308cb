#include "app/creation/VPLCreationCamera.h"

#include "mm/stage/MMView.h"
#include "mm3d/MM3DMatrix.h"

#include <cmath>

namespace {

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

float Length(const MM3DVector& v) { return std::sqrt(v.LengthSquared()); }

bool WithinHeights(float y, bool closed) {
  if (closed) return y >= VPLCreationCamera::kMinHeight && y <= VPLCreationCamera::kMaxHeight;
  return y > VPLCreationCamera::kMinHeight && y < VPLCreationCamera::kMaxHeight;
}

}  // namespace

VPLCreationCamera::VPLCreationCamera(MMView* view, const UURefCount<MM3DCamera>& camera)
    : mView(view), mCamera(camera), mHomeEye(camera->GetPosition()) {
  HandOn();
}

MM3DVector VPLCreationCamera::GetInterest() const {
  const MM3DVector* interest = mCamera->GetInterest();
  return interest != nullptr ? *interest : kOrigin;
}

void VPLCreationCamera::GetEyeAndInterest(MM3DVector& eye, MM3DVector& interest) const {
  eye = GetEye();
  interest = GetInterest();
}

void VPLCreationCamera::SetEye(const MM3DVector& eye) {
  mCamera->SetPosition(eye);
  HandOn();
}

void VPLCreationCamera::SetInterest(const MM3DVector& interest) {
  mCamera->SetInterest(interest);
  HandOn();
}

void VPLCreationCamera::HandOn() {
  if (mView == nullptr) return;
  MM3DMatrix view;
  mCamera->GetViewMatrix(view);
  mView->UpdateViewMatrix(view);
}

void VPLCreationCamera::OrbitBy(float angle) {
  const MM3DVector interest = GetInterest();
  MM3DVector offset = GetEye().Direction(interest);
  offset.mW = 1.0f;
  MM3DMatrix rotation;
  MM3DMatrixRotationY(rotation, angle);
  MM3DVector turned;
  rotation.TransformPoint(turned, offset);
  SetEye(MM3DVector(interest.mX + turned.mX, interest.mY + turned.mY, interest.mZ + turned.mZ,
                    turned.mW));
}

bool VPLCreationCamera::Tilt(float amount, bool closedHeights) {
  MM3DVector offset = GetEye().Direction(GetInterest());
  const float distance = Length(offset);
  offset.mY += amount;
  const float length = Length(offset);
  if (length == 0.0f) return false;
  offset.Scale(distance / length);
  return MoveWithin(offset, closedHeights);
}

bool VPLCreationCamera::ZoomBy(float distance) {
  MM3DVector offset = GetEye().Direction(GetInterest());
  const float length = Length(offset);
  if (length == 0.0f) return false;
  offset.Scale((length - distance) / length);
  return MoveWithin(offset, true);
}

bool VPLCreationCamera::MoveWithin(const MM3DVector& offset, bool closedHeights) {
  const float horizontal = std::sqrt(offset.mX * offset.mX + offset.mZ * offset.mZ);
  if (!(horizontal > kMinHorizontal && horizontal < kMaxHorizontal)) return false;
  const MM3DVector interest = GetInterest();
  const MM3DVector eye(interest.mX + offset.mX, interest.mY + offset.mY, interest.mZ + offset.mZ,
                       GetEye().mW);
  if (!WithinHeights(eye.mY, closedHeights)) return false;
  SetEye(eye);
  return true;
}
