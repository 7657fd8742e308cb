#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"

#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DSceneChanges.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr MM3DVector kPositionFill(0.0f, 0.0f, 0.0f, 1.0f);
constexpr MM3DVector kNormalFill(0.0f, 0.0f, 0.0f, 0.0f);

template <typename T>
struct TargetTraits;

template <>
struct TargetTraits<MM3DVector> {
  // A dense target holds at most one offset per vertex of a block.
  static constexpr int32_t kElementLimit = MM3DIndexedMeshVertexData::kMaxVertexCount;
  static bool Skips(float weight) { return weight == 0.0f; }
};

template <>
struct TargetTraits<MM3DBlendShapeDelta> {
  static constexpr int32_t kElementLimit = kMM3DNoCountLimit;
  static bool Skips(float weight) { return weight == 0.0f || std::isnan(weight); }
};

void AddScaled(MM3DVector& out, const MM3DVector& offset, float weight) {
  out.mX += weight * offset.mX;
  out.mY += weight * offset.mY;
  out.mZ += weight * offset.mZ;
}

// Offsets beyond the block's vertices are passed over.
void AddTarget(MM3DVector* out, int32_t count, const UUGrowableArray<MM3DVector>& offsets,
               float weight) {
  const int32_t used = std::min(count, offsets.Count());
  for (int32_t k = 0; k < used; ++k) AddScaled(out[k], offsets[k], weight);
}

void AddTarget(MM3DVector* out, int32_t count, const UUGrowableArray<MM3DBlendShapeDelta>& deltas,
               float weight) {
  for (const MM3DBlendShapeDelta& delta : deltas) {
    if (delta.mVertexIndex < count) AddScaled(out[delta.mVertexIndex], delta.mOffset, weight);
  }
}

}  // namespace

bool MM3DDisplayTreeNodeBlendShape::Write(UUWriter& writer, MM3DModDatabase& database) {
  return MM3DWriteCountedArray(
             writer, mWeights,
             [](UUWriter& out, const float& weight) { return out.WriteFloats(&weight, 1); }) &&
         WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeBlendShape::Read(UUReader& reader, MM3DModDatabase& database) {
  return MM3DReadCountedArray(
             reader, mWeights,
             [](UUReader& in, float& weight) { return in.ReadFloats(&weight, 1); }) &&
         ReadChildren(reader, database);
}

void MM3DDisplayTreeNodeBlendShape::SetWeight(int32_t index, float weight) {
  MM3DSceneChanges::Note();
  if (index >= 0 && index < mWeights.Count()) mWeights[index] = weight;
}

bool MM3DBlendShapeDelta::Write(UUWriter& writer) const {
  return mOffset.Write(writer) && writer.WriteInt16s(&mVertexIndex, 1);
}

bool MM3DBlendShapeDelta::Read(UUReader& reader) {
  return mOffset.Read(reader) && reader.ReadInt16s(&mVertexIndex, 1);
}

template <typename T>
bool MM3DDisplayTreeNodeBlendShapeTargets<T>::Write(UUWriter& writer, MM3DModDatabase& database) {
  const int32_t targetCount = GetWeights().Count();
  return writer.WriteInt32s(&targetCount, 1) &&
         MM3DWriteMeshTargets(writer, mPositionTargets, targetCount) &&
         MM3DWriteMeshTargets(writer, mNormalTargets, targetCount) &&
         MM3DDisplayTreeNodeBlendShape::Write(writer, database);
}

template <typename T>
bool MM3DDisplayTreeNodeBlendShapeTargets<T>::Read(UUReader& reader, MM3DModDatabase& database) {
  constexpr int32_t kLimit = TargetTraits<T>::kElementLimit;
  int32_t targetCount = 0;
  if (!MM3DReadRecordCount(reader, targetCount) ||
      !MM3DReadMeshTargets(reader, mPositionTargets, targetCount, kLimit) ||
      !MM3DReadMeshTargets(reader, mNormalTargets, targetCount, kLimit) ||
      !MM3DDisplayTreeNodeBlendShape::Read(reader, database)) {
    return false;
  }
  return GetWeights().Count() == targetCount || MM3DDatabase::RejectRecord(reader);
}

template <typename T>
bool MM3DDisplayTreeNodeBlendShapeTargets<T>::Blend(const MM3DMeshTargets<T>& targets,
                                                    UUGrowableArray<MM3DVector>* scratch,
                                                    const MM3DVector& fill, int32_t count,
                                                    const MM3DVector*& view) const {
  const MM3DTargetArrays<T>* block = MM3DFindMeshBlock(targets, GetPartIndex(), GetBlockIndex());
  if (block == nullptr || scratch == nullptr || (view == nullptr && count > 0)) return false;
  MM3DGrowScratch(*scratch, count, fill);
  MM3DVector* out = scratch->Begin();
  // Nested in another blend shape, the view is already the scratch array.
  if (view != out) std::copy(view, view + count, out);
  const UUGrowableArray<float>& weights = GetWeights();
  const int32_t used = std::min(weights.Count(), block->Count());
  for (int32_t i = 0; i < used; ++i) {
    if (!TargetTraits<T>::Skips(weights[i])) AddTarget(out, count, (*block)[i], weights[i]);
  }
  view = MM3DScratchData(*scratch);
  return true;
}

template <typename T>
void MM3DDisplayTreeNodeBlendShapeTargets<T>::DeformPositions(MM3DVertexArrays& arrays) {
  Blend(mPositionTargets, MM3DBlendShapePositionScratch, kPositionFill, arrays.mVertexCount,
        arrays.mPositions);
}

template <typename T>
void MM3DDisplayTreeNodeBlendShapeTargets<T>::DeformNormals(MM3DVertexArrays& arrays) {
  if (Blend(mNormalTargets, MM3DBlendShapeNormalScratch, kNormalFill, arrays.mVertexCount,
            arrays.mNormals)) {
    MM3DNormalizeNormals(MM3DBlendShapeNormalScratch->Begin(), arrays.mVertexCount);
  }
}

template class MM3DDisplayTreeNodeBlendShapeTargets<MM3DVector>;
template class MM3DDisplayTreeNodeBlendShapeTargets<MM3DBlendShapeDelta>;
