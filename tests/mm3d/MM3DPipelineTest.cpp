#include "mm3d/MM3DPipeline.h"

#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(MM3DPipelineTest, SettingTheCurrentValueAgainAnswersTrueAndChangesNothing) {
  NullPipeline pipeline;
  EXPECT_TRUE(pipeline.GetCameraMatrix().IsIdentity());
  EXPECT_FALSE(pipeline.SetCameraMatrix(Translation(1, 2, 3)));
  EXPECT_TRUE(pipeline.SetCameraMatrix(Translation(1, 2, 3)));
  EXPECT_TRUE(pipeline.GetCameraMatrix() == Translation(1, 2, 3));
  MM3DProjectionVolume volume;
  EXPECT_TRUE(pipeline.SetProjection(volume));
  volume.SetOrthographic(-1, 1, -1, 1, 1, 10);
  EXPECT_FALSE(pipeline.SetProjection(volume));
  EXPECT_TRUE(pipeline.SetProjection(volume));
  EXPECT_FALSE(pipeline.GetProjection().IsPerspective());
}

}  // namespace
