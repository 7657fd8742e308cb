#include "media/sound/MMPhysicalSoundChannel.h"

#include "media/sound/MMPermanentPhysicalSoundChannel.h"
#include "tests/media/sound/SoundChannelTestSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace sound_channels;

// A logical owner that never takes a physical channel by itself.
class BareChannel : public MMLogicalSoundChannel {
 public:
  using MMLogicalSoundChannel::MMLogicalSoundChannel;
  MMPhysicalSoundChannel* AcquirePhysicalChannel() override { return nullptr; }
  bool IsFinishedWithoutChannel() override { return false; }
};

class MMPhysicalSoundChannelTest : public SoundChannelTest {
 protected:
  void SetUp() override {
    SoundChannelTest::SetUp();
    mOwner = std::make_unique<BareChannel>(mGroup.get());
  }
  void TearDown() override {
    mOwner.reset();
    SoundChannelTest::TearDown();
  }
  // The owner plays (and loops) on the clock without a buffer of its own.
  void StartOwner(bool loop) {
    mOwner->RequestPlay(0, loop);
    mOwner->Update();
  }
  static DWORD PlayCursor(MMPhysicalSoundChannel& channel) {
    DWORD play = 0;
    channel.GetBuffer()->GetCurrentPosition(&play, nullptr);
    return play;
  }
  static DWORD Status(MMPhysicalSoundChannel& channel) {
    DWORD status = 0;
    channel.GetBuffer()->GetStatus(&status);
    return status;
  }

  std::unique_ptr<BareChannel> mOwner;
};

TEST(MMPhysicalSoundChannelFormulaTest, VolumePanAndPitchBecomeTheDeviceUnits) {
  struct Case {
    int32_t value;
    LONG expected;
  };
  for (const Case& c : {Case{0, -10000}, Case{1, -10000}, Case{724, -500}, Case{1024, 0},
                        Case{512, -1000}, Case{256, -2000}, Case{-5, -10000}}) {
    EXPECT_EQ(MMSoundVolumeAttenuation(c.value), c.expected) << "volume " << c.value;
  }
  for (const Case& c :
       {Case{10, 14}, Case{0, 0}, Case{-10, -14}, Case{1024, 1000}, Case{-1024, -1000}}) {
    EXPECT_EQ(MMSoundPanAttenuation(c.value), c.expected) << "pan " << c.value;
  }
  EXPECT_EQ(MMSoundPitchFrequency(2, 0x8000), 11025u);
  EXPECT_EQ(MMSoundPitchFrequency(4, 0x10000), 44100u);
  // Beyond what the device plays, the nearest it does.
  EXPECT_EQ(MMSoundPitchFrequency(4, -0x10000), DSBFREQUENCY_MIN);
  EXPECT_EQ(MMSoundPitchFrequency(4, 0), DSBFREQUENCY_MIN);
  EXPECT_EQ(MMSoundPitchFrequency(4, INT32_MAX), DSBFREQUENCY_MAX);
  EXPECT_EQ(MMSoundRingBytes(kMono16At22050, 1500), 69632u);
  EXPECT_EQ(MMSoundRingBytes(kMono8At11025, 100), 4096u);
}

