#include "tools/databuilder/audio/SoundRecipe.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/audio/FluidTune.h"

#include <map>

namespace databuilder {

namespace {

constexpr double kFramesPerSecond = 30.0;

Wave WaveNamed(const std::string& name, const std::string& where) {
  static const std::map<std::string, Wave> waves = {{"sine", Wave::kSine},
                                                    {"triangle", Wave::kTriangle},
                                                    {"square", Wave::kSquare},
                                                    {"noise", Wave::kNoise}};
  const auto found = waves.find(name);
  if (found == waves.end()) throw BuildError(where + ": unknown wave \"" + name + "\"");
  return found->second;
}

Voice ReadVoice(const toml::table& table, const Recipe& recipe, uint32_t index) {
  const std::string where = recipe.mSource + ": sound \"" + recipe.mName + "\"";
  const Recipe values{recipe.mName, recipe.mSource, table};
  Voice v;
  v.wave = WaveNamed(RecipeString(values, "wave", "sine"), where);
  if (table.contains("hz")) {
    const std::vector<double> hz = RecipeNumbers(values, "hz");
    if (hz.empty() || hz.size() > 2 || hz.front() <= 0 || hz.back() <= 0) {
      throw BuildError(where + ": hz must be one or two positive numbers");
    }
    v.startHz = hz.front();
    v.endHz = hz.back();
  }
  v.at = RecipeNumber(values, "at", 0.0);
  v.seconds = RecipeNumber(values, "seconds", recipe.mTable["seconds"].value_or(0.1));
  v.attack = std::max(0.001, RecipeNumber(values, "attack", v.attack));
  v.decay = std::max(0.001, RecipeNumber(values, "decay", v.seconds));
  v.sustain = RecipeNumber(values, "sustain", 0.0);
  v.release = std::max(0.001, RecipeNumber(values, "release", v.release));
  v.gain = RecipeNumber(values, "gain", 1.0);
  v.lowpassHz = RecipeNumber(values, "lowpass", 0.0);
  if (table.contains("tremolo")) {
    const std::vector<double> tremolo = NumbersOf(*table.get("tremolo"), where, 2);
    v.tremoloHz = tremolo[0];
    v.tremoloDepth = tremolo[1];
  }
  v.seed = static_cast<uint32_t>(RecipeNumber(values, "seed", index + 1.0));
  // A loop's own voices hum all the way round it.
  v.whole = RecipeFlag(recipe, "loop", false);
  return v;
}

template <typename Each>
void ForEachTable(const Recipe& recipe, const char* key, Each each) {
  const toml::array* array = recipe.mTable[key].as_array();
  if (array == nullptr) return;
  uint32_t index = 0;
  for (const toml::node& node : *array) {
    const toml::table* table = node.as_table();
    if (table == nullptr) {
      throw BuildError(recipe.mSource + ": sound \"" + recipe.mName + "\": each of " + key +
                       " must be a table");
    }
    each(*table, index++);
  }
}

}  // namespace

SoundRecipe ReadSoundRecipe(const Recipe& recipe) {
  SoundRecipe sound;
  SoundPatch& patch = sound.patch;
  patch.seconds = recipe.mTable.contains("frames")
                      ? RecipeNumber(recipe, "frames") / kFramesPerSecond
                      : RecipeNumber(recipe, "seconds");
  patch.loop = RecipeFlag(recipe, "loop", false);
  sound.level = RecipeNumber(recipe, "level", kDefaultSoundLevel);
  if (recipe.mTable.contains("echo")) {
    const std::vector<double> echo = RecipeNumbers(recipe, "echo", 2);
    patch.echoSeconds = echo[0];
    patch.echoLevel = echo[1];
  }
  ForEachTable(recipe, "voices", [&](const toml::table& table, uint32_t index) {
    patch.voices.push_back(ReadVoice(table, recipe, index));
  });
  sound.tune.beatsPerMinute = RecipeNumber(recipe, "tempo", 120.0);
  ForEachTable(recipe, "tune", [&](const toml::table& table, uint32_t) {
    const Recipe values{recipe.mName, recipe.mSource, table};
    TuneLine line{RecipeString(values, "notes"), RecipeString(values, "instrument", "marimba"),
                  RecipeNumber(values, "step", 0.5), RecipeNumber(values, "gain", 1.0)};
    // Bad notes and instruments are named now, with the recipe.
    try {
      TuneLineNotes(line, sound.tune.beatsPerMinute, patch.seconds);
      InstrumentProgram(line.instrument);
    } catch (const BuildError& error) {
      throw BuildError(recipe.mSource + ": sound \"" + recipe.mName + "\": " + error.what());
    }
    sound.tune.lines.push_back(std::move(line));
  });
  if (!(patch.seconds > 0.0) || (patch.voices.empty() && sound.tune.lines.empty())) {
    throw BuildError(recipe.mSource + ": sound \"" + recipe.mName +
                     "\" needs a length and at least one voice or tune line");
  }
  return sound;
}

// The tune is brought to full scale and the voices join it at their
// gains: rendered far quieter than a voice, a tune would otherwise lie
// some 20 dB under a short sweep that sets the level of the whole.
std::vector<int16_t> MakeSound(const SoundRecipe& recipe, int32_t rate) {
  std::vector<double> samples = Render(recipe.patch, rate);
  if (!recipe.tune.lines.empty()) {
    const std::vector<double> tune =
        RenderTune(recipe.tune, recipe.patch.seconds, recipe.patch.loop, rate);
    const double tunePeak = PeakOf(tune);
    const double gain = tunePeak > 0.0 ? 1.0 / tunePeak : 1.0;
    samples.resize(std::max(samples.size(), tune.size()), 0.0);
    for (size_t i = 0; i < tune.size(); ++i) samples[i] += tune[i] * gain;
  }
  return Quantise(samples, recipe.level);
}

}  // namespace databuilder
