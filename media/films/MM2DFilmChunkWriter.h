#pragma once
// Builds the chunk stream of a film: the data-file builder and the tests
// make films with it. Pixels are given in the frame bitmap's memory order
// and stored in the stream's order.

#include "media/films/MM2DFilmChunk.h"

#include <cstdint>
#include <vector>

// The delta operations of one frame change.
class MM2DFilmDeltaOps {
 public:
  explicit MM2DFilmDeltaOps(int32_t bytesPerPixel) : mReversed(bytesPerPixel == 4) {}

  // Moves the destination by skip, then copies n pixel bytes (n <= 32767).
  void AddLiteral(int16_t skip, const uint8_t* bytes, int16_t n);
  // Moves the destination by skip, then stores value (-count) / 4 times and
  // advances by -count (count < 0). value is in memory order.
  void AddFill(int16_t skip, int16_t count, const uint8_t value[4]);
  const std::vector<uint8_t>& GetBytes() const { return mBytes; }

  // The operations that turn previous into next (both size bytes in memory
  // order): literal runs of the changed bytes, whole pixels at a time.
  static MM2DFilmDeltaOps Encode(const uint8_t* previous, const uint8_t* next, int32_t size,
                                 int32_t bytesPerPixel);

 private:
  void AddOperation(int16_t skip, int16_t count);

  std::vector<uint8_t> mBytes;
  bool mReversed;
};

class MM2DFilmChunkWriter {
 public:
  explicit MM2DFilmChunkWriter(int32_t bytesPerPixel) : mReversed(bytesPerPixel == 4) {}

  void RawFrame(const uint8_t* pixels, int32_t frameBytes);
  // The frame compressed with LZO1X.
  void CompressedFrame(const uint8_t* pixels, int32_t frameBytes);
  void DeltaFrame(const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount],
                  const MM2DFilmDeltaOps& ops);
  void CompressedDeltaFrame(const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount],
                            const MM2DFilmDeltaOps& ops);
  void SoundData(uint32_t track, int32_t startFrame, const uint8_t* data, int32_t n);
  void SoundEnd(uint32_t track);
  void Cue(uint32_t cue);
  void Rectangle(const MM2DFilmDirtyRect& rect);
  void FrameTime(int32_t milliseconds);
  void End();
  void Time(int32_t milliseconds);
  void Hold();

  const std::vector<uint8_t>& GetBytes() const { return mBytes; }

 private:
  void Header(MM2DFilmChunkType type, int32_t length);
  void U32(uint32_t value);
  void U16(uint16_t value);
  void Append(const uint8_t* data, int32_t n);
  void RectFields(const MM2DFilmDirtyRect& rect);
  void DirtyRects(const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount]);

  bool mReversed;
  std::vector<uint8_t> mBytes;
};

// Pixel bytes in the stream's order: each whole 4-byte group reversed when
// reversed is set.
std::vector<uint8_t> MMStore2DFilmPixels(const uint8_t* pixels, int32_t n, bool reversed);
// LZO1X-1 compression of n bytes.
std::vector<uint8_t> MMCompress2DFilmData(const uint8_t* data, int32_t n);
