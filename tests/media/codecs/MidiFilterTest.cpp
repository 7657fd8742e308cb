#include "media/codecs/MidiFilter.h"

#include <gtest/gtest.h>

#include "tests/media/codecs/MidiTestSupport.h"

namespace {

using Calls = std::vector<std::string>;

constexpr uint8_t kTempo250000[3] = {0x03, 0xD0, 0x90};

TEST(MidiFilterTest, ForwardsEveryCallAndAnswersTrueAlone) {
  RecordingSink sink;
  MidiFilter filter(&sink);
  const uint8_t data[1] = {0};
  EXPECT_TRUE(filter.Begin(120));
  EXPECT_EQ(filter.GetDivision(), 120);
  filter.Delta(7);
  filter.ShortMessage(0x3C90);
  filter.SysEx(true, 1, data);
  filter.Meta(1, 1, data);
  filter.End(false);
  EXPECT_EQ(sink.mCalls, (Calls{"begin 120", "+7", "msg 003C90", "sysex+ 1", "meta 1 1", "end"}));
  MidiFilter alone(nullptr);
  EXPECT_TRUE(alone.ShortMessage(0x3C90));
  EXPECT_TRUE(alone.End(true));
}

TEST(MidiFilterTest, SysExAndMetaFiltersDropTheirEvents) {
  RecordingSink sink;
  MidiSysExMsgFilter noSysEx(&sink);
  MidiMetaEventFilter tempoOnly(&noSysEx);
  const uint8_t data[3] = {1, 2, 3};
  EXPECT_TRUE(tempoOnly.SysEx(false, 3, data));
  EXPECT_TRUE(tempoOnly.Meta(1, 3, data));
  EXPECT_TRUE(tempoOnly.Meta(kMidiMetaTempo, 2, data));  // not a whole tempo
  EXPECT_TRUE(tempoOnly.Meta(kMidiMetaTempo, 3, data));
  EXPECT_EQ(sink.mCalls, (Calls{"meta 81 3"}));
}

TEST(MidiFilterTest, BaseSynthCopiesLowChannelsUpAndDropsHighOnes) {
  const struct {
    int32_t message;
    Calls calls;
  } cases[] = {
      {0x406492, {"msg 406492", "msg 40649C"}},  // channel 2 and 12
      {0x406499, {"msg 406499", "msg 40649F"}},  // percussion: 9 and 15
      {0x406497, {"msg 406497"}},                // channel 7 alone
      {0x40649C, {}},                            // channel 12 dropped
      {0x0005C0, {"msg 0005C0", "msg 0005CA"}},  // program change on 0 and 10
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    MidiBaseSynthFilter filter(&sink);
    EXPECT_TRUE(filter.ShortMessage(c.message));
    EXPECT_EQ(sink.mCalls, c.calls) << std::hex << c.message;
  }
}

TEST(MidiFilterTest, BaseSynthStopsWhenTheFirstCopyIsRefused) {
  RecordingSink sink;
  sink.mRefuseAfter = 0;
  MidiBaseSynthFilter filter(&sink);
  EXPECT_FALSE(filter.ShortMessage(0x406492));
  EXPECT_EQ(sink.mCalls, (Calls{"msg 406492"}));
}

TEST(MidiFilterTest, TimerCountsMillisecondsAtTheCurrentTempo) {
  RecordingSink sink;
  MidiTimer timer(&sink);
  EXPECT_EQ(timer.GetMilliseconds(), 0);  // no division yet
  timer.Begin(480);
  timer.Delta(960);
  EXPECT_EQ(timer.GetMilliseconds(), 1000);
  timer.Meta(kMidiMetaTempo, 3, kTempo250000);
  EXPECT_EQ(timer.GetTempo(), 250000u);
  EXPECT_EQ(timer.GetMilliseconds(), 500);
  timer.Delta(1);  // 961 / 480 x 250 = 500.52
  EXPECT_EQ(timer.GetMilliseconds(), 500);
  timer.Begin(480);
  EXPECT_EQ(timer.GetTempo(), 500000u);
  EXPECT_EQ(timer.GetMilliseconds(), 0);
  EXPECT_EQ(sink.mCalls.back(), "begin 480");
}

TEST(MidiFilterTest, InspectorRecordsTheKindsOfMessagePerChannel) {
  RecordingSink sink;
  MidiInspector inspector(&sink);
  inspector.Begin(96);
  const int32_t messages[] = {
      0x403C90, 0x003C83,  // notes on 0 and 3
      0x0001B1, 0x0006B1, 0x0007B1, 0x000AB1, 0x000BB1, 0x0026B1,
      0x005BB1, 0x005DB1, 0x0064B1, 0x0065B1, 0x0040B1,  // controllers on 1; 64 unrecorded
      0x0003C2, 0x2000E2, 0x0040A2, 0x0040D2,            // program, bend, aftertouch on 2
      0x403C9C, 0x0000F8,                                // channel 12 and a system message
  };
  for (int32_t message : messages) EXPECT_TRUE(inspector.ShortMessage(message));
  EXPECT_EQ(inspector.GetFlags(0), MidiInspector::kNotes);
  EXPECT_EQ(inspector.GetFlags(3), MidiInspector::kNotes);
  EXPECT_EQ(inspector.GetFlags(1), 0x0FDEu);
  EXPECT_EQ(inspector.GetFlags(2), MidiInspector::kProgram | MidiInspector::kPitchBend);
  EXPECT_EQ(inspector.GetFlags(8), 0u);
  EXPECT_EQ(sink.mCalls, (Calls{"begin 96"}));  // messages stop here
  inspector.Begin(96);
  EXPECT_EQ(inspector.GetFlags(0), 0u);
}

}  // namespace
