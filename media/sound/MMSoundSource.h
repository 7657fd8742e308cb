#pragma once
// Sound sources: streams of 8- or 16-bit PCM with the format of their
// bytes, from which the sound channels pull.

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUInputStream.h"
#include "media/sound/MMSoundFormat.h"

#include <cstdint>
#include <memory>

class MMSoundSource : public UUInputStream {
 public:
  explicit MMSoundSource(MMSoundFormat format) : mFormat(format) {}

  MMSoundFormat GetFormat() const { return mFormat; }
  // The samples arrive in the machine's order.
  bool IsByteSwapped() override { return false; }

 private:
  MMSoundFormat mFormat;
};

// A source of a sound loader: an input that turns the sound's stored bytes
// into PCM, and a callback that gives the sound back to its loader.
class MMLoaderSoundSource : public MMSoundSource {
 public:
  // Takes both over.
  MMLoaderSoundSource(MMSoundFormat format, UUInputStream* input, UUCallback* release);
  // Deletes the input first, so that no reader still writes into the
  // sound's memory when the release callback runs.
  ~MMLoaderSoundSource() override;
  MMLoaderSoundSource(const MMLoaderSoundSource&) = delete;
  MMLoaderSoundSource& operator=(const MMLoaderSoundSource&) = delete;

  // Positions and lengths are bytes of PCM.
  bool AtEnd() override { return mInput->AtEnd(); }
  int32_t GetPosition() override { return mInput->GetPosition(); }
  int32_t Seek(int32_t position) override { return mInput->Seek(position); }
  uint32_t Read(void* buffer, uint32_t n, bool wait) override {
    return mInput->Read(buffer, n, wait);
  }

 private:
  std::unique_ptr<UUInputStream> mInput;
  std::unique_ptr<UUCallback> mRelease;
};
