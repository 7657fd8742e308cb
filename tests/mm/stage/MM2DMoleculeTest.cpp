#include "mm/stage/MM2DMolecule.h"

#include "mm/stage/MM2DPictureVisual.h"
#include "mm/stage/MMModalInterpreter.h"
#include "tests/mm/resources/PictureTestSupport.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MM2DMoleculeTest : ::testing::Test, SceneOnStage {
  std::vector<UURect> Dirty() {
    const MMRegion& region = static_cast<MM2DAct*>(Act())->GetDirtyRegion();
    std::vector<UURect> rects;
    for (int32_t i = 0; i < region.GetCount(); ++i) rects.push_back(region.GetRect(i));
    return rects;
  }
  void ClearDirty() { mRun.Frame(); }

  FakePictureCollection mCollection{9};
  int16_t mNormal = mCollection.Add(10, 10, 1, 1, 1);
  int16_t mHighlighted = mCollection.Add(10, 10, 2, 2, 2);
};

TEST_F(MM2DMoleculeTest, AMouseBoxClickPostsItsBindingAndHidingReleasesTheTarget) {
  int fired = 0;
  MM2DMouseVisualMolecule box(&mScene, Counter(fired), UURect(10, 10, 20, 20), 0, nullptr);
  EXPECT_EQ(box.GetVisual()->GetEnclosure(), &mEnclosure);
  Mouse(15, 15, kMMMousePress | kMMMouseButtonDown);
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, box.GetInterpreter());
  RunTasks();
  EXPECT_EQ(fired, 1);
  box.SetVisibility(kMMHidden);
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, nullptr);
  Mouse(15, 15, kMMMousePress | kMMMouseButtonDown);  // hidden: not hit
  RunTasks();
  EXPECT_EQ(fired, 1);
}

TEST_F(MM2DMoleculeTest, APictureButtonKeepsTheTargetWhenHiddenAndGoesCleanly) {
  int fired = 0;
  auto* button = new (ALGlobalAllocator)
      MM2DPictureButtonMolecule(&mScene, UUPoint{30, 30}, mCollection.Id(mNormal),
                                mCollection.Id(mHighlighted), 0, Counter(fired), nullptr);
  Mouse(35, 35, kMMMousePress | kMMMouseButtonDown);
  EXPECT_EQ(button->GetVisual()->GetHighlight(), 1);
  button->SetVisibility(kMMHidden);
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, button->GetInterpreter());
  button->Detach();
  delete button;
  EXPECT_EQ(Act()->GetMouseTarget().mTarget, nullptr);
  EXPECT_TRUE(mEnclosure.GetVisuals().IsEmpty());
  EXPECT_EQ(mCollection.References(), 0);
}

TEST_F(MM2DMoleculeTest, VisibilityChangesOnlyOnADifferentValue) {
  MM2DPictureMolecule picture(&mScene, mCollection.Id(mNormal), UUPoint{0, 0}, 0);
  ClearDirty();
  picture.SetVisibility(kMMShown);
  EXPECT_TRUE(Dirty().empty());
  MMTaskCallback hide = picture.MakeHideCallback();
  MMTaskCallback show = picture.MakeShowCallback();
  EXPECT_EQ(picture.GetVisibility(), kMMShown);
  hide.Post();
  RunTasks();
  EXPECT_EQ(picture.GetVisibility(), kMMHidden);
  EXPECT_EQ(Dirty(), std::vector<UURect>{UURect(0, 0, 10, 10)});
  show.Post();
  RunTasks();
  EXPECT_EQ(picture.GetVisual()->GetVisibility(), kMMShown);
}

TEST_F(MM2DMoleculeTest, FocusIsTakenOnceAndDetachLeavesTheSceneWithoutFocusMolecule) {
  MM2DPictureMolecule first(&mScene, UUPoint{0, 0}, 0);
  MM2DPictureMolecule second(&mScene, UUPoint{0, 0}, 0);
  MMTaskCallback focus = first.MakeTakeFocusCallback();
  EXPECT_FALSE(first.HasFocus());
  focus.Post();
  RunTasks();
  EXPECT_TRUE(first.HasFocus());
  EXPECT_TRUE(mScene.HasFocus());
  EXPECT_EQ(mScene.GetFocusMolecule(), &first);
  second.TakeFocus();
  EXPECT_FALSE(first.HasFocus());
  EXPECT_TRUE(second.HasFocus());
  second.TakeFocus();
  EXPECT_EQ(mScene.GetFocusMolecule(), &second);
  second.Detach();
  EXPECT_EQ(mScene.GetFocusMolecule(), nullptr);
  EXPECT_FALSE(second.HasFocus());
  first.Detach();  // not the focus molecule: nothing
  EXPECT_EQ(mScene.GetFocusMolecule(), nullptr);
}

}  // namespace
