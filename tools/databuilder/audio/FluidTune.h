#pragma once
// Tunes played by FluidSynth with the General MIDI SoundFont of Debian's
// musescore-general-soundfont-small, opened by its path. Everything that
// could make two builds differ is fixed: one synthesis thread, reverb and
// chorus settings, note times in samples; the caller quantises.

#include "tools/databuilder/audio/Tune.h"

#include <cstdint>
#include <vector>

namespace databuilder {

// Where the SoundFont is installed.
extern const char kTuneSoundFontPath[];

// The tune's samples at the rate, -1..1, of exactly the length. A loop
// carries what rings past its end on at its start, so it plays round
// without a seam; anything else fades out in its last few milliseconds.
// Throws BuildError when FluidSynth or the SoundFont cannot be used.
std::vector<double> RenderTune(const Tune& tune, double seconds, bool loop, int32_t rate);

}  // namespace databuilder
