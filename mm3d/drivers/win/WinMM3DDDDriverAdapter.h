#pragma once
// The Direct3D 7 driver: DirectDraw 7 and Direct3D 7 taken at run time from
// "DDRAW.DLL", a device drawing into a back buffer that Present copies into
// the render window (windowed) or flips (full screen).

#include "foundation/uu/UURefCount.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/win/WinMM3DDDInterfaces.h"
#include "mm3d/drivers/win/WinMM3DDDTextureCollection.h"

#include <cstdint>
#include <memory>
#include <string>

constexpr int32_t kWinMM3DDDNameSize = 256;
constexpr int32_t kWinMM3DDDMaxDrivers = 8;

// One selectable DirectDraw device; the primary display has no GUID.
struct WinMM3DDDDriverDescription {
  WinMM3DDDDriverDescription() = default;
  // A GUID clears the primary flag.
  WinMM3DDDDriverDescription(const char* name, const char* driverName, const GUID* guid);

  char mName[kWinMM3DDDNameSize] = "";
  char mDriverName[kWinMM3DDDNameSize] = "";
  uint8_t mPrimary = 1;
  GUID mGuid{};
};

struct WinMM3DDDDriverList {
  int32_t mCount = 0;
  WinMM3DDDDriverDescription mEntries[kWinMM3DDDMaxDrivers];
  HMODULE mLibrary = nullptr;  // while the list is built
};

class WinMM3DDDDriverAdapter : public MM3DDriver {
 public:
  // Takes its own references on the interfaces.
  WinMM3DDDDriverAdapter(const MM3DDeviceMode& mode, HWND renderWindow,
                         const WinMM3DDDInterfaces& interfaces);
  // Unloads "DDRAW.DLL" with the last adapter.
  ~WinMM3DDDDriverAdapter() override;

  std::string GetApiName() const override { return "Direct3D 7"; }
  std::string GetDescription() const override { return mDescription; }
  MM3DDriverTextureCollection& GetTextureCollection() override { return *mTextures; }
  bool Minimize() override { return true; }
  bool Restore() override { return true; }
  void BeginScene() override;
  void Clear() override;
  void Present() override;
  void SetClearColor(uint32_t) override {}
  void SetCullMode(int32_t mode) override;
  void SetFillMode(int32_t mode) override;
  void SetDepthMode(int32_t mode) override;
  void SetDepthFunction(int32_t function) override;
  void SetBlending(int32_t opaque) override;
  void SetBlendFactors(int32_t source, int32_t destination) override;
  void SetTextureMode(int32_t mode) override { mTextures->SetTextureMode(mode); }
  void SetPerspectiveHint(int32_t hint) override;
  void SetDithering(int32_t dithering) override;
  void SetViewport(const UURect& viewport) override;
  void SetDepthRange(const MM3DDepthRange& range) override;
  void SetProjection(const MM3DProjectionVolume& volume) override;
  void SetViewMatrix(const MM3DMatrix& matrix) override;
  MM3DTriangleBuffer* CreateTriangleBuffer(int32_t capacity, int32_t texCoordSets) override;
  void DestroyTriangleBuffer(MM3DTriangleBuffer* buffer) override { delete buffer; }
  void DrawTriangleBuffer(const MM3DRenderStateBlock& block, MM3DTriangleBuffer& buffer,
                          int32_t first, int32_t count) override;

  static void ListDrivers(WinMM3DDDDriverList& list);

 private:
  void SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
  void SendViewport(const UURect& viewport, const MM3DDepthRange& range);

  HWND mRenderWindow;
  WinMM3DDDInterfaces mInterfaces;
  std::unique_ptr<WinMM3DDDTextureCollection> mTextures;
  std::string mDescription;
};

// The driver for the window, or an empty handle when the library, an entry
// point or any DirectDraw or Direct3D call fails, or the device is refused.
// Nothing is reported.
UURefCount<MM3DDriver> WinMM3DDDCreateDriver(const WinMM3DDDDriverDescription& description,
                                             const MM3DDeviceMode& mode, HWND renderWindow,
                                             HWND focusWindow);
WinMM3DDDDriverAdapter* WinMM3DDDCreateAdapter(const WinMM3DDDDriverDescription& description,
                                               const MM3DDeviceMode& mode, HWND renderWindow,
                                               HWND focusWindow);

// The Direct3D projection (row vectors, clip depth 0..w) of the volume.
D3DMATRIX WinMM3DDDProjectionMatrix(const MM3DProjectionVolume& volume);
