#pragma once
// The sound stage: one sound per id of the sound file, 22050 Hz, 16-bit,
// mono, each made by our synthesizer from its recipe in data/sounds (named
// by the sound's symbol): effects, seamless loops, jingles that last their
// animation's range and the credits music. The manifest entry marks the
// sounds streamed from the file behind a head rather than held whole
// (stream = true).

#include "tools/databuilder/BuildSources.h"

#include <cstdint>
#include <vector>

namespace databuilder {

struct BuiltSound {
  std::vector<int16_t> mSamples;
  bool mStreamed = false;
};

constexpr int32_t kSoundRate = 22050;

// The sound of id i at index i; throws BuildError when an id has no recipe
// or a recipe names no sound.
std::vector<BuiltSound> BuildSounds(const BuildSources& sources);

}  // namespace databuilder
