#include "media/films/MM2DFilmChunkReader.h"

int32_t MM2DFilmChunkReader::FixedLength(uint32_t type) {
  switch (type) {
    case kMM2DFilmSoundEnd:
    case kMM2DFilmCue:
    case kMM2DFilmFrameTime:
    case kMM2DFilmTime:
      return 4;
    case kMM2DFilmRectangle:
      return 8;
    case kMM2DFilmEnd:
    case kMM2DFilmHold:
      return 0;
    default:
      return -1;
  }
}

bool MM2DFilmChunkReader::Next(MM2DFilmChunk& chunk) {
  if (mDamaged || mPosition == mSize) return false;
  if (mSize - mPosition < kMM2DFilmChunkHeaderBytes) return Fail();
  const uint8_t* header = mData + mPosition;
  const uint32_t type = MMReadBigEndian32(header);
  const uint32_t length = MMReadBigEndian32(header + 4);
  const int32_t rest = mSize - mPosition - kMM2DFilmChunkHeaderBytes;
  if (type < kMM2DFilmRawFrame || type > kMM2DFilmCompressedDeltaFrame) return Fail();
  if (length > static_cast<uint32_t>(rest)) return Fail();
  const int32_t fixed = FixedLength(type);
  if (fixed >= 0 && static_cast<int32_t>(length) != fixed) return Fail();
  chunk = MM2DFilmChunk{type, header + kMM2DFilmChunkHeaderBytes, static_cast<int32_t>(length)};
  mPosition += kMM2DFilmChunkHeaderBytes + static_cast<int32_t>(length);
  return true;
}
