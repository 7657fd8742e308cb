#pragma once
// The sound source of one film sound track. It holds no sound of its own:
// the film player lends it a window of the stream's bytes for one refill of
// the track's channel and takes the window back before those bytes are
// released. The kinds differ in how stored bytes become samples: as they
// are, 16-bit big-endian words swapped, or sound-byte codes expanded.

#include "foundation/uu/UUSoundBytes.h"
#include "media/sound/MMSoundSource.h"

#include <cstdint>

class MM2DFilmSoundSource : public MMSoundSource {
 public:
  explicit MM2DFilmSoundSource(MMSoundFormat format) : MMSoundSource(format) {}

  bool AtEnd() override { return mAtEnd; }
  // The bytes left in the window.
  int32_t GetPosition() override { return mLeft; }
  // Film tracks never loop: there is nowhere to go.
  int32_t Seek(int32_t) override { return mLeft; }
  // The wait plays no part: an empty window gives 0.
  uint32_t Read(void* buffer, uint32_t n, bool wait) override;

  void SetWindow(const uint8_t* bytes, int32_t n);
  void ClearWindow();
  void SetAtEnd() { mAtEnd = true; }
  // The stored bytes that turn into samples together: a window lent to the
  // source ends on a whole one.
  virtual int32_t GetUnitBytes() const { return 1; }

 protected:
  struct Step {
    int32_t consumed;   // window bytes used
    uint32_t produced;  // output bytes written
  };
  // Turns up to the window's bytes into at most room output bytes.
  virtual Step Transfer(const uint8_t* in, int32_t available, uint8_t* out, uint32_t room) = 0;

 private:
  const uint8_t* mWindow = nullptr;
  int32_t mLeft = 0;
  bool mAtEnd = false;
};

class MM2DFilmSoundSourceNormal : public MM2DFilmSoundSource {
 public:
  using MM2DFilmSoundSource::MM2DFilmSoundSource;

 protected:
  Step Transfer(const uint8_t* in, int32_t available, uint8_t* out, uint32_t room) override;
};

// The film stores 16-bit samples big-endian.
class MM2DFilmSoundSourceSwapWords : public MM2DFilmSoundSource {
 public:
  using MM2DFilmSoundSource::MM2DFilmSoundSource;
  int32_t GetUnitBytes() const override { return 2; }

 protected:
  Step Transfer(const uint8_t* in, int32_t available, uint8_t* out, uint32_t room) override;
};

// One code byte per 16-bit sample, channels interleaved.
class MM2DFilmSoundSourceSoundBytesUncompress : public MM2DFilmSoundSource {
 public:
  MM2DFilmSoundSourceSoundBytesUncompress(MMSoundFormat format, int32_t channelCount)
      : MM2DFilmSoundSource(format), mDecoder(channelCount), mChannelCount(channelCount) {}
  int32_t GetChannelCount() const { return mChannelCount; }

 protected:
  Step Transfer(const uint8_t* in, int32_t available, uint8_t* out, uint32_t room) override;

 private:
  UUSoundBytesDecoder mDecoder;
  int32_t mChannelCount;
};
