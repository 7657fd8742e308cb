#include "tools/databuilder/audio/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace databuilder {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Envelope(const Voice& v, double t) {
  if (t < v.attack) return t / v.attack;
  const double held = t - v.attack;
  double level = held < v.decay ? 1.0 - (1.0 - v.sustain) * held / v.decay : v.sustain;
  const double left = v.seconds - t;
  if (left < v.release) level *= std::max(0.0, left / v.release);
  return level;
}

// One period of the wave at the phase (in turns).
double Shape(Wave wave, double phase) {
  const double p = phase - std::floor(phase);
  switch (wave) {
    case Wave::kSine:
      return std::sin(kTwoPi * p);
    case Wave::kTriangle:
      return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    // Soft: the first three odd harmonics only, no hard edges.
    case Wave::kSquare:
      return 0.85 * (std::sin(kTwoPi * p) + std::sin(3 * kTwoPi * p) / 3.0 +
                     std::sin(5 * kTwoPi * p) / 5.0);
    case Wave::kNoise:
      return 0.0;
  }
  return 0.0;
}

// A small fixed-seed generator: the same noise on every machine.
class Noise {
 public:
  explicit Noise(uint32_t seed) : mState(seed * 2654435761u + 1u) {}
  double Next() {
    mState ^= mState << 13;
    mState ^= mState >> 17;
    mState ^= mState << 5;
    return static_cast<double>(mState) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t mState;
};

// In a loop, a steady tone takes a whole number of periods of the loop.
double LoopedHz(double hz, double loopSeconds) {
  return std::max(1.0, std::round(hz * loopSeconds)) / loopSeconds;
}

void AddVoice(const Voice& voice, const SoundPatch& patch, int32_t rate, std::vector<double>& out) {
  const auto length = static_cast<int64_t>(out.size());
  const bool steady = patch.loop && voice.whole;
  const auto start = steady ? 0 : std::llround(voice.at * rate);
  const auto count = steady ? length : std::llround(voice.seconds * rate);
  const double ratio = voice.endHz / voice.startHz;
  const double startHz =
      steady && ratio == 1.0 ? LoopedHz(voice.startHz, patch.seconds) : voice.startHz;
  const double tremoloHz = patch.loop && voice.tremoloHz > 0
                               ? LoopedHz(voice.tremoloHz, patch.seconds)
                               : voice.tremoloHz;
  Noise noise(voice.seed);
  const double smoothing =
      voice.lowpassHz > 0 ? 1.0 - std::exp(-kTwoPi * voice.lowpassHz / rate) : 1.0;
  // The sweep multiplies the pitch by the same step every sample.
  const double step = std::pow(ratio, 1.0 / (voice.seconds * rate));
  double phase = 0.0, filtered = 0.0, hz = startHz;
  for (int64_t i = 0; i < count; ++i, hz *= step) {
    const double t = static_cast<double>(i) / rate;
    const double raw = voice.wave == Wave::kNoise ? noise.Next() : Shape(voice.wave, phase);
    filtered += smoothing * (raw - filtered);
    phase += hz / rate;
    const double tremolo =
        voice.tremoloDepth > 0
            ? 1.0 - voice.tremoloDepth * 0.5 * (1.0 - std::cos(kTwoPi * tremoloHz * t))
            : 1.0;
    const double level = steady ? tremolo : Envelope(voice, t) * tremolo;
    const int64_t at = start + i;
    if (at >= length) break;
    out[static_cast<size_t>(at)] += voice.gain * level * filtered;
  }
}

void AddEcho(const SoundPatch& patch, int32_t rate, std::vector<double>& out) {
  const auto delay = static_cast<size_t>(std::llround(patch.echoSeconds * rate));
  if (delay == 0 || delay >= out.size()) return;
  for (size_t i = delay; i < out.size(); ++i) out[i] += patch.echoLevel * out[i - delay];
}

// The loop's last stretch fades into its start: sample 0 then takes up
// exactly where the last sample leaves off.
std::vector<double> CrossFade(std::vector<double> out, size_t length) {
  const size_t fade = out.size() - length;
  for (size_t i = 0; i < fade; ++i) {
    const double w = static_cast<double>(i) / static_cast<double>(fade);
    out[i] = out[i] * w + out[length + i] * (1.0 - w);
  }
  out.resize(length);
  return out;
}

// A sound that stops while a voice still rings ends in a short fade, not
// a click.
std::vector<double> FadeOut(std::vector<double> out, int32_t rate) {
  const size_t fade = std::min(out.size(), static_cast<size_t>(rate / 100));
  for (size_t i = 0; i < fade; ++i) {
    out[out.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
  }
  return out;
}

}  // namespace

std::vector<double> Render(const SoundPatch& patch, int32_t rate) {
  const auto length = static_cast<size_t>(std::max<int64_t>(1, std::llround(patch.seconds * rate)));
  const size_t fade = patch.loop ? std::min(length / 4, static_cast<size_t>(rate / 10)) : 0;
  std::vector<double> out(length + fade);
  for (const Voice& voice : patch.voices) AddVoice(voice, patch, rate, out);
  AddEcho(patch, rate, out);
  return patch.loop ? CrossFade(std::move(out), length) : FadeOut(std::move(out), rate);
}

double PeakOf(const std::vector<double>& samples) {
  double loudest = 0.0;
  for (double s : samples) loudest = std::max(loudest, std::abs(s));
  return loudest;
}

std::vector<int16_t> Quantise(const std::vector<double>& samples, double peak) {
  const double loudest = PeakOf(samples);
  const double scale = loudest > 0.0 ? peak * 32767.0 / loudest : 0.0;
  std::vector<int16_t> out;
  out.reserve(samples.size());
  for (double s : samples) {
    out.push_back(static_cast<int16_t>(std::lround(std::clamp(s * scale, -32767.0, 32767.0))));
  }
  return out;
}

}  // namespace databuilder
