#pragma once
// Triangles on their way to the device in submission order (opaque ones,
// and flat quads of any kind): copied into the driver's triangle buffer and
// drawn whenever the buffer is full or the state they were submitted under
// is about to change.

#include "foundation/uu/UURefCount.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"
#include "mm3d/drivers/MM3DTriangleBuffer.h"

#include <cstdint>

struct MM3DVertexArrays;

class MM3DImmediateTriangleBatch {
 public:
  static constexpr int32_t kCapacity = 128;

  explicit MM3DImmediateTriangleBatch(UURefCount<MM3DDriver> driver);
  ~MM3DImmediateTriangleBatch();
  MM3DImmediateTriangleBatch(const MM3DImmediateTriangleBatch&) = delete;
  MM3DImmediateTriangleBatch& operator=(const MM3DImmediateTriangleBatch&) = delete;

  // Fills triangles first ... first + count - 1 of the view in, drawing each
  // full batch.
  void Add(const MM3DVertexArrays& arrays, int32_t first, int32_t count);
  // Draws the waiting triangles with the batch's block.
  void Draw();

  // The block the waiting triangles are drawn with.
  MM3DRenderStateBlock& GetBlock() { return mBlock; }
  int32_t GetWaiting() const { return mWaiting; }

 private:
  void Fill(const MM3DVertexArrays& arrays, int32_t first, int32_t count);

  UURefCount<MM3DDriver> mDriver;
  MM3DTriangleBuffer* mBuffer = nullptr;
  MM3DRenderStateBlock mBlock;
  int32_t mWaiting = 0;
  // Corner colours and coordinates in the buffer's types, gathered per fill.
  MM3DCornerColor mColors[3 * kCapacity];
  MM3DTexCoord mTexCoords[3 * kCapacity];
};
