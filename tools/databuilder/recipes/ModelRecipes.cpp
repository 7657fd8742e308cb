#include "tools/databuilder/recipes/ModelRecipes.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/recipes/ModelKinds.h"

namespace databuilder {

namespace {

constexpr const char* kSchemesKey = "schemes";

UURefCount<MM3DModel> MakeModel(const Recipe& recipe, const ModelContext& context) {
  const std::string kind = RecipeString(recipe, "kind");
  const auto& makers = ModelMakers();
  const auto maker = makers.find(kind);
  if (maker == makers.end()) {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\" of unknown kind \"" +
                     kind + "\"");
  }
  ModelBuilder builder(context.textures);
  maker->second(recipe, context, builder);
  return builder.Finish();
}

}  // namespace

std::map<int32_t, UURefCount<MM3DModel>> MakeRecipeModels(const BuildSources& sources,
                                                          MM3DDriverTextureMap& textures) {
  const std::filesystem::path folder = sources.mDataDirectory / "models";
  const toml::table schemes = ReadReservedTable(folder, kSchemesKey);
  const ModelContext context{sources, schemes, textures};
  std::map<int32_t, UURefCount<MM3DModel>> models;
  for (const auto& [name, recipe] : ReadRecipeFolder(folder, {kSchemesKey})) {
    models.emplace(sources.mManifest.Resolve(ItemKind::kModel, name), MakeModel(recipe, context));
    RequireEveryKeyRead(recipe);
  }
  return models;
}

}  // namespace databuilder
