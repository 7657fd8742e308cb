#pragma once
// Links of a MIDI event chain: each passes the events on to the next sink
// (not owned, may be null), dropping, copying or observing some on the way.

#include "media/codecs/MidiSink.h"

#include <cstdint>

class MidiFilter : public MidiSink {
 public:
  explicit MidiFilter(MidiSink* next) : mNext(next) {}

  // Each forwards to the next sink and answers its answer, or true without
  // one.
  bool Begin(int16_t division) override;
  bool Delta(int32_t ticks) override;
  bool ShortMessage(int32_t message) override;
  bool SysEx(bool continuation, int32_t length, const uint8_t* data) override;
  bool Meta(uint8_t type, int32_t length, const uint8_t* data) override;
  bool End(bool aborted) override;

 protected:
  MidiSink* mNext;
};

// Drops every system-exclusive event.
class MidiSysExMsgFilter : public MidiFilter {
 public:
  using MidiFilter::MidiFilter;
  bool SysEx(bool continuation, int32_t length, const uint8_t* data) override;
};

// Passes only tempo events among the meta events.
class MidiMetaEventFilter : public MidiFilter {
 public:
  using MidiFilter::MidiFilter;
  bool Meta(uint8_t type, int32_t length, const uint8_t* data) override;
};

// Feeds a synthesiser that plays channels 10-15 as copies of the base
// channels: messages of channels 0-4 are repeated on channel + 10, those of
// the percussion channel 9 on channel 15; channels 10-15 of the input are
// dropped.
class MidiBaseSynthFilter : public MidiFilter {
 public:
  using MidiFilter::MidiFilter;
  bool ShortMessage(int32_t message) override;
};

// Follows the stream's time and tempo.
class MidiTimer : public MidiFilter {
 public:
  using MidiFilter::MidiFilter;
  bool Begin(int16_t division) override;
  bool Delta(int32_t ticks) override;
  bool Meta(uint8_t type, int32_t length, const uint8_t* data) override;

  // The time so far at the current tempo (which applies to all ticks),
  // truncated toward zero; 0 before a division is known.
  int64_t GetMilliseconds() const;
  uint32_t GetTempo() const { return mTempo; }

 private:
  uint32_t mTempo = kDefaultTempo;
  uint32_t mTicks = 0;

  static constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note
};

// Records which kinds of channel message each of the channels 0-9 uses; the
// messages themselves go no further.
class MidiInspector : public MidiFilter {
 public:
  // Flag bits of a channel's record.
  enum Use : uint32_t {
    kProgram = 0x0001,
    kVolume = 0x0002,
    kPan = 0x0004,
    kExpression = 0x0008,
    kModulation = 0x0010,
    kEffects1Depth = 0x0040,
    kEffects3Depth = 0x0080,
    kParameterLsb = 0x0100,
    kParameterMsb = 0x0200,
    kDataEntryMsb = 0x0400,
    kDataEntryLsb = 0x0800,
    kNotes = 0x1000,
    kPitchBend = 0x2000,
  };
  static constexpr int kChannelCount = 10;

  using MidiFilter::MidiFilter;
  bool Begin(int16_t division) override;
  // Messages of channels 10-15 and system messages are not recorded.
  bool ShortMessage(int32_t message) override;

  uint32_t GetFlags(int channel) const { return mFlags[channel]; }

 private:
  uint32_t mFlags[kChannelCount] = {};
};
