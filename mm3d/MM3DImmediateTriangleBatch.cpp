#include "mm3d/MM3DImmediateTriangleBatch.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DVertexCorners.h"
#include "mm3d/drivers/MM3DDriver.h"

#include <algorithm>
#include <utility>

MM3DImmediateTriangleBatch::MM3DImmediateTriangleBatch(UURefCount<MM3DDriver> driver)
    : mDriver(std::move(driver)) {
  if (mDriver) mBuffer = mDriver->CreateTriangleBuffer(kCapacity, kMM3DMaxStages);
}

MM3DImmediateTriangleBatch::~MM3DImmediateTriangleBatch() {
  mBlock.Reset();
  if (mDriver) mDriver->DestroyTriangleBuffer(mBuffer);
}

void MM3DImmediateTriangleBatch::Add(const MM3DVertexArrays& arrays, int32_t first, int32_t count) {
  if (mBuffer == nullptr) return;
  while (count > 0) {
    if (mWaiting == kCapacity) Draw();
    const int32_t k = std::min(count, kCapacity - mWaiting);
    Fill(arrays, first, k);
    mWaiting += k;
    count -= k;
    first += k;
  }
}

void MM3DImmediateTriangleBatch::Draw() {
  if (mWaiting == 0) return;
  mDriver->DrawTriangleBuffer(mBlock, *mBuffer, 0, mWaiting);
  mWaiting = 0;
}

// The view's colours and coordinates are the engine's types, not the
// buffer's, so they are gathered here rather than by the buffer's indexed
// setters.
void MM3DImmediateTriangleBatch::Fill(const MM3DVertexArrays& arrays, int32_t first,
                                      int32_t count) {
  const uint16_t* indexes = arrays.mIndices + 3 * first;
  const int32_t corners = 3 * count;
  mBuffer->SetIndexedPositions(mWaiting, count, arrays.mPositions, indexes);
  for (int32_t k = 0; k < corners; ++k) mColors[k] = MM3DCornerColorAt(arrays, indexes[k]);
  mBuffer->SetColors(mWaiting, count, mColors);
  for (int32_t s = 0; s < mBlock.mStageCount && s < kMM3DMaxStages; ++s) {
    if (mBlock.mStages[s].mTexture.IsEmpty()) continue;
    const MM3DTextureCoordinate* coords = MM3DTexCoordsOf(arrays, s);
    for (int32_t k = 0; k < corners; ++k) mTexCoords[k] = MM3DTexCoordAt(coords, indexes[k]);
    mBuffer->SetTexCoords(mWaiting, count, s, mTexCoords);
  }
}
