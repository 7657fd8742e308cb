#include "media/sound/MMSoundManager.h"

#include "foundation/af/AFPulseTask.h"
#include "media/sound/MMArcadeSoundChannel.h"
#include "media/sound/MMGenericSoundChannel.h"
#include "media/sound/MMPermanentPhysicalSoundChannel.h"
#include "media/sound/MMPermanentSoundChannel.h"
#include "media/sound/MMSoundGroup.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"
#include "platform/win32/winmm.h"
#include "tests/media/sound/SoundChannelTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace sound_channels;

const HWAVEOUT kFirstDevice = nullptr;
constexpr DWORD kBothFull = 0xFFFFFFFF;

TEST(MMSoundManagerVolumeTest, MasterVolumeIsTheWaveOutVolumeInTenBits) {
  struct Case {
    DWORD deviceVolume;
    int32_t expected;
  };
  for (const Case& c : {Case{kBothFull, 1024}, Case{0xFFFF8000, 512}, Case{0x0000FFC0, 1024},
                        Case{0xFFFF0000, 0}}) {
    ASSERT_EQ(waveOutSetVolume(kFirstDevice, c.deviceVolume), MMSYSERR_NOERROR);
    EXPECT_EQ(MMGetMasterVolume(), c.expected) << std::hex << c.deviceVolume;
  }
  for (const Case& c :
       {Case{kBothFull, 1024}, Case{0x80208020, 512}, Case{0, 0}, Case{kBothFull, 5000}}) {
    MMSetMasterVolume(c.expected);
    DWORD volume = 0;
    ASSERT_EQ(waveOutGetVolume(kFirstDevice, &volume), MMSYSERR_NOERROR);
    EXPECT_EQ(volume, c.deviceVolume) << c.expected;
  }
  waveOutSetVolume(kFirstDevice, kBothFull);
}

TEST(MMSoundManagerDeviceTest, StageMakesItsManagerWithTheSoundLayer) {
  std::unique_ptr<MMStageSoundManager> made(MMMakeSoundManager(kWindow));
  auto* manager = dynamic_cast<MMSoundManager*>(made.get());
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->GetSuspendCount(), 1);
  EXPECT_FALSE(manager->HasDevice());
  manager->Unsuspend();
  EXPECT_TRUE(manager->HasDevice());
  manager->Suspend();
  EXPECT_FALSE(manager->HasDevice());
}

// Without an audio output the channels play silently on the clock and end
// by their durations.
TEST(MMSoundManagerDeviceTest, WithoutADeviceSoundsPlaySilentlyAndEndOnTime) {
  sound_output::AudioDriverScope none("no-such-driver");
  vpl::platform::FreezeClock();
  MemorySoundCollection sounds;
  MMSoundManager manager(kWindow);
  manager.Unsuspend();
  EXPECT_FALSE(manager.HasDevice());
  {
    MMSoundGroup group(&manager);
    MMArcadeSoundChannel arcade(&group, sounds.Add(kMono8At11025, Pcm(5512, 0x90)));
    MMGenericSoundChannel generic(&group);
    arcade.Play(false);
    generic.Play(sounds.Add(kMono8At11025, Pcm(11025, 0x90)), false);
    manager.Update();
    vpl::platform::AdvanceFrozenClock(600);
    manager.Update();
    EXPECT_FALSE(arcade.IsPlaying());
    EXPECT_TRUE(generic.IsPlaying());
    EXPECT_EQ(generic.GetPhysicalChannel(), nullptr);
    vpl::platform::AdvanceFrozenClock(400);
    manager.Update();
    EXPECT_FALSE(generic.IsPlaying());
  }
  manager.Suspend();
  vpl::platform::ThawClock();
}

class MMSoundGroupTest : public SoundChannelTest {};

TEST_F(MMSoundGroupTest, GroupAndItsChannelsStartWithTheManagersCounts) {
  MMArcadeSoundChannel earlier(mGroup.get(), mSounds.Add(kMono8At11025, Pcm(100, 0x90)));
  mManager->Pause();
  EXPECT_EQ(earlier.GetPauseCount(), 1);
  MMSoundGroup group(mManager.get());
  EXPECT_EQ(group.GetPauseCount(), 1);
  EXPECT_EQ(group.GetSuspendCount(), 0);
  MMArcadeSoundChannel later(&group, mSounds.Add(kMono8At11025, Pcm(100, 0x90)));
  EXPECT_EQ(later.GetPauseCount(), 1);
  EXPECT_NE(later.GetPhysicalChannel(), nullptr);
  mManager->Resume();
  EXPECT_EQ(earlier.GetPauseCount(), 0);
  EXPECT_EQ(later.GetPauseCount(), 0);
}

