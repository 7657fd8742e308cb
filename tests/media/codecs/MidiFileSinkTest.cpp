#include "media/codecs/MidiFileSink.h"

#include <gtest/gtest.h>

#include "tests/media/codecs/VectorWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kNoteOnC4 = 0x7F3C90;                 // channel 0, key 60, velocity 127
constexpr int32_t kNoteOnE4 = 0x644090;                 // channel 0, key 64, velocity 100
constexpr int32_t kProgram5 = 0x0005C1;                 // channel 1, program 5
constexpr uint8_t kTempoBytes[3] = {0x03, 0xD0, 0x90};  // 250000 us

TEST(MidiFileSinkTest, VariableLengthQuantities) {
  const struct {
    uint32_t value;
    Bytes bytes;
  } cases[] = {
      {0, {0x00}},
      {127, {0x7F}},
      {128, {0x81, 0x00}},
      {16383, {0xFF, 0x7F}},
      {16384, {0x81, 0x80, 0x00}},
      {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
  };
  for (const auto& c : cases) {
    VectorWriter writer;
    MidiFileSinkMidi sink(writer);
    sink.Begin(96);
    EXPECT_TRUE(sink.WriteVarLen(c.value));
    sink.Put(nullptr, 0);
    EXPECT_EQ(writer.mBytes, c.bytes) << c.value;
  }
}

// Two note-ons, with nothing, a sysex or a meta event between them.
TEST(MidiFileSinkTest, RunningStatusIsBrokenOnlyBySysEx) {
  const uint8_t sysex[2] = {0x43, 0xF7};
  const uint8_t text[1] = {'a'};
  const struct {
    const char* between;
    Bytes expected;
  } cases[] = {
      {"nothing", {0x00, 0x90, 0x3C, 0x7F, 0x10, 0x40, 0x64}},
      {"sysex", {0x00, 0x90, 0x3C, 0x7F, 0x10, 0xF0, 0x02, 0x43, 0xF7, 0x00, 0x90, 0x40, 0x64}},
      {"meta", {0x00, 0x90, 0x3C, 0x7F, 0x10, 0xFF, 0x01, 0x01, 'a', 0x00, 0x40, 0x64}},
  };
  for (const auto& c : cases) {
    VectorWriter writer;
    MidiFileSinkMidi sink(writer);
    sink.Begin(96);
    sink.ShortMessage(kNoteOnC4);
    sink.Delta(16);
    if (std::string(c.between) == "sysex") sink.SysEx(false, 2, sysex);
    if (std::string(c.between) == "meta") sink.Meta(1, 1, text);
    EXPECT_TRUE(sink.ShortMessage(kNoteOnE4));
    sink.Put(nullptr, 0);
    EXPECT_EQ(writer.mBytes, c.expected) << c.between;
  }
}

TEST(MidiFileSinkTest, MidiSinkWritesOneDataByteForProgramChangesAndEndsTheTrack) {
  VectorWriter writer;
  MidiFileSinkMidi sink(writer);
  sink.Begin(96);
  sink.ShortMessage(kProgram5);
  sink.Delta(200);
  EXPECT_TRUE(sink.Meta(kMidiMetaEndOfTrack, 0, nullptr));  // left to End
  EXPECT_TRUE(sink.End(false));
  EXPECT_EQ(writer.mBytes, (Bytes{0x00, 0xC1, 0x05, 0x81, 0x48, 0xFF, 0x2F, 0x00}));
}

TEST(MidiFileSinkTest, AbortedEndWritesNoEndOfTrack) {
  VectorWriter writer;
  MidiFileSinkMidi sink(writer);
  sink.Begin(96);
  sink.ShortMessage(kNoteOnC4);
  EXPECT_TRUE(sink.End(true));
  EXPECT_EQ(writer.mBytes, (Bytes{0x00, 0x90, 0x3C, 0x7F}));
}

TEST(MidiFileSinkTest, WriterErrorStopsTheStream) {
  VectorWriter writer(2);
  MidiFileSinkMidi sink(writer);
  sink.Begin(96);
  const Bytes big(5000, 0x11);
  EXPECT_FALSE(sink.SysEx(false, static_cast<int32_t>(big.size()), big.data()));
  EXPECT_FALSE(sink.ShortMessage(kNoteOnC4));
  EXPECT_FALSE(sink.End(false));
}

TEST(MidiFileSinkTest, WindowsRecordsOfAShortMessageAndTheEnd) {
  VectorWriter writer;
  MidiFileSinkWindows sink(writer);
  sink.Begin(96);
  sink.Delta(5);
  EXPECT_TRUE(sink.ShortMessage(kNoteOnC4));
  EXPECT_TRUE(sink.End(false));
  EXPECT_EQ(writer.mBytes, (Bytes{5, 0, 0, 0, 0, 0, 0, 0, 0x90, 0x3C, 0x7F, 0,  //
                                  0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0x2F, 0,    0}));
}

TEST(MidiFileSinkTest, WindowsRecordsTempoOnlyAmongMetaEvents) {
  VectorWriter writer;
  MidiFileSinkWindows sink(writer);
  sink.Begin(96);
  const uint8_t text[2] = {'h', 'i'};
  EXPECT_TRUE(sink.Meta(1, 2, text));
  EXPECT_TRUE(sink.SysEx(false, 2, text));
  sink.Delta(3);
  EXPECT_TRUE(sink.Meta(kMidiMetaTempo, 3, kTempoBytes));
  EXPECT_TRUE(sink.End(true));
  EXPECT_EQ(writer.mBytes, (Bytes{3, 0, 0, 0, 0, 0, 0, 0, 0x90, 0xD0, 0x03, 0x01}));
}

// Small writes collect in the buffer; a write that would take it past two
// buffers' worth goes straight through after the buffered bytes.
TEST(MidiFileSinkTest, PutKeepsTheOrderOfBufferedAndDirectWrites) {
  const uint32_t sizes[] = {1, 3, 4000, 200, 1, 9000, 1, 4095, 4096, 7};
  VectorWriter writer;
  MidiFileSinkMidi sink(writer);
  sink.Begin(96);
  Bytes expected;
  uint8_t next = 0;
  for (uint32_t size : sizes) {
    Bytes piece(size);
    for (uint8_t& byte : piece) byte = next++;
    sink.Put(piece.data(), size);
    expected.insert(expected.end(), piece.begin(), piece.end());
  }
  EXPECT_LT(writer.mBytes.size(), expected.size());  // some bytes still buffered
  sink.Put(nullptr, 0);
  EXPECT_EQ(writer.mBytes, expected);
  for (int i = 0; i < 5000; ++i) sink.Put(&next, 1);
  EXPECT_EQ(writer.mBytes.size(), expected.size() + MidiBufferedFileSink::kBufferSize);
}

}  // namespace
