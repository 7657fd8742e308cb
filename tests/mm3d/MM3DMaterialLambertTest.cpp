#include "mm3d/MM3DMaterialLambert.h"

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DRenderContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

namespace {

const MM3DColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const MM3DColor kBlack{0.0f, 0.0f, 0.0f, 1.0f};
const MM3DVector kUp(0.0f, 0.0f, 1.0f, 0.0f);
const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

// Shades one vertex at the origin with normal +z under the given lights.
MM3DPackedColor ShadeOne(MM3DMaterial& material, const std::vector<MM3DLight*>& lights,
                         const MM3DVector& eye = MM3DVector(0.0f, 0.0f, 10.0f, 1.0f),
                         const MM3DVector* normals = &kUp) {
  MM3DRenderContext context(true);
  for (MM3DLight* light : lights) {
    light->Transform(MM3DMatrixIdentity, true);
    context.PushLight(light);
  }
  context.SumAmbientLights();
  MM3DVertexArrays arrays;
  arrays.mVertexCount = 1;
  arrays.mPositions = &kOrigin;
  arrays.mNormals = normals;
  material.Begin(context, eye);
  material.Shade(arrays);
  material.End();
  return arrays.mColors[0];
}

// A white infinite light arriving at the given angle from the normal.
std::unique_ptr<MM3DLight> LightAtAngle(float angle, float intensity = 1.0f) {
  return std::make_unique<MM3DInfiniteLightSource>(
      kWhite, intensity, MM3DVector(std::sin(angle), 0.0f, std::cos(angle), 0.0f));
}

void ExpectBytes(const MM3DPackedColor& c, int r, int g, int b, int a) {
  EXPECT_EQ(c.mR, r);
  EXPECT_EQ(c.mG, g);
  EXPECT_EQ(c.mB, b);
  EXPECT_EQ(c.mA, a);
}

TEST(MM3DMaterialLambertTest, DiffuseLightingCases) {
  struct Case {
    const char* name;
    float angle;
    float intensity;
    MM3DColor incandescence;
    float transparency;
    int expected;
    int alpha;
  };
  const float pi = std::numbers::pi_v<float>;
  const Case cases[] = {
      {"along the normal", 0.0f, 1.0f, kBlack, 0.0f, 255, 255},
      {"at 60 degrees", pi / 3.0f, 1.0f, kBlack, 0.5f, 128, 127},
      {"behind the surface", pi, 1.0f, kBlack, 0.0f, 0, 255},
      {"overbright clamps", 0.0f, 3.0f, kBlack, 0.0f, 255, 255},
      {"half rounds to even", pi, 1.0f, {0.5f, 0.5f, 0.5f, 1.0f}, 0.0f, 128, 255},
      {"negative emission clamps", pi, 1.0f, {-1.0f, -1.0f, -1.0f, 1.0f}, 0.0f, 0, 255},
  };
  MM3DCreateShadingScratch();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MM3DMaterialLambert material(c.transparency, kWhite, 1.0f, kBlack, c.incandescence);
    std::unique_ptr<MM3DLight> light = LightAtAngle(c.angle, c.intensity);
    const MM3DPackedColor color = ShadeOne(material, {light.get()});
    // cos 60 degrees lands within a rounding step of the tie at 127.5.
    EXPECT_NEAR(color.mR, c.expected, 1);
    EXPECT_EQ(color.mR, color.mG);
    EXPECT_EQ(color.mR, color.mB);
    EXPECT_EQ(color.mA, c.alpha);
  }
  MM3DDestroyShadingScratch();
}

// Exact bytes on ties: 127.5 must give 128 (not truncated to 127) and 2.5
// must give 2 (not rounded up to 3); above 1 clamps to 255. The colour
// reaches the rounding either as emission or as a diffuse term.
TEST(MM3DMaterialLambertTest, TiesRoundToEvenAndOverbrightClamps) {
  const float tie = 2.5f / 255.0f;
  ASSERT_EQ(255.0f * tie, 2.5f);
  const MM3DColor ties{0.5f, tie, 1.5f, 1.0f};
  MM3DMaterialLambert emissive(0.0f, kWhite, 1.0f, kBlack, ties);
  MM3DMaterialPhong emissivePhong(0.0f, kWhite, 1.0f, kBlack, ties, kBlack, 8.0f);
  MM3DMaterialLambert diffuse(0.0f, ties, 1.0f, kBlack, kBlack);
  MM3DMaterialPhong diffusePhong(0.0f, ties, 1.0f, kBlack, kBlack, kBlack, 8.0f);
  std::unique_ptr<MM3DLight> light = LightAtAngle(0.0f);
  MM3DCreateShadingScratch();
  ExpectBytes(ShadeOne(emissive, {}), 128, 2, 255, 255);
  ExpectBytes(ShadeOne(emissivePhong, {}), 128, 2, 255, 255);
  ExpectBytes(ShadeOne(diffuse, {light.get()}), 128, 2, 255, 255);
  ExpectBytes(ShadeOne(diffusePhong, {light.get()}), 128, 2, 255, 255);
  MM3DDestroyShadingScratch();
}

