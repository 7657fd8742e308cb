#pragma once
// Area resampling of a raw 32-bit picture that lies in an open file, read a
// band of source rows at a time, so a picture larger than memory allows
// still shrinks.

#include "foundation/uu/UURandomAccessStream.h"
#include "mm/drawing/MMBitmap.h"

#include <cstdint>
#include <vector>

// Seeks to offset + first x rowBytes and reads rows first to last as
// 32-bit words (byte-swapped when the stream says so) into words.
bool MMReadFileRows(UURandomAccessStream& stream, int32_t offset, int32_t rowBytes, int32_t first,
                    int32_t last, std::vector<uint32_t>& words);

// The box average over a raw buffer of rows top to bottom - 1 of a picture
// of the width, by the rule of MMAverageBox32.
uint32_t MMAverageBoxRaw32(const uint32_t* rows, int32_t width, int32_t top, int32_t bottom,
                           double y0, double x0, double x1, double y1);

// Scales the picture of width x height pixels of 4 bytes, its rows
// starting at the stream's position, into the 32-bit destination; every
// pixel written has its fourth byte 255. False for a picture or destination
// that is empty, of other depths or too large, or a stream that does not
// hold the rows.
bool MMResampleFile32(UURandomAccessStream& stream, int32_t width, int32_t height,
                      int32_t bytesPerPixel, const MMBitmap& destination);
