#include "tools/databuilder/audio/Tune.h"

#include "tools/databuilder/BuildError.h"

#include <cmath>
#include <sstream>
#include <vector>

namespace databuilder {

namespace {

// A note of the instrument: partials as (frequency ratio, level, decay
// seconds).
struct Partial {
  double ratio;
  double level;
  double decay;
};

std::vector<Partial> PartialsOf(const std::string& instrument) {
  if (instrument == "marimba") return {{1.0, 1.0, 0.45}, {3.93, 0.25, 0.08}, {2.0, 0.15, 0.2}};
  if (instrument == "bell") return {{1.0, 1.0, 1.2}, {2.76, 0.35, 0.5}, {5.4, 0.15, 0.25}};
  if (instrument == "pluck") return {{1.0, 1.0, 0.25}, {2.0, 0.4, 0.12}, {3.0, 0.2, 0.06}};
  throw BuildError("unknown instrument \"" + instrument + "\"");
}

struct Step {
  std::string note;  // empty: a rest
  int32_t length = 1;
};

std::vector<Step> ParseSteps(const std::string& notes) {
  std::vector<Step> steps;
  std::istringstream words(notes);
  std::string word;
  while (words >> word) {
    Step step;
    const size_t hold = word.find('x');
    if (hold != std::string::npos) {
      step.length = std::max(1, std::atoi(word.c_str() + hold + 1));
      word.resize(hold);
    }
    if (word != "-") step.note = word;
    steps.push_back(step);
  }
  if (steps.empty()) throw BuildError("a tune line without notes");
  return steps;
}

void AddNote(const std::vector<Partial>& partials, double hz, double at, double gain,
             SoundPatch& patch) {
  for (const Partial& p : partials) {
    Voice v;
    v.startHz = v.endHz = hz * p.ratio;
    v.at = at;
    v.seconds = p.decay * 2.5;
    v.attack = 0.003;
    v.decay = p.decay * 2.5;
    v.sustain = 0.0;
    v.release = 0.01;
    v.gain = gain * p.level;
    patch.voices.push_back(v);
  }
}

}  // namespace

double NoteHz(const std::string& name) {
  static const int32_t kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
    throw BuildError("\"" + name + "\" is not a note");
  }
  int32_t semitone = kSemitones[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#')
    semitone += 1, ++i;
  else if (name[i] == 'b')
    semitone -= 1, ++i;
  if (i >= name.size() || name[i] < '0' || name[i] > '8') {
    throw BuildError("\"" + name + "\" is not a note");
  }
  const int32_t octave = name[i] - '0';
  const int32_t fromA4 = semitone - 9 + (octave - 4) * 12;
  return 440.0 * std::pow(2.0, fromA4 / 12.0);
}

void AddTuneLine(const TuneLine& line, double beatsPerMinute, SoundPatch& patch) {
  const std::vector<Partial> partials = PartialsOf(line.instrument);
  const std::vector<Step> steps = ParseSteps(line.notes);
  const double stepSeconds = 60.0 / beatsPerMinute * line.stepBeats;
  double at = 0.0;
  for (size_t i = 0; at < patch.seconds - 0.05; i = (i + 1) % steps.size()) {
    if (!steps[i].note.empty()) AddNote(partials, NoteHz(steps[i].note), at, line.gain, patch);
    at += stepSeconds * steps[i].length;
  }
}

}  // namespace databuilder
