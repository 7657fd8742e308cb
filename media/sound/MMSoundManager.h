#pragma once
// The sound manager: owns the process's DirectSound device and knows every
// logical channel. The stage opens the device by unsuspending the manager
// once, closes it by suspending it, pauses and resumes it with itself and
// updates every channel once a frame. Without "DSOUND.DLL" or a device all
// channels play silently on the clock.

#include "foundation/uu/UUList.h"
#include "media/sound/MMSoundFormat.h"
#include "mm/stage/MMSoundManager.h"
#include "platform/directx/dsound.h"

#include <cstdint>

class MMLogicalSoundChannel;

// The format of the primary buffer: 22050 Hz, 16-bit, mono.
extern const MMSoundFormat MMSoundDeviceFormat;

// What DirectSound is told of PCM of a sound format.
WAVEFORMATEX MMMakeWaveFormat(MMSoundFormat format);

class MMSoundManager : public MMStageSoundManager {
 public:
  // Finds DirectSound; the device stays closed until Unsuspend.
  explicit MMSoundManager(HWND window);
  // Releases a device still open.
  ~MMSoundManager() override;
  MMSoundManager(const MMSoundManager&) = delete;
  MMSoundManager& operator=(const MMSoundManager&) = delete;

  // Every channel's Update, in list order.
  void Update() override;
  // Counted: 0 to 1 suspends every channel and releases the device, 1 to 0
  // opens the device and unsuspends every channel.
  void Suspend() override;
  void Unsuspend() override;
  // Counted pause of every channel of the manager.
  void Pause() override;
  void Resume() override;
  MMStageSoundGroup* CreateSoundGroup() override;
  virtual void PauseAll();
  virtual void ResumeAll();
  virtual void SuspendAll();
  virtual void UnsuspendAll();

  void AddChannel(MMLogicalSoundChannel* channel);
  void RemoveChannel(MMLogicalSoundChannel* channel);

  // A secondary buffer of the format and size with the volume, pan and
  // frequency controls and the extra flags; null without a device or when
  // the device cannot make it.
  IDirectSoundBuffer* CreateSoundBuffer(MMSoundFormat format, uint32_t bytes, DWORD extraFlags);
  // A buffer sharing the given buffer's bytes; null without a device.
  IDirectSoundBuffer* DuplicateSoundBuffer(IDirectSoundBuffer* buffer);

  bool HasDevice() const { return mDevice != nullptr; }
  int32_t GetPauseCount() const { return mPauseCount; }
  int32_t GetSuspendCount() const { return mSuspendCount; }

 private:
  void CreateDevice();
  void ReleaseDevice();
  // Sets the primary buffer's format; the device keeps its own on failure.
  void SetPrimaryFormat();

  UUList<MMLogicalSoundChannel*> mChannels;
  int32_t mPauseCount = 0;
  int32_t mSuspendCount = 1;
  HWND mWindow;
  HMODULE mModule = nullptr;
  LPDIRECTSOUNDCREATE mCreate = nullptr;
  IDirectSound* mDevice = nullptr;
};

// The master volume of the wave-out devices, 0 to 1024: the lowest left
// volume of them all; 1024 without any.
int32_t MMGetMasterVolume();
// Sets every wave-out device, left and right alike.
void MMSetMasterVolume(int32_t volume);
