#pragma once
// A sound's recipe in data/sounds: its length (seconds, or frames at 30 a
// second for a jingle that lasts its animation's range), whether it loops,
// its level (a fraction of full scale for its peak), an echo, its voices
// (wave, hz [from, to], at, seconds, attack, decay, sustain, release, gain,
// lowpass, tremolo [hz, depth], seed) played by our synthesizer, and tune
// lines (notes, instrument, step in beats, gain) at a tempo played by
// FluidSynth. A tune reaches full scale; voices beside it keep their gains
// against it.

#include "tools/databuilder/audio/Synth.h"
#include "tools/databuilder/audio/Tune.h"
#include "tools/databuilder/recipes/RecipeFolder.h"

#include <cstdint>
#include <vector>

namespace databuilder {

// The level of a sound's peak when the recipe names none: 4 dB under full
// scale.
constexpr double kDefaultSoundLevel = 0.63;

struct SoundRecipe {
  SoundPatch patch;
  Tune tune;
  double level = kDefaultSoundLevel;
};

// Throws BuildError naming the recipe and key on a bad value.
SoundRecipe ReadSoundRecipe(const Recipe& recipe);

// The recipe's samples at the rate, 16-bit.
std::vector<int16_t> MakeSound(const SoundRecipe& recipe, int32_t rate);

}  // namespace databuilder
