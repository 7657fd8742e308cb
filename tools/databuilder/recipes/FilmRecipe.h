#pragma once
// A film's recipe in data/films: its length in seconds, a still camera
// (eye, interest, field of view in degrees), its sound (a sound recipe
// table: voices and tune lines) and its actors. Each actor is a model
// (a manifest symbol) moved through keys [seconds, x, y, z, scale, turn]
// with an easing between keys, held before the first and after the last;
// a model with a clip is posed through spans [film seconds, clip seconds]:
// from each span's start the clip runs on at the film's pace.

#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/audio/SoundRecipe.h"
#include "tools/databuilder/recipes/RecipeFolder.h"
#include "tools/databuilder/render/SceneDrawing.h"

#include <vector>

namespace databuilder {

struct FilmKey {
  double mSeconds = 0.0;
  float mPosition[3] = {0, 0, 0};
  float mScale = 1.0f;
  float mTurnY = 0.0f;
};

struct ClipSpan {
  double mFilmSeconds = 0.0;
  double mClipSeconds = 0.0;
};

struct FilmActor {
  int16_t mModel = 0;
  std::vector<FilmKey> mKeys;   // in time order
  std::vector<ClipSpan> mClip;  // in time order; none: never posed
};

struct FilmRecipe {
  double mSeconds = 0.0;
  ScreenView mCamera{};
  SoundRecipe mSound;
  std::vector<FilmActor> mActors;
};

// Throws BuildError naming the recipe and key on a bad or missing value.
FilmRecipe ReadFilmRecipe(const Recipe& recipe, const Manifest& manifest);

// The actor as it stands at that time of the film.
PlacedModel ActorAt(const FilmActor& actor, double seconds);

}  // namespace databuilder
