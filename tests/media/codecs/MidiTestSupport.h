#pragma once
// Helpers of the MIDI tests and fuzzer: a sink that records the calls it
// receives as text, and a file reader that keeps each track chunk.

#include "foundation/uu/UUList.h"
#include "media/codecs/MidiFileReader.h"
#include "media/codecs/MidiSink.h"
#include "media/codecs/MidiTrack.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class RecordingSink : public MidiSink {
 public:
  bool Begin(int16_t division) override {
    Add("begin " + std::to_string(division));
    return MidiSink::Begin(division);
  }
  bool Delta(int32_t ticks) override {
    if (ticks != 0) Add("+" + std::to_string(ticks));
    return Answer();
  }
  bool ShortMessage(int32_t message) override {
    char text[16];
    std::snprintf(text, sizeof text, "msg %06X", static_cast<unsigned>(message));
    Add(text);
    return Answer();
  }
  bool SysEx(bool continuation, int32_t length, const uint8_t*) override {
    Add(std::string(continuation ? "sysex+ " : "sysex ") + std::to_string(length));
    return Answer();
  }
  bool Meta(uint8_t type, int32_t length, const uint8_t*) override {
    Add("meta " + std::to_string(type) + " " + std::to_string(length));
    return Answer();
  }
  bool End(bool aborted) override {
    Add(aborted ? "end aborted" : "end");
    return true;
  }

  std::vector<std::string> mCalls;
  // Event calls after this many answer false.
  int mRefuseAfter = 1 << 30;

 private:
  void Add(const std::string& call) { mCalls.push_back(call); }
  bool Answer() { return --mRefuseAfter >= 0; }
};

// Keeps a copy of every track chunk and a track over it.
class TrackCollector : public MidiFileReader {
 public:
  ~TrackCollector() override { mTrackList.Clear(); }

  std::vector<std::unique_ptr<std::vector<uint8_t>>> mChunks;
  std::vector<std::unique_ptr<MidiTrack>> mTracks;
  UUList<MidiTrack*> mTrackList;

 protected:
  bool OnChunk(uint32_t type, int32_t length, UURandomAccessStream& stream) override {
    if (type != kMidiTrackChunk) return true;
    auto chunk = std::make_unique<std::vector<uint8_t>>(static_cast<size_t>(length));
    if (length > 0 && !stream.Read(chunk->data(), static_cast<uint32_t>(length))) return false;
    mTracks.push_back(std::make_unique<MidiTrack>(chunk->data(), length, GetDivision()));
    mTrackList.PushBack(mTracks.back().get());
    mChunks.push_back(std::move(chunk));
    return true;
  }
};

// A Standard MIDI File of the given track bodies, header fields as given.
inline std::vector<uint8_t> MakeSmf(const std::vector<std::vector<uint8_t>>& tracks,
                                    int16_t division, int16_t format = 1,
                                    uint32_t headerLength = 6) {
  std::vector<uint8_t> file;
  auto put32 = [&file](uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
      file.push_back(static_cast<uint8_t>(value >> shift));
  };
  auto put16 = [&file](uint16_t value) {
    file.push_back(static_cast<uint8_t>(value >> 8));
    file.push_back(static_cast<uint8_t>(value));
  };
  put32(kMidiHeaderChunk);
  put32(headerLength);
  put16(static_cast<uint16_t>(format));
  put16(static_cast<uint16_t>(tracks.size()));
  put16(static_cast<uint16_t>(division));
  for (const auto& track : tracks) {
    put32(kMidiTrackChunk);
    put32(static_cast<uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
  }
  return file;
}
