#include "media/sound/MMSoundManager.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundGroup.h"
#include "platform/win32/kernel.h"
#include "platform/win32/winmm.h"

#include <algorithm>

namespace {

constexpr DWORD kPrimaryFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
constexpr DWORD kSecondaryFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
constexpr int32_t kFullVolume = 1024;
constexpr int32_t kLoudestStoredVolume = 1023;  // ten bits
constexpr DWORD kLoudestDeviceVolume = 0xFFFF;

MMStageSoundManager* MakeSoundManager(HWND window) {
  return new (ALGlobalAllocator) MMSoundManager(window);
}

// Every stage of a program that has the sound layer makes its manager.
const bool kMakerInstalled = (MMSetSoundManagerMaker(&MakeSoundManager), true);

HWAVEOUT WaveOutDevice(UINT number) {
  return reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(number));
}

}  // namespace

const MMSoundFormat MMSoundDeviceFormat{2 | MMSoundFormat::k16Bit};

WAVEFORMATEX MMMakeWaveFormat(MMSoundFormat format) {
  const auto rate = static_cast<DWORD>(format.GetSampleRate());
  const auto frameBytes = static_cast<WORD>(format.GetFrameBytes());
  return WAVEFORMATEX{.wFormatTag = WAVE_FORMAT_PCM,
                      .nChannels = static_cast<WORD>(format.GetChannelCount()),
                      .nSamplesPerSec = rate,
                      .nAvgBytesPerSec = rate * frameBytes,
                      .nBlockAlign = frameBytes,
                      .wBitsPerSample = static_cast<WORD>(format.Is16Bit() ? 16 : 8),
                      .cbSize = 0};
}

MMSoundManager::MMSoundManager(HWND window) : mWindow(window) {
  mModule = LoadLibraryA("DSOUND.DLL");
  if (mModule == nullptr) return;
  mCreate = reinterpret_cast<LPDIRECTSOUNDCREATE>(GetProcAddress(mModule, "DirectSoundCreate"));
  if (mCreate != nullptr) return;
  FreeLibrary(mModule);
  mModule = nullptr;
}

// A stage whose thread never ran has not suspended its manager: the device
// goes here then.
MMSoundManager::~MMSoundManager() {
  ReleaseDevice();
  if (mModule != nullptr) FreeLibrary(mModule);
}

void MMSoundManager::Update() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Update);
}

void MMSoundManager::Suspend() {
  if (++mSuspendCount == 1) SuspendAll();
}

void MMSoundManager::Unsuspend() {
  if (--mSuspendCount == 0) UnsuspendAll();
}

void MMSoundManager::Pause() {
  if (++mPauseCount == 1) PauseAll();
}

void MMSoundManager::Resume() {
  if (--mPauseCount == 0) ResumeAll();
}

MMStageSoundGroup* MMSoundManager::CreateSoundGroup() {
  return new (ALGlobalAllocator) MMSoundGroup(this);
}

void MMSoundManager::PauseAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Pause);
}

void MMSoundManager::ResumeAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Resume);
}

void MMSoundManager::SuspendAll() {
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Suspend);
  ReleaseDevice();
}

void MMSoundManager::UnsuspendAll() {
  CreateDevice();
  UUListForEach<MMLogicalSoundChannel>(mChannels.Begin(), mChannels.End(),
                                       &MMLogicalSoundChannel::Unsuspend);
}

void MMSoundManager::AddChannel(MMLogicalSoundChannel* channel) { mChannels.PushBack(channel); }

void MMSoundManager::RemoveChannel(MMLogicalSoundChannel* channel) { mChannels.Remove(channel); }

void MMSoundManager::CreateDevice() {
  if (mCreate == nullptr) return;
  if (FAILED(mCreate(nullptr, &mDevice, nullptr))) {
    mDevice = nullptr;
    return;
  }
  if (FAILED(mDevice->SetCooperativeLevel(mWindow, DSSCL_PRIORITY))) {
    ReleaseDevice();
    return;
  }
  SetPrimaryFormat();
}

void MMSoundManager::SetPrimaryFormat() {
  DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                           .dwFlags = kPrimaryFlags,
                           .dwBufferBytes = 0,
                           .dwReserved = 0,
                           .lpwfxFormat = nullptr};
  IDirectSoundBuffer* primary = nullptr;
  if (FAILED(mDevice->CreateSoundBuffer(&description, &primary, nullptr))) return;
  const WAVEFORMATEX format = MMMakeWaveFormat(MMSoundDeviceFormat);
  primary->SetFormat(&format);
  primary->Release();
}

void MMSoundManager::ReleaseDevice() {
  if (mDevice == nullptr) return;
  mDevice->Release();
  mDevice = nullptr;
}

IDirectSoundBuffer* MMSoundManager::CreateSoundBuffer(MMSoundFormat format, uint32_t bytes,
                                                      DWORD extraFlags) {
  if (mDevice == nullptr) return nullptr;
  WAVEFORMATEX waveFormat = MMMakeWaveFormat(format);
  DSBUFFERDESC description{.dwSize = sizeof(DSBUFFERDESC),
                           .dwFlags = kSecondaryFlags | extraFlags,
                           .dwBufferBytes = bytes,
                           .dwReserved = 0,
                           .lpwfxFormat = &waveFormat};
  IDirectSoundBuffer* buffer = nullptr;
  if (FAILED(mDevice->CreateSoundBuffer(&description, &buffer, nullptr))) return nullptr;
  return buffer;
}

IDirectSoundBuffer* MMSoundManager::DuplicateSoundBuffer(IDirectSoundBuffer* buffer) {
  if (mDevice == nullptr) return nullptr;
  IDirectSoundBuffer* duplicate = nullptr;
  if (FAILED(mDevice->DuplicateSoundBuffer(buffer, &duplicate))) return nullptr;
  return duplicate;
}

int32_t MMGetMasterVolume() {
  DWORD lowest = kLoudestDeviceVolume;
  const UINT devices = waveOutGetNumDevs();
  for (UINT i = 0; i < devices; ++i) {
    DWORD volume = 0;
    if (waveOutGetVolume(WaveOutDevice(i), &volume) == MMSYSERR_NOERROR) {
      lowest = std::min<DWORD>(lowest, volume & 0xFFFF);
    }
  }
  const auto stored = static_cast<int32_t>(lowest >> 6);
  return stored == kLoudestStoredVolume ? kFullVolume : stored;
}

void MMSetMasterVolume(int32_t volume) {
  const auto v = static_cast<DWORD>(std::clamp(volume, 0, kLoudestStoredVolume));
  const DWORD widened = (v << 6) | (v >> 4);
  const UINT devices = waveOutGetNumDevs();
  for (UINT i = 0; i < devices; ++i) waveOutSetVolume(WaveOutDevice(i), widened | widened << 16);
}
