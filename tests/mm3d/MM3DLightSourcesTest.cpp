#include "mm3d/MM3DLightSources.h"

#include "mm3d/MM3DMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

const MM3DColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};

MM3DMatrix Identity() {
  MM3DMatrix m;
  m.SetIdentity();
  return m;
}

// Runs one vertex pass over a single vertex.
void ShadeOne(MM3DLight& light, const MM3DVector& vertex, MM3DVector& direction, MM3DColor& color) {
  const MM3DVector* cursor = &vertex;
  light.BeginVertices(&cursor, &direction, &color);
  light.ShadeVertex();
  light.EndVertices();
}

TEST(MM3DLightSourcesTest, PointLightPointsTowardItselfWithItsEffectiveColour) {
  MM3DPointLightSource light(MM3DVector(0.0f, 0.0f, 2.0f, 1.0f), {1.0f, 0.5f, 0.0f, 1.0f}, 0.5f);
  light.Transform(Identity(), false);
  MM3DVector direction(0.0f, 0.0f, 0.0f, 0.0f);
  MM3DColor color{};
  ShadeOne(light, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), direction, color);
  EXPECT_NEAR(direction.mZ, 1.0f, 1e-3f);
  EXPECT_NEAR(direction.mX, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(color.mR, 0.5f);
  EXPECT_FLOAT_EQ(color.mG, 0.25f);
  EXPECT_FLOAT_EQ(color.mA, 0.5f);

  // A light at the vertex itself gives no direction, so it adds nothing.
  ShadeOne(light, MM3DVector(0.0f, 0.0f, 2.0f, 1.0f), direction, color);
  EXPECT_EQ(direction.LengthSquared(), 0.0f);

  MM3DColor ambient{};
  light.GetAmbient(ambient);
  EXPECT_EQ(ambient.mR, 0.0f);
  EXPECT_EQ(ambient.mA, 1.0f);
}

TEST(MM3DLightSourcesTest, InfiniteLightShadesWithAUnitDirection) {
  MM3DInfiniteLightSource light(kWhite, 1.0f, MM3DVector(0.0f, 2.0f, 0.0f, 0.0f));
  MM3DMatrix m = Identity();
  m.mElement[3][0] = 5.0f;  // a translation must not move a direction
  light.Transform(m, false);
  MM3DVector direction{};
  MM3DColor color{};
  ShadeOne(light, MM3DVector(9.0f, 9.0f, 9.0f, 1.0f), direction, color);
  EXPECT_FLOAT_EQ(direction.mX, 0.0f);
  EXPECT_FLOAT_EQ(direction.mY, 1.0f);
  EXPECT_FLOAT_EQ(direction.mW, 0.0f);
  EXPECT_FLOAT_EQ(color.mG, 1.0f);
}

TEST(MM3DLightSourcesTest, AmbientLightOnlyContributesAmbient) {
  MM3DAmbientLightSource light({0.5f, 0.5f, 0.5f, 1.0f}, 2.0f);
  MM3DColor ambient{};
  light.GetAmbient(ambient);
  EXPECT_FLOAT_EQ(ambient.mR, 1.0f);
  EXPECT_FLOAT_EQ(ambient.mA, 2.0f);
  MM3DVector direction{};
  MM3DColor color{};
  light.Illuminate(MM3DVector(1.0f, 0.0f, 0.0f, 1.0f), direction, color);
  EXPECT_EQ(color.mR, 0.0f);
  EXPECT_EQ(direction.LengthSquared(), 0.0f);
}

TEST(MM3DLightSourcesTest, DefaultLightHasNoEffectiveColour) {
  MM3DPointLightSource light;
  EXPECT_EQ(light.GetEffectiveColor().mR, 0.0f);
  EXPECT_EQ(light.GetEffectiveColor().mA, 0.0f);
}

// A spot light at z = 1 aiming at the origin: vertices on the z = 0 plane
// at distance x from the axis lie at atan(x) from it.
class SpotLightTest : public testing::Test {
 protected:
  static constexpr float kCone = std::numbers::pi_v<float> / 8.0f;
  static constexpr float kPenumbra = std::numbers::pi_v<float> / 8.0f;

  SpotLightTest()
      : mLight(MM3DVector(0.0f, 0.0f, 1.0f, 1.0f), kWhite, 1.0f,
               std::make_unique<MM3DSpotLightInterest>(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f)), kCone,
               kPenumbra) {
    mLight.Transform(Identity(), false);
  }

  MM3DColor ColorAtAngle(float angle) {
    MM3DVector direction{};
    MM3DColor color{};
    ShadeOne(mLight, MM3DVector(std::tan(angle), 0.0f, 0.0f, 1.0f), direction, color);
    return color;
  }

  MM3DSpotLightSource mLight;
};

TEST_F(SpotLightTest, ConeAndPenumbraEdges) {
  struct Case {
    float angle;
    float expected;
  };
  const Case cases[] = {
      {0.0f, 1.0f},
      {kCone * 0.9f, 1.0f},
      {kCone + kPenumbra / 2.0f, 0.5f},
      {kCone + kPenumbra * 1.01f, 0.0f},
      {1.4f, 0.0f},
  };
  for (const Case& c : cases) {
    const MM3DColor color = ColorAtAngle(c.angle);
    EXPECT_NEAR(color.mR, c.expected, 1e-4f) << c.angle;
    EXPECT_FLOAT_EQ(color.mA, 1.0f) << c.angle;
  }
}

TEST_F(SpotLightTest, MovingTheAimPointAloneRecomputesTheDirection) {
  mLight.GetInterest()->SetPoint(MM3DVector(1.0f, 0.0f, 1.0f, 1.0f));
  mLight.Transform(Identity(), false);
  // Now aiming along +x: the old axis point lies 90 degrees off.
  EXPECT_FLOAT_EQ(ColorAtAngle(0.0f).mR, 0.0f);
  MM3DVector direction{};
  MM3DColor color{};
  mLight.Illuminate(MM3DVector(5.0f, 0.0f, 1.0f, 1.0f), direction, color);
  EXPECT_FLOAT_EQ(color.mR, 1.0f);
}

TEST(MM3DLightSourcesTest, SpotLightWithoutAimPointKeepsItsDirection) {
  MM3DSpotLightSource light(MM3DVector(0.0f, 0.0f, 1.0f, 1.0f), kWhite, 1.0f, nullptr, 0.5f, 0.5f);
  light.Transform(Identity(), true);
  MM3DVector direction{};
  MM3DColor color{};
  light.Illuminate(MM3DVector(0.0f, 0.0f, -5.0f, 1.0f), direction, color);
  EXPECT_FLOAT_EQ(color.mR, 1.0f);
}

}  // namespace
