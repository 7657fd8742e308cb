#include "mm3d/MM3DDeformerScratch.h"

#include <gtest/gtest.h>

namespace {

TEST(MM3DDeformerScratchTest, CreatingReplacesEveryArrayWithAnEmptyOne) {
  MM3DCreateDeformerScratchArrays();
  ASSERT_NE(MM3DBlendShapePositionScratch, nullptr);
  MM3DBlendShapePositionScratch->Append(MM3DVector(1, 2, 3, 1));
  MM3DCreateDeformerScratchArrays();
  EXPECT_EQ(MM3DBlendShapePositionScratch->Count(), 0);
  for (auto* array : {MM3DBlendShapePositionScratch, MM3DBlendShapeNormalScratch,
                      MM3DIndexedShapePositionScratch}) {
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->Count(), 0);
  }
}

TEST(MM3DDeformerScratchTest, FreeingLeavesNone) {
  MM3DCreateDeformerScratchArrays();
  MM3DFreeDeformerScratchArrays();
  for (auto* array : {MM3DBlendShapePositionScratch, MM3DBlendShapeNormalScratch,
                      MM3DIndexedShapePositionScratch}) {
    EXPECT_EQ(array, nullptr);
  }
}

}  // namespace
