#pragma once
// Points and rectangles stored as packed 32-bit values: x (or left, right)
// in the low 16 bits and y (or top, bottom) in the high 16 bits, each
// sign-extended when read. They go through the typed 32-bit operations, so
// a big-endian stream is swapped.

#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UUReader.h"
#include "foundation/uu/UURect.h"
#include "foundation/uu/UUWriter.h"

#include <cstdint>

bool UUReadPackedPoints(UUReader& reader, UUPoint* points, uint32_t n);
bool UUWritePackedPoints(UUWriter& writer, const UUPoint* points, uint32_t n);
// Each rectangle is two packed values: (left, top) then (right, bottom).
bool UUReadPackedRects(UUReader& reader, UURect* rectangles, uint32_t n);
bool UUWritePackedRects(UUWriter& writer, const UURect* rectangles, uint32_t n);
