#pragma once
// The pipeline turns one block of mesh vertex data, under the state a
// display-tree traversal gathered in the render context, into triangles for
// the renderer. It keeps the view's projection volume and world-to-camera
// matrix, which culling tests boxes against.

#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DProjectionVolume.h"

struct MM3DIndexedMeshVertexData;
struct MM3DVertexArrays;
class MM3DMaterial;
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

 protected:
  // The material being applied; null when the context has no material.
  static const MM3DMaterial* CurrentMaterial(const MM3DRenderContext& context);
  // The context's model matrix x the camera matrix.
  MM3DMatrix ModelViewMatrix(const MM3DRenderContext& context) const;
  // Every deformer of the context in list order, outermost first.
  static void DeformPositions(const MM3DRenderContext& context, MM3DVertexArrays& arrays);
  static void DeformNormals(const MM3DRenderContext& context, MM3DVertexArrays& arrays);
  // Every shader, then every texture-coordinate mapper, in list order.
  static void ShadeAndMap(const MM3DRenderContext& context, MM3DVertexArrays& arrays);
  // The block's whole triangles: index count / 3.
  static int32_t TriangleCount(const MM3DVertexArrays& arrays);

 private:
  MM3DProjectionVolume mProjection;
  MM3DMatrix mCameraMatrix;
};
