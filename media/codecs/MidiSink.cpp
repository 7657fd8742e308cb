#include "media/codecs/MidiSink.h"

bool MidiSink::Begin(int16_t division) {
  mDivision = division;
  return true;
}

bool MidiSink::SysEx(bool, int32_t, const uint8_t*) { return true; }

bool MidiSink::Meta(uint8_t, int32_t, const uint8_t*) { return true; }

bool MidiSink::End(bool) { return true; }
