#pragma once
// The state that travels down a display tree while it renders: the model
// matrix of the mesh being drawn with its inverse, the lights in scope, the
// summed ambient colour, the active deformers, shaders and texture
// mappers, the opaque flag and whether the current subtree lies wholly
// inside the view volume. Nodes push on entry to their subtree and pop on
// leaving, so the arrays are empty between frames; the context points at
// everything it lists and owns none of it. Work per mesh is skipped when
// nothing changed: the inverse is computed only for a new model matrix, and
// lights are told whether it changed.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DColor.h"
#include "mm3d/MM3DMatrix.h"

class MM3DIndexedMeshDeformer;
class MM3DIndexedMeshShader;
class MM3DIndexedMeshTextureCoordinateMapper;
class MM3DLight;

class MM3DRenderContext {
 public:
  explicit MM3DRenderContext(bool opaque);
  MM3DRenderContext(const MM3DRenderContext&) = delete;
  MM3DRenderContext& operator=(const MM3DRenderContext&) = delete;

  // Nothing when the matrix equals the current one exactly.
  void SetModelMatrix(const MM3DMatrix& matrix);
  const MM3DMatrix& GetModelMatrix() const { return mModelMatrix; }
  const MM3DMatrix& GetInverseModelMatrix() const { return mInverseModelMatrix; }
  bool HasModelMatrixChanged() const { return mModelMatrixChanged; }
  // Brings each light in scope into model space, then clears the change.
  void TransformLights();

  // An ambient light joins the ambient sum, any other the lights; null is
  // ignored.
  void PushLight(MM3DLight* light);
  // Removes the first occurrence; nothing for a light not in scope.
  void PopLight(MM3DLight* light);
  // (0, 0, 0, 1) plus the red, green and blue of each ambient light.
  void SumAmbientLights();
  const UUGrowableArray<MM3DLight*>& GetLights() const { return mLights; }
  const UUGrowableArray<MM3DLight*>& GetAmbientLights() const { return mAmbientLights; }
  const MM3DColor& GetAmbientColor() const { return mAmbientColor; }

  void PushDeformer(MM3DIndexedMeshDeformer* deformer) { mDeformers.Append(deformer); }
  void RemoveDeformer(MM3DIndexedMeshDeformer* deformer) { RemoveFirst(mDeformers, deformer); }
  const UUGrowableArray<MM3DIndexedMeshDeformer*>& GetDeformers() const { return mDeformers; }
  void PushShader(MM3DIndexedMeshShader* shader) { mShaders.Append(shader); }
  void RemoveShader(MM3DIndexedMeshShader* shader) { RemoveFirst(mShaders, shader); }
  const UUGrowableArray<MM3DIndexedMeshShader*>& GetShaders() const { return mShaders; }
  void SetCurrentShader(MM3DIndexedMeshShader* shader) { mCurrentShader = shader; }
  MM3DIndexedMeshShader* GetCurrentShader() const { return mCurrentShader; }
  void PushMapper(MM3DIndexedMeshTextureCoordinateMapper* mapper) { mMappers.Append(mapper); }
  void RemoveMapper(MM3DIndexedMeshTextureCoordinateMapper* mapper) {
    RemoveFirst(mMappers, mapper);
  }
  const UUGrowableArray<MM3DIndexedMeshTextureCoordinateMapper*>& GetMappers() const {
    return mMappers;
  }

  bool IsOpaque() const { return mOpaque; }
  void SetOpaque(bool opaque) { mOpaque = opaque; }
  bool IsAllInside() const { return mAllInside; }
  void SetAllInside(bool allInside) { mAllInside = allInside; }

 private:
  // Removes the first occurrence, keeping the order of the rest; true when
  // there was one.
  template <typename T>
  static bool RemoveFirst(UUGrowableArray<T*>& array, T* entry) {
    for (int32_t i = 0; i < array.Count(); ++i) {
      if (array[i] == entry) {
        array.EraseRange(i, i + 1);
        return true;
      }
    }
    return false;
  }

  MM3DMatrix mModelMatrix;
  bool mModelMatrixChanged = true;
  MM3DMatrix mInverseModelMatrix;
  UUGrowableArray<MM3DLight*> mLights;
  UUGrowableArray<MM3DLight*> mAmbientLights;
  MM3DIndexedMeshShader* mCurrentShader = nullptr;
  UUGrowableArray<MM3DIndexedMeshDeformer*> mDeformers;
  UUGrowableArray<MM3DIndexedMeshShader*> mShaders;
  UUGrowableArray<MM3DIndexedMeshTextureCoordinateMapper*> mMappers;
  bool mOpaque;
  bool mAllInside = false;
  MM3DColor mAmbientColor;
};
