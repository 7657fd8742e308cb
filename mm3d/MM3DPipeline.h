#pragma once
// The pipeline turns one block of mesh vertex data, under the state a
// display-tree traversal gathered in the render context, into triangles for
// the renderer. It keeps the view's projection volume and world-to-camera
// matrix, which culling tests boxes against.

#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"

struct MM3DIndexedMeshVertexData;
class MM3DRenderContext;
class MM3DRenderer;

class MM3DPipeline {
 public:
  MM3DPipeline() : mCameraMatrix(MM3DMatrixIdentity) {}
  virtual ~MM3DPipeline() = default;

  virtual void RenderPart(const MM3DIndexedMeshVertexData& vertexData, MM3DRenderContext& context,
                          MM3DRenderer& renderer) = 0;

  // Each setter answers true, changing nothing, when the value is already
  // the current one.
  bool SetProjection(const MM3DProjectionVolume& volume);
  bool SetCameraMatrix(const MM3DMatrix& matrix);
  const MM3DProjectionVolume& GetProjection() const { return mProjection; }
  const MM3DMatrix& GetCameraMatrix() const { return mCameraMatrix; }

 private:
  MM3DProjectionVolume mProjection;
  MM3DMatrix mCameraMatrix;
};
