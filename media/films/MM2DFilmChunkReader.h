#pragma once
// Walks the chunks of a film's bytes. A chunk whose header or payload runs
// past the end, or a chunk of a fixed size whose length says otherwise,
// marks the stream damaged and ends the walk.

#include "media/films/MM2DFilmChunk.h"

#include <cstdint>

class MM2DFilmChunkReader {
 public:
  MM2DFilmChunkReader(const uint8_t* data, int32_t size) : mData(data), mSize(size) {}

  // The next chunk; false at the end of the bytes or on a damaged chunk.
  bool Next(MM2DFilmChunk& chunk);
  bool IsDamaged() const { return mDamaged; }
  int32_t GetPosition() const { return mPosition; }

  // The payload size that a chunk type always has, -1 for one its length
  // decides (the raw frame's depends on the frame).
  static int32_t FixedLength(uint32_t type);

 private:
  bool Fail() {
    mDamaged = true;
    return false;
  }

  const uint8_t* mData;
  int32_t mSize;
  int32_t mPosition = 0;
  bool mDamaged = false;
};
