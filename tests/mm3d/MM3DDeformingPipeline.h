#pragma once
// A pipeline for the mesh and deformer tests and the display-tree fuzzer:
// it deforms each block it is given as the engine's pipeline does, and
// records the result.

#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderContext.h"

#include <string>
#include <vector>

using EventLog = std::vector<std::string>;

// What one block looked like after the deformers in scope.
struct DrawnBlock {
  const MM3DIndexedMeshVertexData* mBlock;
  MM3DMatrix mModelMatrix;
  std::vector<MM3DVector> mPositions;
  std::vector<MM3DVector> mNormals;
  // Where the view pointed after deformation.
  const MM3DVector* mPositionPointer;
  const MM3DVector* mNormalPointer;
};

// Builds the view of each block, runs every deformer's positions and, for a
// lit material, every deformer's normals, and records the view.
class DeformingPipeline : public MM3DPipeline {
 public:
  explicit DeformingPipeline(EventLog* log = nullptr) : mLog(log) {}

  void RenderPart(const MM3DIndexedMeshVertexData& block, MM3DRenderContext& context,
                  MM3DRenderer&) override {
    MM3DVertexArrays arrays(block);
    for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) {
      deformer->DeformPositions(arrays);
    }
    auto* material = dynamic_cast<MM3DMaterial*>(context.GetCurrentShader());
    if (material != nullptr && material->IsLit()) {
      for (MM3DIndexedMeshDeformer* deformer : context.GetDeformers()) {
        deformer->DeformNormals(arrays);
      }
    }
    if (mLog != nullptr) mLog->push_back("render");
    mDrawn.push_back({&block, context.GetModelMatrix(), Copy(arrays.mPositions, arrays),
                      Copy(arrays.mNormals, arrays), arrays.mPositions, arrays.mNormals});
  }

  std::vector<DrawnBlock> mDrawn;

 private:
  static std::vector<MM3DVector> Copy(const MM3DVector* vectors, const MM3DVertexArrays& arrays) {
    if (vectors == nullptr) return {};
    return std::vector<MM3DVector>(vectors, vectors + arrays.mVertexCount);
  }

  EventLog* mLog;
};
