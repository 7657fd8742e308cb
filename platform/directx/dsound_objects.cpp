// DirectSound over the software mixer: the device object, its primary
// buffer (which only records its format) and secondary buffers, and the
// "DSOUND.DLL" module. Lock hands out a copy of the locked bytes and Unlock
// writes them back under the samples' lock, so that the audio thread never
// reads bytes that another thread is writing.

#include "platform/directx/DirectXObjects.h"
#include "platform/directx/SoundMixer.h"

#include <algorithm>
#include <cstring>

namespace vpl::platform {
namespace {

constexpr DWORD kLowestLevel = 1;   // DSSCL_NORMAL
constexpr DWORD kHighestLevel = 4;  // DSSCL_WRITEPRIMARY

bool IsPcmFormat(const WAVEFORMATEX* format) {
  if (format == nullptr || format->wFormatTag != WAVE_FORMAT_PCM) return false;
  if (format->nChannels != 1 && format->nChannels != 2) return false;
  if (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) return false;
  if (format->nSamplesPerSec < DSBFREQUENCY_MIN || format->nSamplesPerSec > DSBFREQUENCY_MAX)
    return false;
  return format->nBlockAlign == format->nChannels * format->wBitsPerSample / 8;
}

// The primary buffer: the output's own format is fixed, so the format set
// here is only recorded; it cannot be played or locked.
class PrimarySoundBuffer : public DirectXObject<IDirectSoundBuffer> {
 public:
  HRESULT QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT SetFormat(const WAVEFORMATEX* format) override {
    if (!IsPcmFormat(format)) return DSERR_INVALIDPARAM;
    mFormat = *format;
    return DS_OK;
  }
  HRESULT GetCurrentPosition(DWORD*, DWORD*) override { return DSERR_INVALIDCALL; }
  HRESULT GetStatus(DWORD*) override { return DSERR_INVALIDCALL; }
  HRESULT Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) override {
    return DSERR_INVALIDCALL;
  }
  HRESULT Play(DWORD, DWORD, DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT SetCurrentPosition(DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT SetVolume(LONG) override { return DSERR_INVALIDCALL; }
  HRESULT SetPan(LONG) override { return DSERR_INVALIDCALL; }
  HRESULT SetFrequency(DWORD) override { return DSERR_INVALIDCALL; }
  HRESULT Stop() override { return DSERR_INVALIDCALL; }
  HRESULT Unlock(void*, DWORD, void*, DWORD) override { return DSERR_INVALIDCALL; }

 private:
  WAVEFORMATEX mFormat{};
};

// A secondary buffer: a voice of the mixer over samples it may share with
// its duplicates. Every access to the voice or the samples takes their
// lock.
class SecondarySoundBuffer : public DirectXObject<IDirectSoundBuffer> {
 public:
  SecondarySoundBuffer(std::shared_ptr<SoundMixer> mixer, std::shared_ptr<SoundSamples> samples)
      : mMixer(std::move(mixer)), mVoice(std::move(samples)) {
    mMixer->AddVoice(&mVoice);
  }
  ~SecondarySoundBuffer() override { mMixer->RemoveVoice(&mVoice); }

  HRESULT QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) override;
  HRESULT GetStatus(DWORD* status) override;
  HRESULT Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes, void** second,
               DWORD* secondBytes, DWORD flags) override;
  HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
  HRESULT SetCurrentPosition(DWORD position) override;
  HRESULT SetFormat(const WAVEFORMATEX*) override { return DSERR_INVALIDCALL; }
  HRESULT SetVolume(LONG volume) override;
  HRESULT SetPan(LONG pan) override;
  HRESULT SetFrequency(DWORD frequency) override;
  HRESULT Stop() override;
  HRESULT Unlock(void* first, DWORD firstBytes, void* second, DWORD secondBytes) override;

  // A new buffer on the same samples, with this one's controls.
  SecondarySoundBuffer* Duplicate();

 private:
  std::unique_lock<std::mutex> Guard() { return std::unique_lock(mVoice.samples->lock); }
  std::vector<uint8_t>& Bytes() { return mVoice.samples->bytes; }
  DWORD Size() { return static_cast<DWORD>(Bytes().size()); }

