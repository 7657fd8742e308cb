#pragma once
// Support for the tests of the display-tree visuals and the model
// molecules: a 3D draw context built by hand around a render context and a
// pipeline and renderer that draw nothing, a node that notes where it was
// drawn, and instances placed by a translation along x.

#include "foundation/uu/UURefCount.h"
#include "mm/stage/MM3DInstancedDisplayTreeVisual.h"
#include "mm/stage/MMDrawContext.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DRenderContext.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <vector>

struct Context3D {
  Context3D() {
    mContext.mRenderContext = &mRenderContext;
    mContext.mRenderer = UURefCount<MM3DRenderer>(new NullRenderer);
    mContext.mPipeline = UURefCount<MM3DPipeline>(new NullPipeline);
  }

  MM3DRenderContext mRenderContext{true};
  MMDrawContext mContext;
};

// Notes the x of its world position, and the render context, per drawing.
class PlacedProbe : public MM3DDisplayTreeNodeLocator {
 public:
  void Render(MM3DRenderContext& context, MM3DPipeline&, MM3DRenderer&) override {
    mXs.push_back(WorldTranslation(*this).mX);
    mContexts.push_back(&context);
  }

  std::vector<float> mXs;
  std::vector<MM3DRenderContext*> mContexts;
};

class TranslationInstance : public MM3DInstance {
 public:
  explicit TranslationInstance(float x) : mX(x) {}
  void WriteMatrix(MM3DMatrix& out) const override { out = Translation(mX, 0.0f, 0.0f); }

 private:
  float mX;
};
