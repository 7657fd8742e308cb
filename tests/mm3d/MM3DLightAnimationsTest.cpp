#include "mm3d/MM3DLightAnimations.h"

#include "mm3d/MM3DModDatabase.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using model_fixtures::Curve;

constexpr MM3DColor kColor{0.25f, 0.5f, 0.75f, 1.0f};

// A light that counts the colours it is given.
class CountingLight : public FakeLight {
 public:
  CountingLight() : FakeLight(kMM3DPointLight) { MM3DLight::SetColor(kColor); }
  void SetColor(const MM3DColor& color) override {
    ++mColorsSet;
    MM3DLight::SetColor(color);
  }
  int32_t mColorsSet = 0;
};

class MM3DLightAnimationsTest : public ::testing::Test {
 protected:
  CountingLight& Light() { return static_cast<CountingLight&>(*mLight); }

  UURefCount<MM3DLight> mLight{new CountingLight};
};

TEST_F(MM3DLightAnimationsTest, EachKindSetsOneComponentOfTheColour) {
  MM3DLightRedAnimation red(mLight, Curve({{0.0f, 0.0f}, {1.0f, 1.0f}}));
  MM3DLightGreenAnimation green(mLight, Curve({{0.0f, 0.0f}}));
  MM3DLightBlueAnimation blue(mLight, Curve({{0.0f, 0.0f}, {1.0f, 0.5f}}));
  red.Apply(0.5f);
  EXPECT_EQ(Light().GetColor(), (MM3DColor{0.5f, kColor.mG, kColor.mB, kColor.mA}));
  green.Apply(0.5f);
  blue.ApplyBlended(0.0f, 0.5f, 1.0f, 0.5f);
  EXPECT_EQ(Light().GetColor(), (MM3DColor{0.5f, 0.0f, 0.25f, kColor.mA}));
  EXPECT_EQ(Light().GetEffectiveColor().mR, 0.0f);  // the light's intensity is 0
}

TEST_F(MM3DLightAnimationsTest, AComponentThatAlreadyHasTheValueLeavesTheLightAlone) {
  MM3DLightBlueAnimation blue(mLight, Curve({{0.0f, kColor.mB}}));
  blue.Apply(0.0f);
  EXPECT_EQ(Light().mColorsSet, 0);
  MM3DLightBlueAnimation({}, Curve({{0.0f, 0.0f}})).Apply(0.0f);
}

TEST_F(MM3DLightAnimationsTest, TheRecordNamesTheCurveAndTheLightByIndex) {
  MM3DModDatabase database;
  MM3DLightRedAnimation red(mLight, Curve({{0.0f, 0.0f}}));
  MM3DLightGreenAnimation green(mLight, red.GetCurveHandle());
  ByteWriter writer;
  ASSERT_TRUE(red.WriteWithKind(writer, database));
  ASSERT_TRUE(green.WriteWithKind(writer, database));
  EXPECT_EQ(database.GetLights().Count(), 1);
  EXPECT_EQ(database.GetCurves().Count(), 1);

  ByteReader reader(writer.mBytes);
  for (MM3DAnimationKind kind : {kMM3DLightRedAnimation, kMM3DLightGreenAnimation}) {
    UUOwned<MM3DAnimation> read;
    ASSERT_TRUE(MM3DReadAnimation(reader, database, read));
    EXPECT_EQ(read->GetKind(), kind);
    EXPECT_EQ(static_cast<MM3DLightAnimationBase&>(*read).GetLight(), mLight);
  }
  std::vector<uint8_t> outside;
  for (int32_t word : {static_cast<int32_t>(kMM3DLightBlueAnimation), 0, 1}) {
    AppendInt32(outside, word);
  }
  ByteReader damaged(outside);
  UUOwned<MM3DAnimation> read;
  EXPECT_FALSE(MM3DReadAnimation(damaged, database, read));
}

}  // namespace
