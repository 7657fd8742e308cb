#pragma once
// Helpers of the sound channel tests: sounds held in memory in a registered
// collection that counts the sources it makes, and a sound manager whose
// device plays into the held output while the program clock stands still.

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundCollection.h"
#include "media/sound/MMSoundGroup.h"
#include "media/sound/MMSoundManager.h"
#include "media/sound/MMSoundReference.h"
#include "platform/win32/testhooks.h"
#include "tests/support/SoundOutputSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace sound_channels {

using Pcm = std::vector<uint8_t>;

constexpr MMSoundFormat kMono8At11025{1};
constexpr MMSoundFormat kMono16At22050{2 | MMSoundFormat::k16Bit};
constexpr MMSoundFormat kStereo16At44100{4 | MMSoundFormat::k16Bit | MMSoundFormat::kStereo};
const HWND kWindow = reinterpret_cast<HWND>(0x1);

// Bytes of memory as a source; a seek is clamped to the length.
class PcmSource : public MMSoundSource {
 public:
  PcmSource(MMSoundFormat format, Pcm pcm) : MMSoundSource(format), mPcm(std::move(pcm)) {}

  bool AtEnd() override { return mPosition >= Length(); }
  int32_t GetPosition() override { return mPosition; }
  int32_t Seek(int32_t position) override {
    mPosition = std::clamp(position, 0, Length());
    return mPosition;
  }
  uint32_t Read(void* buffer, uint32_t n, bool) override {
    const auto k = std::min(n, static_cast<uint32_t>(Length() - mPosition));
    if (k != 0) std::memcpy(buffer, mPcm.data() + mPosition, k);
    mPosition += static_cast<int32_t>(k);
    return k;
  }

 private:
  int32_t Length() const { return static_cast<int32_t>(mPcm.size()); }

  Pcm mPcm;
  int32_t mPosition = 0;
};

// 16-bit little-endian samples k of value(k) for every channel of a frame.
template <typename F>
Pcm Frames16(int32_t frames, int channels, F value) {
  Pcm pcm;
  for (int32_t k = 0; k < frames; ++k) {
    const auto v = static_cast<uint16_t>(value(k));
    for (int c = 0; c < channels; ++c) {
      pcm.push_back(static_cast<uint8_t>(v));
      pcm.push_back(static_cast<uint8_t>(v >> 8));
    }
  }
  return pcm;
}

// Sounds in memory under collection number 77.
class MemorySoundCollection : public MMSoundCollection {
 public:
  static constexpr uint16_t kNumber = 77;
  static constexpr int16_t kCapacity = 16;

  MemorySoundCollection() : MMSoundCollection(kNumber) {}

  MMSoundReference Add(MMSoundFormat format, Pcm pcm) {
    mSounds.push_back(Sound{format, std::move(pcm)});
    return MMSoundReference(this, static_cast<int16_t>(mSounds.size() - 1));
  }

  int16_t GetItemCount() const override { return static_cast<int16_t>(mSounds.size()); }
  bool LoadReferenced() override { return true; }
  void EndLoadReferenced(bool) override {}
  void PurgeUnreferenced() override {}
  MMSoundFormat GetFormat(int16_t item) override { return mSounds[Index(item)].format; }
  int32_t GetDuration(int16_t item) override {
    const Sound& sound = mSounds[Index(item)];
    const int32_t bytesPerSecond = sound.format.GetSampleRate() * sound.format.GetFrameBytes();
    return static_cast<int32_t>(sound.pcm.size() * 1000 / static_cast<size_t>(bytesPerSecond));
  }
  int32_t GetSize(int16_t item) override {
    return static_cast<int32_t>(mSounds[Index(item)].pcm.size());
  }
  // Null while sources are refused, as for a sound that already streams.
  MMSoundSource* CreateSoundSource(int16_t item) override {
    if (mRefuseSources) return nullptr;
    ++mSourcesMade;
    const Sound& sound = mSounds[Index(item)];
    return new (ALGlobalAllocator) PcmSource(sound.format, sound.pcm);
  }
  bool HasEnvelope(int16_t) override { return false; }
  MMSoundEnvelope ReadEnvelope(int16_t) override { return {}; }
  MMReferenceManager* GetReferenceManager() override { return &mReferences; }

  int mSourcesMade = 0;
  bool mRefuseSources = false;

 private:
  struct Sound {
    MMSoundFormat format;
    Pcm pcm;
  };
  static size_t Index(int16_t item) { return static_cast<size_t>(item); }

  std::vector<Sound> mSounds;
  MMDummyReferenceManager mReferences{kCapacity};
};

// A manager with its device open on the held output, one group, and the
// program clock frozen so that the test moves it.
class SoundChannelTest : public testing::Test {
 protected:
  void SetUp() override {
    vpl::platform::FreezeClock();
    mManager = std::make_unique<MMSoundManager>(kWindow);
    mManager->Unsuspend();
    ASSERT_TRUE(mManager->HasDevice());
    mGroup = std::make_unique<MMSoundGroup>(mManager.get());
  }
  void TearDown() override {
    mGroup.reset();
    mManager->Suspend();
    mManager.reset();
    vpl::platform::ThawClock();
  }
  // One frame of the stage, milliseconds later.
  void Frame(DWORD milliseconds = 0) {
    vpl::platform::AdvanceFrozenClock(milliseconds);
    mManager->Update();
  }
  // The next output frames, as the device would take them.
  static std::vector<int16_t> Mix(int frames) { return sound_output::Mix(frames); }

  sound_output::HeldOutput mHeld;
  MemorySoundCollection mSounds;
  std::unique_ptr<MMSoundManager> mManager;
  std::unique_ptr<MMSoundGroup> mGroup;
};

}  // namespace sound_channels
