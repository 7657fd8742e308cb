#include "mm3d/MM3DMaterial.h"

#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DTexturePlacement.h"
#include "tests/mm3d/FakeTextureCollection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

constexpr MM3DBlendFactors kReplace{1, 0};
constexpr MM3DBlendFactors kAlpha{4, 5};
constexpr MM3DBlendFactors kOther{2, 3};

// Layers name one opaque or one translucent texture; the map hands out
// their handles without a driver, which only drawing needs.
class MM3DMaterialTest : public ::testing::Test {
 protected:
  MM3DMaterialTextureLayer Layer(MM3DBlendFactors blend, bool hasTexture, bool opaqueTexture) {
    MM3DTextureHandle texture;
    if (hasTexture) texture = mMap.GetHandle(opaqueTexture ? mOpaque : mTranslucent, {0, 0, 0});
    return MM3DMaterialTextureLayer(blend, texture);
  }

  FakeTextureCollection mCollection{7};
  MMResourceId mOpaque = mCollection.Add({10, 20, 30});
  MMResourceId mTranslucent = mCollection.Add({40, 50, 60, false});
  MM3DDriverTextureMap mMap;
};

TEST_F(MM3DMaterialTest, ConstantShadesEveryVertexWithItsColourAndAlpha) {
  struct Case {
    MM3DColor color;
    float transparency;
    MM3DPackedColor expected;
  };
  const Case cases[] = {
      {{1.0f, 0.5f, 0.0f, 1.0f}, 0.0f, {255, 127, 0, 255}},
      {{1.0f, 1.0f, 1.0f, 1.0f}, 1.0f, {255, 255, 255, 0}},
      {{1.0f, 1.0f, 1.0f, 1.0f}, 0.5f, {255, 255, 255, 127}},
      // Out-of-range values are clamped rather than wrapped into a byte.
      {{1.5f, -0.2f, 0.0f, 1.0f}, -0.5f, {255, 0, 0, 255}},
  };
  MM3DCreateShadingScratch();
  for (const Case& c : cases) {
    MM3DMaterialConstant material(c.color);
    material.SetTransparency(c.transparency);
    MM3DVertexArrays arrays;
    arrays.mVertexCount = 3;
    material.Shade(arrays);
    ASSERT_NE(arrays.mColors, nullptr);
    for (int32_t i = 0; i < 3; ++i) {
      EXPECT_EQ(arrays.mColors[i].mR, c.expected.mR);
      EXPECT_EQ(arrays.mColors[i].mG, c.expected.mG);
      EXPECT_EQ(arrays.mColors[i].mB, c.expected.mB);
      EXPECT_EQ(arrays.mColors[i].mA, c.expected.mA);
    }
  }
  MM3DDestroyShadingScratch();
}

TEST_F(MM3DMaterialTest, TransparencyAdjustsTheFirstLayersBlend) {
  struct Case {
    MM3DBlendFactors blend;
    bool hasTexture;
    bool opaqueTexture;
    float transparency;
    MM3DBlendFactors expected;
  };
  const Case cases[] = {
      {kReplace, false, false, 0.3f, kAlpha}, {kAlpha, true, true, 0.0f, kReplace},
      {kAlpha, true, false, 0.0f, kAlpha},    {kAlpha, false, false, 0.0f, kReplace},
      {kOther, true, true, 0.0f, kOther},     {kOther, true, true, 0.3f, kAlpha},
  };
  for (const Case& c : cases) {
    MM3DMaterialVertexColor material;
    ASSERT_TRUE(material.AddTextureLayer(Layer(c.blend, c.hasTexture, c.opaqueTexture)));
    material.SetTransparency(c.transparency);
    EXPECT_EQ(material.GetLayer(0).GetBlend(), c.expected);
  }
}

TEST_F(MM3DMaterialTest, OpaqueFollowsTransparencyAndFirstLayer) {
  MM3DMaterialVertexColor bare;
  EXPECT_TRUE(bare.IsOpaque());
  bare.SetTransparency(0.2f);
  EXPECT_FALSE(bare.IsOpaque());

  MM3DMaterialVertexColor blended;
  blended.AddTextureLayer(Layer(kAlpha, true, false));
  EXPECT_FALSE(blended.IsOpaque());
  MM3DMaterialVertexColor replaced;
  replaced.AddTextureLayer(Layer(kReplace, true, true));
  EXPECT_TRUE(replaced.IsOpaque());
}

TEST_F(MM3DMaterialTest, LayersAreLimitedAndHandTheirPlacementOver) {
  MM3DMaterialVertexColor material;
  MM3DMaterialTextureLayer source = Layer(kReplace, true, true);
  source.SetPlacement(std::make_unique<MM3DTexturePlacement>());
  MM3DTexturePlacement* placement = source.GetPlacement();
  ASSERT_TRUE(material.AddTextureLayer(std::move(source)));
  EXPECT_EQ(source.GetPlacement(), nullptr);  // NOLINT: the move leaves it empty by design
  EXPECT_EQ(material.GetLayer(0).GetPlacement(), placement);
  EXPECT_TRUE(material.AddTextureLayer(Layer(kAlpha, false, false)));
  EXPECT_FALSE(material.AddTextureLayer(Layer(kAlpha, false, false)));
  EXPECT_EQ(material.GetLayerCount(), 2);
  EXPECT_FALSE(material.SetTextureLayer(2, Layer(kAlpha, false, false)));

  MM3DRenderContext context(true);
  material.Apply(context);
  EXPECT_EQ(context.GetCurrentShader(), &material);
  EXPECT_EQ(context.GetShaders().Count(), 1);
  ASSERT_EQ(context.GetMappers().Count(), 1);
  EXPECT_EQ(context.GetMappers()[0], placement);
  EXPECT_TRUE(context.IsOpaque());
  material.Unapply(context);
  EXPECT_EQ(context.GetShaders().Count(), 0);
  EXPECT_EQ(context.GetMappers().Count(), 0);
}

TEST(MM3DClampedColorByteTest, ComponentsOutsideTheRangeAndNaNStayWithinAByte) {
  struct Case {
    float value;
    uint8_t byte;
  };
  const Case cases[] = {{0.5f, 127},        {1.0f, 255},
                        {-0.5f, 0},         {2.0f, 255},
                        {std::nanf(""), 0}, {-std::numeric_limits<float>::infinity(), 0}};
  for (const Case& c : cases) EXPECT_EQ(MM3DClampedColorByte(c.value), c.byte) << c.value;
}

}  // namespace
