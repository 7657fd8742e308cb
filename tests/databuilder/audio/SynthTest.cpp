// The synthesizer: same patch, same samples; loops whose end runs on into
// their start, noise ones included; sounds within their peak; note names
// at their pitch and a bad one refused.

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/audio/SoundRecipe.h"
#include "tools/databuilder/audio/Tune.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace databuilder {
namespace {

constexpr int32_t kRate = 22050;

SoundRecipe Parse(const char* text) {
  return ReadSoundRecipe(Recipe{"test", "test.toml", toml::parse(text)});
}

int32_t LargestStep(const std::vector<int16_t>& s) {
  int32_t largest = 0;
  for (size_t i = 1; i < s.size(); ++i) largest = std::max(largest, std::abs(s[i] - s[i - 1]));
  return largest;
}

TEST(SynthTest, LoopsRunOnFromTheirEndIntoTheirStart) {
  const char* loops[] = {
      R"(seconds = 0.5
         loop = true
         voices = [{ wave = "noise", lowpass = 900, tremolo = [4, 0.3] }])",
      R"(seconds = 0.5
         loop = true
         voices = [{ wave = "square", hz = [113], lowpass = 800, tremolo = [16.3, 0.4] }])",
      R"(seconds = 2.0
         loop = true
         tune = [{ notes = "C5 E5 G5 C6", instrument = "bell" }])",
  };
  for (const char* text : loops) {
    const std::vector<int16_t> s = MakeSound(Parse(text), kRate);
    ASSERT_FALSE(s.empty());
    EXPECT_LE(std::abs(s.front() - s.back()), LargestStep(s)) << text;
  }
}

// A note of a looped tune dies away: it does not hum round the loop.
TEST(SynthTest, ALoopedTunesNotesFallSilent) {
  const std::vector<int16_t> s = MakeSound(Parse(R"(seconds = 2.0
     loop = true
     tune = [{ notes = "C5 - - - - - - -" }])"),
                                           kRate);
  ASSERT_EQ(s.size(), static_cast<size_t>(2 * kRate));
  const auto loudest = [&](size_t from) {
    int32_t peak = 0;
    for (size_t i = from; i < s.size(); ++i) peak = std::max(peak, std::abs(int32_t{s[i]}));
    return peak;
  };
  EXPECT_LT(loudest(s.size() * 3 / 4), loudest(0) / 50);
}

TEST(SynthTest, TheSameRecipeMakesTheSameSamplesWithinTheirPeak) {
  const char* text = R"(seconds = 0.3
     voices = [{ wave = "noise", seconds = 0.3, lowpass = 1200 },
               { wave = "sine", hz = [800, 300], seconds = 0.1, gain = 0.3 }])";
  const std::vector<int16_t> first = MakeSound(Parse(text), kRate);
  EXPECT_EQ(first, MakeSound(Parse(text), kRate));
  EXPECT_EQ(first.size(), static_cast<size_t>(0.3 * kRate + 0.5));
  int32_t peak = 0;
  for (int16_t s : first) peak = std::max(peak, std::abs(static_cast<int32_t>(s)));
  EXPECT_EQ(peak, std::lround(kDefaultSoundLevel * 32767.0));
}

TEST(SynthTest, AJingleLastsItsFrames) {
  const std::vector<int16_t> s = MakeSound(Parse(R"(frames = 50
                         tune = [{ notes = "G5 E5 C5" }])"),
                                           kRate);
  EXPECT_EQ(s.size(), static_cast<size_t>(50 * kRate / 30));
}

TEST(SynthTest, ATuneSoundsTheSameEveryTime) {
  const char* text = R"(seconds = 2.0
                       loop = true
                       tempo = 128
                       tune = [{ notes = "C5 E5 G5 -", instrument = "marimba" },
                               { notes = "C3x2 G3x2", instrument = "pluck", gain = 0.6 }])";
  const std::vector<int16_t> first = MakeSound(Parse(text), kRate);
  ASSERT_EQ(first.size(), static_cast<size_t>(2 * kRate));
  EXPECT_EQ(first, MakeSound(Parse(text), kRate));
  EXPECT_TRUE(std::any_of(first.begin(), first.end(), [](int16_t s) { return s != 0; }));
}

TEST(SynthTest, NotesHaveTheirKeysAndBadOnesAreRefused) {
  EXPECT_EQ(NoteKey("A4"), 69);
  EXPECT_EQ(NoteKey("C4"), 60);
  EXPECT_EQ(NoteKey("F#4"), 66);
  EXPECT_EQ(NoteKey("Bb3"), 58);
  for (const char* bad : {"", "H4", "C", "C#", "Cx", "C44"}) {
    EXPECT_THROW(NoteKey(bad), BuildError) << bad;
  }
  EXPECT_THROW(Parse(R"(seconds = 0.1
                        tune = [{ notes = "C5", instrument = "kazoo" }])"),
               BuildError);
  EXPECT_THROW(Parse(R"(seconds = 0.1
                        tune = [{ notes = "C5", step = 0 }])"),
               BuildError);
  EXPECT_THROW(Parse(R"(seconds = 0.1
                        voices = [{ wave = "saw" }])"),
               BuildError);
  EXPECT_THROW(Parse("seconds = 0.1"), BuildError);
}

}  // namespace
}  // namespace databuilder
