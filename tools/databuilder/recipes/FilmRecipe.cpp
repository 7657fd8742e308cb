#include "tools/databuilder/recipes/FilmRecipe.h"

#include "tools/databuilder/BuildError.h"

#include <algorithm>

namespace databuilder {

namespace {

constexpr size_t kKeyLength = 6;
// The camera's near and far planes: the creation area's.
constexpr float kNear = 1.0f;
constexpr float kFar = 300.0f;

std::string Where(const Recipe& recipe) {
  return recipe.mSource + ": film \"" + recipe.mName + "\"";
}

void CopyVector(const std::vector<double>& values, float (&to)[3]) {
  for (size_t i = 0; i < 3; ++i) to[i] = static_cast<float>(values[i]);
}

ScreenView ReadCamera(const Recipe& recipe) {
  const toml::table* table = recipe.mTable["camera"].as_table();
  if (table == nullptr) throw BuildError(Where(recipe) + ": needs a camera table");
  const Recipe camera{recipe.mName, recipe.mSource, *table};
  ScreenView view{};
  CopyVector(RecipeNumbers(camera, "eye", 3), view.mEye);
  CopyVector(RecipeNumbers(camera, "interest", 3), view.mInterest);
  view.mFieldOfView = static_cast<float>(RecipeNumber(camera, "fov", 45.0));
  view.mNear = kNear;
  view.mFar = kFar;
  return view;
}

template <typename Row>
std::vector<Row> ReadRows(const toml::table& actor, const char* key, size_t length,
                          const std::string& where, Row (*make)(const std::vector<double>&)) {
  std::vector<Row> rows;
  const toml::array* array = actor[key].as_array();
  if (array == nullptr) return rows;
  double last = -1.0;
  for (const toml::node& node : *array) {
    const std::vector<double> values = NumbersOf(node, where + ": " + key, length);
    if (values[0] < 0.0 || values[0] <= last) {
      throw BuildError(where + ": the " + key + " must follow each other in time from 0");
    }
    last = values[0];
    rows.push_back(make(values));
  }
  return rows;
}

FilmKey MakeKey(const std::vector<double>& v) {
  FilmKey key;
  key.mSeconds = v[0];
  CopyVector({v[1], v[2], v[3]}, key.mPosition);
  key.mScale = static_cast<float>(v[4]);
  key.mTurnY = static_cast<float>(v[5]);
  return key;
}

ClipSpan MakeSpan(const std::vector<double>& v) { return {v[0], v[1]}; }

FilmActor ReadActor(const toml::table& table, const Recipe& recipe, const Manifest& manifest) {
  const Recipe values{recipe.mName, recipe.mSource, table};
  FilmActor actor;
  actor.mModel =
      static_cast<int16_t>(manifest.Resolve(ItemKind::kModel, RecipeString(values, "model")));
  const std::string where = Where(recipe);
  actor.mKeys = ReadRows(table, "keys", kKeyLength, where, &MakeKey);
  if (actor.mKeys.empty()) actor.mKeys.push_back(FilmKey{});
  actor.mClip = ReadRows(table, "clip", 2, where, &MakeSpan);
  return actor;
}

// Slow out of one key, slow into the next.
double Ease(double t) { return t * t * (3.0 - 2.0 * t); }

float Between(float from, float to, double t) { return static_cast<float>(from + (to - from) * t); }

}  // namespace

FilmRecipe ReadFilmRecipe(const Recipe& recipe, const Manifest& manifest) {
  FilmRecipe film;
  film.mSeconds = RecipeNumber(recipe, "seconds");
  if (!(film.mSeconds > 0.0) || film.mSeconds > 60.0) {
    throw BuildError(Where(recipe) + ": seconds must lie in (0, 60]");
  }
  film.mCamera = ReadCamera(recipe);
  const toml::table* sound = recipe.mTable["sound"].as_table();
  if (sound == nullptr) throw BuildError(Where(recipe) + ": needs a sound table");
  toml::table soundTable = *sound;
  soundTable.insert_or_assign("seconds", film.mSeconds);
  const Recipe soundRecipe{recipe.mName + ".sound", recipe.mSource, soundTable};
  film.mSound = ReadSoundRecipe(soundRecipe);
  RequireEveryKeyRead(soundRecipe);
  const toml::array* actors = recipe.mTable["actors"].as_array();
  if (actors == nullptr || actors->empty()) {
    throw BuildError(Where(recipe) + ": needs actors");
  }
  for (const toml::node& node : *actors) {
    const toml::table* table = node.as_table();
    if (table == nullptr) throw BuildError(Where(recipe) + ": each actor must be a table");
    film.mActors.push_back(ReadActor(*table, recipe, manifest));
  }
  return film;
}

PlacedModel ActorAt(const FilmActor& actor, double seconds) {
  const auto next = std::find_if(actor.mKeys.begin(), actor.mKeys.end(),
                                 [&](const FilmKey& key) { return key.mSeconds > seconds; });
  const FilmKey& to = next == actor.mKeys.end() ? actor.mKeys.back() : *next;
  const FilmKey& from = next == actor.mKeys.begin() ? to : *(next - 1);
  const double span = to.mSeconds - from.mSeconds;
  const double t = span > 0.0 ? Ease(std::clamp((seconds - from.mSeconds) / span, 0.0, 1.0)) : 0.0;
  PlacedModel placed;
  placed.mId = actor.mModel;
  for (size_t i = 0; i < 3; ++i)
    placed.mPosition[i] = Between(from.mPosition[i], to.mPosition[i], t);
  placed.mScale = Between(from.mScale, to.mScale, t);
  placed.mTurnY = Between(from.mTurnY, to.mTurnY, t);
  const auto clip = std::find_if(actor.mClip.rbegin(), actor.mClip.rend(),
                                 [&](const ClipSpan& c) { return c.mFilmSeconds <= seconds; });
  if (clip != actor.mClip.rend()) {
    placed.mClipSeconds = static_cast<float>(clip->mClipSeconds + seconds - clip->mFilmSeconds);
  }
  return placed;
}

}  // namespace databuilder
