#include "mm3d/MM3DSortedTriangleBuffer.h"

#include "foundation/al/ALAllocator.h"
#include "mm3d/MM3DDriverStateSync.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DVertexCorners.h"
#include "mm3d/drivers/MM3DDriver.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace {

// The index of the first entry equal to the value, appending it when none
// is; a full table doubles.
template <typename T>
int32_t FindOrAppend(UUGrowableArray<T>& table, const T& value) {
  for (int32_t i = 0; i < table.Count(); ++i) {
    if (table[i] == value) return i;
  }
  table.Append(value);
  return table.Count() - 1;
}

template <typename T>
void MakeEmptyTable(UUGrowableArray<T>& table) {
  table.EraseRange(0, table.Count());
  table.Reserve(MM3DSortedTriangleBuffer::kInitialTableCapacity);
}

// corner0 + (corner1 - corner0) x 0.5 in x, y and z, keeping corner0's w.
MM3DVector Midpoint(const MM3DVector& start, const MM3DVector& end) {
  return MM3DVector(start.mX + (end.mX - start.mX) * 0.5f, start.mY + (end.mY - start.mY) * 0.5f,
                    start.mZ + (end.mZ - start.mZ) * 0.5f, start.mW);
}

float EdgeLengthSquared(const MM3DVector& a, const MM3DVector& b) {
  const float dx = b.mX - a.mX;
  const float dy = b.mY - a.mY;
  const float dz = b.mZ - a.mZ;
  return dx * dx + dy * dy + dz * dz;
}

}  // namespace

bool MM3DSortedStateIndexes::AnyNone() const {
  return mCullMode == kNone || mViewport == kNone || mDepthRange == kNone || mProjection == kNone ||
         mViewMatrix == kNone || mBlock == kNone;
}

float MM3DSortedTriangleKey(const MM3DSortedTriangle& triangle, const MM3DMatrix& view,
                            const MM3DProjectionVolume& projection, const MM3DDepthRange& range) {
  const MM3DVector* p = triangle.mPositions;
  const float f = EdgeLengthSquared(p[0], p[1]);
  const float g = EdgeLengthSquared(p[1], p[2]);
  const float a = EdgeLengthSquared(p[2], p[0]);
  // Of two equally long longest edges, 2-0 wins over the others and 1-2
  // over 0-1.
  MM3DVector m;
  if (f > g) {
    m = f > a ? Midpoint(p[0], p[1]) : Midpoint(p[2], p[0]);
  } else {
    m = g > a ? Midpoint(p[1], p[2]) : Midpoint(p[2], p[0]);
  }
  const float(&e)[4][4] = view.mElement;
  const float z = m.mX * e[0][2] + m.mY * e[1][2] + m.mZ * e[2][2] + m.mW * e[3][2];
  const float scale = (range.mFar - range.mNear) / (projection.GetFar() - projection.GetNear());
  return range.mNear + scale * z;
}

int MM3DCompareSortedTriangles(const void* a, const void* b) {
  const float keyA = (*static_cast<const MM3DSortedTriangle* const*>(a))->mKey;
  const float keyB = (*static_cast<const MM3DSortedTriangle* const*>(b))->mKey;
  if (keyA > keyB) return -1;
  if (keyA < keyB) return 1;
  return 0;
}

MM3DSortedTriangleBuffer::MM3DSortedTriangleBuffer(UURefCount<MM3DDriver> driver,
                                                   int32_t initialCapacity)
    : mDriver(std::move(driver)),
      mRecords(new (ALGlobalAllocator) MM3DSortedTriangle[static_cast<size_t>(initialCapacity)]),
      mPointers(new (ALGlobalAllocator) MM3DSortedTriangle*[static_cast<size_t>(initialCapacity)]),
      mCapacity(initialCapacity) {
  if (mDriver) mBuffer = mDriver->CreateTriangleBuffer(kRunLength, kMM3DMaxStages);
  ClearTables();
}

MM3DSortedTriangleBuffer::~MM3DSortedTriangleBuffer() {
  if (mDriver) mDriver->DestroyTriangleBuffer(mBuffer);
}

void MM3DSortedTriangleBuffer::RegisterCullMode(int32_t mode) {
  mCurrent.mCullMode = FindOrAppend(mCullModes, mode);
}

void MM3DSortedTriangleBuffer::RegisterViewport(const UURect& viewport) {
  mCurrent.mViewport = FindOrAppend(mViewports, viewport);
}

void MM3DSortedTriangleBuffer::RegisterDepthRange(const MM3DDepthRange& range) {
  mCurrent.mDepthRange = FindOrAppend(mDepthRanges, range);
}

void MM3DSortedTriangleBuffer::RegisterProjection(const MM3DProjectionVolume& volume) {
  mCurrent.mProjection = FindOrAppend(mProjections, volume);
}

void MM3DSortedTriangleBuffer::RegisterViewMatrix(const MM3DMatrix& matrix) {
  mCurrent.mViewMatrix = FindOrAppend(mViewMatrices, matrix);
}

void MM3DSortedTriangleBuffer::RegisterBlock(const MM3DRenderStateBlock& block) {
  mCurrent.mBlock = FindOrAppend(mBlocks, block);
}

