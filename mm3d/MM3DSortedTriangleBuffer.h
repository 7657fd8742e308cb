#pragma once
// The blended triangles of one frame. Each is copied with its corners, a
// depth key and six small indexes into deduplicated tables of the device
// state in force when it was submitted. At the end of the frame the buffer
// sorts the triangles far first and draws them in runs that share all six
// states, bringing the device to each run's state through the driver's
// cache. Sorting moves pointers, never records.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURect.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/MM3DDriverTypes.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"
#include "mm3d/drivers/MM3DTriangleBuffer.h"

#include <cstdint>
#include <memory>

struct MM3DVertexArrays;

// Indexes into the state tables; kNone when nothing is registered.
struct MM3DSortedStateIndexes {
  static constexpr int32_t kNone = -1;

  bool operator==(const MM3DSortedStateIndexes&) const = default;
  bool AnyNone() const;

  int32_t mCullMode = kNone;
  int32_t mViewport = kNone;
  int32_t mDepthRange = kNone;
  int32_t mProjection = kNone;
  int32_t mViewMatrix = kNone;
  int32_t mBlock = kNone;
};

struct MM3DSortedTriangle {
  float mKey;
  MM3DVector mPositions[3];
  MM3DCornerColor mColors[3];
  MM3DTexCoord mTexCoords[3][kMM3DMaxStages];  // per corner, stage 0 then 1
  MM3DSortedStateIndexes mStates;
};

// The view-space depth of the midpoint of the triangle's longest edge,
// mapped through the depth range: near + (far - near) / (P.far - P.near) x z.
float MM3DSortedTriangleKey(const MM3DSortedTriangle& triangle, const MM3DMatrix& view,
                            const MM3DProjectionVolume& projection, const MM3DDepthRange& range);
// For qsort over record pointers: larger keys, farther away, first.
int MM3DCompareSortedTriangles(const void* a, const void* b);

class MM3DSortedTriangleBuffer {
 public:
  static constexpr int32_t kRunLength = 128;
  static constexpr int32_t kInitialTableCapacity = 4;

  MM3DSortedTriangleBuffer(UURefCount<MM3DDriver> driver, int32_t initialCapacity);
  ~MM3DSortedTriangleBuffer();
  MM3DSortedTriangleBuffer(const MM3DSortedTriangleBuffer&) = delete;
  MM3DSortedTriangleBuffer& operator=(const MM3DSortedTriangleBuffer&) = delete;

  // Each makes the first equal entry of its table current, appending the
  // value when there is none.
  void RegisterCullMode(int32_t mode);
  void RegisterViewport(const UURect& viewport);
  void RegisterDepthRange(const MM3DDepthRange& range);
  void RegisterProjection(const MM3DProjectionVolume& volume);
  void RegisterViewMatrix(const MM3DMatrix& matrix);
  void RegisterBlock(const MM3DRenderStateBlock& block);

  // Copies triangles first ... first + count - 1 of the view under the
  // current states. Refused while any state has not been registered since
  // the tables were last cleared: there is no state to key or draw it by.
  void Add(const MM3DVertexArrays& arrays, int32_t first, int32_t count);
  // Keys the triangle and keeps it with the current states; refused like Add.
  void Append(const MM3DSortedTriangle& triangle);
  // Sorts and draws every triangle, then empties the buffer.
  void Draw();
  // Draws one record alone with the given block.
  void DrawOne(const MM3DSortedTriangle& record, const MM3DRenderStateBlock& block);
  // Empties the six tables and unsets the six current indexes.
  void ClearTables();

  int32_t GetCount() const { return mCount; }
  int32_t GetCapacity() const { return mCapacity; }
  const MM3DSortedStateIndexes& GetCurrent() const { return mCurrent; }
  const UUGrowableArray<MM3DRenderStateBlock>& GetBlocks() const { return mBlocks; }

 private:
  // Doubles both arrays; on failure draws the buffer at once instead.
  void Grow();
  // Sends the record's five view states wherever the driver's cache differs.
  void BringDeviceTo(const MM3DSortedStateIndexes& states);
  void FillSlot(int32_t slot, const MM3DSortedTriangle& record, const MM3DRenderStateBlock& block);

  UURefCount<MM3DDriver> mDriver;
  MM3DTriangleBuffer* mBuffer = nullptr;
  std::unique_ptr<MM3DSortedTriangle[]> mRecords;
  std::unique_ptr<MM3DSortedTriangle*[]> mPointers;
  int32_t mCapacity;
  int32_t mCount = 0;
  MM3DSortedStateIndexes mCurrent;
  UUGrowableArray<int32_t> mCullModes;
  UUGrowableArray<UURect> mViewports;
  UUGrowableArray<MM3DDepthRange> mDepthRanges;
  UUGrowableArray<MM3DProjectionVolume> mProjections;
  UUGrowableArray<MM3DMatrix> mViewMatrices;
  UUGrowableArray<MM3DRenderStateBlock> mBlocks;
};
