#pragma once
// The sound stage: one sound per id of the sound file, 22050 Hz, 16-bit,
// mono. Until the synthesizer's patches and the music arrive, every id
// holds a short synthesized blip of its own pitch, loops a seamless hum and
// tunes (jingles, music) a little major arpeggio of the manifest's length.
// The manifest entry gives: seconds (length), loop, tune, stream (played
// from the file behind a head rather than held whole).

#include "tools/databuilder/BuildSources.h"

#include <cstdint>
#include <vector>

namespace databuilder {

struct BuiltSound {
  std::vector<int16_t> mSamples;
  bool mStreamed = false;
};

constexpr int32_t kSoundRate = 22050;

// The sound of id i at index i.
std::vector<BuiltSound> BuildSounds(const BuildSources& sources);

}  // namespace databuilder
