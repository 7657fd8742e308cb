#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"

#include <gtest/gtest.h>

namespace {

// Counts the calls of the virtual setter.
class CountingVisibility : public MM3DDisplayTreeNodeWithVisibility {
 public:
  void SetVisibility(int32_t visible) override {
    ++mSets;
    MM3DDisplayTreeNodeWithVisibility::SetVisibility(visible);
  }

  int mSets = 0;
};

TEST(MM3DDisplayTreeNodeWithVisibilityTest, OnlyAChangeReachesTheSetter) {
  CountingVisibility node;
  node.ChangeVisibility(1);
  node.SetVisibilityFromValue(2.5f);
  EXPECT_EQ(node.mSets, 0);
  node.SetVisibilityFromValue(-0.0f);
  EXPECT_EQ(node.mSets, 1);
  EXPECT_FALSE(node.IsVisible());
  node.ChangeVisibility(7);  // any non-zero value shows the node
  EXPECT_EQ(node.mSets, 2);
  EXPECT_TRUE(node.IsVisible());
}

TEST(MM3DDisplayTreeNodeWithVisibilityTest, ARootIsVisibleAndOfKindZero) {
  MM3DDisplayTreeNodeRoot root;
  EXPECT_TRUE(root.IsVisible());
  EXPECT_EQ(root.GetKind(), kMM3DNodeRoot);
}

}  // namespace