void MM3DSortedTriangleBuffer::Add(const MM3DVertexArrays& arrays, int32_t first, int32_t count) {
  if (mCurrent.AnyNone()) return;
  const MM3DRenderStateBlock& block = mBlocks[mCurrent.mBlock];
  MM3DSortedTriangle triangle{};
  for (int32_t t = first; t < first + count; ++t) {
    const uint16_t* corners = arrays.mIndices + 3 * t;
    for (int32_t c = 0; c < 3; ++c) {
      triangle.mPositions[c] = arrays.mPositions[corners[c]];
      triangle.mColors[c] = MM3DCornerColorAt(arrays, corners[c]);
    }
    for (int32_t s = 0; s < block.mStageCount && s < kMM3DMaxStages; ++s) {
      if (block.mStages[s].mTexture.IsEmpty()) continue;
      const MM3DTextureCoordinate* coords = MM3DTexCoordsOf(arrays, s);
      for (int32_t c = 0; c < 3; ++c)
        triangle.mTexCoords[c][s] = MM3DTexCoordAt(coords, corners[c]);
    }
    Append(triangle);
  }
}

void MM3DSortedTriangleBuffer::Append(const MM3DSortedTriangle& triangle) {
  if (mCurrent.AnyNone()) return;
  if (mCount == mCapacity) Grow();
  MM3DSortedTriangle& record = mRecords[static_cast<size_t>(mCount)];
  record = triangle;
  record.mKey =
      MM3DSortedTriangleKey(triangle, mViewMatrices[mCurrent.mViewMatrix],
                            mProjections[mCurrent.mProjection], mDepthRanges[mCurrent.mDepthRange]);
  record.mStates = mCurrent;
  mPointers[static_cast<size_t>(mCount)] = &record;
  ++mCount;
}

void MM3DSortedTriangleBuffer::Grow() {
  const int32_t capacity = mCapacity <= INT32_MAX / 2 ? 2 * mCapacity : 0;
  std::unique_ptr<MM3DSortedTriangle[]> records;
  std::unique_ptr<MM3DSortedTriangle*[]> pointers;
  if (capacity > 0) {
    records.reset(new (std::nothrow) MM3DSortedTriangle[static_cast<size_t>(capacity)]);
    pointers.reset(new (std::nothrow) MM3DSortedTriangle*[static_cast<size_t>(capacity)]);
  }
  if (records == nullptr || pointers == nullptr) {
    // Without room to keep more, what is kept is drawn now, and the device
    // goes back to the state the frame is being drawn in.
    Draw();
    if (mBuffer != nullptr) BringDeviceTo(mCurrent);
    return;
  }
  std::copy(mRecords.get(), mRecords.get() + mCount, records.get());
  for (size_t i = 0; i < static_cast<size_t>(mCount); ++i) pointers[i] = &records[i];
  mRecords = std::move(records);
  mPointers = std::move(pointers);
  mCapacity = capacity;
}

void MM3DSortedTriangleBuffer::Draw() {
  if (mCount == 0) return;
  if (mBuffer == nullptr) {
    mCount = 0;
    return;
  }
  MM3DSortedTriangle** sorted = mPointers.get();
  std::qsort(sorted, static_cast<size_t>(mCount), sizeof *sorted, MM3DCompareSortedTriangles);
  const MM3DSortedStateIndexes* run = &sorted[0]->mStates;
  BringDeviceTo(*run);
  FillSlot(0, *sorted[0], mBlocks[run->mBlock]);
  int32_t n = 1;
  for (int32_t i = 1; i < mCount; ++i) {
    const MM3DSortedTriangle& record = *sorted[i];
    if (!(record.mStates == *run) || n == kRunLength) {
      mDriver->DrawTriangleBuffer(mBlocks[run->mBlock], *mBuffer, 0, n);
      n = 0;
    }
    run = &record.mStates;
    BringDeviceTo(*run);
    FillSlot(n, record, mBlocks[run->mBlock]);
    ++n;
  }
  mDriver->DrawTriangleBuffer(mBlocks[run->mBlock], *mBuffer, 0, n);
  mCount = 0;
}

void MM3DSortedTriangleBuffer::DrawOne(const MM3DSortedTriangle& record,
                                       const MM3DRenderStateBlock& block) {
  if (mBuffer == nullptr) return;
  FillSlot(0, record, block);
  mDriver->DrawTriangleBuffer(block, *mBuffer, 0, 1);
}

void MM3DSortedTriangleBuffer::ClearTables() {
  MakeEmptyTable(mCullModes);
  MakeEmptyTable(mViewports);
  MakeEmptyTable(mDepthRanges);
  MakeEmptyTable(mProjections);
  MakeEmptyTable(mViewMatrices);
  MakeEmptyTable(mBlocks);
  mCurrent = MM3DSortedStateIndexes();
}

void MM3DSortedTriangleBuffer::BringDeviceTo(const MM3DSortedStateIndexes& states) {
  MM3DSyncCullMode(*mDriver, mCullModes[states.mCullMode]);
  MM3DSyncViewport(*mDriver, mViewports[states.mViewport]);
  MM3DSyncDepthRange(*mDriver, mDepthRanges[states.mDepthRange]);
  MM3DSyncProjection(*mDriver, mProjections[states.mProjection]);
  MM3DSyncViewMatrix(*mDriver, mViewMatrices[states.mViewMatrix]);
}

void MM3DSortedTriangleBuffer::FillSlot(int32_t slot, const MM3DSortedTriangle& record,
                                        const MM3DRenderStateBlock& block) {
  const MM3DVector* p = record.mPositions;
  const MM3DCornerColor* c = record.mColors;
  const MM3DTexCoord(*t)[kMM3DMaxStages] = record.mTexCoords;
  mBuffer->SetTrianglePositions(slot, p[0], p[1], p[2]);
  mBuffer->SetTriangleColors(slot, c[0], c[1], c[2]);
  for (int32_t s = 0; s < block.mStageCount && s < kMM3DMaxStages; ++s) {
    mBuffer->SetTriangleTexCoords(slot, s, t[0][s], t[1][s], t[2][s]);
  }
}
