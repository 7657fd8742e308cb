#pragma once
// One track chunk of a Standard MIDI File being played: its events are
// decoded one at a time, in tick order, into a sink. MidiPlayTracks merges
// several tracks into one stream.

#include "foundation/uu/UUList.h"
#include "media/codecs/MidiSink.h"

#include <climits>
#include <cstdint>

class MidiTrack {
 public:
  // The tick of a track that has no more events.
  static constexpr int32_t kNoMoreEvents = INT_MAX;

  MidiTrack() = default;
  // The data (a track chunk's body) is not owned and must outlive the track.
  MidiTrack(const uint8_t* data, int32_t length, int16_t division);

  void Reset(const uint8_t* data, int32_t length, int16_t division);
  // Back to the first event.
  void Reset();

  // Begin, every event, End; false when a sink refused or the track is
  // malformed (End is then told the stream was aborted).
  bool Play(MidiSink& sink);
  // Decodes the event at the cursor into the sink and reads the time of
  // the next one. A malformed event (one that would reach past the data,
  // or a data byte without a status to run on) ends the track and answers
  // false.
  bool ReadEvent(MidiSink& sink);

  int16_t GetDivision() const { return mDivision; }
  int32_t GetNextEventTick() const { return mNextEventTick; }
  bool HasBytesLeft() const { return mBytesLeft > 0; }

 private:
  bool ReadByte(uint8_t* byte);
  // A variable-length quantity of at most four bytes.
  bool ReadVarLen(int32_t* value);
  // A length followed by that many bytes of data, which are skipped.
  bool ReadBlock(int32_t* length, const uint8_t** data);
  bool ReadChannelMessage(uint8_t first, int32_t* message);
  void EndTrack();
  // Adds the delta at the cursor to the next event's tick.
  void AdvanceToNextEvent();

  const uint8_t* mData = nullptr;
  int32_t mLength = 0;
  int16_t mDivision = 0;
  const uint8_t* mCursor = nullptr;
  int32_t mBytesLeft = 0;
  uint8_t mRunningStatus = 0;
  int32_t mNextEventTick = kNoMoreEvents;
};

// Plays the tracks merged by tick (the first listed wins among equals),
// with the first non-negative division among them.
bool MidiPlayTracks(UUList<MidiTrack*>& tracks, MidiSink& sink);
