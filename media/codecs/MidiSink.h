#pragma once
// The receiving end of a MIDI event stream. A producer calls Begin, then for
// every event the Delta that brings time to it and the event itself, then
// End. Every call answers whether the stream may go on: false stops it.

#include <cstdint>

class MidiSink {
 public:
  virtual ~MidiSink() = default;
  // Start of a stream; division is the ticks per quarter note.
  virtual bool Begin(int16_t division);
  // Time advances by ticks before the next event.
  virtual bool Delta(int32_t ticks) = 0;
  // A channel message packed as status | data1 << 8 | data2 << 16.
  virtual bool ShortMessage(int32_t message) = 0;
  // A system-exclusive event; continuation is set for one that began with
  // 0xF7 rather than 0xF0.
  virtual bool SysEx(bool continuation, int32_t length, const uint8_t* data);
  virtual bool Meta(uint8_t type, int32_t length, const uint8_t* data);
  // aborted: the producer stopped before the end of its events.
  virtual bool End(bool aborted);

  int16_t GetDivision() const { return mDivision; }

 protected:
  int16_t mDivision = 0;
};

// Meta event types the pipeline looks at.
constexpr uint8_t kMidiMetaEndOfTrack = 0x2F;
constexpr uint8_t kMidiMetaTempo = 0x51;
constexpr int32_t kMidiTempoLength = 3;
