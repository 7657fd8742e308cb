#include "mm/stage/MM3DBackdrop.h"

#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMDrawContext.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DPipeline.h"

namespace {

// The pipeline's camera for the length of one drawing, then the one it had.
class CameraScope {
 public:
  CameraScope(MM3DPipeline& pipeline, const MM3DMatrix& camera)
      : mPipeline(pipeline), mSaved(pipeline.GetCameraMatrix()) {
    mPipeline.SetCameraMatrix(camera);
  }
  ~CameraScope() { mPipeline.SetCameraMatrix(mSaved); }
  CameraScope(const CameraScope&) = delete;
  CameraScope& operator=(const CameraScope&) = delete;

 private:
  MM3DPipeline& mPipeline;
  MM3DMatrix mSaved;
};

}  // namespace

void MM3DBackdropVisual::Draw(const MMDrawContext& context) {
  if (GetDisplayTree() == nullptr || !CanRender(context)) return;
  const MM3DMatrix& camera = context.mPipeline->GetCameraMatrix();
  // The eye is where the camera matrix takes the camera's origin from.
  MM3DMatrix cameraToWorld = camera;
  cameraToWorld.InvertAffine();
  MM3DVector eye;
  cameraToWorld.TransformPoint(eye, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  MM3DMatrix shift;
  MM3DMatrixTranslation(shift, eye.mX - mAnchor.mX, eye.mY - mAnchor.mY, eye.mZ - mAnchor.mZ);
  MM3DMatrix moved;
  MM3DMatrixMultiply(moved, shift, camera);
  const CameraScope scope(*context.mPipeline, moved);
  Render(context);
}

MM3DBackdropMolecule::MM3DBackdropMolecule(MMScene* scene, MMResourceId id,
                                           const MM3DVector& anchor)
    : MM3DModelMolecule(scene, id) {
  if (!HasDisplayTree()) return;
  ReplaceVisual(new (ALGlobalAllocator)
                    MM3DBackdropVisual(GetModel()->GetDisplayTree(), 0, anchor));
}
