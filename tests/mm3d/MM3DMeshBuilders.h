#pragma once
// Builders of mesh data for the mesh and deformer tests and the
// display-tree fuzzer's seeds: arrays from vectors, blocks from positions
// and normals, and the targets of one block.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DDeformerRecords.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <cstdint>
#include <utility>
#include <vector>

template <typename T>
UUGrowableArray<T> MakeArray(const std::vector<T>& values) {
  UUGrowableArray<T> array;
  for (const T& value : values) array.Append(value);
  return array;
}

// The positions (and normals) drawn as a list of whole triangles.
inline UURefCount<MM3DIndexedMeshVertexData> MakeBlock(
    const std::vector<MM3DVector>& positions, const std::vector<MM3DVector>& normals = {}) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  for (const MM3DVector& position : positions) block->mPositions.Append(position);
  for (const MM3DVector& normal : normals) block->mNormals.Append(normal);
  for (int32_t i = 0; i + 2 < static_cast<int32_t>(positions.size()); i += 3) {
    for (int32_t k = 0; k < 3; ++k) block->mIndices.Append(static_cast<uint16_t>(i + k));
  }
  return block;
}

// Targets (or shapes) of one part of one block.
template <typename T>
MM3DMeshTargets<T> OneBlockTargets(const std::vector<std::vector<T>>& targets) {
  MM3DTargetArrays<T> block;
  for (const std::vector<T>& target : targets) block.Append(MakeArray(target));
  UUGrowableArray<MM3DTargetArrays<T>> part;
  part.Append(std::move(block));
  MM3DMeshTargets<T> all;
  all.Append(std::move(part));
  return all;
}
