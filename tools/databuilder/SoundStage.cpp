#include "tools/databuilder/SoundStage.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/audio/SoundRecipe.h"

namespace databuilder {

std::vector<BuiltSound> BuildSounds(const BuildSources& sources) {
  const Manifest& manifest = sources.mManifest;
  std::map<std::string, Recipe> recipes = ReadRecipeFolder(sources.mDataDirectory / "sounds");
  for (const auto& [name, recipe] : recipes) manifest.Resolve(ItemKind::kSound, name);
  const int32_t count = manifest.GetCount(ItemKind::kSound);
  std::vector<BuiltSound> sounds;
  for (int32_t id = 0; id < count; ++id) {
    const std::string symbol = manifest.GetSubfileName(ItemKind::kSound, id);
    const auto recipe = recipes.find(symbol);
    if (recipe == recipes.end()) {
      throw BuildError("data/sounds: sound " + std::to_string(id) + " (" + symbol +
                       ") has no recipe");
    }
    const ManifestItem* item = manifest.Find(ItemKind::kSound, id);
    BuiltSound sound;
    sound.mSamples = MakeSound(ReadSoundRecipe(recipe->second), kSoundRate);
    RequireEveryKeyRead(recipe->second);
    sound.mStreamed = item != nullptr && item->mAttributes["stream"].value_or(false);
    sounds.push_back(std::move(sound));
  }
  return sounds;
}

}  // namespace databuilder
