// The 3D views and enclosures: what a view hands the stage's renderer and
// pipeline, the planar view's projection, and the draw context the 3D
// enclosures give their visuals.
#include "mm/stage/MM3DCameraWithView.h"
#include "mm/stage/MM3DPlanarEnclosure.h"
#include "mm/stage/MM3DPlanarView.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"

#include "Stage3DTestSupport.h"
#include "mm/drawing/MMRegion.h"
#include "mm/stage/MMDrawContext.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMSceneParentMolecule.h"
#include "mm3d/MM3DLightSources.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/mm3d/MM3DRendererSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

MM3DMatrix Translation(float x, float y, float z) {
  MM3DMatrix matrix = MM3DMatrixIdentity;
  matrix.mElement[3][0] = x;
  matrix.mElement[3][1] = y;
  matrix.mElement[3][2] = z;
  return matrix;
}

MM3DProjectionVolume Orthographic(float left, float right, float bottom, float top) {
  MM3DProjectionVolume volume;
  volume.SetOrthographic(left, right, bottom, top, 0.0f, 0.1f);
  return volume;
}

// Counts the 3D apply operations that reach it.
class CountingView : public MM3DSpatialView {
 public:
  using MM3DSpatialView::MM3DSpatialView;
  int mApplied = 0;

 protected:
  void ApplyDepthRange(const MM3DDepthRange& range) override {
    ++mApplied;
    MM3DSpatialView::ApplyDepthRange(range);
  }
  void ApplyProjection(const MM3DProjectionVolume& projection) override {
    ++mApplied;
    MM3DSpatialView::ApplyProjection(projection);
  }
  void ApplyViewMatrix(const MM3DMatrix& matrix) override {
    ++mApplied;
    MM3DSpatialView::ApplyViewMatrix(matrix);
  }
};

// Keeps the draw context of every Draw; hit anywhere when asked.
class ContextVisual : public MMPlanarVisual {
 public:
  ContextVisual() : MMPlanarVisual(0) {}
  void Draw(const MMDrawContext& context) override {
    mContexts.push_back({context.mSurface, context.mRegion.GetCount(), context.mRenderContext,
                         context.mRenderer.Get(), context.mPipeline.Get()});
  }
  UURect GetBounds() const override { return UURect(0, 0, 1000, 1000); }
  bool Contains(int32_t, int32_t) const override { return true; }

  struct Seen {
    MMSurface* mSurface;
    int32_t mRegionCount;
    MM3DRenderContext* mRenderContext;
    MM3DRenderer* mRenderer;
    MM3DPipeline* mPipeline;
  };
  std::vector<Seen> mContexts;
};

TEST(MM3DViewTest, The3DSettersApplyOnlyChangedValuesAndInvalidateNothing) {
  RecordingViewServices host;
  MM3DSpatialEnclosure enclosure(nullptr);
  CountingView view(&host, &enclosure, UURect(0, 0, 100, 100), 0);
  host.mInvalidated.clear();
  view.SetDepthRange(MM3DDepthRange(0.0f, 1.0f));
  view.SetProjection(MM3DProjectionVolume());
  view.UpdateViewMatrix(MM3DMatrixIdentity);
  EXPECT_EQ(view.mApplied, 0);

  view.SetDepthRange(MM3DDepthRange(0.0f, 0.5f));
  view.SetDepthRange(MM3DDepthRange(0.0f, 0.5f));
  const MM3DProjectionVolume flat = Orthographic(0, 10, 10, 0);
  view.SetProjection(flat);
  view.SetProjection(flat);
  MM3DMatrix nearlyIdentity = MM3DMatrixIdentity;
  nearlyIdentity.mElement[2][3] = 1e-7f;  // one value of sixteen differs
  view.UpdateViewMatrix(nearlyIdentity);
  view.UpdateViewMatrix(nearlyIdentity);
  EXPECT_EQ(view.mApplied, 3);
  EXPECT_EQ(view.GetDepthRange(), MM3DDepthRange(0.0f, 0.5f));
  EXPECT_EQ(view.GetProjection(), flat);
  EXPECT_EQ(view.GetViewMatrix(), nearlyIdentity);
  EXPECT_TRUE(host.mInvalidated.empty());
}

