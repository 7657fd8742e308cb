#include "media/sound/MMLogicalSoundChannel.h"

#include "media/sound/MMArcadeSoundChannel.h"
#include "media/sound/MMGenericSoundChannel.h"
#include "media/sound/MMPermanentPhysicalSoundChannel.h"
#include "media/sound/MMPhysicalSoundChannel.h"
#include "media/sound/MMSpecialSoundChannel.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/media/sound/SoundChannelTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using namespace sound_channels;

constexpr int32_t kRampFrames = 66150;  // 3 s at 22050 Hz
constexpr int16_t kQuietLevel = 0x1000;

class CountingCallback : public UUCallback {
 public:
  explicit CountingCallback(int& count) : mCount(count) {}
  void Invoke() override { ++mCount; }

 private:
  int& mCount;
};

// Sample k of the ramp: its frame number, wrapped to stay positive.
int32_t RampAt(int32_t k) { return k % 30000; }

class MMLogicalSoundChannelTest : public SoundChannelTest {
 protected:
  MMSoundReference Ramp() { return mSounds.Add(kMono16At22050, Frames16(kRampFrames, 1, RampAt)); }
  // One second of a constant level at 22050 Hz.
  MMSoundReference Level() {
    return mSounds.Add(kMono16At22050, Frames16(22050, 1, [](int32_t) { return kQuietLevel; }));
  }
  static DWORD Status(MMLogicalSoundChannel& channel) {
    DWORD status = 0;
    channel.GetPhysicalChannel()->GetBuffer()->GetStatus(&status);
    return status;
  }
};

TEST_F(MMLogicalSoundChannelTest, ChannelOfAPausedGroupWaitsAtItsPositionUntilTheGroupResumes) {
  mGroup->Pause();
  MMArcadeSoundChannel channel(mGroup.get(), Level());
  EXPECT_EQ(channel.GetPauseCount(), 1);
  channel.Play(false);
  Frame();
  EXPECT_TRUE(channel.IsPlaying());
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kPausedOnDevice);
  EXPECT_EQ(Mix(10)[0], 0);
  mGroup->Resume();
  Frame();
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kRunning);
  EXPECT_EQ(Mix(10)[0], kQuietLevel);
}

TEST_F(MMLogicalSoundChannelTest, SuspendedGenericChannelComesBackWhereItWouldBeNow) {
  MMGenericSoundChannel channel(mGroup.get());
  channel.Play(Ramp(), false);
  Frame();
  ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
  mManager->Suspend();
  EXPECT_FALSE(mManager->HasDevice());
  EXPECT_EQ(channel.GetPhysicalChannel(), nullptr);
  Frame(2000);
  EXPECT_EQ(channel.GetPhysicalChannel(), nullptr);
  mManager->Unsuspend();
  Frame();
  ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
  EXPECT_EQ(channel.GetElapsed(), 2000);
  EXPECT_EQ(Mix(1)[0], RampAt(44100));
}

TEST_F(MMLogicalSoundChannelTest, SoundShorterThanASuspensionHasFinishedAndCalledBack) {
  MMTaskManager tasks;
  MMTaskClient client(&tasks);
  int finished = 0;
  MMGenericSoundChannel channel(mGroup.get());
  channel.SetFinishCallback(
      MMTaskCallback(&client, new (ALGlobalAllocator) CountingCallback(finished)));
  channel.Play(Level(), false);
  Frame();
  mManager->Suspend();
  Frame(2000);
  mManager->Unsuspend();
  Frame();
  tasks.RunUntil(0);
  EXPECT_FALSE(channel.IsPlaying());
  EXPECT_EQ(channel.GetPhysicalChannel(), nullptr);
  EXPECT_EQ(finished, 1);
}