TEST_F(MMPhysicalSoundChannelTest, SinglePagedPlayPastTheEndEndsAtOnceUnlessLooping) {
  PcmSource source(kMono8At11025, Pcm(1000, 0x90));
  MMSinglePagedPhysicalSoundChannel channel(mOwner.get(), &source, 1000);
  ASSERT_TRUE(channel.CreateBuffer());
  channel.PlayFrom(1500);
  EXPECT_EQ(Status(channel), 0u);
  EXPECT_EQ(PlayCursor(channel), 1000u);
  StartOwner(true);
  channel.PlayFrom(2500);
  EXPECT_EQ(PlayCursor(channel), 500u);
  EXPECT_EQ(Status(channel), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

TEST_F(MMPhysicalSoundChannelTest, PlayFromWhilePausedOnlyMovesUntilResume) {
  PcmSource source(kMono8At11025, Pcm(1000, 0x90));
  MMSinglePagedPhysicalSoundChannel channel(mOwner.get(), &source, 1000);
  ASSERT_TRUE(channel.CreateBuffer());
  StartOwner(true);
  channel.Pause();
  channel.PlayFrom(300);
  EXPECT_EQ(Status(channel), 0u);
  EXPECT_EQ(PlayCursor(channel), 300u);
  EXPECT_FALSE(channel.IsFinished());
  channel.Resume();
  EXPECT_EQ(Status(channel), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

// A 300 ms sound in a ring of 100 ms: played at once, then silence behind
// it, the ring runs out without looping and stops past the sound's end.
TEST_F(MMPhysicalSoundChannelTest, StreamedSoundShorterThanItsRingDrainsAndStops) {
  constexpr int32_t kSoundBytes = 3307;
  PcmSource source(kMono8At11025, Pcm(kSoundBytes, 0x90));
  MMStreamedPhysicalSoundChannel channel(mOwner.get(), &source, 100);
  channel.PrepareBuffer();
  ASSERT_TRUE(channel.IsBufferMade());
  ASSERT_EQ(channel.GetSize(), 4096);
  channel.PlayFrom(0);
  EXPECT_EQ(channel.GetWriteCursor(), kSoundBytes);
  EXPECT_EQ(channel.GetRefillState(), MMPermanentPhysicalSoundChannel::kStreaming);

  EXPECT_EQ(Mix(400)[0], 16 * 256);  // 100 output frames are 25 bytes of the sound
  EXPECT_EQ(channel.Refill(), MMPermanentPhysicalSoundChannel::kRefillDelay);
  EXPECT_EQ(channel.GetRefillState(), MMPermanentPhysicalSoundChannel::kRunOut);
  EXPECT_EQ(channel.GetEndPosition(), kSoundBytes);
  EXPECT_EQ(Status(channel), DSBSTATUS_PLAYING);

  const std::vector<int16_t> rest = Mix(4 * (kSoundBytes - 100) + 200);
  EXPECT_EQ(rest[2 * 4 * (kSoundBytes - 101)], 16 * 256);
  EXPECT_EQ(rest.back(), 0);  // the silence written behind the sound
  EXPECT_EQ(channel.Refill(), MMPermanentPhysicalSoundChannel::kNever);
  EXPECT_EQ(channel.GetRefillState(), MMPermanentPhysicalSoundChannel::kIdle);
  EXPECT_EQ(Status(channel), 0u);
}

TEST_F(MMPhysicalSoundChannelTest, LoopingStreamedSoundStartsItsSourceAgain) {
  PcmSource source(kMono8At11025, Pcm(3307, 0x90));
  MMStreamedPhysicalSoundChannel channel(mOwner.get(), &source, 100);
  channel.PrepareBuffer();
  StartOwner(true);
  channel.PlayFrom(0);
  Mix(400);
  EXPECT_EQ(channel.Refill(), MMPermanentPhysicalSoundChannel::kAtOnce);
  EXPECT_EQ(source.GetPosition(), 0);
  EXPECT_EQ(channel.Refill(), MMPermanentPhysicalSoundChannel::kRefillDelay);
  EXPECT_EQ(channel.GetRefillState(), MMPermanentPhysicalSoundChannel::kStreaming);
  EXPECT_EQ(source.GetPosition(), 4096 - 3307 + 100);  // to the ring's end, then the play cursor
}

// The refill falls behind the play cursor (the pulse thread was late): the
// ring plays old bytes meanwhile, and the next refills go on with the
// source to its end.
TEST_F(MMPhysicalSoundChannelTest, StreamedSoundThatUnderrunsCarriesOn) {
  constexpr int32_t kSoundBytes = 20000;
  PcmSource source(kMono8At11025, Pcm(kSoundBytes, 0x90));
  MMStreamedPhysicalSoundChannel channel(mOwner.get(), &source, 100);
  channel.PrepareBuffer();
  channel.PlayFrom(0);
  EXPECT_EQ(channel.GetWriteCursor(), 0);  // the ring is full
  Mix(4 * 3000);
  EXPECT_EQ(channel.Refill(), MMPermanentPhysicalSoundChannel::kRefillDelay);
  EXPECT_EQ(channel.GetWriteCursor(), 3000);
  Mix(4 * 5000);  // past the write cursor and round the ring
  EXPECT_EQ(PlayCursor(channel), 3904u);
  EXPECT_EQ(channel.Refill(), MMPermanentPhysicalSoundChannel::kRefillDelay);
  EXPECT_EQ(channel.GetWriteCursor(), 3904);
  EXPECT_EQ(source.GetPosition(), 4096 + 3000 + 904);
  int refills = 0;
  while (channel.Refill() != MMPermanentPhysicalSoundChannel::kNever && refills < 100) {
    Mix(4 * 1000);
    ++refills;
  }
  EXPECT_TRUE(source.AtEnd());
  EXPECT_EQ(channel.GetRefillState(), MMPermanentPhysicalSoundChannel::kIdle);
  EXPECT_EQ(Status(channel), 0u);
}

TEST_F(MMPhysicalSoundChannelTest, StreamedPlayFromWrapsPastTheSourcesEnd) {
  PcmSource source(kMono8At11025, Pcm(1000, 0x90));
  MMStreamedPhysicalSoundChannel channel(mOwner.get(), &source, 100);
  channel.PrepareBuffer();
  channel.PlayFrom(2300);
  EXPECT_EQ(channel.GetWriteCursor(), 1000 - 300);
}

TEST_F(MMPhysicalSoundChannelTest, StreamedPlayFromOnAnEmptySourceReturns) {
  PcmSource source(kMono8At11025, Pcm());
  MMStreamedPhysicalSoundChannel channel(mOwner.get(), &source, 100);
  channel.PrepareBuffer();
  channel.PlayFrom(5000);
  EXPECT_EQ(channel.GetWriteCursor(), 0);
  EXPECT_EQ(channel.GetRefillState(), MMPermanentPhysicalSoundChannel::kStreaming);
}

TEST_F(MMPhysicalSoundChannelTest, PositionsBeyondFiveMinutesOfStereoLandInTheRightPlace) {
  PcmSource source(kStereo16At44100, Frames16(4000, 2, [](int32_t k) { return k; }));
  StartOwner(true);
  mOwner->AttachPhysicalChannel(
      new (ALGlobalAllocator) MMSinglePagedPhysicalSoundChannel(mOwner.get(), &source, 16000));
  ASSERT_NE(mOwner->GetPhysicalChannel(), nullptr);
  mOwner->SetPosition(400001);  // 70560176 bytes in: 176 into the looping buffer
  EXPECT_EQ(PlayCursor(*mOwner->GetPhysicalChannel()), 176u);
  EXPECT_EQ(Mix(1)[0], 44);
}

}  // namespace