TEST(MM3DViewTest, ACameraWithAViewHandsItItsMatrixOnlyWhenItMoved) {
  RecordingViewServices host;
  MM3DSpatialEnclosure enclosure(nullptr);
  CountingView view(&host, &enclosure, UURect(0, 0, 100, 100), 0);
  MM3DCameraWithView camera(MM3DVector(0.0f, 0.0f, -10.0f, 1.0f),
                            UUOwned<MM3DVector>(new MM3DVector(0.0f, 0.0f, 0.0f, 1.0f)), 0.0f,
                            &view);
  camera.UpdateView();
  MM3DMatrix expected;
  camera.GetViewMatrix(expected);
  EXPECT_EQ(view.GetViewMatrix(), expected);
  // The eye 10 units before the origin, looking along +z: the origin lies
  // 10 units ahead in camera space.
  EXPECT_FLOAT_EQ(view.GetViewMatrix().mElement[3][2], 10.0f);
  camera.UpdateView();
  EXPECT_EQ(view.mApplied, 1);
  camera.SetPosition(MM3DVector(0.0f, 0.0f, -20.0f, 1.0f));
  camera.UpdateView();
  EXPECT_EQ(view.mApplied, 2);
  EXPECT_FLOAT_EQ(view.GetViewMatrix().mElement[3][2], 20.0f);
}

TEST(MM3DViewTest, APlanarViewProjectsTheEnclosureAreaItShows) {
  RecordingViewServices host;
  MM3DPlanarEnclosure enclosure(nullptr);
  MM3DPlanarView view(&host, &enclosure, UURect(100, 50, 300, 250), 0);
  // y grows downward: the bottom is the larger value.
  EXPECT_EQ(view.GetProjection(), Orthographic(0, 200, 200, 0));
  EXPECT_TRUE(view.GetViewMatrix().IsIdentity());

  view.UpdateViewMatrix(Translation(1, 2, 3));
  view.SetOrigin(UUPoint{10, 20});
  EXPECT_EQ(view.GetProjection(), Orthographic(10, 210, 220, 20));
  EXPECT_TRUE(view.GetViewMatrix().IsIdentity());
  view.SetRect(UURect(0, 0, 50, 40));
  EXPECT_EQ(view.GetProjection(), Orthographic(10, 60, 60, 20));
  EXPECT_EQ(host.mInvalidated,
            (std::vector<UURect>{UURect(100, 50, 300, 250), UURect(100, 50, 300, 250),
                                 UURect(100, 50, 300, 250), UURect(0, 0, 50, 40)}));
}

class MM3DViewDrawTest : public ::testing::Test {
 protected:
  MM3DViewDrawTest() { mEnclosure.AddVisual(&mVisual); }
  ~MM3DViewDrawTest() override { mEnclosure.RemoveVisual(&mVisual); }

  DrawRecordingDriver* mDriver = nullptr;
  Stage3DOnTestThread mStage{[this] {
    mDriver = new (ALGlobalAllocator) DrawRecordingDriver;
    return UURefCount<MM3DDriver>(mDriver);
  }};
  MM3DSpatialEnclosure mEnclosure{mStage.Stage()};
  ContextVisual mVisual;
  MMRegion mNothing;
};

TEST_F(MM3DViewDrawTest, ASpatialViewSetsViewportDepthRangeCameraAndNoCullingForAnyRegion) {
  const UURect rect(10, 20, 330, 120);
  MM3DSpatialView view(mStage.Host(), &mEnclosure, rect, 0);
  // The aspect is the whole stage's (640 x 480), not the view's.
  MM3DProjectionVolume stageAspect;
  stageAspect.SetPerspective(45.0f * 0.0174532924f, 640.0f / 480.0f, 1.0f, 1000.0f);
  EXPECT_EQ(view.GetProjection(), stageAspect);

  MM3DProjectionVolume lens;
  lens.SetPerspective(1.0f, 2.0f, 0.5f, 50.0f);
  view.SetProjection(lens);
  view.UpdateViewMatrix(Translation(0, 0, 5));
  view.SetDepthRange(MM3DDepthRange(0.25f, 0.75f));
  const MM3DProjectionVolume rendererProjection = mStage.Renderer().GetProjection();
  // As the last part drawn before may leave it.
  mStage.Renderer().SetCullMode(kMM3DCullClockwise);
  view.Draw(mNothing);
  EXPECT_EQ(mStage.Renderer().GetCullMode(), kMM3DCullNone);

  EXPECT_EQ(mStage.Renderer().GetViewport(), rect);
  EXPECT_EQ(mStage.Renderer().GetDepthRange(), MM3DDepthRange(0.25f, 0.75f));
  EXPECT_EQ(mStage.Pipeline().GetProjection(), lens);
  EXPECT_EQ(mStage.Pipeline().GetCameraMatrix(), Translation(0, 0, 5));
  EXPECT_EQ(mStage.Renderer().GetProjection(), rendererProjection);
  ASSERT_EQ(mVisual.mContexts.size(), 1u);
  view.Detach();
}