TEST_F(MMLogicalSoundChannelTest, PausedChannelGetsAPausedBufferAfterASuspension) {
  MMArcadeSoundChannel channel(mGroup.get(), Level());
  channel.Play(true);
  Frame();
  mManager->Pause();
  Frame(100);
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kPausedOnDevice);
  mManager->Suspend();
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kPausedWithoutDevice);
  mManager->Unsuspend();
  Frame(100);
  ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kPausedOnDevice);
  EXPECT_EQ(Status(channel), 0u);
  EXPECT_EQ(channel.GetElapsed(), 100);
  mManager->Resume();
  Frame();
  EXPECT_EQ(Status(channel), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

TEST_F(MMLogicalSoundChannelTest, NestedPausesNeedAsManyResumes) {
  MMArcadeSoundChannel channel(mGroup.get(), Level());
  channel.Play(true);
  Frame();
  mManager->Pause();
  mGroup->Pause();
  Frame();
  mManager->Resume();
  Frame();
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kPausedOnDevice);
  EXPECT_EQ(Mix(1)[0], 0);
  mGroup->Resume();
  Frame();
  EXPECT_EQ(channel.GetPauseState(), MMLogicalSoundChannel::kRunning);
  EXPECT_EQ(Mix(1)[0], kQuietLevel);
}

// Suspends nest at every level and across levels: the channel stays
// without a buffer, and unheard, until the last unsuspend.
TEST_F(MMLogicalSoundChannelTest, NestedSuspendsHoldUntilTheLastUnsuspend) {
  using Step = std::function<void(MMLogicalSoundChannel&)>;
  const Step suspendManager = [this](MMLogicalSoundChannel&) { mManager->Suspend(); };
  const Step unsuspendManager = [this](MMLogicalSoundChannel&) { mManager->Unsuspend(); };
  const Step suspendGroup = [this](MMLogicalSoundChannel&) { mGroup->Suspend(); };
  const Step unsuspendGroup = [this](MMLogicalSoundChannel&) { mGroup->Unsuspend(); };
  const Step suspendChannel = [](MMLogicalSoundChannel& c) { c.Suspend(); };
  const Step unsuspendChannel = [](MMLogicalSoundChannel& c) { c.Unsuspend(); };
  const struct {
    const char* mName;
    Step mSuspendOuter, mSuspendInner, mUnsuspendInner, mUnsuspendOuter;
  } kCases[] = {
      {"manager twice", suspendManager, suspendManager, unsuspendManager, unsuspendManager},
      {"manager and group", suspendManager, suspendGroup, unsuspendGroup, unsuspendManager},
      {"group then manager last", suspendGroup, suspendManager, unsuspendManager, unsuspendGroup},
      {"group and channel", suspendGroup, suspendChannel, unsuspendChannel, unsuspendGroup},
  };
  // The first output sample; 0 when no output is open.
  const auto heard = [] { return Mix(10)[0]; };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.mName);
    MMArcadeSoundChannel channel(mGroup.get(), Level());
    channel.Play(true);
    Frame();
    ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
    c.mSuspendOuter(channel);
    c.mSuspendInner(channel);
    Frame();
    EXPECT_EQ(channel.GetPhysicalChannel(), nullptr);
    c.mUnsuspendInner(channel);
    Frame();
    EXPECT_EQ(channel.GetSuspendCount(), 1);
    EXPECT_EQ(channel.GetPhysicalChannel(), nullptr);
    EXPECT_EQ(heard(), 0);
    c.mUnsuspendOuter(channel);
    Frame();
    EXPECT_EQ(channel.GetSuspendCount(), 0);
    EXPECT_TRUE(channel.IsPlaying());
    ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
    EXPECT_EQ(heard(), kQuietLevel);
  }
}

TEST_F(MMLogicalSoundChannelTest, PlayingArcadeChannelRestartsOnPlay) {
  MMArcadeSoundChannel channel(mGroup.get(), Ramp());
  channel.Play(false);
  Frame();
  Mix(1000);
  channel.Play(false);
  Frame();
  const std::vector<int16_t> out = Mix(3);
  EXPECT_EQ(out[0], RampAt(0));
  EXPECT_EQ(out[4], RampAt(1));
}

TEST_F(MMLogicalSoundChannelTest, UnchangedVolumeLeavesTheDeviceAlone) {
  MMArcadeSoundChannel channel(mGroup.get(), Level());
  channel.Play(true);
  Frame();
  channel.GetPhysicalChannel()->GetBuffer()->SetVolume(-2000);
  channel.SetVolume(MMLogicalSoundChannel::kFullVolume);
  EXPECT_EQ(Mix(1)[0], kQuietLevel / 10);
  channel.SetVolume(512);
  EXPECT_NEAR(Mix(1)[0], kQuietLevel / 3.1623, 1.0);
}

