#pragma once
// A renderer that keeps every triangle for the depth sort: each state it
// applies is also registered in the sorted buffer's tables, and the buffer
// is drawn far first at the end of the frame.

#include "mm3d/MM3DRenderer.h"
#include "mm3d/MM3DSortedTriangleBuffer.h"

#include <cstdint>
#include <utility>

class MM3DSortingRenderer : public MM3DRenderer {
 public:
  MM3DSortingRenderer(UURefCount<MM3DDriver> driver, int32_t sortedCapacity);

  const MM3DSortedTriangleBuffer& GetSorted() const { return mSorted; }

 protected:
  void ApplyCullMode(int32_t mode) override;
  void ApplyViewport(const UURect& viewport) override;
  void ApplyDepthRange(const MM3DDepthRange& range) override;
  void ApplyProjection(const MM3DProjectionVolume& volume) override;
  void ApplyViewMatrix(const MM3DMatrix& matrix) override;
  void ApplyTextureStages(const MM3DRenderStateBlock& block) override;
  void RegisterState() override;
  // Draws the sorted triangles, forgets them and their states, and brings
  // the device back to the renderer's own state.
  void DrawSorted() override;
  void SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count) override;
  void Flush() override {}

 private:
  MM3DSortedTriangleBuffer mSorted;
};

// The renderer that sorts everything, opaque or not. Nothing in the system
// constructs it.
class MM3DPlaystationEmulationRenderer : public MM3DSortingRenderer {
 public:
  static constexpr int32_t kSortedCapacity = 2048;

  explicit MM3DPlaystationEmulationRenderer(UURefCount<MM3DDriver> driver)
      : MM3DSortingRenderer(std::move(driver), kSortedCapacity) {}
};
