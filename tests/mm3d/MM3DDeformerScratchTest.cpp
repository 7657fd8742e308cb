#include "mm3d/MM3DDeformerScratch.h"

#include <gtest/gtest.h>

namespace {

TEST(MM3DDeformerScratchTest, CreatingReplacesEveryArrayWithAnEmptyOne) {
  MM3DCreateDeformerScratchArrays();
  ASSERT_NE(MM3DSkinPositionScratch, nullptr);
  MM3DSkinPositionScratch->Append(MM3DVector(1, 2, 3, 1));
  MM3DCreateDeformerScratchArrays();
  EXPECT_EQ(MM3DSkinPositionScratch->Count(), 0);
  for (auto* array : {MM3DSkinPositionScratch, MM3DSkinNormalScratch, MM3DBlendShapePositionScratch,
                      MM3DBlendShapeNormalScratch, MM3DIndexedShapePositionScratch}) {
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->Count(), 0);
  }
  EXPECT_NE(MM3DSkinMatrixScratch, nullptr);
  EXPECT_NE(MM3DSkinNormalMatrixScratch, nullptr);
}

TEST(MM3DDeformerScratchTest, FreeingLeavesNone) {
  MM3DCreateDeformerScratchArrays();
  MM3DFreeDeformerScratchArrays();
  for (auto* array : {MM3DSkinPositionScratch, MM3DSkinNormalScratch, MM3DBlendShapePositionScratch,
                      MM3DBlendShapeNormalScratch, MM3DIndexedShapePositionScratch}) {
    EXPECT_EQ(array, nullptr);
  }
  EXPECT_EQ(MM3DSkinMatrixScratch, nullptr);
  EXPECT_EQ(MM3DSkinNormalMatrixScratch, nullptr);
}

}  // namespace
