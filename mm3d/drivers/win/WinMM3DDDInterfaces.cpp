#include "mm3d/drivers/win/WinMM3DDDInterfaces.h"

#include <utility>

namespace {

template <typename Interface>
void ReleaseInterface(Interface*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

}  // namespace

WinMM3DDDInterfaces::WinMM3DDDInterfaces(const WinMM3DDDInterfaces& other)
    : mDirectDraw(other.mDirectDraw),
      mPrimary(other.mPrimary),
      mBackBuffer(other.mBackBuffer),
      mDirect3D(other.mDirect3D),
      mDevice(other.mDevice),
      mDepthBuffer(other.mDepthBuffer) {
  AddReferences();
}

WinMM3DDDInterfaces& WinMM3DDDInterfaces::operator=(const WinMM3DDDInterfaces& other) {
  if (this == &other) return *this;
  WinMM3DDDInterfaces copy(other);
  Release();
  std::swap(mDirectDraw, copy.mDirectDraw);
  std::swap(mPrimary, copy.mPrimary);
  std::swap(mBackBuffer, copy.mBackBuffer);
  std::swap(mDirect3D, copy.mDirect3D);
  std::swap(mDevice, copy.mDevice);
  std::swap(mDepthBuffer, copy.mDepthBuffer);
  return *this;
}

void WinMM3DDDInterfaces::AddReferences() {
  IUnknown* objects[] = {mDirectDraw, mPrimary, mBackBuffer, mDirect3D, mDevice, mDepthBuffer};
  for (IUnknown* object : objects) {
    if (object != nullptr) object->AddRef();
  }
}

void WinMM3DDDInterfaces::Release() {
  ReleaseInterface(mDepthBuffer);
  ReleaseInterface(mDevice);
  ReleaseInterface(mDirect3D);
  ReleaseInterface(mBackBuffer);
  ReleaseInterface(mPrimary);
  ReleaseInterface(mDirectDraw);
}