  std::shared_ptr<SoundMixer> mMixer;
  SoundVoice mVoice;
  // The regions Lock handed out, copied: [0, mFirstBytes) stands for the
  // bytes from mOffset, the rest for the bytes from the start.
  std::vector<uint8_t> mLocked;
  DWORD mOffset = 0;
  DWORD mFirstBytes = 0;
  bool mIsLocked = false;
};

HRESULT SecondarySoundBuffer::GetCurrentPosition(DWORD* playCursor, DWORD* writeCursor) {
  auto guard = Guard();
  // The mixer has taken every byte before the play cursor: writing may
  // start there.
  const DWORD cursor = mVoice.PlayCursor();
  if (playCursor != nullptr) *playCursor = cursor;
  if (writeCursor != nullptr) *writeCursor = cursor;
  return DS_OK;
}

HRESULT SecondarySoundBuffer::GetStatus(DWORD* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  auto guard = Guard();
  *status = !mVoice.playing ? 0 : DSBSTATUS_PLAYING | (mVoice.looping ? DSBSTATUS_LOOPING : 0);
  return DS_OK;
}

HRESULT SecondarySoundBuffer::Lock(DWORD offset, DWORD bytes, void** first, DWORD* firstBytes,
                                   void** second, DWORD* secondBytes, DWORD) {
  if (first == nullptr || firstBytes == nullptr) return DSERR_INVALIDPARAM;
  auto guard = Guard();
  if (mIsLocked) return DSERR_INVALIDCALL;
  if (offset >= Size() || bytes == 0 || bytes > Size()) return DSERR_INVALIDPARAM;
  const bool wraps = second != nullptr && secondBytes != nullptr;
  mOffset = offset;
  mFirstBytes = std::min(bytes, Size() - offset);
  const DWORD wrapped = wraps ? bytes - mFirstBytes : 0;
  mLocked.assign(Bytes().begin() + offset, Bytes().begin() + offset + mFirstBytes);
  mLocked.insert(mLocked.end(), Bytes().begin(), Bytes().begin() + wrapped);
  mIsLocked = true;
  *first = mLocked.data();
  *firstBytes = mFirstBytes;
  if (wraps) {
    *second = wrapped != 0 ? mLocked.data() + mFirstBytes : nullptr;
    *secondBytes = wrapped;
  }
  return DS_OK;
}

HRESULT SecondarySoundBuffer::Unlock(void* first, DWORD firstBytes, void* second,
                                     DWORD secondBytes) {
  auto guard = Guard();
  if (!mIsLocked || first != mLocked.data() || firstBytes > mFirstBytes) return DSERR_INVALIDPARAM;
  const DWORD wrapped = static_cast<DWORD>(mLocked.size()) - mFirstBytes;
  if (second != nullptr && (second != mLocked.data() + mFirstBytes || secondBytes > wrapped))
    return DSERR_INVALIDPARAM;
  std::copy_n(mLocked.begin(), firstBytes, Bytes().begin() + mOffset);
  if (second != nullptr) std::copy_n(mLocked.begin() + mFirstBytes, secondBytes, Bytes().begin());
  mIsLocked = false;
  return DS_OK;
}

HRESULT SecondarySoundBuffer::Play(DWORD reserved, DWORD, DWORD flags) {
  if (reserved != 0) return DSERR_INVALIDPARAM;
  auto guard = Guard();
  mVoice.looping = (flags & DSBPLAY_LOOPING) != 0;
  // A buffer that played to its end has nothing left unless it loops.
  const bool atEnd = (mVoice.position >> 32) >= mVoice.samples->FrameCount();
  if (atEnd && mVoice.looping) mVoice.position = 0;
  mVoice.playing = !atEnd || mVoice.looping;
  return DS_OK;
}

HRESULT SecondarySoundBuffer::SetCurrentPosition(DWORD position) {
  auto guard = Guard();
  if (position > Size()) return DSERR_INVALIDPARAM;
  mVoice.position = static_cast<uint64_t>(position / mVoice.samples->format.nBlockAlign) << 32;
  return DS_OK;
}

HRESULT SecondarySoundBuffer::SetVolume(LONG volume) {
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  auto guard = Guard();
  mVoice.volume = volume;
  mVoice.UpdateGains();
  return DS_OK;
}

HRESULT SecondarySoundBuffer::SetPan(LONG pan) {
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  auto guard = Guard();
  mVoice.pan = pan;
  mVoice.UpdateGains();
  return DS_OK;
}

HRESULT SecondarySoundBuffer::SetFrequency(DWORD frequency) {
  if (frequency != DSBFREQUENCY_ORIGINAL &&
      (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX))
    return DSERR_INVALIDPARAM;
  auto guard = Guard();
  mVoice.frequency =
      frequency == DSBFREQUENCY_ORIGINAL ? mVoice.samples->format.nSamplesPerSec : frequency;
  return DS_OK;
}

HRESULT SecondarySoundBuffer::Stop() {
  auto guard = Guard();
  mVoice.playing = false;
  return DS_OK;
}

SecondarySoundBuffer* SecondarySoundBuffer::Duplicate() {
  auto* duplicate = new SecondarySoundBuffer(mMixer, mVoice.samples);
  auto guard = Guard();
  duplicate->mVoice.frequency = mVoice.frequency;
  duplicate->mVoice.volume = mVoice.volume;
  duplicate->mVoice.pan = mVoice.pan;
  duplicate->mVoice.UpdateGains();
  return duplicate;
}

class DirectSoundObject : public DirectXObject<IDirectSound> {
 public:
  explicit DirectSoundObject(std::shared_ptr<SoundMixer> mixer) : mMixer(std::move(mixer)) {}

