#pragma once
// The makers of models, one per recipe kind, and what they share: the
// recipe, the texture ids and the clip schemes.

#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/mesh/ModelBuilder.h"
#include "tools/databuilder/recipes/RecipeFolder.h"

#include <toml++/toml.h>

#include <functional>
#include <map>
#include <string>

namespace databuilder {

struct ModelContext {
  const BuildSources& sources;
  const toml::table& schemes;
  MM3DDriverTextureMap& textures;
};

using ModelMaker = std::function<void(const Recipe&, const ModelContext&, ModelBuilder&)>;

// The maker of each kind by name.
const std::map<std::string, ModelMaker>& ModelMakers();

// Shared readers of recipe values.
Vec3 RecipeVec3(const Recipe& recipe, const char* key, Vec3 fallback);
// The recipe's "at", given as the layout gives places (x to the right of
// the screen), in world coordinates.
Vec3 RecipePlace(const Recipe& recipe, Vec3 fallback);
Color RecipeColor(const Recipe& recipe, const char* key, const char* fallback);
// The material of the recipe's colour, Phong as the art asks.
MaterialSpec RecipeMaterial(const Recipe& recipe, const char* key, const char* fallback);
// The scene's lights: a key light from the upper left front, a weaker
// fill from the right, ambient light (intensities key, fill, ambient).
void AddLightRig(const Recipe& recipe, ModelBuilder& builder);
// Throws BuildError naming the recipe when the mesh is over the budget.
void CheckBudget(const Recipe& recipe, const Mesh& mesh, int32_t budget);
// Animates the node by the recipe's clip scheme, if it names one, about
// the centre.
void ApplyScheme(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder,
                 MM3DDisplayTreeNodeSRTTransform* node, Vec3 centre);

void MakeCamera(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeGround(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeSky(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakePath(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeProfile(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakePrimitive(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeTemplate(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeButton(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeWheel(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeStrip(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeTrack(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeArc(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeSolid(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakePanel(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakeCursor(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakePomble(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);
void MakePombleGhost(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder);

}  // namespace databuilder
