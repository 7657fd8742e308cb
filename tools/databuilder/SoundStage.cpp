#include "tools/databuilder/SoundStage.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace databuilder {

namespace {

constexpr double kDefaultSeconds = 0.12;
// Peaks stay 4 dB under full scale.
constexpr double kPeak = 0.63 * 32767.0;
constexpr double kAttackSeconds = 0.004;
constexpr double kNoteSeconds = 0.25;
// Semitones of a major arpeggio.
constexpr int32_t kArpeggio[] = {0, 4, 7, 12, 7, 4};

struct SoundShape {
  double mSeconds = kDefaultSeconds;
  bool mLoop = false;
  bool mTune = false;
  bool mStreamed = false;
};

SoundShape ShapeOf(const ManifestItem* item) {
  if (item == nullptr) return {};
  const toml::table& a = item->mAttributes;
  return {a["seconds"].value_or(kDefaultSeconds), a["loop"].value_or(false),
          a["tune"].value_or(false), a["stream"].value_or(false)};
}

// Each id its own pitch, spread over two octaves from 330 Hz.
double PitchOf(int32_t id) { return 330.0 * std::pow(2.0, (id * 7 % 24) / 12.0); }

int16_t Quantise(double value) {
  return static_cast<int16_t>(std::lround(std::clamp(value, -32767.0, 32767.0)));
}

// A sine that starts soft, then dies away: a blip with no click at either end.
double Blip(double t, double seconds, double pitch) {
  const double attack = std::min(1.0, t / kAttackSeconds);
  const double decay = std::pow(1.0 - t / seconds, 2.0);
  return kPeak * attack * decay * std::sin(2.0 * std::numbers::pi * pitch * t);
}

// A whole number of periods at constant level, so the end meets the start.
std::vector<int16_t> Hum(int32_t length, double pitch) {
  const double periods = std::max(1.0, std::round(pitch * length / kSoundRate));
  std::vector<int16_t> samples(static_cast<size_t>(length));
  for (int32_t i = 0; i < length; ++i) {
    const double phase = 2.0 * std::numbers::pi * periods * i / length;
    samples[static_cast<size_t>(i)] = Quantise(0.5 * kPeak * std::sin(phase));
  }
  return samples;
}

std::vector<int16_t> Notes(int32_t length, double pitch, bool tune) {
  const double noteSeconds = tune ? kNoteSeconds : static_cast<double>(length) / kSoundRate;
  const auto noteLength = static_cast<int32_t>(noteSeconds * kSoundRate);
  std::vector<int16_t> samples(static_cast<size_t>(length));
  for (int32_t i = 0; i < length; ++i) {
    const int32_t note = i / noteLength;
    const double notePitch = pitch * std::pow(2.0, kArpeggio[note % 6] / 12.0);
    const double t = static_cast<double>(i - note * noteLength) / kSoundRate;
    samples[static_cast<size_t>(i)] = Quantise(Blip(t, noteSeconds, notePitch));
  }
  return samples;
}

BuiltSound Synthesize(int32_t id, const SoundShape& shape) {
  const auto length = std::max(1, static_cast<int32_t>(std::lround(shape.mSeconds * kSoundRate)));
  const double pitch = PitchOf(id);
  BuiltSound sound;
  sound.mStreamed = shape.mStreamed;
  sound.mSamples =
      shape.mLoop && !shape.mTune ? Hum(length, pitch) : Notes(length, pitch, shape.mTune);
  return sound;
}

}  // namespace

std::vector<BuiltSound> BuildSounds(const BuildSources& sources) {
  const int32_t count = sources.mManifest.GetCount(ItemKind::kSound);
  std::vector<BuiltSound> sounds;
  for (int32_t id = 0; id < count; ++id) {
    sounds.push_back(Synthesize(id, ShapeOf(sources.mManifest.Find(ItemKind::kSound, id))));
  }
  return sounds;
}

}  // namespace databuilder
