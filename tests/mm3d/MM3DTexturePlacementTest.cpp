#include "mm3d/MM3DTexturePlacement.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

MM3DTexturePlacement Placement(float repeatU, float repeatV, float offsetU, float offsetV,
                               float rotation) {
  MM3DTexturePlacement placement;
  placement.mRepeatU = repeatU;
  placement.mRepeatV = repeatV;
  placement.mOffsetU = offsetU;
  placement.mOffsetV = offsetV;
  placement.mRotation = rotation;
  return placement;
}

TEST(MM3DTexturePlacementTest, RepeatOffsetAndRotation) {
  struct Case {
    const char* name;
    MM3DTexturePlacement placement;
    float u;
    float v;
  };
  const float quarter = std::numbers::pi_v<float> / 2.0f;
  const Case cases[] = {
      {"unchanged", Placement(1.0f, 1.0f, 0.0f, 0.0f, 0.0f), 0.25f, 0.75f},
      {"repeat", Placement(2.0f, 3.0f, 0.0f, 0.0f, 0.0f), 0.5f, 2.25f},
      {"offset", Placement(1.0f, 1.0f, 0.5f, -0.25f, 0.0f), 0.75f, 0.5f},
      // A quarter turn about the centre gives (0.25, 0.25), then doubled.
      {"turn then repeat", Placement(2.0f, 2.0f, 0.0f, 0.0f, quarter), 0.5f, 0.5f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MM3DTextureCoordinate source[1] = {{0.25f, 0.75f}};
    MM3DVertexArrays arrays;
    arrays.mVertexCount = 1;
    arrays.mTextureCoordinates0 = source;
    c.placement.Generate(arrays);
    ASSERT_NE(arrays.mTextureCoordinates0, nullptr);
    EXPECT_NEAR(arrays.mTextureCoordinates0[0].mU, c.u, 1e-5f);
    EXPECT_NEAR(arrays.mTextureCoordinates0[0].mV, c.v, 1e-5f);
  }
}

TEST(MM3DTexturePlacementTest, BlockWithoutCoordinatesIsLeftAlone) {
  MM3DTexturePlacement placement;
  MM3DVertexArrays arrays;
  arrays.mVertexCount = 4;
  placement.Generate(arrays);
  EXPECT_EQ(arrays.mTextureCoordinates0, nullptr);
}

}  // namespace
