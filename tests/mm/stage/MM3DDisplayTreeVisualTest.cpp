#include "mm/stage/MM3DDisplayTreeVisual.h"

#include "mm/stage/MM3DInstancedDisplayTreeVisual.h"
#include "mm/stage/MMMouseTarget.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "tests/mm/stage/MM3DVisualSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr float kBefore = 7.0f;

// Root > transform (at x = kBefore) > probe.
struct InstancedTree {
  InstancedTree() {
    mRoot.AddChild(UUOwned<MM3DDisplayTreeNode>(mTransform));
    mTransform->AddChild(UUOwned<MM3DDisplayTreeNode>(mProbe));
  }

  MM3DDisplayTreeNodeRoot mRoot;
  MM3DDisplayTreeNodeTransform* mTransform =
      new MM3DDisplayTreeNodeTransform(Translation(kBefore, 0.0f, 0.0f));
  PlacedProbe* mProbe = new PlacedProbe;
};

TEST(MM3DDisplayTreeVisualTest, ItRendersItsTreeWithTheEnclosuresContextOnly) {
  Context3D context;
  PlacedProbe probe;
  MM3DDisplayTreeVisual visual(&probe, 0);
  visual.Draw(context.mContext);
  EXPECT_EQ(probe.mContexts, std::vector<MM3DRenderContext*>{&context.mRenderContext});

  MM3DDisplayTreeVisual empty(nullptr, 0);
  empty.Draw(context.mContext);  // no tree: nothing, no crash
  visual.Draw(MMDrawContext{});  // a 2D context carries nothing to render with
  EXPECT_EQ(probe.mContexts.size(), 1u);

  MMMouseTarget target;
  visual.HitTest(UUPoint{0, 0}, target);
  EXPECT_EQ(target.mStatus, kMMTargetSearching);
}

TEST(MM3DInstancedDisplayTreeVisualTest, EachInstancePlacesOneRenderingAndTheLastStays) {
  InstancedTree tree;
  TranslationInstance instances[] = {TranslationInstance(1.0f), TranslationInstance(2.0f),
                                     TranslationInstance(3.0f)};
  UUGrowableArray<MM3DInstance*> array;
  for (TranslationInstance& instance : instances) array.Append(&instance);
  MM3DInstancedDisplayTreeVisual visual(&tree.mRoot, tree.mTransform, array, 0);
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(visual.GetInstances().Count(), 3);

  Context3D context;
  visual.Draw(context.mContext);
  EXPECT_EQ(tree.mProbe->mXs, (std::vector<float>{1.0f, 2.0f, 3.0f}));
  EXPECT_EQ(tree.mTransform->GetMatrix(), Translation(3.0f, 0.0f, 0.0f));
}

TEST(MM3DInstancedDisplayTreeVisualTest, NoInstancesDrawNothingAndLeaveTheTransform) {
  InstancedTree tree;
  UUGrowableArray<MM3DInstance*> none;
  MM3DInstancedDisplayTreeVisual visual(&tree.mRoot, tree.mTransform, none, 0);
  Context3D context;
  visual.Draw(context.mContext);
  EXPECT_TRUE(tree.mProbe->mXs.empty());
  EXPECT_EQ(tree.mTransform->GetMatrix(), Translation(kBefore, 0.0f, 0.0f));
}

}  // namespace
