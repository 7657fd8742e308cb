#pragma once
// Internal to the platform layer: an offscreen world and the Animation
// encoder that compresses its frames, kept with it so that it is made once
// for all the frames of a movie.

#include "platform/quicktime/quicktime.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;

// The master pointer first, so that the pixel map's handle is the world's
// record.
struct GWorldRecord {
  PixMap* master;
  PixMap pixMap;
  uint8_t* pixels;
  AVCodecContext* encoder;
  AVFrame* frame;
  AVPacket* packet;
};

inline GWorldRecord* WorldOf(PixMapHandle pixels) {
  return reinterpret_cast<GWorldRecord*>(pixels);
}
