#pragma once
// The renderer the system draws with. Triangles whose block has an opaque
// first stage, and all triangles drawn in order, go to the device at once,
// in batches and in submission order; all others wait in the depth-sorted
// buffer and are drawn after them, far first, when the frame ends.

#include "mm3d/MM3DImmediateTriangleBatch.h"
#include "mm3d/MM3DSortingRenderer.h"

#include <cstdint>

class MM3DStandardRenderer : public MM3DSortingRenderer {
 public:
  static constexpr int32_t kSortedCapacity = 128;

  explicit MM3DStandardRenderer(UURefCount<MM3DDriver> driver);

  const MM3DImmediateTriangleBatch& GetBatch() const { return mBatch; }

 protected:
  // A new block first draws what waits under the old one.
  void ApplyTextureStages(const MM3DRenderStateBlock& block) override;
  void DrawSorted() override;
  void SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count) override;
  // Into the batch, blended or not: it draws in submission order.
  void SubmitTrianglesInOrder(const MM3DVertexArrays& arrays, int32_t first,
                              int32_t count) override {
    mBatch.Add(arrays, first, count);
  }
  void Flush() override { mBatch.Draw(); }

 private:
  MM3DImmediateTriangleBatch mBatch;
};
