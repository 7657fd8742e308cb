#pragma once
// Internal to the platform layer: copying rectangles of pixels between any
// two pixel formats, scaled by nearest pixel and mirrored.

#include "platform/win32/GdiObjects.h"

namespace vpl::platform {

// A rectangle given by a corner and signed extents; a negative extent runs
// from the corner backwards and mirrors.
struct GdiSpan2D {
  int32_t x;
  int32_t y;
  int32_t width;
  int32_t height;
};

// Copies the source rectangle (pixel coordinates of source) into the
// destination rectangle (pixel coordinates of the canvas), within the
// canvas's clip. Source pixels outside the source leave the destination as
// it is. The two may share pixels.
void StretchPixels(const GdiCanvas& destination, GdiSpan2D to, const GdiPixels& source,
                   GdiSpan2D from);

}  // namespace vpl::platform
