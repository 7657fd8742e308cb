#pragma once
// Reads a Standard MIDI File: checks the "MThd" header and hands every
// following chunk to OnChunk, which a derived reader supplies.

#include "foundation/uu/UURandomAccessStream.h"

#include <cstdint>

class MidiFileReader {
 public:
  enum Result : int {
    kSuccess = 0,
    kStreamError = 1,
    kBadHeader = 2,
    kFormat2 = 3,  // independent tracks are not read
    kChunkRefused = 4,
  };

  virtual ~MidiFileReader() = default;

  // The stream is read big-endian from its current position.
  int Read(UURandomAccessStream& stream);

  int16_t GetDivision() const { return mDivision; }
  int16_t GetTrackCount() const { return mTrackCount; }

 protected:
  // The stream stands at the chunk's data, of which length bytes lie in the
  // stream; false refuses the file.
  virtual bool OnChunk(uint32_t type, int32_t length, UURandomAccessStream& stream) = 0;

 private:
  int ReadHeader(UURandomAccessStream& stream);
  int ReadChunks(UURandomAccessStream& stream);

  int16_t mDivision = 0;
  int16_t mTrackCount = 0;
};

// Chunk types: the four characters as a big-endian word.
constexpr uint32_t kMidiHeaderChunk = 0x4D546864;  // "MThd"
constexpr uint32_t kMidiTrackChunk = 0x4D54726B;   // "MTrk"
