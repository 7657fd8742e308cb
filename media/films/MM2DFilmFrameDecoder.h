#pragma once
// Applies the picture chunks of a film to its frame bitmap's pixel bytes:
// raw and compressed frames replace the image, delta frames patch it.
// Every size comes from the file, so each is checked against the frame and
// the work buffer; a chunk that breaks one stops where it is and answers
// false, never writing outside the frame.

#include "media/films/MM2DFilmByteSource.h"
#include "media/films/MM2DFilmChunk.h"

#include <cstdint>

class MM2DFilmFrameDecoder {
 public:
  // pixels: height rows pitch bytes apart; bytesPerPixel 1 or 4; work:
  // the film's work buffer (may be null when its size is 0).
  MM2DFilmFrameDecoder(uint8_t* pixels, int32_t height, int32_t pitch, int32_t bytesPerPixel,
                       uint8_t* work, int32_t workSize);

  // Whether chunks of the type change the picture.
  static bool IsPicture(uint32_t type);
  // The payload of a picture chunk of the type and length, read from the
  // source, which is always moved past the whole payload (unless it ends
  // first). The delta chunks answer their dirty rectangles when dirty is
  // not null. False for a damaged chunk or one of another type.
  bool Decode(uint32_t type, int32_t length, MM2DFilmByteSource& source, MM2DFilmDirtyRect* dirty);
  // A chunk whose payload lies in memory.
  bool Apply(const MM2DFilmChunk& chunk, MM2DFilmDirtyRect* dirty);

 private:
  bool DecodePayload(uint32_t type, MM2DFilmLimitedSource& payload, MM2DFilmDirtyRect* dirty);
  bool ApplyRaw(MM2DFilmLimitedSource& payload);
  bool ApplyCompressed(MM2DFilmLimitedSource& payload);
  bool ApplyDelta(MM2DFilmLimitedSource& payload, MM2DFilmDirtyRect* dirty);
  bool ApplyCompressedDelta(MM2DFilmLimitedSource& payload, MM2DFilmDirtyRect* dirty);
  // The operations of a delta, bounded by the frame.
  bool ApplyOperations(MM2DFilmLimitedSource& ops);
  // The dirty rectangles, kept when dirty is not null.
  static bool ReadDirtyRects(MM2DFilmByteSource& source, MM2DFilmDirtyRect* dirty);
  // n stored bytes read into the frame's memory order.
  bool ReadPixels(MM2DFilmByteSource& source, uint8_t* destination, int32_t n) const;
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
