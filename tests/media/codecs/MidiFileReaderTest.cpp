#include "media/codecs/MidiFileReader.h"

#include <gtest/gtest.h>

#include <functional>

#include "foundation/uu/UUMemory.h"
#include "media/codecs/MidiFileSink.h"
#include "media/codecs/MidiFilter.h"
#include "tests/media/codecs/MidiTestSupport.h"
#include "tests/media/codecs/VectorWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Calls = std::vector<std::string>;

constexpr int16_t kDivision = 480;

Bytes Cut(Bytes bytes, size_t n) {
  bytes.resize(bytes.size() - n);
  return bytes;
}

int ReadFile(Bytes file, TrackCollector& reader) {
  UUMemory stream(file.data(), static_cast<int32_t>(file.size()));
  return reader.Read(stream);
}

TEST(MidiFileReaderTest, HeaderChecks) {
  const Bytes track = {0x00, 0xFF, 0x2F, 0x00};
  const struct {
    const char* name;
    Bytes file;
    int result;
  } cases[] = {
      {"format 0", MakeSmf({track}, kDivision, 0), MidiFileReader::kSuccess},
      {"format 2", MakeSmf({track}, kDivision, 2), MidiFileReader::kFormat2},
      {"format 3", MakeSmf({track}, kDivision, 3), MidiFileReader::kBadHeader},
      {"header length 7", MakeSmf({track}, kDivision, 1, 7), MidiFileReader::kBadHeader},
      {"division 0", MakeSmf({track}, 0), MidiFileReader::kBadHeader},
      {"not a MIDI file", Bytes(14, 'x'), MidiFileReader::kBadHeader},
      {"cut in the header", Cut(MakeSmf({}, kDivision), 1), MidiFileReader::kStreamError},
      {"empty", {}, MidiFileReader::kStreamError},
  };
  for (const auto& c : cases) {
    TrackCollector reader;
    EXPECT_EQ(ReadFile(c.file, reader), c.result) << c.name;
  }
}

TEST(MidiFileReaderTest, ChunksMustLieInsideTheFile) {
  const Bytes track = {0x00, 0xFF, 0x2F, 0x00};
  Bytes file = MakeSmf({track, track}, kDivision);
  TrackCollector whole;
  EXPECT_EQ(ReadFile(file, whole), MidiFileReader::kSuccess);
  EXPECT_EQ(whole.mTracks.size(), 2u);
  EXPECT_EQ(whole.GetTrackCount(), 2);

  file.pop_back();  // the second chunk now claims a byte too many
  TrackCollector cut;
  EXPECT_EQ(ReadFile(file, cut), MidiFileReader::kStreamError);
  file.resize(file.size() - 6);  // the second chunk's header is cut
  TrackCollector cutHeader;
  EXPECT_EQ(ReadFile(file, cutHeader), MidiFileReader::kStreamError);
}

TEST(MidiFileReaderTest, AChunkTypeEndingIn2FClosesTheFile) {
  Bytes file = MakeSmf({{0x00, 0xFF, 0x2F, 0x00}}, kDivision);
  const Bytes closing = {'M', 'T', 'x', 0x2F, 0xFF, 0xFF};  // no length follows
  file.insert(file.end(), closing.begin(), closing.end());
  TrackCollector reader;
  EXPECT_EQ(ReadFile(file, reader), MidiFileReader::kSuccess);
  EXPECT_EQ(reader.mTracks.size(), 1u);
}

class RefusingReader : public MidiFileReader {
 protected:
  bool OnChunk(uint32_t, int32_t, UURandomAccessStream&) override { return false; }
};

TEST(MidiFileReaderTest, ARefusedChunkRefusesTheFile) {
  Bytes file = MakeSmf({{0x00, 0xFF, 0x2F, 0x00}}, kDivision);
  UUMemory stream(file.data(), static_cast<int32_t>(file.size()));
  RefusingReader reader;
  EXPECT_EQ(reader.Read(stream), MidiFileReader::kChunkRefused);
}

// Writes each track with the file sink, reads the file back, merges the
// tracks through the filters and writes the merged stream once more.
Bytes WriteTrack(const std::function<void(MidiSink&)>& events) {
  VectorWriter writer;
  MidiFileSinkMidi sink(writer);
  sink.Begin(kDivision);
  events(sink);
  EXPECT_TRUE(sink.End(false));
  return writer.mBytes;
}

TEST(MidiFileReaderTest, RoundTripReadMergeFilterWrite) {
  const uint8_t tempo[3] = {0x07, 0xA1, 0x20};
  const uint8_t sysex[3] = {0x7E, 0x01, 0xF7};
  const uint8_t name[4] = {'l', 'e', 'a', 'd'};
  const Bytes melody = WriteTrack([&](MidiSink& sink) {
    sink.Meta(kMidiMetaTempo, 3, tempo);
    sink.Meta(3, 4, name);
    sink.ShortMessage(0x7F3C90);
    sink.Delta(480);
    sink.ShortMessage(0x003C90);
  });
  const Bytes drums = WriteTrack([&](MidiSink& sink) {
    sink.SysEx(false, 3, sysex);
    sink.Delta(240);
    sink.ShortMessage(0x642499);
    sink.Delta(240);
    sink.ShortMessage(0x002499);
  });
  TrackCollector reader;
  ASSERT_EQ(ReadFile(MakeSmf({melody, drums}, kDivision), reader), MidiFileReader::kSuccess);

  VectorWriter merged;
  MidiFileSinkMidi sink(merged);
  MidiSysExMsgFilter noSysEx(&sink);
  MidiMetaEventFilter tempoOnly(&noSysEx);
  MidiTimer timer(&tempoOnly);
  EXPECT_TRUE(MidiPlayTracks(reader.mTrackList, timer));
  EXPECT_EQ(timer.GetMilliseconds(), 500);  // 480 ticks at 500000 us
  EXPECT_EQ(merged.mBytes, (Bytes{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo
                                  0x00, 0x90, 0x3C, 0x7F,                    // melody note
                                  0x81, 0x70, 0x99, 0x24, 0x64,              // drum at 240
                                  0x81, 0x70, 0x90, 0x3C, 0x00,              // melody at 480
                                  0x00, 0x99, 0x24, 0x00,                    // drum at 480
                                  0x00, 0xFF, 0x2F, 0x00}));
}

}  // namespace
