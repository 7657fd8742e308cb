#pragma once
// The chunk stream of one film: chunks of a big-endian type, a big-endian
// payload length and the payload, whatever the byte order of the file.
//
//   raw frame              H x P bytes of the whole frame
//   delta frame            20 dirty rectangles, then delta operations
//   sound data             uint32 L, uint32 track, int32 start frame, L bytes, padding
//   sound end              uint32 track
//   cue                    uint32 cue
//   rectangle              int16 top, left, bottom, right
//   frame time             int32 film time in ms; ends the frame
//   end, hold              nothing; end the frame
//   time                   int32 film time in ms; ends the frame
//   compressed frame       uint32 C, uint32 D, C bytes of LZO1X, padding
//   compressed delta frame uint32 C, uint32 D, 20 dirty rectangles, C bytes of LZO1X, padding
//
// A delta operation is an int16 skip added to the destination, then an
// int16 count: count >= 0 bytes follow and are copied; count < 0 a 4-byte
// fill value follows and is stored (-count) / 4 times, the destination
// advancing by -count. 32-bit pixels are stored with their four bytes
// reversed against the frame bitmap's memory order.

#include <cstdint>

enum MM2DFilmChunkType : uint32_t {
  kMM2DFilmRawFrame = 0xF7890000,
  kMM2DFilmDeltaFrame,
  kMM2DFilmSoundData,
  kMM2DFilmSoundEnd,
  kMM2DFilmCue,
  kMM2DFilmRectangle,
  kMM2DFilmFrameTime,
  kMM2DFilmEnd,
  kMM2DFilmTime,
  kMM2DFilmHold,
  kMM2DFilmCompressedFrame,
  kMM2DFilmCompressedDeltaFrame,
};

constexpr int32_t kMM2DFilmChunkHeaderBytes = 8;
constexpr int32_t kMM2DFilmDirtyRectCount = 20;
constexpr int32_t kMM2DFilmDirtyRectBytes = 8 * kMM2DFilmDirtyRectCount;

// A dirty rectangle in the scene's coordinates; empty when left >= right or
// top >= bottom.
struct MM2DFilmDirtyRect {
  int16_t mTop = 0;
  int16_t mLeft = 0;
  int16_t mBottom = 0;
  int16_t mRight = 0;

  friend bool operator==(const MM2DFilmDirtyRect&, const MM2DFilmDirtyRect&) = default;
  bool IsEmpty() const { return mLeft >= mRight || mTop >= mBottom; }
};

// One chunk as read: its payload lies in the stream's bytes.
struct MM2DFilmChunk {
  uint32_t mType = 0;
  const uint8_t* mPayload = nullptr;
  int32_t mLength = 0;
};

inline uint32_t MMReadBigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
         static_cast<uint32_t>(p[2]) << 8 | p[3];
}

inline int16_t MMReadBigEndian16(const uint8_t* p) {
  return static_cast<int16_t>(p[0] << 8 | p[1]);
}
