#include "platform/directx/dsound.h"
#include "platform/win32/winmm.h"
#include "tests/support/SoundOutputSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace sound_output;

constexpr DWORD kBothFull = 0xFFFFFFFF;
const HWND kWindow = reinterpret_cast<HWND>(0x1);  // any window will do
const HWAVEOUT kFirstDevice = nullptr;

// A device of the held output.
class DirectSoundTest : public testing::Test {
 protected:
  void SetUp() override {
    LPDIRECTSOUNDCREATE create = DirectSoundEntry();
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(create(nullptr, &mDevice, nullptr), DS_OK);
    ASSERT_EQ(mDevice->SetCooperativeLevel(kWindow, DSSCL_PRIORITY), DS_OK);
  }
  void TearDown() override {
    for (IDirectSoundBuffer* buffer : mBuffers) buffer->Release();
    if (mDevice != nullptr) mDevice->Release();
  }

  IDirectSoundBuffer* MakeBuffer(WAVEFORMATEX format, DWORD bytes) {
    DSBUFFERDESC description{
        .dwSize = sizeof(DSBUFFERDESC),
        .dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME,
        .dwBufferBytes = bytes,
        .dwReserved = 0,
        .lpwfxFormat = &format};
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(mDevice->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    if (buffer != nullptr) mBuffers.push_back(buffer);
    return buffer;
  }
  // A 44100 Hz 16-bit mono buffer holding the samples.
  IDirectSoundBuffer* MakeBuffer(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes = Bytes16(samples);
    IDirectSoundBuffer* buffer =
        MakeBuffer(PcmFormat(kOutputRate, 1, 16), static_cast<DWORD>(bytes.size()));
    if (buffer != nullptr) Write(buffer, 0, bytes);
    return buffer;
  }
  static DWORD PlayCursor(IDirectSoundBuffer* buffer) {
    DWORD play = 0;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    return play;
  }
  static DWORD Status(IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    return status;
  }

  HeldOutput mHeld;
  IDirectSound* mDevice = nullptr;
  std::vector<IDirectSoundBuffer*> mBuffers;
};

TEST_F(DirectSoundTest, PlayCursorAdvancesWithTheMixedOutput) {
  constexpr DWORD kBytes = 4410;  // 0.4 s of 11025 Hz 8-bit mono
  IDirectSoundBuffer* buffer = MakeBuffer(PcmFormat(11025, 1, 8), kBytes);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(PlayCursor(buffer), 0u);
  Mix(kOutputRate / 10);
  EXPECT_EQ(PlayCursor(buffer), 1102u);  // 0.1 s: 1102.5 bytes taken
  EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING);
  Mix(kOutputRate / 2);
  EXPECT_EQ(Status(buffer), 0u);
  EXPECT_EQ(PlayCursor(buffer), kBytes);
}

TEST_F(DirectSoundTest, LoopingBufferWrapsItsCursor) {
  IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(1000, 100));
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  const std::vector<int16_t> out = Mix(2500);
  EXPECT_EQ(PlayCursor(buffer), 1000u);  // frame 500 of 1000
  EXPECT_EQ(Status(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  EXPECT_EQ(out.back(), 100);
}

TEST_F(DirectSoundTest, VolumeAndPanAttenuateByTheirDecibels) {
  constexpr int16_t kLevel = 10000;
  struct Case {
    LONG volume;
    LONG pan;
  };
  const Case cases[] = {{0, 0},       {-1000, 0},  {-600, 0},         {0, 1000},       {0, -2000},
                        {-300, -300}, {-10000, 0}, {0, DSBPAN_RIGHT}, {0, DSBPAN_LEFT}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
    IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(1000, kLevel));
    ASSERT_EQ(buffer->SetVolume(c.volume), DS_OK);
    ASSERT_EQ(buffer->SetPan(c.pan), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    const std::vector<int16_t> out = Mix(10);
    auto expected = [&](LONG attenuation) {
      if (c.volume == DSBVOLUME_MIN || attenuation == DSBVOLUME_MIN) return 0.0;
      return kLevel * std::pow(10.0, (c.volume + attenuation) / 2000.0);
    };
    EXPECT_NEAR(out[0], expected(std::min<LONG>(0, -c.pan)), 2.0);
    EXPECT_NEAR(out[1], expected(std::min<LONG>(0, c.pan)), 2.0);
    buffer->Stop();
  }
}

TEST_F(DirectSoundTest, FrequencyResamplesTheBuffer) {
  std::vector<int16_t> ramp;
  for (int16_t k = 0; k < 100; ++k) ramp.push_back(static_cast<int16_t>(100 * k));
  const std::vector<uint8_t> bytes = Bytes16(ramp);
  IDirectSoundBuffer* buffer = MakeBuffer(PcmFormat(22050, 1, 16), 200);
  Write(buffer, 0, bytes);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  const std::vector<int16_t> half = Mix(4);
  EXPECT_EQ(half, (std::vector<int16_t>{0, 0, 50, 50, 100, 100, 150, 150}));
  EXPECT_EQ(PlayCursor(buffer), 4u);
  ASSERT_EQ(buffer->SetFrequency(88200), DS_OK);
  const std::vector<int16_t> doubled = Mix(2);
  EXPECT_EQ(doubled, (std::vector<int16_t>{200, 200, 400, 400}));
  ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
  Mix(1);
  EXPECT_EQ(PlayCursor(buffer), 12u);  // frame 6.5: 2 + 2 x 2 + 1 / 2
}

TEST_F(DirectSoundTest, DuplicateSharesSamplesButNotItsCursor) {
  IDirectSoundBuffer* original = MakeBuffer(std::vector<int16_t>(100, 500));
  IDirectSoundBuffer* duplicate = nullptr;
  ASSERT_EQ(mDevice->DuplicateSoundBuffer(original, &duplicate), DS_OK);
  mBuffers.push_back(duplicate);
  ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Mix(10)[0], 500);
  EXPECT_EQ(PlayCursor(duplicate), 20u);
  EXPECT_EQ(PlayCursor(original), 0u);
  EXPECT_EQ(Status(original), 0u);
  Write(original, 20, Bytes16(std::vector<int16_t>(80, -700)));
  EXPECT_EQ(Mix(1)[0], -700);
}

