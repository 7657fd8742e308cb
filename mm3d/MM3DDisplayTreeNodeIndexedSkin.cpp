#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"

#include <cstring>
#include <utility>

namespace {

// A weight's record: the vertex index (int16), then the weight (float).
constexpr int32_t kWeightRecordBytes = 6;
static_assert(sizeof(MM3DSkinWeight) >= kWeightRecordBytes);

// n weight records read whole into the room of the n weights at first, and
// spread out from the last one back, so that no record is overwritten
// before it is taken.
bool ReadWeightRecords(UUReader& reader, MM3DSkinWeight* first, int32_t n) {
  auto* bytes = reinterpret_cast<uint8_t*>(first);
  if (!reader.Read(bytes, static_cast<uint32_t>(n * kWeightRecordBytes))) return false;
  const bool swapped = reader.GetByteOrder() == kUUSwappedByteOrder;
  for (int32_t i = n - 1; i >= 0; --i) {
    const uint8_t* record = bytes + static_cast<ptrdiff_t>(i) * kWeightRecordBytes;
    // The values go through registers: a weight put together in memory
    // from its two parts and read back whole would stall the store.
    uint16_t index = 0;
    uint32_t weight = 0;
    std::memcpy(&index, record, 2);
    std::memcpy(&weight, record + 2, 4);
    if (swapped) {
      index = __builtin_bswap16(index);
      weight = __builtin_bswap32(weight);
    }
    first[i].mVertexIndex = index;
    std::memcpy(&first[i].mWeight, &weight, 4);
  }
  return true;
}

constexpr MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
constexpr MM3DVector kZeroNormal(0.0f, 0.0f, 0.0f, 0.0f);

// out.xyz += weight x (v transformed by m), with or without m's
// translation row; v's w plays no part.
void AddWeighted(MM3DVector& out, const MM3DVector& v, const MM3DMatrix& m, float weight,
                 bool translate) {
  const auto& e = m.mElement;
  float x = v.mX * e[0][0] + v.mY * e[1][0] + v.mZ * e[2][0];
  float y = v.mX * e[0][1] + v.mY * e[1][1] + v.mZ * e[2][1];
  float z = v.mX * e[0][2] + v.mY * e[1][2] + v.mZ * e[2][2];
  if (translate) {
    x += e[3][0];
    y += e[3][1];
    z += e[3][2];
  }
  out.mX += weight * x;
  out.mY += weight * y;
  out.mZ += weight * z;
}

// Sets the first count entries of the grown scratch array to start, then
// adds every weighted vertex of the influences, transformed by its joint's
// matrix. Entries for joints or vertices outside the arrays are skipped.
void Accumulate(UUGrowableArray<MM3DVector>& scratch, const MM3DVector& start,
                const UUGrowableArray<MM3DSkinInfluence>& influences,
                const UUGrowableArray<MM3DMatrix>& matrices, int32_t jointCount,
                const MM3DVertexArrays& arrays, const MM3DVector* in, bool translate) {
  const int32_t count = arrays.mVertexCount;
  MM3DGrowScratch(scratch, count, start);
  for (int32_t i = 0; i < count; ++i) scratch[i] = start;
  for (const MM3DSkinInfluence& influence : influences) {
    const int32_t joint = influence.mJointIndex;
    if (joint < 0 || joint >= jointCount) continue;
    for (const MM3DSkinWeight& weight : influence.mWeights) {
      if (weight.mVertexIndex >= count) continue;
      AddWeighted(scratch[weight.mVertexIndex], in[weight.mVertexIndex], matrices[joint],
                  weight.mWeight, translate);
    }
  }
}

}  // namespace

bool MM3DSkinWeight::Write(UUWriter& writer) const {
  return writer.WriteInt16s(&mVertexIndex, 1) && writer.WriteFloats(&mWeight, 1);
}

bool MM3DSkinInfluence::Write(UUWriter& writer) const {
  return writer.WriteInt32s(&mJointIndex, 1) && MM3DWriteCountedArray(writer, mWeights);
}

bool MM3DSkinInfluence::Read(UUReader& reader) {
  int32_t count = 0;
  return reader.ReadInt32s(&mJointIndex, 1) && MM3DReadRecordCount(reader, count) &&
         MM3DReadArray(mWeights, count, [&reader](MM3DSkinWeight* first, int32_t n) {
           return ReadWeightRecords(reader, first, n);
         });
}

MM3DDisplayTreeNodeIndexedSkin::MM3DDisplayTreeNodeIndexedSkin(
    MM3DSkinInfluences&& influences, const UUGrowableArray<MM3DDisplayTreeNodeJoint*>& joints,
    UUGrowableArray<MM3DMatrix>&& bindMatrices)
    : mInfluences(std::move(influences)), mBindMatrices(std::move(bindMatrices)) {
  for (MM3DDisplayTreeNodeJoint* joint : joints) {
    mJoints.Append(UUOwned<MM3DJointReference>(new MM3DJointReference));
    mJoints[mJoints.Count() - 1]->Set(joint);
  }
}

