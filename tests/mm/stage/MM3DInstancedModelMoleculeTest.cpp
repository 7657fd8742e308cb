#include "mm/stage/MM3DInstancedModelMolecule.h"

#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "tests/mm/stage/MM3DVisualSupport.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct MM3DInstancedModelMoleculeTest : ::testing::Test, SceneOnStage {
  // Root > probe.
  MM3DInstancedModelMoleculeTest() {
    mRoot->AddChild(UUOwned<MM3DDisplayTreeNode>(mProbe));
    for (TranslationInstance& instance : mInstances) mArray.Append(&instance);
  }

  MM3DDisplayTreeNodeRoot* mRoot = new MM3DDisplayTreeNodeRoot;
  PlacedProbe* mProbe = new PlacedProbe;
  UURefCount<MM3DModel> mModel{new MM3DModel(UUOwned<MM3DDisplayTreeNode>(mRoot), {})};
  TranslationInstance mInstances[2] = {TranslationInstance(4.0f), TranslationInstance(5.0f)};
  UUGrowableArray<MM3DInstance*> mArray;
};

TEST_F(MM3DInstancedModelMoleculeTest, ATransformComesUnderTheRootAndPlacesEachInstance) {
  {
    MM3DInstancedModelMolecule molecule(&mScene, mModel, mArray);
    EXPECT_EQ(mArray.Count(), 0);
    ASSERT_EQ(mRoot->GetChildCount(), 1);
    auto* transform = static_cast<MM3DDisplayTreeNodeTransform*>(mRoot->GetChild(0));
    EXPECT_EQ(transform->GetKind(), kMM3DNodeTransform);
    EXPECT_EQ(transform->GetChild(0), mProbe);
    MM3DInstancedDisplayTreeVisual* visual = molecule.GetVisual();
    ASSERT_NE(visual, nullptr);
    EXPECT_EQ(visual->GetTransformNode(), transform);
    EXPECT_EQ(visual->GetEnclosure(), &mEnclosure);

    Context3D context;
    visual->Draw(context.mContext);
    EXPECT_EQ(mProbe->mXs, (std::vector<float>{4.0f, 5.0f}));
    molecule.SetVisibility(kMMHidden);
    EXPECT_EQ(visual->GetVisibility(), kMMHidden);
  }
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
  // The transform stays in the model's tree.
  EXPECT_EQ(mRoot->GetChild(0)->GetKind(), kMM3DNodeTransform);
}

TEST_F(MM3DInstancedModelMoleculeTest, AModelWithoutTreeGivesNoVisual) {
  MM3DInstancedModelMolecule molecule(&mScene, UURefCount<MM3DModel>(new MM3DModel), mArray);
  EXPECT_EQ(molecule.GetVisual(), nullptr);
  EXPECT_EQ(mArray.Count(), 0);
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
  molecule.SetVisibility(kMMHidden);
  EXPECT_EQ(molecule.GetVisibility(), kMMHidden);
}

}  // namespace
