#pragma once
// Area-averaging resampling of 32-bit images: each destination pixel is the
// average of exactly the part of the source it covers, so a picture shrinks
// without the shimmer of picking single pixels.

#include "mm/drawing/MMBitmap.h"

#include <cstdint>

// The ceiling at 1/65536: a value within 1/65536 above an integer counts as
// that integer, so running sums of steps do not reach one pixel too far.
int32_t MMCeil16(double value);

// The average of the source box [x0, x1) x [y0, y1) in source coordinates,
// edge pixels weighted by the part the box covers; each box is at least one
// pixel wide and high inside the source. An empty box answers 0xFFFFFFFF.
uint32_t MMAverageBox32(const MMBitmap& source, double y0, double x0, double x1, double y1);

// Scales the whole 32-bit source into the whole 32-bit destination. Each
// averaged pixel is composed by its fourth byte: 0 replaces the destination
// pixel, 255 keeps its colour and marks it transparent, others blend. False,
// with nothing drawn, for an empty or non-32-bit image or one whose
// coordinates do not fit 16 bits.
bool MMResampleArea32(const MMBitmap& source, const MMBitmap& destination);
