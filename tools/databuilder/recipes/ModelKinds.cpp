#include "tools/databuilder/recipes/ModelKinds.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/InterfaceLayout.h"
#include "tools/databuilder/recipes/PictureRecipe.h"

#include <cmath>
#include <vector>

namespace databuilder {

namespace {

constexpr float kFramesPerSecond = 30.0f;
// The transform channels the schemes drive.
constexpr int32_t kRotationXChannel = 4;
constexpr int32_t kScaleXChannel = 13;
constexpr int32_t kScaleYChannel = 14;

float ToFloat(double value) { return static_cast<float>(value); }

}  // namespace

const std::map<std::string, ModelMaker>& ModelMakers() {
  static const std::map<std::string, ModelMaker> makers = {
      {"arc", MakeArc},
      {"button", MakeButton},
      {"camera", MakeCamera},
      {"cursor", MakeCursor},
      {"ground", MakeGround},
      {"panel", MakePanel},
      {"path", MakePath},
      {"primitive", MakePrimitive},
      {"profile", MakeProfile},
      {"pomble", MakePomble},
      {"pomble.ghost", MakePombleGhost},
      {"sky", MakeSky},
      {"solid", MakeSolid},
      {"strip", MakeStrip},
      {"template", MakeTemplate},
      {"track", MakeTrack},
      {"wheel", MakeWheel},
  };
  return makers;
}

Vec3 RecipeVec3(const Recipe& recipe, const char* key, Vec3 fallback) {
  if (!recipe.mTable.contains(key)) return fallback;
  const std::vector<double> v = RecipeNumbers(recipe, key, 3);
  return {ToFloat(v[0]), ToFloat(v[1]), ToFloat(v[2])};
}

Vec3 RecipePlace(const Recipe& recipe, Vec3 fallback) {
  const Vec3 at = RecipeVec3(recipe, "at", fallback);
  return {ToFloat(WorldX(at.x)), at.y, at.z};
}

Color RecipeColor(const Recipe& recipe, const char* key, const char* fallback) {
  const Rgb rgb = ColorNamed(RecipeString(recipe, key, fallback),
                             recipe.mSource + ": recipe \"" + recipe.mName + "\"");
  return {rgb.r / 255.0f, rgb.g / 255.0f, rgb.b / 255.0f, 1.0f};
}

MaterialSpec RecipeMaterial(const Recipe& recipe, const char* key, const char* fallback) {
  MaterialSpec spec;
  spec.color = RecipeColor(recipe, key, fallback);
  spec.specularPower = ToFloat(RecipeNumber(recipe, "shine", 32.0));
  return spec;
}

void CheckBudget(const Recipe& recipe, const Mesh& mesh, int32_t budget) {
  if (mesh.FitsBudget(budget)) return;
  throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\" makes " +
                   std::to_string(mesh.GetTriangleCount()) + " triangles, over its budget of " +
                   std::to_string(budget));
}

void ApplyScheme(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder,
                 MM3DDisplayTreeNodeSRTTransform* node, Vec3 centre) {
  if (!recipe.mTable.contains("clip")) return;
  const std::string name = RecipeString(recipe, "clip");
  const toml::array* keys = context.schemes[name]["keys"].as_array();
  if (keys == nullptr) {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\" names the clip scheme \"" +
                     name + "\", which has no keys");
  }
  const MM3DVector pivot(centre.x, centre.y, centre.z, 1.0f);
  node->SetScalePivot(pivot);
  node->SetRotatePivot(pivot);
  std::vector<CurveKey> channels[3];
  for (const toml::node& key : *keys) {
    const std::vector<double> k = NumbersOf(key, recipe.mSource + ": scheme " + name, 4);
    const float seconds = ToFloat(k[0]) / kFramesPerSecond;
    channels[0].emplace_back(seconds, ToFloat(k[1]));
    channels[1].emplace_back(seconds, ToFloat(k[2]));
    channels[2].emplace_back(seconds, ToFloat(k[3]));
  }
  builder.Animate(node, kScaleXChannel, channels[0]);
  builder.Animate(node, kScaleYChannel, channels[1]);
  builder.Animate(node, kRotationXChannel, channels[2]);
}

}  // namespace databuilder
