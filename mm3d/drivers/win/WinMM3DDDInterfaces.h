#pragma once
// The six DirectDraw and Direct3D interfaces of one device, each possibly
// null. A copy holds its own references; Release gives them back, depth
// buffer first and DirectDraw last.

#include "platform/directx/d3d.h"

class WinMM3DDDInterfaces {
 public:
  WinMM3DDDInterfaces() = default;
  WinMM3DDDInterfaces(const WinMM3DDDInterfaces& other);
  WinMM3DDDInterfaces& operator=(const WinMM3DDDInterfaces& other);
  ~WinMM3DDDInterfaces() { Release(); }

  void Release();

  IDirectDraw7* mDirectDraw = nullptr;
  IDirectDrawSurface7* mPrimary = nullptr;
  IDirectDrawSurface7* mBackBuffer = nullptr;
  IDirect3D7* mDirect3D = nullptr;
  IDirect3DDevice7* mDevice = nullptr;
  IDirectDrawSurface7* mDepthBuffer = nullptr;

 private:
  void AddReferences();
};
