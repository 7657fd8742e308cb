// Wave-out volume: the master gain of the sound mixer, one for the process.

#include "platform/directx/SoundMixer.h"
#include "platform/win32/winmm.h"

namespace {

bool IsDevice(HWAVEOUT device) {
  return reinterpret_cast<UINT_PTR>(device) < vpl::platform::SoundOutputCount();
}

}  // namespace

UINT waveOutGetNumDevs() { return vpl::platform::SoundOutputCount(); }

MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume) {
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  if (!IsDevice(device)) return MMSYSERR_BADDEVICEID;
  *volume = vpl::platform::MasterVolume();
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume) {
  if (!IsDevice(device)) return MMSYSERR_BADDEVICEID;
  vpl::platform::SetMasterVolume(volume);
  return MMSYSERR_NOERROR;
}
