#include "tools/databuilder/audio/FluidTune.h"

#include "tools/databuilder/BuildError.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace databuilder {

const char kTuneSoundFontPath[] = "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3";

namespace {

// How long the last notes and the reverb ring on after a loop's end.
constexpr double kTailSeconds = 2.5;
constexpr double kFadeSeconds = 0.02;

struct NoteEvent {
  int64_t sample;
  bool on;
  int32_t channel;
  int32_t key;
  int32_t velocity;
};

struct SettingsDeleter {
  void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
};
struct SynthDeleter {
  void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
};

std::unique_ptr<fluid_settings_t, SettingsDeleter> MakeSettings(int32_t rate) {
  std::unique_ptr<fluid_settings_t, SettingsDeleter> settings(new_fluid_settings());
  if (!settings) throw BuildError("FluidSynth cannot make its settings");
  fluid_settings_t* s = settings.get();
  fluid_settings_setnum(s, "synth.sample-rate", rate);
  fluid_settings_setint(s, "synth.cpu-cores", 1);
  fluid_settings_setint(s, "synth.dynamic-sample-loading", 1);
  fluid_settings_setnum(s, "synth.gain", 0.4);
  fluid_settings_setint(s, "synth.reverb.active", 1);
  fluid_settings_setnum(s, "synth.reverb.room-size", 0.35);
  fluid_settings_setnum(s, "synth.reverb.damp", 0.4);
  fluid_settings_setnum(s, "synth.reverb.width", 0.6);
  fluid_settings_setnum(s, "synth.reverb.level", 0.3);
  fluid_settings_setint(s, "synth.chorus.active", 1);
  fluid_settings_setint(s, "synth.chorus.nr", 3);
  fluid_settings_setnum(s, "synth.chorus.level", 0.6);
  fluid_settings_setnum(s, "synth.chorus.speed", 0.3);
  fluid_settings_setnum(s, "synth.chorus.depth", 4.0);
  return settings;
}

std::vector<NoteEvent> ScheduleNotes(const Tune& tune, double seconds, int32_t rate) {
  std::vector<NoteEvent> events;
  int32_t channel = 0;
  for (const TuneLine& line : tune.lines) {
    for (const TuneNote& note : TuneLineNotes(line, tune.beatsPerMinute, seconds)) {
      const int32_t velocity =
          std::clamp(static_cast<int32_t>(std::lround(100.0 * note.gain)), 1, 127);
      events.push_back({std::llround(note.at * rate), true, channel, note.key, velocity});
      events.push_back(
          {std::llround((note.at + note.seconds) * rate), false, channel, note.key, 0});
    }
    ++channel;
  }
  // Stable: at one sample, what came first in the tune is played first.
  std::stable_sort(events.begin(), events.end(),
                   [](const NoteEvent& a, const NoteEvent& b) { return a.sample < b.sample; });
  return events;
}

// Renders the synth's output from sample `from` up to `to`, mixed to mono.
void RenderSpan(fluid_synth_t* synth, int64_t from, int64_t to, std::vector<double>& out) {
  std::vector<float> left(static_cast<size_t>(to - from)), right(left.size());
  if (left.empty()) return;
  fluid_synth_write_float(synth, static_cast<int>(left.size()), left.data(), 0, 1, right.data(), 0,
                          1);
  for (size_t i = 0; i < left.size(); ++i) {
    out[static_cast<size_t>(from) + i] = 0.5 * (static_cast<double>(left[i]) + right[i]);
  }
}

std::vector<double> Play(fluid_synth_t* synth, const std::vector<NoteEvent>& events,
                         int64_t length) {
  std::vector<double> out(static_cast<size_t>(length), 0.0);
  int64_t at = 0;
  for (const NoteEvent& event : events) {
    const int64_t sample = std::min(event.sample, length);
    RenderSpan(synth, at, sample, out);
    at = sample;
    if (event.on) {
      fluid_synth_noteon(synth, event.channel, event.key, event.velocity);
    } else {
      fluid_synth_noteoff(synth, event.channel, event.key);
    }
  }
  RenderSpan(synth, at, length, out);
  return out;
}

// FluidSynth shares a loaded SoundFont between the synths of a process
// while one of them holds it; reading the file takes seconds, so one synth
// keeps it for the builder's life and every tune still gets a fresh synth.
void KeepSoundFontLoaded(int32_t rate) {
  static const auto settings = MakeSettings(rate);
  static fluid_synth_t* const keeper = [] {
    fluid_synth_t* synth = new_fluid_synth(settings.get());
    if (synth != nullptr) fluid_synth_sfload(synth, kTuneSoundFontPath, 1);
    return synth;
  }();
  (void)keeper;
}

}  // namespace

std::vector<double> RenderTune(const Tune& tune, double seconds, bool loop, int32_t rate) {
  const auto length = static_cast<int64_t>(std::lround(seconds * rate));
  const std::vector<NoteEvent> events = ScheduleNotes(tune, seconds, rate);
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  KeepSoundFontLoaded(rate);
  const auto settings = MakeSettings(rate);
  std::unique_ptr<fluid_synth_t, SynthDeleter> synth(new_fluid_synth(settings.get()));
  if (!synth) throw BuildError("FluidSynth cannot start");
  if (fluid_synth_sfload(synth.get(), kTuneSoundFontPath, 1) == FLUID_FAILED) {
    throw BuildError(std::string("cannot open the SoundFont ") + kTuneSoundFontPath);
  }
  for (size_t line = 0; line < tune.lines.size(); ++line) {
    const int32_t program = InstrumentProgram(tune.lines[line].instrument);
    if (fluid_synth_program_change(synth.get(), static_cast<int>(line), program) == FLUID_FAILED) {
      throw BuildError("the SoundFont has no program " + std::to_string(program));
    }
  }
  const int64_t tail = loop ? std::lround(kTailSeconds * rate) : 0;
  std::vector<double> played = Play(synth.get(), events, length + tail);
  std::vector<double> out(played.begin(), played.begin() + length);
  for (int64_t i = length; i < length + tail; ++i)
    out[static_cast<size_t>(i % length)] += played[static_cast<size_t>(i)];
  if (!loop) {
    const int64_t fade = std::min(length, std::lround(kFadeSeconds * rate));
    for (int64_t i = 0; i < fade; ++i)
      out[static_cast<size_t>(length - 1 - i)] *=
          static_cast<double>(i) / static_cast<double>(fade);
  }
  return out;
}

}  // namespace databuilder
