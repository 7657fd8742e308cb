#include "tools/databuilder/audio/Tune.h"

#include "tools/databuilder/BuildError.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace databuilder {

namespace {

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

// A held note lets go a little before the next step, as a player would.
constexpr double kHeldShare = 0.9;

}  // namespace

int32_t NoteKey(const std::string& name) {
  static const int32_t kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
    throw BuildError("\"" + name + "\" is not a note");
  }
  int32_t semitone = kSemitones[name[0] - 'A'];
  size_t i = 1;
  if (name[i] == '#') {
    semitone += 1, ++i;
  } else if (name[i] == 'b') {
    semitone -= 1, ++i;
  }
  if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') {
    throw BuildError("\"" + name + "\" is not a note");
  }
  return 12 * (name[i] - '0' + 1) + semitone;
}

int32_t InstrumentProgram(const std::string& instrument) {
  if (instrument == "marimba") return 12;
  if (instrument == "bell") return 9;    // glockenspiel
  if (instrument == "pluck") return 45;  // pizzicato strings
  throw BuildError("unknown instrument \"" + instrument + "\"");
}

std::vector<TuneNote> TuneLineNotes(const TuneLine& line, double beatsPerMinute, double seconds) {
  const std::vector<Step> steps = ParseSteps(line.notes);
  std::vector<int32_t> keys;
  for (const Step& step : steps) keys.push_back(step.note.empty() ? -1 : NoteKey(step.note));
  const double stepSeconds = 60.0 / beatsPerMinute * line.stepBeats;
  if (!(stepSeconds > 0.0) || !(stepSeconds < seconds + 1.0)) {
    throw BuildError("a tune line needs a positive tempo and step");
  }
  std::vector<TuneNote> notes;
  double at = 0.0;
  for (size_t i = 0; at < seconds - 0.05; i = (i + 1) % steps.size()) {
    const double length = stepSeconds * steps[i].length;
    if (keys[i] >= 0) notes.push_back({at, length * kHeldShare, keys[i], line.gain});
    at += length;
  }
  return notes;
}

}  // namespace databuilder
