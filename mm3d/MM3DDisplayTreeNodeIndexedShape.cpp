#include "mm3d/MM3DDisplayTreeNodeIndexedShape.h"

#include "mm3d/MM3DDeformerScratch.h"

namespace {

constexpr MM3DVector kPositionFill(0.0f, 0.0f, 0.0f, 1.0f);

// Points the view at a stored shape when it covers every vertex.
void UseShape(const UUGrowableArray<MM3DVector>& shape, MM3DVertexArrays& arrays) {
  if (shape.Count() >= arrays.mVertexCount) arrays.mPositions = MM3DScratchData(shape);
}

// (1 - f) x a + f x b into the scratch array, w 1, when both shapes cover
// every vertex.
void BlendShapes(const UUGrowableArray<MM3DVector>& a, const UUGrowableArray<MM3DVector>& b,
                 float f, MM3DVertexArrays& arrays) {
  const int32_t count = arrays.mVertexCount;
  UUGrowableArray<MM3DVector>* scratch = MM3DIndexedShapePositionScratch;
  if (scratch == nullptr || a.Count() < count || b.Count() < count) return;
  MM3DGrowScratch(*scratch, count, kPositionFill);
  const float g = 1.0f - f;
  for (int32_t k = 0; k < count; ++k) {
    (*scratch)[k] = MM3DVector(g * a[k].mX + f * b[k].mX, g * a[k].mY + f * b[k].mY,
                               g * a[k].mZ + f * b[k].mZ, 1.0f);
  }
  arrays.mPositions = MM3DScratchData(*scratch);
}

}  // namespace

bool MM3DDisplayTreeNodeIndexedShape::Write(UUWriter& writer, MM3DModDatabase& database) {
  const int32_t shapeCount = GetShapeCount();
  return writer.WriteInt32s(&shapeCount, 1) && MM3DWriteMeshTargets(writer, mShapes, shapeCount) &&
         WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeIndexedShape::Read(UUReader& reader, MM3DModDatabase& database) {
  int32_t shapeCount = 0;
  return MM3DReadRecordCount(reader, shapeCount) &&
         MM3DReadMeshTargets(reader, mShapes, shapeCount,
                             MM3DIndexedMeshVertexData::kMaxVertexCount) &&
         ReadChildren(reader, database);
}

void MM3DDisplayTreeNodeIndexedShape::DeformPositions(MM3DVertexArrays& arrays) {
  const MM3DTargetArrays<MM3DVector>* shapes =
      MM3DFindMeshBlock(mShapes, GetPartIndex(), GetBlockIndex());
  if (shapes == nullptr || shapes->Count() == 0) return;
  const int32_t last = shapes->Count() - 1;
  const float x = mShapeIndex;
  if (!(x >= 0.0f)) {
    UseShape((*shapes)[0], arrays);
  } else if (x >= static_cast<float>(last)) {
    UseShape((*shapes)[last], arrays);
  } else {
    // x lies in [0, last), so its whole part names a shape with a next one.
    const auto i = static_cast<int32_t>(x);
    BlendShapes((*shapes)[i], (*shapes)[i + 1], x - static_cast<float>(i), arrays);
  }
}

int32_t MM3DDisplayTreeNodeIndexedShape::GetShapeCount() const {
  const MM3DTargetArrays<MM3DVector>* first = MM3DFindMeshBlock(mShapes, 0, 0);
  return first == nullptr ? 0 : first->Count();
}
