#pragma once
// Applies the picture chunks of a film to its frame bitmap's pixel bytes:
// raw and compressed frames replace the image, delta frames patch it.
// Every size comes from the file, so each is checked against the frame and
// the work buffer; a chunk that breaks one stops where it is and answers
// false, never writing outside the frame.

#include "media/films/MM2DFilmChunk.h"

#include <cstdint>

class MM2DFilmFrameDecoder {
 public:
  // pixels: height rows pitch bytes apart; bytesPerPixel 1 or 4; work:
  // the film's work buffer (may be null when its size is 0).
  MM2DFilmFrameDecoder(uint8_t* pixels, int32_t height, int32_t pitch, int32_t bytesPerPixel,
                       uint8_t* work, int32_t workSize);

  // A raw, delta, compressed or compressed delta chunk; the delta chunks
  // answer their dirty rectangles when dirty is not null. False for a
  // damaged chunk or one of another type.
  bool Apply(const MM2DFilmChunk& chunk, MM2DFilmDirtyRect* dirty);

 private:
  bool ApplyRaw(const uint8_t* data, int32_t length);
  bool ApplyCompressed(const uint8_t* data, int32_t length);
  bool ApplyDelta(const uint8_t* data, int32_t length, MM2DFilmDirtyRect* dirty);
  bool ApplyCompressedDelta(const uint8_t* data, int32_t length, MM2DFilmDirtyRect* dirty);
  // The operations of a delta, bounded by the frame.
  bool ApplyOperations(const uint8_t* ops, int32_t length);
  // Copies n stored bytes into the frame's memory order.
  void CopyPixels(uint8_t* destination, const uint8_t* source, int32_t n) const;
  int32_t FrameBytes() const { return mHeight * mPitch; }

  uint8_t* mPixels;
  int32_t mHeight;
  int32_t mPitch;
  bool mReversed;
  uint8_t* mWork;
  int32_t mWorkSize;
};

// Reads the twenty dirty rectangles at data.
void MMRead2DFilmDirtyRects(const uint8_t* data, MM2DFilmDirtyRect* dirty);
