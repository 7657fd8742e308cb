#pragma once
// The renderer between the pipeline and the device driver: the target a
// display tree is drawn into. It keeps the device state last asked for and
// lets only changes through to its virtual operations and, through them,
// to the driver's state cache; it brackets each frame and keeps frame
// statistics. How triangles are batched, sorted and drawn is up to the
// subclass.

#include "foundation/uu/UURect.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/MM3DDriverTypes.h"
#include "mm3d/drivers/MM3DRenderStateBlock.h"

#include <cstdint>

class MMSurface;
struct MM3DVertexArrays;

struct MM3DRenderStatistics {
  static constexpr int32_t kNoFrameYet = INT32_MAX;

  int32_t mFrames = 0;
  uint32_t mFrameStart = 0;  // program clock at the last frame begin
  uint32_t mCreated = 0;
  uint32_t mRenderTime = 0;  // milliseconds from begin to end, over all frames
  int32_t mLastPolygons = 0;
  // Wide enough for a long session of large frames.
  int64_t mTotalPolygons = 0;
  int32_t mMaximumPolygons = 0;
  int32_t mMinimumPolygons = kNoFrameYet;
};

class MM3DRenderer {
 public:
  // A renderer without a driver keeps its state and statistics and draws
  // nothing.
  explicit MM3DRenderer(UURefCount<MM3DDriver> driver = {});
  virtual ~MM3DRenderer();
  MM3DRenderer(const MM3DRenderer&) = delete;
  MM3DRenderer& operator=(const MM3DRenderer&) = delete;

  // Each setter reaches its virtual operation only when the value differs
  // from the renderer's own copy.
  // Where the frame goes: null is the driver's own surface, the only one
  // our drivers draw into, and the one every caller asks for.
  void SetTarget(MMSurface* target);
  void SetCullMode(int32_t mode);
  void SetViewport(const UURect& viewport);
  void SetDepthRange(const MM3DDepthRange& range);
  // True, changing nothing, when the volume is the current one.
  bool SetProjection(const MM3DProjectionVolume& volume);
  void SetViewMatrix(const MM3DMatrix& matrix);
  void SetTextureStages(const MM3DRenderStateBlock& block);

  // Triangles first ... first + count - 1 of the view under the current
  // state. A block without stages draws nothing.
  void DrawTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count);
  // The same, blended or not, drawn in submission order rather than sorted
  // by depth: flat quads all lie at one depth and are painted one over the
  // other.
  void DrawTrianglesInOrder(const MM3DVertexArrays& arrays, int32_t first, int32_t count);

  void BeginFrame();
  // Draws what still waits, presents the frame and counts it.
  void EndFrame();

  MMSurface* GetTarget() const { return mTarget; }
  int32_t GetCullMode() const { return mCullMode; }
  const UURect& GetViewport() const { return mViewport; }
  const MM3DDepthRange& GetDepthRange() const { return mDepthRange; }
  const MM3DProjectionVolume& GetProjection() const { return mProjection; }
  const MM3DMatrix& GetViewMatrix() const { return mViewMatrix; }
  const MM3DRenderStateBlock& GetTextureStages() const { return mBlock; }
  const MM3DRenderStatistics& GetStatistics() const { return mStatistics; }

 protected:
  // With a frame open the waiting opaque triangles are drawn first, under
  // the state they were submitted with; then the value is stored and sent
  // to the driver through its cache.
  virtual void ApplyTarget(MMSurface* target);
  virtual void ApplyCullMode(int32_t mode);
  virtual void ApplyViewport(const UURect& viewport);
  virtual void ApplyDepthRange(const MM3DDepthRange& range);
  virtual void ApplyProjection(const MM3DProjectionVolume& volume);
  virtual void ApplyViewMatrix(const MM3DMatrix& matrix);
  // Stores a copy; blocks reach the driver with each draw.
  virtual void ApplyTextureStages(const MM3DRenderStateBlock& block);
  // Notes the current states (not the block) at the start of a frame.
  virtual void RegisterState() = 0;
  // Draws and forgets what was kept for sorting.
  virtual void DrawSorted() = 0;
  virtual void SubmitTriangles(const MM3DVertexArrays& arrays, int32_t first, int32_t count) = 0;
  // A renderer without an ordered path keeps its own.
  virtual void SubmitTrianglesInOrder(const MM3DVertexArrays& arrays, int32_t first,
                                      int32_t count) {
    SubmitTriangles(arrays, first, count);
  }
  // Draws the triangles waiting in a batch.
  virtual void Flush() = 0;

  // Sends the five view states again wherever the driver's cache differs.
  void RestoreDriverState();

 private:
  void FlushIfFrameOpen();
  // Counts the triangles; false when the block has no stage to draw with.
  bool CountTriangles(int32_t count);

  UURefCount<MM3DDriver> mDriver;
  MMSurface* mTarget = nullptr;
  int32_t mCullMode = kMM3DCullNone;
  UURect mViewport;
  MM3DDepthRange mDepthRange;
  MM3DProjectionVolume mProjection;
  MM3DMatrix mViewMatrix;
  MM3DRenderStateBlock mBlock;
  bool mFrameOpen = false;
  int32_t mFramePolygons = 0;
  MM3DRenderStatistics mStatistics;
};