void MM3DDisplayTreeNodeIndexedSkin::GetWorldMatrix(MM3DMatrix& out) { out = MM3DMatrixIdentity; }

// The matrices are the skin's own, so that a skin nested in another one
// keeps them while the other's are in use.
void MM3DDisplayTreeNodeIndexedSkin::BeginFrame() {
  MM3DIndexedMeshDeformingNode::BeginFrame();
  const int32_t jointCount = mJoints.Count();
  mMatricesReady = mBindMatrices.Count() >= jointCount;
  for (const UUOwned<MM3DJointReference>& joint : mJoints) {
    mMatricesReady = mMatricesReady && joint->Get() != nullptr;
  }
  if (!mMatricesReady || jointCount == 0) return;
  MM3DGrowScratch(mSkinMatrices, jointCount, MM3DMatrixIdentity);
  MM3DGrowScratch(mNormalMatrices, jointCount, MM3DMatrixIdentity);
  for (int32_t j = 0; j < jointCount; ++j) {
    MM3DMatrix world;
    mJoints[j]->Get()->GetWorldMatrix(world);
    MM3DMatrix& skin = mSkinMatrices[j];
    MM3DMatrixMultiply(skin, mBindMatrices[j], world);
    MM3DMatrix& normal = mNormalMatrices[j];
    normal = skin;
    normal.InvertAffine();
    normal.Transpose();
  }
}

const UUGrowableArray<MM3DSkinInfluence>* MM3DDisplayTreeNodeIndexedSkin::FindDeformableBlock()
    const {
  if (!mMatricesReady) return nullptr;
  return MM3DFindMeshBlock(mInfluences, GetPartIndex(), GetBlockIndex());
}

// The results go to the skin's own arrays: a skin nested in another one
// reads the other's results while it writes its own.
void MM3DDisplayTreeNodeIndexedSkin::DeformPositions(MM3DVertexArrays& arrays) {
  const UUGrowableArray<MM3DSkinInfluence>* influences = FindDeformableBlock();
  if (influences == nullptr) return;
  Accumulate(mPositions, kOrigin, *influences, mSkinMatrices, mJoints.Count(), arrays,
             arrays.mPositions, true);
  arrays.mPositions = MM3DScratchData(mPositions);
}

void MM3DDisplayTreeNodeIndexedSkin::DeformNormals(MM3DVertexArrays& arrays) {
  const UUGrowableArray<MM3DSkinInfluence>* influences = FindDeformableBlock();
  if (influences == nullptr || arrays.mNormals == nullptr) return;
  Accumulate(mNormals, kZeroNormal, *influences, mNormalMatrices, mJoints.Count(), arrays,
             arrays.mNormals, false);
  MM3DNormalizeNormals(mNormals.Begin(), arrays.mVertexCount);
  arrays.mNormals = MM3DScratchData(mNormals);
}

bool MM3DDisplayTreeNodeIndexedSkin::Write(UUWriter& writer, MM3DModDatabase& database) {
  return MM3DWritePerMeshBlock(writer, mInfluences,
                               [](UUWriter& out, const UUGrowableArray<MM3DSkinInfluence>& block) {
                                 return MM3DWriteCountedArray(out, block);
                               }) &&
         MM3DWriteCountedArray(writer, mJoints,
                               [](UUWriter& out, const UUOwned<MM3DJointReference>& joint) {
                                 return joint->Write(out);
                               }) &&
         MM3DWriteCountedArray(writer, mBindMatrices) && WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeIndexedSkin::Read(UUReader& reader, MM3DModDatabase& database) {
  mMatricesReady = false;
  if (!MM3DReadPerMeshBlock(reader, mInfluences,
                            [](UUReader& in, UUGrowableArray<MM3DSkinInfluence>& block) {
                              return MM3DReadCountedArray(in, block,
                                                          MM3DReadElement<MM3DSkinInfluence>);
                            }) ||
      !ReadJoints(reader) ||
      !MM3DReadCountedArray(reader, mBindMatrices, MM3DReadElement<MM3DMatrix>)) {
    return false;
  }
  return ReadChildren(reader, database);
}

bool MM3DDisplayTreeNodeIndexedSkin::ReadJoints(UUReader& reader) {
  return MM3DReadCountedArray(reader, mJoints,
                              [](UUReader& in, UUOwned<MM3DJointReference>& joint) {
                                joint.Reset(new MM3DJointReference);
                                return joint->Read(in);
                              });
}
