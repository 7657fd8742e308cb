#pragma once
// What the OpenGL window driver and the OpenGL offscreen driver share: the
// device-state mapping, clear, viewport, matrices, triangle buffers and the
// per-stage draw, all through the driver's own dispatch table.

#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/win/WinMM3DGLDispatch.h"
#include "mm3d/drivers/win/WinMM3DGLTextureCollection.h"

#include <cstdint>

// The row-vector matrix OpenGL loads for a projection volume (it reads the
// rows as columns): view-space z grows away from the viewer.
void WinMM3DGLProjectionMatrix(const MM3DProjectionVolume& volume, float out[16]);

class WinMM3DGLDriverBase : public MM3DDriver {
 public:
  // Copies the dispatch, whose context is current on the calling thread,
  // and sets up the matrices and client arrays; the derived constructor
  // then resets the state.
  WinMM3DGLDriverBase(const MM3DDeviceMode& mode, const WinMM3DGLDispatch& dispatch);
  // Unselects the current texture and deletes the context.
  ~WinMM3DGLDriverBase() override;

  MM3DDriverTextureCollection& GetTextureCollection() override { return mTextures; }
  void BeginScene() override;
  void Clear() override;
  void SetClearColor(uint32_t color) override;
  void SetCullMode(int32_t mode) override;
  void SetFillMode(int32_t mode) override;
  void SetDepthMode(int32_t mode) override;
  void SetDepthFunction(int32_t function) override;
  void SetBlending(int32_t opaque) override;
  void SetBlendFactors(int32_t source, int32_t destination) override;
  void SetTextureMode(int32_t mode) override;
  void SetPerspectiveHint(int32_t hint) override;
  void SetDithering(int32_t dithering) override;
  // Top-left rectangles, measured from the mode's height.
  void SetViewport(const UURect& viewport) override;
  void SetDepthRange(const MM3DDepthRange& range) override;
  void SetProjection(const MM3DProjectionVolume& volume) override;
  void SetViewMatrix(const MM3DMatrix& matrix) override;
  MM3DTriangleBuffer* CreateTriangleBuffer(int32_t capacity, int32_t texCoordSets) override;
  void DestroyTriangleBuffer(MM3DTriangleBuffer* buffer) override;
  // A buffer another driver made, or a range outside it, draws nothing.
  void DrawTriangleBuffer(const MM3DRenderStateBlock& block, MM3DTriangleBuffer& buffer,
                          int32_t first, int32_t count) override;

  // Public so that tests can count the calls that reach OpenGL.
  WinMM3DGLDispatch mDispatch;

 protected:
  WinMM3DGLTextureCollection mTextures;

 private:
  bool mWriteOnlyDepth = false;  // the depth test passes always, for writing
};