  HRESULT QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                            IUnknown* outer) override;
  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                               IDirectSoundBuffer** duplicate) override;
  HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

 private:
  std::shared_ptr<SoundMixer> mMixer;
  DWORD mLevel = 0;
};

HRESULT DirectSoundObject::CreateSoundBuffer(const DSBUFFERDESC* description,
                                             IDirectSoundBuffer** buffer, IUnknown* outer) {
  if (buffer == nullptr) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  if (description == nullptr || description->dwSize != sizeof(DSBUFFERDESC) || outer != nullptr)
    return DSERR_INVALIDPARAM;
  if ((description->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0) {
    if (description->dwBufferBytes != 0 || description->lpwfxFormat != nullptr)
      return DSERR_INVALIDPARAM;
    if (mLevel == 0) return DSERR_INVALIDCALL;
    *buffer = new PrimarySoundBuffer();
    return DS_OK;
  }
  const DWORD bytes = description->dwBufferBytes;
  if (!IsPcmFormat(description->lpwfxFormat) || bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX ||
      bytes < description->lpwfxFormat->nBlockAlign)
    return DSERR_INVALIDPARAM;
  auto samples = std::make_shared<SoundSamples>();
  samples->format = *description->lpwfxFormat;
  // A new buffer holds silence.
  samples->bytes.assign(bytes, samples->format.wBitsPerSample == 8 ? 0x80 : 0x00);
  *buffer = new SecondarySoundBuffer(mMixer, std::move(samples));
  return DS_OK;
}

HRESULT DirectSoundObject::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                                IDirectSoundBuffer** duplicate) {
  if (duplicate == nullptr) return DSERR_INVALIDPARAM;
  *duplicate = nullptr;
  auto* secondary = dynamic_cast<SecondarySoundBuffer*>(original);
  if (secondary == nullptr) return DSERR_INVALIDCALL;
  *duplicate = secondary->Duplicate();
  return DS_OK;
}

HRESULT DirectSoundObject::SetCooperativeLevel(HWND window, DWORD level) {
  if (window == nullptr || level < kLowestLevel || level > kHighestLevel) return DSERR_INVALIDPARAM;
  mLevel = level;
  return DS_OK;
}

// "DirectSoundCreate": only the default device exists.
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** object, IUnknown* outer) {
  if (object == nullptr) return DSERR_INVALIDPARAM;
  *object = nullptr;
  if (outer != nullptr) return DSERR_INVALIDPARAM;
  if (device != nullptr) return DSERR_NODRIVER;
  std::shared_ptr<SoundMixer> mixer = SoundMixer::Open();
  if (mixer == nullptr) return DSERR_NODRIVER;
  *object = new DirectSoundObject(std::move(mixer));
  return DS_OK;
}

}  // namespace

bool OpenDirectSoundLibrary() { return true; }

FARPROC LookUpDirectSoundFunction(const char* name) {
  if (name != nullptr && std::strcmp(name, "DirectSoundCreate") == 0) {
    return reinterpret_cast<FARPROC>(&DirectSoundCreate);
  }
  return nullptr;
}

}  // namespace vpl::platform
