#include "app/creation/VPLToolSound.h"

#include "app/creation/VPLToolSoundArcade.h"
#include "app/creation/VPLToolSoundGeneric.h"
#include "app/objects/RU3DLogicalSoundChannel.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace area_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
constexpr int32_t kHalfUp = 81920;
constexpr int32_t kHalfDown = 49152;
constexpr int32_t kUpAtRange = 98304;

// Opens the choice of channel and tag to the test.
class ProbeSound : public VPLToolSoundGeneric {
 public:
  using VPLToolSoundGeneric::VPLToolSoundGeneric;
  int16_t ChosenTag(int16_t tag, bool alternate) const {
    int16_t chosen = -1;
    return Choose(tag, mOneShot.get(), mOneShot.get(), alternate, false, chosen) != nullptr
               ? chosen
               : int16_t{-1};
  }
  using VPLToolSound::SoundOf;
};

TEST(VPLToolSoundTest, TheAlternatePressPlaysOnlyWhereTheScriptHasIt) {
  AreaWorld world;
  ProbeSound both(&world.Area(), kMoveSoundScript);
  ProbeSound pressOnly(&world.Area(), kRotateSoundScript);
  ASSERT_NE(both.GetOneShotChannel(), nullptr);
  EXPECT_EQ(both.SoundOf(kVPLSoundPress), kPressSound);
  EXPECT_EQ(both.SoundOf(kVPLSoundPress + 1), kAlternatePressSound);
  EXPECT_EQ(both.SoundOf(kVPLSoundRelease), kMMNoResource);
  EXPECT_EQ(both.ChosenTag(kVPLSoundPress, true), kVPLSoundPress + 1);
  EXPECT_EQ(both.ChosenTag(kVPLSoundPress, false), kVPLSoundPress);
  EXPECT_EQ(pressOnly.ChosenTag(kVPLSoundPress, true), kVPLSoundPress);
  EXPECT_EQ(pressOnly.ChosenTag(kVPLSoundRelease, false), -1);
}

TEST(VPLToolSoundTest, APressPlaysWhereTheToolBegins) {
  AreaWorld world;
  VPLToolSoundGeneric sound(&world.Area(), kMoveSoundScript);
  const MM3DVector at(3.0f, 1.0f, 12.0f, 1.0f);
  sound.Begin(at, false);
  EXPECT_TRUE(sound.GetOneShotChannel()->mSource.Equals(at));
  EXPECT_TRUE(sound.GetStart().Equals(at));
}

// A loop channel that logs its plays and stops.
class LoggingChannel : public RU3DGenericSoundChannel {
 public:
  LoggingChannel(MMSoundGroup* group, std::vector<std::string>& log, const char* name)
      : RU3DGenericSoundChannel(group, kOrigin, kOrigin, kOrigin, 0), mLog(log), mName(name) {}
  void Play(const MMSoundReference& /*sound*/, bool loop) override {
    mLog.push_back(mName + (loop ? " loops" : " plays"));
  }
  bool Stop() override {
    mLog.push_back(mName + " stops");
    return true;
  }

 private:
  std::vector<std::string>& mLog;
  std::string mName;
};

class LoopProbe : public VPLToolSound {
 public:
  using VPLToolSound::FollowLoop;
  using VPLToolSound::GetSoundGroup;
  using VPLToolSound::VPLToolSound;
};

TEST(VPLToolSoundTest, ShiftSwapsTheLoopOnItsChannelOrBesideTheOther) {
  AreaWorld world;
  LoopProbe sound(&world.Area(), kMoveSoundScript);
  ASSERT_NE(sound.GetSoundGroup(), nullptr);
  std::vector<std::string> log;
  LoggingChannel normal(sound.GetSoundGroup(), log, "normal");
  LoggingChannel alternate(sound.GetSoundGroup(), log, "alternate");
  const MM3DVector at(1, 2, 3, 1);
  struct Case {
    const char* name;
    LoggingChannel* alternateChannel;
    std::vector<std::string> log;
  };
  // One channel (generic): the loop swaps on it, both ways. Two (arcade):
  // the other loop is left playing.
  for (const Case& c :
       {Case{"generic", &normal, {"normal stops", "normal loops", "normal stops", "normal loops"}},
        Case{"arcade",
             &alternate,
             {"alternate stops", "alternate loops", "normal stops", "normal loops"}}}) {
    log.clear();
    sound.SetStart(at, false);
    sound.FollowLoop(&normal, c.alternateChannel, at, true);
    sound.SetPosition(at, true);
    sound.FollowLoop(&normal, c.alternateChannel, at, true);  // no change: no swap
    sound.FollowLoop(&normal, c.alternateChannel, at, false);
    EXPECT_EQ(log, c.log) << c.name;
  }
}

TEST(VPLToolSoundTest, ThePitchFollowsTheScaleAndTheShapeWithinTheirRanges) {
  struct Case {
    const char* name;
    MM3DVector position;
    bool alternate;
    int32_t pitch;
  };
  for (const Case& c :
       {Case{"up 5", {0, 5, 0, 1}, false, kHalfUp}, Case{"down 5", {0, -5, 0, 1}, false, kHalfDown},
        Case{"up 10", {0, 10, 0, 1}, false, kVPLKeepPitch},
        Case{"at the start", {3, 0, 0, 1}, false, kVPLKeepPitch},
        Case{"Shift, right 5", {5, 0, 0, 1}, true, kHalfUp},
        Case{"Shift, left 5", {-5, 0, 0, 1}, true, kHalfDown}}) {
    EXPECT_EQ(VPLToolSoundScale::Pitch(kOrigin, c.position, c.alternate), c.pitch) << c.name;
  }
  for (const auto& [distance, pitch] :
       {std::pair{25.0f, kHalfUp}, std::pair{50.0f, kUpAtRange}, std::pair{80.0f, kUpAtRange}}) {
    EXPECT_EQ(VPLToolSoundPrimativeShape::Pitch(kOrigin, MM3DVector(0, 0, distance, 1)), pitch)
        << distance;
  }
}

TEST(VPLToolSoundTest, AStrokeSoundsAtJumpsAndSharpTurns) {
  AreaWorld world;
  VPLToolSoundDraw sound(&world.Area(), kRotateSoundScript);
  sound.SetStart(MM3DVector(0, 0, 0, 1), false);
  struct Step {
    const char* name;
    MM3DVector to;
    bool accent;
  };
  for (const Step& s :
       {Step{"left", {-1, 0, 0, 1}, false}, Step{"on left", {-2, 0, 0, 1}, false},
        Step{"tiny", {-2.0001f, 0, 0, 1}, false}, Step{"back right", {-1, 0, 0, 1}, true},
        Step{"jump", {-1, 20, 0, 1}, true}, Step{"left after the jump", {-2, 20, 0, 1}, true},
        Step{"a gentle bend", {-3, 20.5f, 0, 1}, false}}) {
    EXPECT_EQ(sound.TakeStep(s.to), s.accent) << s.name;
    sound.SetPosition(s.to, false);
  }
}

}  // namespace
