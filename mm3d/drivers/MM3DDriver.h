#pragma once
// The abstract 3D device the renderer draws into. The base keeps a cache
// of every device state, so that a state reaches the device only when it
// changes, and the current viewport, depth range, projection and view
// matrix, which the renderer updates and the back-ends read. Whoever
// changes a state stores it in the cache first and then calls the setter,
// and only when the value differs from the cached one.

#include "foundation/uu/UURect.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/drivers/MM3DDriverTextureCollection.h"
#include "mm3d/drivers/MM3DDriverTypes.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"
#include "mm3d/drivers/MM3DTriangleBuffer.h"

#include <cstdint>
#include <string>

// The last value sent of each device state; kMM3DStateUnset until sent.
struct MM3DDriverStateCache {
  int32_t mCullMode = kMM3DStateUnset;
  int32_t mFillMode = kMM3DStateUnset;
  int32_t mDepthMode = kMM3DStateUnset;
  int32_t mDepthFunction = kMM3DStateUnset;
  int32_t mOpaque = kMM3DStateUnset;
  int32_t mBlendSource = kMM3DStateUnset;
  int32_t mBlendDestination = kMM3DStateUnset;
  int32_t mTextureMode = kMM3DStateUnset;
  int32_t mPerspectiveHint = kMM3DStateUnset;
  int32_t mDithering = kMM3DStateUnset;
};

// Red, green, blue and alpha bytes; as one little-endian word opaque black
// is 0xFF000000.
struct MM3DClearColor {
  uint8_t mRed = 0;
  uint8_t mGreen = 0;
  uint8_t mBlue = 0;
  uint8_t mAlpha = 255;

  uint32_t AsWord() const {
    return mRed | static_cast<uint32_t>(mGreen) << 8 | static_cast<uint32_t>(mBlue) << 16 |
           static_cast<uint32_t>(mAlpha) << 24;
  }
};

class MM3DDriver {
 public:
  explicit MM3DDriver(const MM3DDeviceMode& mode);
  // Releases the current texture.
  virtual ~MM3DDriver();
  MM3DDriver(const MM3DDriver&) = delete;
  MM3DDriver& operator=(const MM3DDriver&) = delete;

  // "Direct3D 7", "OpenGL 1.1", or empty for the offscreen driver.
  virtual std::string GetApiName() const = 0;
  // The device in use; empty for the offscreen driver.
  virtual std::string GetDescription() const = 0;
  // Binds the driver's rendering context to the calling thread.
  virtual bool MakeCurrent() { return false; }
  virtual MM3DDriverTextureCollection& GetTextureCollection() = 0;
  // Leaves and returns to the full-screen display.
  virtual bool Minimize() = 0;
  virtual bool Restore() = 0;
  virtual void BeginScene() = 0;
  // The colour to the clear colour and, with a depth buffer, the depth to 1.
  virtual void Clear() = 0;
  // Ends the frame and shows it.
  virtual void Present() = 0;
  // The clear-colour bytes read as one little-endian word.
  virtual void SetClearColor(uint32_t color) = 0;
  virtual void SetCullMode(int32_t mode) = 0;
  virtual void SetFillMode(int32_t mode) = 0;
  virtual void SetDepthMode(int32_t mode) = 0;
  virtual void SetDepthFunction(int32_t function) = 0;
  // 0 turns blending on, anything else off.
  virtual void SetBlending(int32_t opaque) = 0;
  virtual void SetBlendFactors(int32_t source, int32_t destination) = 0;
  virtual void SetTextureMode(int32_t mode) = 0;
  virtual void SetPerspectiveHint(int32_t hint) = 0;
  virtual void SetDithering(int32_t dithering) = 0;
  // With the cached depth range.
  virtual void SetViewport(const UURect& viewport) = 0;
  // With the cached viewport.
  virtual void SetDepthRange(const MM3DDepthRange& range) = 0;
  virtual void SetProjection(const MM3DProjectionVolume& volume) = 0;
  // The model-view matrix, its fourth column forced to (0, 0, 0, 1).
  virtual void SetViewMatrix(const MM3DMatrix& matrix) = 0;
  // Null when the storage cannot be had.
  virtual MM3DTriangleBuffer* CreateTriangleBuffer(int32_t capacity, int32_t texCoordSets) = 0;
  // Null is ignored.
  virtual void DestroyTriangleBuffer(MM3DTriangleBuffer* buffer) = 0;
  // Draws the triangle range once per stage of the block, each stage with
  // its own texture-coordinate set; nothing for a block without stages.
  virtual void DrawTriangleBuffer(const MM3DRenderStateBlock& block, MM3DTriangleBuffer& buffer,
                                  int32_t first, int32_t count) = 0;

  // Clears the active flag and leaves the display.
  bool Suspend();
  void Resume();
  void BeginFrame();
  void ClearFrame() { Clear(); }
  void EndFrame();
  // Selects the handle's slot when it is not the current texture; the
  // argument's reference goes in every case.
  void SetTexture(MM3DDriverTextureHandle texture);
  // Sends every state that differs from its default, and the clear colour,
  // viewport, depth range, projection and view matrix always.
  void ResetState();

  bool mActive = true;
  bool mInFrame = false;
  MM3DDeviceMode mMode;
  MM3DClearColor mClearColor;
  MM3DDriverStateCache mStateCache;
  MM3DDriverTextureHandle mTexture;
  UURect mViewport;
  MM3DDepthRange mDepthRange;
  MM3DProjectionVolume mProjection;
  MM3DMatrix mViewMatrix;

 private:
  // Stores and sends a state when the cached value differs.
  void SetState(int32_t& cached, int32_t value, void (MM3DDriver::*setter)(int32_t));
};
