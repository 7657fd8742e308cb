#pragma once
// Short tunes for the jingles and the credits music, written as note
// names ("C5 E5 G5 - C6": a dash is a rest, "x2" after a note holds it two
// steps) at a tempo, each line for one instrument: marimba, bell
// (glockenspiel) or pluck (pizzicato strings). The notes repeat until the
// sound is full.

#include <cstdint>
#include <string>
#include <vector>

namespace databuilder {

struct TuneLine {
  std::string notes;
  std::string instrument = "marimba";
  double stepBeats = 0.5;
  double gain = 1.0;
};

struct Tune {
  double beatsPerMinute = 120.0;
  std::vector<TuneLine> lines;
};

// One note as it is played: start and length in seconds, the MIDI key
// (C4 = 60) and a gain of 0..1.
struct TuneNote {
  double at = 0.0;
  double seconds = 0.0;
  int32_t key = 60;
  double gain = 1.0;
};

// The MIDI key of a note name such as "C5", "F#4" or "Bb3"; throws
// BuildError naming the text when it is not one.
int32_t NoteKey(const std::string& name);

// The General MIDI program (0-based) of an instrument's name; throws
// BuildError for another name.
int32_t InstrumentProgram(const std::string& instrument);

// The line's notes from time 0 up to the sound's length, at the tempo in
// beats a minute; throws BuildError on a bad note or an empty line.
std::vector<TuneNote> TuneLineNotes(const TuneLine& line, double beatsPerMinute, double seconds);

}  // namespace databuilder
