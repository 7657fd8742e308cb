#include "mm3d/MM3DDisplayTreeNodeCullingBoundingBox.h"

#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DProjectionVolume.h"
#include "mm3d/MM3DRenderContext.h"

namespace {

constexpr MM3DVector kOrigin = {0.0f, 0.0f, 0.0f, 1.0f};

}  // namespace

MM3DBoxPlacement MM3DPlaceBox(const MM3DVector (&corners)[kMM3DBoxCornerCount],
                              const MM3DMatrix& toCamera, const MM3DProjectionVolume& volume) {
  MM3DVector inCamera[kMM3DBoxCornerCount];
  toCamera.TransformPoints(inCamera, corners, kMM3DBoxCornerCount);
  uint8_t codes[kMM3DBoxCornerCount];
  volume.ComputeOutcodes(kMM3DBoxCornerCount, inCamera, codes);
  uint8_t all = kMM3DOutsideAll;
  uint8_t any = 0;
  for (uint8_t code : codes) {
    all &= code;
    any |= code;
    if (all == 0 && any != 0) return MM3DBoxPlacement::kStraddling;
  }
  if (all != 0) return MM3DBoxPlacement::kOutside;
  return MM3DBoxPlacement::kInside;
}

void MM3DDisplayTreeNodeCullingBase::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                            MM3DRenderer& renderer) {
  if (context.IsAllInside()) {
    RenderChildren(context, pipeline, renderer);
    return;
  }
  MM3DVector corners[kMM3DBoxCornerCount];
  GetCorners(corners);
  MM3DMatrix world;
  GetWorldMatrix(world);
  MM3DMatrix toCamera;
  MM3DMatrixMultiply(toCamera, world, pipeline.GetCameraMatrix());
  const MM3DBoxPlacement placement = MM3DPlaceBox(corners, toCamera, pipeline.GetProjection());
  if (placement == MM3DBoxPlacement::kOutside) return;
  const bool inside = placement == MM3DBoxPlacement::kInside;
  context.SetAllInside(inside);
  RenderChildren(context, pipeline, renderer);
  if (inside) context.SetAllInside(false);
}

MM3DDisplayTreeNodeCullingBoundingBox::MM3DDisplayTreeNodeCullingBoundingBox()
    : MM3DDisplayTreeNodeCullingBoundingBox(kOrigin, kOrigin) {}

MM3DDisplayTreeNodeCullingBoundingBox::MM3DDisplayTreeNodeCullingBoundingBox(
    const MM3DVector& minimum, const MM3DVector& maximum)
    : mMinimum(minimum), mMaximum(maximum) {}

void MM3DDisplayTreeNodeCullingBoundingBox::GetCorners(
    MM3DVector (&out)[kMM3DBoxCornerCount]) const {
  MM3DBoxCorners(mMinimum, mMaximum, out);
}

bool MM3DDisplayTreeNodeCullingBoundingBox::Write(UUWriter& writer, MM3DModDatabase& database) {
  return mMinimum.Write(writer) && mMaximum.Write(writer) && WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeCullingBoundingBox::Read(UUReader& reader, MM3DModDatabase& database) {
  return mMinimum.Read(reader) && mMaximum.Read(reader) && ReadChildren(reader, database);
}

void MM3DDisplayTreeNodeOrientedCullingBoundingBox::GetCorners(
    MM3DVector (&out)[kMM3DBoxCornerCount]) const {
  mBox.GetCorners(out);
}

bool MM3DDisplayTreeNodeOrientedCullingBoundingBox::Write(UUWriter& writer,
                                                          MM3DModDatabase& database) {
  return mBox.Write(writer) && WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeOrientedCullingBoundingBox::Read(UUReader& reader,
                                                         MM3DModDatabase& database) {
  return mBox.Read(reader) && ReadChildren(reader, database);
}
