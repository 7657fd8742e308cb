#include "media/films/MM2DFilmSoundSource.h"

#include "foundation/al/ALBytes.h"

#include <algorithm>

uint32_t MM2DFilmSoundSource::Read(void* buffer, uint32_t n, bool) {
  if (mLeft <= 0) return 0;
  const Step step = Transfer(mWindow, mLeft, static_cast<uint8_t*>(buffer), n);
  mWindow += step.consumed;
  mLeft -= step.consumed;
  return step.produced;
}

void MM2DFilmSoundSource::SetWindow(const uint8_t* bytes, int32_t n) {
  mWindow = bytes;
  mLeft = n;
  mAtEnd = false;
}

void MM2DFilmSoundSource::ClearWindow() {
  mWindow = nullptr;
  mLeft = 0;
}

MM2DFilmSoundSource::Step MM2DFilmSoundSourceNormal::Transfer(const uint8_t* in, int32_t available,
                                                              uint8_t* out, uint32_t room) {
  const auto n = static_cast<int32_t>(std::min<uint32_t>(room, static_cast<uint32_t>(available)));
  ALCopyBytes(out, in, n);
  return {n, static_cast<uint32_t>(n)};
}

MM2DFilmSoundSource::Step MM2DFilmSoundSourceSwapWords::Transfer(const uint8_t* in,
                                                                 int32_t available, uint8_t* out,
                                                                 uint32_t room) {
  const uint32_t n = std::min<uint32_t>(room, static_cast<uint32_t>(available)) & ~1u;
  ALCopySwapBytes16(out, in, n);
  return {static_cast<int32_t>(n), n};
}

MM2DFilmSoundSource::Step MM2DFilmSoundSourceSoundBytesUncompress::Transfer(const uint8_t* in,
                                                                            int32_t available,
                                                                            uint8_t* out,
                                                                            uint32_t room) {
  const uint32_t n = std::min<uint32_t>(room / 2, static_cast<uint32_t>(available));
  mDecoder.DecodeInto(in, n, out);
  return {static_cast<int32_t>(n), 2 * n};
}
