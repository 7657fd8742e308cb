#pragma once
// The multimedia timer the system's clock reads.

#include "platform/win32/kernel.h"

// Milliseconds on the monotonic clock, wrapping at 32 bits.
DWORD timeGetTime();

// Wave-out: the one output of the process, when the machine has an audio
// output. Its volume is the master gain of DirectSound's mixer, never the
// desktop's mixer. A device is named by its number cast to a handle.
using MMRESULT = UINT;
using HWAVEOUT = struct HWAVEOUT__*;
constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;

UINT waveOutGetNumDevs();
// The low word the left channel's volume, the high word the right's,
// 0xFFFF full.
MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume);
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);
