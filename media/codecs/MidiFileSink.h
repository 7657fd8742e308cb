#pragma once
// Sinks at the end of a MIDI event chain that write the stream to a writer
// (not owned) through a 4096-byte buffer: as Standard MIDI File track data,
// or as the 12-byte event records of the Windows MIDI stream interface.
// Nothing is written out by a destructor: End flushes.

#include "foundation/uu/UUWriter.h"
#include "media/codecs/MidiSink.h"

#include <cstdint>

class MidiBufferedFileSink : public MidiSink {
 public:
  static constexpr uint32_t kBufferSize = 4096;

  // Without memory for the buffer every write goes straight to the writer.
  explicit MidiBufferedFileSink(UUWriter& writer);
  ~MidiBufferedFileSink() override;
  MidiBufferedFileSink(const MidiBufferedFileSink&) = delete;
  MidiBufferedFileSink& operator=(const MidiBufferedFileSink&) = delete;

  bool Begin(int16_t division) override;
  bool Delta(int32_t ticks) override;
  // Writes out the buffer; answers whether the writer has no error.
  bool End(bool aborted) override;

  // Buffered write of n bytes; n = 0 writes out what the buffer holds.
  void Put(const uint8_t* data, uint32_t n);
  // A variable-length quantity: 7 bits a byte, most significant first.
  bool WriteVarLen(uint32_t value);
  // The time since the last written event, which is now.
  bool WriteDelta();

 protected:
  bool WriterGood() { return mWriter.GetError() == kUUNoError; }
  void PutByte(uint8_t byte) { Put(&byte, 1); }

  uint32_t mTicks = 0;
  uint32_t mLastEventTicks = 0;

 private:
  void WriteBuffer();

  UUWriter& mWriter;
  uint8_t* mBuffer;
  uint32_t mBuffered = 0;
};

// Standard MIDI File track data with running status; End writes the
// end-of-track event.
class MidiFileSinkMidi : public MidiBufferedFileSink {
 public:
  using MidiBufferedFileSink::MidiBufferedFileSink;

  bool Begin(int16_t division) override;
  bool ShortMessage(int32_t message) override;
  bool SysEx(bool continuation, int32_t length, const uint8_t* data) override;
  bool Meta(uint8_t type, int32_t length, const uint8_t* data) override;
  bool End(bool aborted) override;

 private:
  uint8_t mRunningStatus = 0;
};

// MIDIEVENT records without parameters: uint32 delta ticks, stream id 0 and
// event, little-endian. Short messages and tempo changes are written; End
// closes the stream with an end-of-track record.
class MidiFileSinkWindows : public MidiBufferedFileSink {
 public:
  using MidiBufferedFileSink::MidiBufferedFileSink;

  bool ShortMessage(int32_t message) override;
  bool Meta(uint8_t type, int32_t length, const uint8_t* data) override;
  bool End(bool aborted) override;

  static constexpr uint32_t kRecordSize = 12;
  // Event words: the type in the high byte (MEVT_SHORTMSG 0, MEVT_TEMPO 1).
  static constexpr uint32_t kTempoEvent = 0x01000000;
  static constexpr uint32_t kEndOfTrackEvent = 0x00002FFF;

 private:
  void PutRecord(uint32_t event);
};
