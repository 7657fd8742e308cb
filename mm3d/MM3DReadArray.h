#pragma once
// Arrays of a record read as whole blocks rather than element by element.
// A count from a damaged record is never trusted for the block's size: the
// first step reads at most the largest real array, and each later step at
// most what was read before it, so the block never grows past twice what
// the record really holds.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUReader.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DVector.h"

#include <algorithm>
#include <cstdint>

constexpr int32_t kMM3DFirstReadStep = MM3DIndexedMeshVertexData::kMaxVertexCount;

// Reads count elements into a fresh array with readValues(first, n),
// straight into its block without setting the elements first, and shrinks
// it to its count; the target changes only on success.
template <typename T, typename ReadValues>
bool MM3DReadArray(UUGrowableArray<T>& target, int32_t count, ReadValues readValues) {
  UUGrowableArray<T> array;
  for (int32_t done = 0; done < count;) {
    const int32_t n = std::min(std::max(kMM3DFirstReadStep, done), count - done);
    if (!readValues(array.Extend(n), n)) return false;
    done += n;
  }
  array.Compact();
  target.Swap(array);
  return true;
}

// count vectors, each its four floats x, y, z, w.
inline bool MM3DReadVectors(UUReader& reader, UUGrowableArray<MM3DVector>& target, int32_t count) {
  return MM3DReadArray(target, count, [&reader](MM3DVector* first, int32_t n) {
    return reader.ReadFloats(&first->mX, 4 * static_cast<uint32_t>(n));
  });
}
