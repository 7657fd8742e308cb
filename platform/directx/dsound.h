#pragma once
// DirectSound, as the system's code calls it: a device object that makes
// secondary buffers of PCM, which a software mixer plays on the process's
// one audio output (44100 Hz, 16-bit, stereo). The entry point is never
// linked: callers load "DSOUND.DLL" with LoadLibraryA and look
// "DirectSoundCreate" up with GetProcAddress. Without an audio output the
// device cannot be made, as on a machine without a sound card. Only the
// interfaces, methods, structures and constants the system uses are here.

#include "platform/directx/d3d.h"

#include <cstdint>

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001);

// Cooperative level: the device may set the primary buffer's format.
constexpr DWORD DSSCL_PRIORITY = 2;

// Buffer capabilities.
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;

// Play flags and status bits.
constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;

// Volume and pan in hundredths of a decibel of attenuation; a frequency of
// 0 is the buffer's own rate.
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 100000;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

constexpr WORD WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;
  WORD wBitsPerSample;
  WORD cbSize;  // 0 for PCM
};
using LPWAVEFORMATEX = WAVEFORMATEX*;

// dwSize is sizeof (DSBUFFERDESC): the format pointer makes the record
// 24 bytes here, where 32-bit Windows has 20.
struct DSBUFFERDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwBufferBytes;  // 0 for the primary buffer
  DWORD dwReserved;
  LPWAVEFORMATEX lpwfxFormat;  // null for the primary buffer
};

struct IDirectSoundBuffer : IUnknown {
  virtual HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) = 0;
  virtual HRESULT GetStatus(DWORD* status) = 0;
  // Locks bytes from offset; past the end the second region continues at
  // the start. The first region's pointer stays valid until Unlock.
  virtual HRESULT Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes, void** second,
                       DWORD* secondBytes, DWORD flags) = 0;
  virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
  // 0 .. the buffer's size; at the size the buffer has played to its end.
  virtual HRESULT SetCurrentPosition(DWORD position) = 0;
  virtual HRESULT SetFormat(const WAVEFORMATEX* format) = 0;
  virtual HRESULT SetVolume(LONG volume) = 0;
  virtual HRESULT SetPan(LONG pan) = 0;
  virtual HRESULT SetFrequency(DWORD frequency) = 0;
  virtual HRESULT Stop() = 0;
  // The bytes written into the regions Lock gave.
  virtual HRESULT Unlock(void* first, DWORD firstBytes, void* second, DWORD secondBytes) = 0;

 protected:
  ~IDirectSoundBuffer() = default;
};
using LPDIRECTSOUNDBUFFER = IDirectSoundBuffer*;

struct IDirectSound : IUnknown {
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                                    IUnknown* outer) = 0;
  // A new buffer on the same bytes, with a cursor, status and controls of
  // its own.
  virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                       IDirectSoundBuffer** duplicate) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;

 protected:
  ~IDirectSound() = default;
};
using LPDIRECTSOUND = IDirectSound*;

// The type of "DirectSoundCreate": null for the default device.
using LPDIRECTSOUNDCREATE = HRESULT (*)(const GUID* device, IDirectSound** object, IUnknown* outer);