TEST_F(MMLogicalSoundChannelTest, ANegativePitchIsNoPitch) {
  MMArcadeSoundChannel channel(mGroup.get(), Level());
  channel.Play(true);
  Frame();
  channel.SetPitch(-0x10000);
  EXPECT_EQ(channel.GetPitch(), 0);
  channel.SetPitch(INT32_MIN);
  EXPECT_EQ(channel.GetPitch(), 0);
}

TEST_F(MMLogicalSoundChannelTest, LoopingChannelFinishesOnlyAfterStopLooping) {
  MMArcadeSoundChannel channel(mGroup.get(), Level());
  channel.Play(true);
  Frame();
  Mix(3 * 44100);
  Frame(3000);
  EXPECT_TRUE(channel.IsPlaying());
  EXPECT_FALSE(channel.IsFinished());
  channel.StopLooping();
  EXPECT_FALSE(channel.IsLooping());
  Mix(44100);
  EXPECT_TRUE(channel.IsFinished());
  Frame(1000);
  EXPECT_FALSE(channel.IsPlaying());
}

TEST_F(MMLogicalSoundChannelTest, ArcadeRingLoadsItsSoundOnce) {
  MMArcadeSoundChannel first(mGroup.get(), Ramp());
  MMArcadeSoundChannel second(&first);
  EXPECT_EQ(mSounds.mSourcesMade, 1);
  EXPECT_EQ(first.GetNext(), &second);
  EXPECT_EQ(second.GetNext(), &first);
  second.Play(false);
  Frame();
  EXPECT_EQ(Mix(3)[4], RampAt(1));
  {
    MMArcadeSoundChannel third(&second);
    EXPECT_EQ(second.GetNext(), &third);
  }
  EXPECT_EQ(second.GetNext(), &first);
  EXPECT_EQ(mSounds.mSourcesMade, 1);
}

TEST_F(MMLogicalSoundChannelTest, GenericPlayOfNoSoundStartsNothing) {
  MMGenericSoundChannel channel(mGroup.get());
  channel.Play(MMSoundReference(), false);
  Frame();
  EXPECT_FALSE(channel.IsPlaying());
  EXPECT_EQ(channel.GetDuration(), 0);
  EXPECT_EQ(channel.GetSoundId(), kMMNoResource);
}

// A channel that gets no buffer (here: its sound is already streaming)
// plays on the clock and asks again each frame; once it gets one, it is
// heard at the position it has reached.
TEST_F(MMLogicalSoundChannelTest, ChannelWithoutABufferAsksEveryFrameAndJoinsInTime) {
  MMGenericSoundChannel heard(mGroup.get());
  MMGenericSoundChannel waiting(mGroup.get());
  heard.Play(Ramp(), false);
  Frame();
  mSounds.mRefuseSources = true;
  waiting.Play(Ramp(), false);
  Frame(500);
  EXPECT_TRUE(waiting.IsPlaying());
  EXPECT_EQ(waiting.GetPhysicalChannel(), nullptr);
  EXPECT_NE(heard.GetPhysicalChannel(), nullptr);
  Frame(500);
  EXPECT_EQ(waiting.GetPhysicalChannel(), nullptr);
  mSounds.mRefuseSources = false;
  heard.Stop();
  Frame(500);
  ASSERT_NE(waiting.GetPhysicalChannel(), nullptr);
  EXPECT_EQ(waiting.GetElapsed(), 1000);
  EXPECT_EQ(Mix(1)[0], RampAt(22050));
}

TEST_F(MMLogicalSoundChannelTest, SpecialChannelHoldsItsSoundAgainAfterASuspension) {
  const Pcm pcm = Frames16(2205, 1, [](int32_t) { return kQuietLevel; });
  MMSpecialSoundChannel channel(mGroup.get(),
                                new (ALGlobalAllocator) PcmSource(kMono16At22050, pcm), 100);
  mManager->Suspend();
  mManager->Unsuspend();
  channel.Play(false);
  Frame();
  ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
  EXPECT_EQ(Mix(1)[0], kQuietLevel);
}

}  // namespace
