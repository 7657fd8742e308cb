// The sound rules catch what they are for: a loop whose end jumps to its
// start, a peak above -3 dBFS, a DC offset, a jingle a frame too long, a
// sound far quieter than the jingles beside it; and the built sounds and
// films keep them all (the content check's Sounds and Films cases).

#include "tools/databuilder/check/SoundChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using content_check::CheckSoundSamples;
using content_check::SoundRule;

// A sine of whole periods: it loops without a jump.
std::vector<int16_t> Tone(size_t count, double periods, double level, double offset = 0.0) {
  std::vector<int16_t> samples;
  for (size_t i = 0; i < count; ++i) {
    const double phase =
        2.0 * std::numbers::pi * periods * static_cast<double>(i) / static_cast<double>(count);
    samples.push_back(static_cast<int16_t>(std::lround(level * std::sin(phase) + offset)));
  }
  return samples;
}

TEST(SoundRulesTest, EachRuleFindsItsFault) {
  const SoundRule loop = content_check::SoundRuleOf(17);
  const SoundRule effect = content_check::SoundRuleOf(0);
  struct Case {
    const char* what;
    std::vector<int16_t> samples;
    SoundRule rule;
    bool sound;
  };
  const Case cases[] = {
      {"a seamless loop", Tone(11025, 100, 20000), loop, true},
      {"a loop cut at a crest", Tone(11025, 100.25, 20000), loop, false},
      {"too loud", Tone(2205, 20, 24000), effect, false},
      {"a DC offset", Tone(2205, 20, 10000, 1000), effect, false},
      {"too short", Tone(441, 4, 10000), effect, false},
      {"a jingle a frame and more too long", Tone(45000, 400, 10000),
       content_check::SoundRuleOf(42), false},
      {"a jingle of its range", Tone(44100, 400, 10000), content_check::SoundRuleOf(42), true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckSoundSamples(c.samples, c.rule, "s").empty(), c.sound) << c.what;
  }
}

TEST(SoundRulesTest, ASoundBesideTheJinglesIsAsLoudWithinSixDecibels) {
  const std::vector<std::vector<int16_t>> jingles = {Tone(2205, 20, 20000), Tone(2205, 40, 16000)};
  struct Case {
    const char* what;
    std::vector<int16_t> samples;
    bool sound;
  };
  const Case cases[] = {
      {"as loud", Tone(2205, 30, 18000), true},
      {"4 dB quieter", Tone(2205, 30, 11350), true},
      {"8 dB quieter", Tone(2205, 30, 7150), false},
      {"20 dB quieter", Tone(2205, 30, 1800), false},
      {"5 dB louder", Tone(2205, 30, 32000), true},
      {"silent", std::vector<int16_t>(2205, 0), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(content_check::CheckLoudness(c.samples, jingles, "s").empty(), c.sound) << c.what;
  }
  EXPECT_FALSE(content_check::CheckLoudness(Tone(2205, 30, 18000), {}, "s").empty());
}

TEST(SoundRulesTest, OnlyTheMusicIsStreamed) {
  EXPECT_TRUE(content_check::SoundRuleOf(66).streamed);
  EXPECT_TRUE(content_check::SoundRuleOf(66).loop);
  EXPECT_FALSE(content_check::SoundRuleOf(47).streamed);
  EXPECT_TRUE(content_check::SoundRuleOf(47).loop);
}

}  // namespace
