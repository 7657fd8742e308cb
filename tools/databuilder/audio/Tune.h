#pragma once
// Short tunes for the jingles and the credits music, written as note
// names ("C5 E5 G5 - C6": a dash is a rest, "x2" after a note holds it two
// steps) at a tempo, played by one of a few mallet and string voices made
// of sine partials: marimba, bell, pluck. The notes repeat until the sound
// is full.

#include "tools/databuilder/audio/Synth.h"

#include <string>

namespace databuilder {

struct TuneLine {
  std::string notes;
  std::string instrument = "marimba";
  double stepBeats = 0.5;
  double gain = 1.0;
};

// The frequency of a note name such as "C5", "F#4" or "Bb3"; throws
// BuildError naming the text when it is not one.
double NoteHz(const std::string& name);

// Adds the line's notes to the patch from time 0 to the patch's end, at
// the tempo in beats a minute.
void AddTuneLine(const TuneLine& line, double beatsPerMinute, SoundPatch& patch);

}  // namespace databuilder