TEST(MM3DMaterialLambertTest, AColourThatIsNoNumberShadesAsNothing) {
  const float nan = std::nanf("");
  const MM3DColor glow{nan, 0.5f, nan, 1.0f};
  MM3DMaterialLambert emissive(0.0f, kWhite, 1.0f, kBlack, glow);
  MM3DCreateShadingScratch();
  ExpectBytes(ShadeOne(emissive, {}), 0, 128, 0, 255);
  MM3DDestroyShadingScratch();
}

TEST(MM3DMaterialLambertTest, BaseCombinesAmbientLightsWithEmission) {
  MM3DMaterialLambert material(0.0f, {1.0f, 0.25f, 0.0f, 1.0f}, 1.0f, {0.2f, 0.2f, 0.2f, 1.0f},
                               {0.2f, 0.0f, 0.0f, 1.0f});
  MM3DAmbientLightSource ambient({0.4f, 0.4f, 0.4f, 1.0f}, 1.0f);
  // base r = (0.4 + 0.2) x 1 + 0.2, g = (0.4 + 0.2) x 0.25, b = 0.
  ExpectBytes(ShadeOne(material, {&ambient}), 204, 38, 0, 255);
  EXPECT_NEAR(material.GetBase().mR, 0.8f, 1e-6f);

  // Without lights the base is the material's own ambient x colour + incandescence.
  ExpectBytes(ShadeOne(material, {}), 102, 13, 0, 255);
}

TEST(MM3DMaterialLambertTest, ABlockWithoutNormalsShowsItsBaseOnly) {
  const MM3DColor half{0.5f, 0.5f, 0.5f, 1.0f};
  MM3DMaterialLambert lambert(0.0f, kWhite, 1.0f, kBlack, half);
  MM3DMaterialPhong phong(0.0f, kWhite, 1.0f, kBlack, half, kWhite, 10.0f);
  std::unique_ptr<MM3DLight> light = LightAtAngle(0.0f);
  MM3DCreateShadingScratch();
  for (MM3DMaterial* material : std::initializer_list<MM3DMaterial*>{&lambert, &phong}) {
    const MM3DVector eye(0.0f, 0.0f, 10.0f, 1.0f);
    ExpectBytes(ShadeOne(*material, {light.get()}, eye, nullptr), 128, 128, 128, 255);
  }
  MM3DDestroyShadingScratch();
}

TEST(MM3DMaterialLambertTest, SpecularHighlight) {
  const float pi = std::numbers::pi_v<float>;
  struct Case {
    const char* name;
    float angle;
    MM3DVector eye;
    int expected;
  };
  const Case cases[] = {
      // Lit and viewed along the normal: s = 1 for any power.
      {"eye along the light", 0.0f, MM3DVector(0.0f, 0.0f, 10.0f, 1.0f), 255},
      // Light behind the surface: neither diffuse nor specular.
      {"light behind", pi, MM3DVector(0.0f, 0.0f, 10.0f, 1.0f), 0},
      // Reflection points away from the eye: only diffuse 0.5 x 0.5 + 0.
      {"eye opposite the reflection", pi / 3.0f, MM3DVector(10.0f, 0.0f, 1.0f, 1.0f), 64},
  };
  MM3DCreateShadingScratch();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MM3DMaterialPhong material(0.0f, kWhite, 0.5f, kBlack, kBlack, {0.5f, 0.5f, 0.5f, 1.0f}, 8.0f);
    std::unique_ptr<MM3DLight> light = LightAtAngle(c.angle);
    const MM3DPackedColor color = ShadeOne(material, {light.get()}, c.eye);
    EXPECT_NEAR(color.mR, c.expected, 1);
  }
  MM3DDestroyShadingScratch();
}

}  // namespace
