#pragma once
// Our small synthesizer: voices of one oscillator each (sine, triangle,
// soft square or noise) with a pitch sweep, an attack-decay-sustain-release
// envelope, a one-pole low-pass filter and a tremolo, mixed into a sound
// with an optional echo. A looped sound is rendered round a circle: what
// rings past its end carries on at its start, tones take a whole number of
// periods, so the last sample runs on into the first. Everything is
// computed in doubles from the recipe alone: same recipe, same samples.

#include <cstdint>
#include <string>
#include <vector>

namespace databuilder {

enum class Wave { kSine, kTriangle, kSquare, kNoise };

struct Voice {
  Wave wave = Wave::kSine;
  double startHz = 440.0;
  double endHz = 440.0;  // the sweep is exponential from start to end
  double at = 0.0;       // seconds into the sound
  double seconds = 0.1;
  double attack = 0.004;
  double decay = 0.05;    // from full level to the sustain level
  double sustain = 1.0;   // level held after the decay
  double release = 0.03;  // to silence at the voice's end
  double gain = 1.0;
  double lowpassHz = 0.0;  // 0: no filter
  double tremoloHz = 0.0;
  double tremoloDepth = 0.0;
  uint32_t seed = 1;  // the noise generator's
  // Sounds all the way round a loop at a steady level, a tone at a whole
  // number of periods; at, seconds and the envelope are then unused.
  bool whole = false;
};

struct SoundPatch {
  double seconds = 0.1;
  bool loop = false;
  std::vector<Voice> voices;
  double echoSeconds = 0.0;
  double echoLevel = 0.0;
};

// The patch's samples, -1..1 before the caller scales them.
std::vector<double> Render(const SoundPatch& patch, int32_t rate);

// The largest magnitude of the samples; 0 for none.
double PeakOf(const std::vector<double>& samples);

// Scales the samples so that the loudest lies at the level (a fraction of
// full scale) and rounds them to 16 bits.
std::vector<int16_t> Quantise(const std::vector<double>& samples, double peak);

}  // namespace databuilder