TEST_F(DirectSoundTest, LockPastTheEndContinuesAtTheStart) {
  IDirectSoundBuffer* buffer = MakeBuffer(PcmFormat(11025, 1, 8), 100);
  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0;
  DWORD secondBytes = 0;
  ASSERT_EQ(buffer->Lock(90, 30, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
  EXPECT_EQ(firstBytes, 10u);
  EXPECT_EQ(secondBytes, 20u);
  EXPECT_EQ(static_cast<uint8_t*>(first)[0], 0x80);  // a new buffer holds silence
  std::fill_n(static_cast<uint8_t*>(first), firstBytes, 1);
  std::fill_n(static_cast<uint8_t*>(second), secondBytes, 2);
  ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
  ASSERT_EQ(buffer->Lock(0, 100, &first, &firstBytes, nullptr, nullptr, 0), DS_OK);
  const auto* bytes = static_cast<uint8_t*>(first);
  EXPECT_EQ(bytes[19], 2);
  EXPECT_EQ(bytes[20], 0x80);
  EXPECT_EQ(bytes[89], 0x80);
  EXPECT_EQ(bytes[90], 1);
  EXPECT_EQ(buffer->Unlock(first, 0, nullptr, 0), DS_OK);
}

TEST_F(DirectSoundTest, PlayAtTheEndEndsAtOnceUnlessLooping) {
  IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(10, 300));
  ASSERT_EQ(buffer->SetCurrentPosition(20), DS_OK);
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  EXPECT_EQ(Status(buffer), 0u);
  EXPECT_EQ(Mix(1)[0], 0);
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(Mix(1)[0], 300);
  EXPECT_EQ(PlayCursor(buffer), 2u);
}

TEST_F(DirectSoundTest, BadArgumentsAreRefused) {
  IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(10, 0));
  void* region = nullptr;
  DWORD bytes = 0;
  EXPECT_EQ(buffer->SetVolume(1), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetVolume(-10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetPan(10001), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetFrequency(99), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->SetCurrentPosition(21), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Lock(20, 1, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Play(1, 0, 0), DSERR_INVALIDPARAM);
  ASSERT_EQ(buffer->Lock(0, 4, &region, &bytes, nullptr, nullptr, 0), DS_OK);
  EXPECT_EQ(buffer->Lock(4, 4, &region, &bytes, nullptr, nullptr, 0), DSERR_INVALIDCALL);
  int16_t elsewhere[2];
  EXPECT_EQ(buffer->Unlock(elsewhere, 4, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(region, 5, nullptr, 0), DSERR_INVALIDPARAM);
  EXPECT_EQ(buffer->Unlock(region, 4, nullptr, 0), DS_OK);

  struct FormatCase {
    WAVEFORMATEX format;
    DWORD bytes;
  };
  WAVEFORMATEX misaligned = PcmFormat(22050, 2, 16);
  misaligned.nBlockAlign = 2;
  const FormatCase formats[] = {{PcmFormat(22050, 3, 16), 64}, {PcmFormat(22050, 1, 12), 64},
                                {PcmFormat(50, 1, 16), 64},    {misaligned, 64},
                                {PcmFormat(22050, 1, 16), 0},  {PcmFormat(22050, 1, 16), 2}};
  for (const FormatCase& c : formats) {
    WAVEFORMATEX format = c.format;
    DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                             .dwFlags = 0,
                             .dwBufferBytes = c.bytes,
                             .dwReserved = 0,
                             .lpwfxFormat = &format};
    IDirectSoundBuffer* refused = nullptr;
    EXPECT_EQ(mDevice->CreateSoundBuffer(&description, &refused, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(refused, nullptr);
  }
}

TEST_F(DirectSoundTest, PrimaryBufferTakesAFormatOnceACooperativeLevelIsSet) {
  DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                           .dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME,
                           .dwBufferBytes = 0,
                           .dwReserved = 0,
                           .lpwfxFormat = nullptr};
  IDirectSoundBuffer* primary = nullptr;
  ASSERT_EQ(mDevice->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
  const WAVEFORMATEX format = PcmFormat(22050, 1, 16);
  EXPECT_EQ(primary->SetFormat(&format), DS_OK);
  EXPECT_EQ(primary->Play(0, 0, DSBPLAY_LOOPING), DSERR_INVALIDCALL);
  IDirectSoundBuffer* duplicate = nullptr;
  EXPECT_EQ(mDevice->DuplicateSoundBuffer(primary, &duplicate), DSERR_INVALIDCALL);
  primary->Release();

  IDirectSound* fresh = nullptr;
  ASSERT_EQ(DirectSoundEntry()(nullptr, &fresh, nullptr), DS_OK);
  EXPECT_EQ(fresh->CreateSoundBuffer(&description, &primary, nullptr), DSERR_INVALIDCALL);
  EXPECT_EQ(fresh->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
  fresh->Release();
}

TEST_F(DirectSoundTest, WaveOutVolumeIsTheMasterGainOfEachSide) {
  ASSERT_EQ(waveOutGetNumDevs(), 1u);
  IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(100, 8000));
  ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  ASSERT_EQ(waveOutSetVolume(kFirstDevice, 0x8000FFFF), MMSYSERR_NOERROR);
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(kFirstDevice, &volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0x8000FFFFu);
  const std::vector<int16_t> out = Mix(1);
  EXPECT_EQ(out[0], 8000);
  EXPECT_EQ(out[1], 4000);
  const auto second = reinterpret_cast<HWAVEOUT>(UINT_PTR{1});
  EXPECT_EQ(waveOutGetVolume(second, &volume), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(waveOutSetVolume(second, 0), MMSYSERR_BADDEVICEID);
  EXPECT_EQ(waveOutSetVolume(kFirstDevice, kBothFull), MMSYSERR_NOERROR);
}

TEST_F(DirectSoundTest, LoudVoicesAreClippedNotWrapped) {
  for (int k = 0; k < 3; ++k) {
    IDirectSoundBuffer* buffer = MakeBuffer(std::vector<int16_t>(10, -20000));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
  }
  EXPECT_EQ(Mix(1)[0], INT16_MIN);
}

TEST(DirectSoundDeviceTest, WithoutAnAudioOutputNoDeviceIsMade) {
  AudioDriverScope none("no-such-driver");
  LPDIRECTSOUNDCREATE create = DirectSoundEntry();
  ASSERT_NE(create, nullptr);
  IDirectSound* device = reinterpret_cast<IDirectSound*>(0x1);
  EXPECT_EQ(create(nullptr, &device, nullptr), DSERR_NODRIVER);
  EXPECT_EQ(device, nullptr);
  EXPECT_EQ(waveOutGetNumDevs(), 0u);
  DWORD volume = 0;
  EXPECT_EQ(waveOutGetVolume(kFirstDevice, &volume), MMSYSERR_BADDEVICEID);
}

// The output written by SDL's disk driver: a tone played once through a
// real audio device thread.
class DirectSoundDiskTest : public testing::Test {
 protected:
  static constexpr int kToneFrames = 5512;  // 0.25 s at 22050 Hz
  static constexpr int kTonePeriod = 50;    // 441 Hz at 22050 Hz
  static constexpr double kAmplitude = 16000;
  static constexpr LONG kVolume = -600;
  static constexpr LONG kPan = 300;

  // Plays the tone to its end and answers the device's output, left and
  // right interleaved.
  std::vector<int16_t> PlayTone() {
    IDirectSound* device = nullptr;
    EXPECT_EQ(DirectSoundEntry()(nullptr, &device, nullptr), DS_OK);
    if (device == nullptr) return {};
    WAVEFORMATEX format = PcmFormat(22050, 1, 16);
    DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                             .dwFlags = DSBCAPS_STATIC,
                             .dwBufferBytes = 2 * kToneFrames,
                             .dwReserved = 0,
                             .lpwfxFormat = &format};
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
    if (buffer == nullptr) {
      device->Release();
      return {};
    }
    std::vector<int16_t> tone;
    for (int k = 0; k < kToneFrames; ++k) {
      tone.push_back(
          static_cast<int16_t>(kAmplitude * std::cos(2 * std::numbers::pi * k / kTonePeriod)));
    }
    Write(buffer, 0, Bytes16(tone));
    buffer->SetVolume(kVolume);
    buffer->SetPan(kPan);
    buffer->Play(0, 0, 0);
    DWORD status = DSBSTATUS_PLAYING;
    while (status != 0 && vpl::platform::WaitForSoundOutput(1, 5000)) buffer->GetStatus(&status);
    EXPECT_EQ(status, 0u);
    vpl::platform::WaitForSoundOutput(4096, 5000);  // some silence after the tone
    buffer->Release();
    device->Release();  // closes the device and its file
    return mOutput.Samples();
  }

  DiskOutput mOutput{"vpl3d-disk-audio.raw"};
};

TEST_F(DirectSoundDiskTest, ToneComesOutWithItsFrequencyLevelPanAndEnd) {
  const std::vector<int16_t> out = PlayTone();
  const size_t frames = out.size() / 2;
  size_t first = 0;
  while (first < frames && out[2 * first + 1] == 0) ++first;
  size_t last = frames;
  while (last > first && out[2 * last - 1] == 0) --last;
  ASSERT_LT(first, frames);
  ASSERT_LT(last, frames) << "silence follows the tone";
  // At 44100 Hz the tone lasts twice its frames.
  EXPECT_NEAR(static_cast<double>(last - first), 2.0 * kToneFrames, 2.0);

  std::vector<size_t> rises;  // where the right channel crosses zero upwards
  int16_t leftPeak = 0;
  int16_t rightPeak = 0;
  for (size_t k = first; k < last; ++k) {
    leftPeak = std::max(leftPeak, out[2 * k]);
    rightPeak = std::max(rightPeak, out[2 * k + 1]);
    if (k > first && out[2 * k - 1] < 0 && out[2 * k + 1] >= 0) rises.push_back(k);
  }
  ASSERT_GT(rises.size(), 100u);
  const double period =
      static_cast<double>(rises.back() - rises.front()) / static_cast<double>(rises.size() - 1);
  EXPECT_NEAR(period, 2.0 * kTonePeriod, 0.05);
  const double rightLevel = kAmplitude * std::pow(10.0, kVolume / 2000.0);
  EXPECT_NEAR(rightPeak, rightLevel, rightLevel * 0.01);
  EXPECT_NEAR(static_cast<double>(leftPeak) / rightPeak, std::pow(10.0, -kPan / 2000.0), 0.01);
}

// The device's own thread mixes while another thread refills a looping
// buffer behind its play cursor and this one changes its controls; run
// under ThreadSanitizer, it shows the buffer is guarded.
TEST(DirectSoundThreadTest, RefillAndControlsMeetTheMixingThreadSafely) {
  IDirectSound* device = nullptr;
  ASSERT_EQ(DirectSoundEntry()(nullptr, &device, nullptr), DS_OK);
  WAVEFORMATEX format = PcmFormat(22050, 1, 16);
  constexpr DWORD kBytes = 8192;
  DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                           .dwFlags = 0,
                           .dwBufferBytes = kBytes,
                           .dwReserved = 0,
                           .lpwfxFormat = &format};
  IDirectSoundBuffer* buffer = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&description, &buffer, nullptr), DS_OK);
  IDirectSoundBuffer* duplicate = nullptr;
  ASSERT_EQ(device->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
  ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_EQ(duplicate->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

  constexpr int kRounds = 20;
  std::thread refill([buffer] {
    DWORD written = 0;
    for (int round = 0; round < kRounds; ++round) {
      DWORD play = 0;
      buffer->GetCurrentPosition(&play, nullptr);
      auto fill = [buffer](DWORD from, DWORD to) {
        if (to > from) Write(buffer, from, std::vector<uint8_t>(to - from, 0x11));
      };
      if (play >= written) {
        fill(written, play);
      } else {
        fill(written, kBytes);
        fill(0, play);
      }
      written = play;
      vpl::platform::WaitForSoundOutput(256, 5000);
    }
  });
  DWORD status = 0;
  for (int round = 0; round < kRounds; ++round) {
    duplicate->SetVolume(-100 * (round % 10));
    duplicate->SetPan(100 * (round % 7));
    duplicate->SetFrequency(static_cast<DWORD>(11025 + 1000 * (round % 5)));
    duplicate->GetStatus(&status);
    vpl::platform::WaitForSoundOutput(256, 5000);
  }
  refill.join();
  EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
  duplicate->Release();
  buffer->Release();
  device->Release();
}

}  // namespace