TEST_F(MM3DViewDrawTest, APlanarViewSetsTheRenderersProjectionViewMatrixAndNoCulling) {
  const UURect rect(100, 50, 300, 250);
  MM3DPlanarView view(mStage.Host(), &mEnclosure, rect, 0);
  mStage.Pipeline().SetCameraMatrix(Translation(7, 7, 7));
  mStage.Renderer().SetViewMatrix(Translation(1, 1, 1));
  // As a model drawn before leaves it: the flat quads, clockwise on the
  // screen, would be culled.
  mStage.Renderer().SetCullMode(kMM3DCullClockwise);
  view.Draw(mNothing);
  EXPECT_EQ(mStage.Renderer().GetCullMode(), kMM3DCullNone);
  EXPECT_EQ(mStage.Renderer().GetViewport(), rect);
  EXPECT_EQ(mStage.Renderer().GetProjection(), Orthographic(0, 200, 200, 0));
  EXPECT_TRUE(mStage.Renderer().GetViewMatrix().IsIdentity());
  EXPECT_EQ(mStage.Pipeline().GetCameraMatrix(), Translation(7, 7, 7));
  EXPECT_EQ(mVisual.mContexts.size(), 1u);
  view.Detach();
}

// A scene parent molecule in a 3D enclosure draws its child view there,
// with the child enclosure's visuals, in a stage frame.
TEST_F(MM3DViewDrawTest, ASceneParentMoleculeDrawsItsChildViewInsideA3DEnclosure) {
  MM3DSpatialView view(mStage.Host(), &mEnclosure, mStage.Stage()->GetLocalRect(), 0);
  MMScene scene(mStage.Stage()->GetAct()->GetSceneServices(), &mEnclosure);
  MMSceneParentMolecule parent(&scene);
  MM3DPlanarEnclosure childEnclosure(mStage.Stage());
  ContextVisual childVisual;
  childEnclosure.AddVisual(&childVisual);
  MM3DPlanarView childView(parent.GetViewServices(), &childEnclosure, UURect(10, 10, 50, 50), 1);
  mStage.mRun.Frame();
  EXPECT_EQ(childVisual.mContexts.size(), 1u);
  EXPECT_EQ(mVisual.mContexts.size(), 1u);
  childView.Detach();
  childEnclosure.RemoveVisual(&childVisual);
  parent.Detach();
  view.Detach();
}

TEST_F(MM3DViewDrawTest, The3DEnclosuresHandTheirLightsAndTheStagesEngineToTheirVisuals) {
  MM3DPlanarEnclosure planar(mStage.Stage());
  ContextVisual planarVisual;
  planar.AddVisual(&planarVisual);
  ContextVisual hidden;
  hidden.SetVisibility(kMMHidden);
  mEnclosure.AddVisual(&hidden);
  MM3DAmbientLightSource spatialLight(MM3DColor{1, 1, 1, 1}, 0.5f);
  MM3DAmbientLightSource planarLight(MM3DColor{1, 1, 1, 1}, 0.5f);
  mEnclosure.GetRenderContext().PushLight(&spatialLight);
  planar.GetRenderContext().PushLight(&planarLight);
  spatialLight.SetIntensity(0.25f);
  planarLight.SetIntensity(0.25f);

  // The region reaches the visuals, as a scene parent molecule's child
  // views need it.
  MMRegion region;
  region.AddRect(UURect(1, 2, 3, 4));
  mEnclosure.Draw(region);
  planar.Draw(region);
  // Only the spatial kind sums its ambient lights again.
  EXPECT_FLOAT_EQ(mEnclosure.GetRenderContext().GetAmbientColor().mR, 0.25f);
  EXPECT_FLOAT_EQ(planar.GetRenderContext().GetAmbientColor().mR, 0.5f);
  const std::pair<ContextVisual*, MMEnclosure*> drawn[] = {{&mVisual, &mEnclosure},
                                                           {&planarVisual, &planar}};
  for (const auto& [visual, enclosure] : drawn) {
    ASSERT_EQ(visual->mContexts.size(), 1u);
    const ContextVisual::Seen& seen = visual->mContexts[0];
    EXPECT_EQ(seen.mSurface, nullptr);
    EXPECT_EQ(seen.mRegionCount, 1);
    EXPECT_EQ(seen.mRenderContext, &enclosure->GetRenderContext());
    EXPECT_EQ(seen.mRenderer, mStage.Stage()->GetRenderer().Get());
    EXPECT_EQ(seen.mPipeline, mStage.Stage()->GetPipeline().Get());
  }
  EXPECT_TRUE(hidden.mContexts.empty());

  // Only the planar kind is hit-tested.
  MMMouseTarget spatialTarget;
  mEnclosure.FindTarget(UUPoint{5, 5}, spatialTarget);
  EXPECT_EQ(spatialTarget.mStatus, kMMTargetSearching);
  MMMouseTarget planarTarget;
  planar.FindTarget(UUPoint{5, 5}, planarTarget);
  EXPECT_EQ(planarTarget.mStatus, kMMTargetBlocked);

  mEnclosure.GetRenderContext().PopLight(&spatialLight);
  planar.GetRenderContext().PopLight(&planarLight);
  mEnclosure.RemoveVisual(&hidden);
  planar.RemoveVisual(&planarVisual);
}

}  // namespace