TEST_F(MMSoundGroupTest, GroupPausesAndSuspendsOnlyItsOwnChannels) {
  MMSoundGroup group(mManager.get());
  MMArcadeSoundChannel inGroup(&group, mSounds.Add(kMono8At11025, Pcm(100, 0x90)));
  MMArcadeSoundChannel elsewhere(mGroup.get(), mSounds.Add(kMono8At11025, Pcm(100, 0x90)));
  group.Pause();
  group.Pause();
  group.Suspend();
  EXPECT_EQ(inGroup.GetPauseCount(), 1);
  EXPECT_EQ(elsewhere.GetPauseCount(), 0);
  EXPECT_EQ(inGroup.GetPhysicalChannel(), nullptr);
  EXPECT_NE(elsewhere.GetPhysicalChannel(), nullptr);
  group.Unsuspend();
  group.Resume();
  EXPECT_EQ(inGroup.GetPauseCount(), 1);
  group.Resume();
  EXPECT_EQ(inGroup.GetPauseCount(), 0);
  inGroup.Play(false);
  Frame();
  EXPECT_NE(inGroup.GetPhysicalChannel(), nullptr);
}

// The streaming pulse thread refills a looping streamed channel, and the
// audio device's thread mixes it, while the stage thread changes it; run
// under ThreadSanitizer, it shows each buffer is guarded.
class MMStreamedSoundThreadTest : public testing::Test {
 protected:
  void SetUp() override {
    MMStreamingPulseTaskManager = &mPulse;
    mPulse.Start();
    mManager = std::make_unique<MMSoundManager>(kWindow);
    mManager->Unsuspend();
    ASSERT_TRUE(mManager->HasDevice());
    mGroup = std::make_unique<MMSoundGroup>(mManager.get());
  }
  void TearDown() override {
    mGroup.reset();
    mManager->Suspend();
    mManager.reset();
    mPulse.Stop();
    MMStreamingPulseTaskManager = nullptr;
  }
  // Frames of the stage until the device has taken the frames.
  void PlayFor(int frames) {
    constexpr int kFrameStep = 512;
    for (int taken = 0; taken < frames; taken += kFrameStep) {
      vpl::platform::WaitForSoundOutput(kFrameStep, 5000);
      mManager->Update();
    }
  }

  AFPulseTaskManager mPulse;
  MemorySoundCollection mSounds;
  std::unique_ptr<MMSoundManager> mManager;
  std::unique_ptr<MMSoundGroup> mGroup;
};

// Once stopped, the channel's source is read no more: the caller may free
// it while the pulse thread runs on.
TEST_F(MMStreamedSoundThreadTest, StreamedChannelRefillsOnThePulseThreadWhileItPlays) {
  auto source =
      std::make_unique<PcmSource>(kMono16At22050, Frames16(5000, 1, [](int32_t k) { return k; }));
  MMStreamedSoundChannel channel(mGroup.get(), source.get(), 100);
  channel.Play(true);
  PlayFor(4096);
  for (int32_t volume : {512, 256, 1024}) {
    channel.SetVolume(volume);
    channel.SetPan(volume - 512);
    PlayFor(2048);
  }
  EXPECT_TRUE(channel.IsPlaying());
  ASSERT_NE(channel.GetPhysicalChannel(), nullptr);
  channel.Stop();
  mManager->Update();
  EXPECT_FALSE(channel.IsPlaying());
  auto* physical = static_cast<MMPermanentPhysicalSoundChannel*>(channel.GetPhysicalChannel());
  ASSERT_NE(physical, nullptr);
  EXPECT_EQ(physical->GetRefillState(), MMPermanentPhysicalSoundChannel::kIdle);
  const int32_t stoppedAt = source->GetPosition();
  PlayFor(2048);
  EXPECT_EQ(source->GetPosition(), stoppedAt);
  EXPECT_EQ(physical->Refill(), MMPermanentPhysicalSoundChannel::kNever);
  EXPECT_EQ(source->GetPosition(), stoppedAt);
  source.reset();
  PlayFor(2048);
}

// A generic channel destroyed while its sound streams: the refill task is
// gone before the source it reads.
TEST_F(MMStreamedSoundThreadTest, GenericChannelEndsItsStreamingBeforeItsSource) {
  auto channel = std::make_unique<MMGenericSoundChannel>(mGroup.get());
  channel->Play(mSounds.Add(kMono16At22050, Frames16(22050, 1, [](int32_t k) { return k; })), true);
  PlayFor(2048);
  ASSERT_NE(channel->GetPhysicalChannel(), nullptr);
  channel.reset();
  PlayFor(1024);
}

}  // namespace
