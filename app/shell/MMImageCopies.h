#pragma once
// Mirrored and quarter-turned copies of 8- and 32-bit images, and the
// quarter turn of an offscreen surface in place.

#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <memory>

// Copies the whole source into the top left of the destination, rows
// bottom-up when mirrorY and pixels right to left when mirrorX; with
// neither flag it does nothing. False for images of other depths, of
// different depths, or a destination smaller than the source.
bool MMCopyMirrored(const MMBitmap& source, const MMBitmap& destination, bool mirrorX,
                    bool mirrorY);

// The destination has the source's width and height exchanged. Clockwise
// takes (x, y) to (height - 1 - y, x), anticlockwise to (y, width - 1 - x).
bool MMRotatedCopyClockwise(const MMBitmap& source, const MMBitmap& destination);
bool MMRotatedCopyAnticlockwise(const MMBitmap& source, const MMBitmap& destination);

// Replaces the surface with a new one of the same depth, turned; the old
// one is released only when the new one was made. Answers whether it was.
bool MMRotateSurfaceClockwise(std::unique_ptr<WinMMOffscreenSurface>& surface);
bool MMRotateSurfaceAnticlockwise(std::unique_ptr<WinMMOffscreenSurface>& surface);
