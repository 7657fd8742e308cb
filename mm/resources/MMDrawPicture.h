#pragma once

#include "foundation/uu/UURect.h"
#include "mm/drawing/MMPalette.h"
#include "mm/drawing/MMSurface.h"
#include "mm/resources/MMPictureReference.h"

#include <cstdint>

// Draws the source rectangle of a picture stretched into rect (surface
// coordinates); a source given right to left or bottom to top mirrors it.
// remap (256 bytes) and palette may be null; without a palette the
// picture's own expands it, except on an 8-bit surface. The picture is
// locked only while it is drawn.
void MMDrawPicture(MMSurface* surface, const MMPictureReference& picture, const UURect& sourceRect,
                   const UURect& rect, const uint8_t* remap, const MMPalette* palette);
