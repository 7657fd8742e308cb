#include "media/codecs/MidiTrack.h"

#include <gtest/gtest.h>

#include "tests/media/codecs/MidiTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Calls = std::vector<std::string>;

constexpr int16_t kDivision = 96;

// Plays bytes held in a block of exactly their size, so that a read past
// the track shows under the address sanitizer.
Calls Play(const Bytes& bytes, bool* answer = nullptr) {
  std::unique_ptr<uint8_t[]> block(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), block.get());
  MidiTrack track(block.get(), static_cast<int32_t>(bytes.size()), kDivision);
  RecordingSink sink;
  const bool played = track.Play(sink);
  if (answer != nullptr) *answer = played;
  return sink.mCalls;
}

TEST(MidiTrackTest, PlaysEveryKindOfEventWithRunningStatus) {
  const Bytes track = {0x00, 0x90, 0x3C, 0x7F,        // note on
                       0x60, 0x3C, 0x00,              // running status
                       0x00, 0xC1, 0x05,              // program change: one data byte
                       0x81, 0x00, 0xF0, 0x01, 0xF7,  // sysex after 128 ticks
                       0x00, 0xF7, 0x00,              // continuation
                       0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00};
  bool answer = false;
  EXPECT_EQ(Play(track, &answer),
            (Calls{"begin 96", "msg 7F3C90", "+96", "msg 003C90", "msg 0005C1", "+128", "sysex 1",
                   "sysex+ 0", "meta 81 3", "meta 47 0", "end"}));
  EXPECT_TRUE(answer);
}

// Tracks that end inside an event, or carry damage, end there: the player
// reports an aborted stream and nothing is read past the data.
TEST(MidiTrackTest, DamagedTracksEndWithoutReadingPastTheirData) {
  const struct {
    const char* name;
    Bytes bytes;
    Calls calls;
  } cases[] = {
      {"meta past the end",
       {0x00, 0x90, 0x3C, 0x7F, 0x00, 0xFF, 0x01, 0x05, 'a'},
       {"begin 96", "msg 7F3C90", "end aborted"}},
      {"meta without its type", {0x00, 0xFF}, {"begin 96", "end aborted"}},
      {"sysex past the end", {0x00, 0xF0, 0x03, 0x01}, {"begin 96", "end aborted"}},
      {"message without data2", {0x00, 0x90, 0x3C}, {"begin 96", "end aborted"}},
      {"message without data1", {0x00, 0xC0}, {"begin 96", "end aborted"}},
      {"length quantity cut", {0x00, 0xFF, 0x01, 0x81}, {"begin 96", "end aborted"}},
      {"data without status", {0x00, 0x3C, 0x7F}, {"begin 96", "end aborted"}},
      {"sysex over the limit", {0x00, 0xF0, 0x82, 0xFF, 0x7F}, {"begin 96", "end aborted"}},
  };
  for (const auto& c : cases) {
    bool answer = true;
    EXPECT_EQ(Play(c.bytes, &answer), c.calls) << c.name;
    EXPECT_FALSE(answer) << c.name;
  }
}

TEST(MidiTrackTest, ADeltaWithoutAnEventIsTheEnd) {
  const struct {
    const char* name;
    Bytes bytes;
    Calls calls;
  } cases[] = {
      {"only a delta", {0x10}, {"begin 96", "end"}},
      {"trailing delta", {0x00, 0x90, 0x3C, 0x7F, 0x83}, {"begin 96", "msg 7F3C90", "end"}},
      {"empty", {}, {"begin 96", "end"}},
  };
  for (const auto& c : cases) {
    if (c.bytes.empty()) {
      MidiTrack track(reinterpret_cast<const uint8_t*>(""), 0, kDivision);
      RecordingSink sink;
      EXPECT_TRUE(track.Play(sink));
      EXPECT_EQ(sink.mCalls, c.calls);
      continue;
    }
    EXPECT_EQ(Play(c.bytes), c.calls) << c.name;
  }
}

TEST(MidiTrackTest, TimePastWhatATickCountsEndsTheTrack) {
  constexpr uint8_t kLargestDelta[4] = {0xFF, 0xFF, 0xFF, 0x7F};
  Bytes bytes = {0x00, 0x90, 0x3C, 0x7F};
  Calls expected = {"begin 96", "msg 7F3C90"};
  for (int i = 0; i < 9; ++i) {
    bytes.insert(bytes.end(), std::begin(kLargestDelta), std::end(kLargestDelta));
    bytes.insert(bytes.end(), {0x3C, 0x00});
    // Eight such deltas reach 2147483640 ticks; the ninth would pass INT_MAX.
    if (i < 8) expected.insert(expected.end(), {"+268435455", "msg 003C90"});
  }
  expected.push_back("end");
  EXPECT_EQ(Play(bytes), expected);
}

TEST(MidiTrackTest, ATrackWithoutDataPlaysNoEvents) {
  const Bytes bytes = {0x00, 0x90, 0x3C, 0x7F};
  MidiTrack track(bytes.data(), static_cast<int32_t>(bytes.size()), kDivision);
  track.Reset(nullptr, 0, kDivision);
  RecordingSink sink;
  EXPECT_TRUE(track.Play(sink));
  EXPECT_EQ(sink.mCalls, (Calls{"begin 96", "end"}));
  RecordingSink empty;
  EXPECT_TRUE(MidiTrack().Play(empty));
  EXPECT_EQ(empty.mCalls, (Calls{"begin 0", "end"}));
}

TEST(MidiTrackTest, ARefusingSinkEndsThePlayAborted) {
  const Bytes bytes = {0x00, 0x90, 0x3C, 0x7F, 0x10, 0x3C, 0x00};
  MidiTrack track(bytes.data(), static_cast<int32_t>(bytes.size()), kDivision);
  RecordingSink sink;
  sink.mRefuseAfter = 1;  // the first delta passes, the message is refused
  EXPECT_FALSE(track.Play(sink));
  EXPECT_EQ(sink.mCalls, (Calls{"begin 96", "msg 7F3C90", "end aborted"}));
  // A second play starts again from the first event.
  RecordingSink again;
  EXPECT_TRUE(track.Play(again));
  EXPECT_EQ(again.mCalls.size(), 5u);
}

TEST(MidiTrackTest, MergedTracksPlayInTickOrderFirstListedFirst) {
  const Bytes first = {0x10, 0x90, 0x3C, 0x7F, 0x10, 0x80, 0x3C, 0x00};
  const Bytes second = {0x00, 0x91, 0x40, 0x7F, 0x10, 0x81, 0x40, 0x00, 0x05, 0xFF, 0x01, 0x00};
  MidiTrack a(first.data(), static_cast<int32_t>(first.size()), -1);
  MidiTrack b(second.data(), static_cast<int32_t>(second.size()), kDivision);
  MidiTrack c(second.data(), static_cast<int32_t>(second.size()), 480);
  UUList<MidiTrack*> tracks;
  tracks.PushBack(&a);
  tracks.PushBack(&b);
  tracks.PushBack(&c);
  RecordingSink sink;
  EXPECT_TRUE(MidiPlayTracks(tracks, sink));
  EXPECT_EQ(sink.mCalls,
            (Calls{"begin 96", "msg 7F4091", "msg 7F4091", "+16", "msg 7F3C90", "msg 004081",
                   "msg 004081", "+5", "meta 1 0", "meta 1 0", "+11", "msg 003C80", "end"}));
  tracks.Clear();
}

}  // namespace
