#pragma once
// Nodes that skip their subtree when a box around it lies outside the
// view volume: an axis-aligned box (minimum and maximum corners) or an
// oriented one, both in the node's own space. A box wholly inside switches
// the tests off for its whole subtree.

#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DOrientedBox.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>

class MM3DMatrix;
class MM3DProjectionVolume;

// Where a box lies against a view volume.
enum class MM3DBoxPlacement : int32_t { kOutside, kStraddling, kInside };

// Places box corners, brought into camera space by toCamera, against the
// volume: outside when all lie beyond one plane, inside when none is
// outside any plane.
MM3DBoxPlacement MM3DPlaceBox(const MM3DVector (&corners)[kMM3DBoxCornerCount],
                              const MM3DMatrix& toCamera, const MM3DProjectionVolume& volume);

// The rendering both culling kinds share.
class MM3DDisplayTreeNodeCullingBase : public MM3DDisplayTreeNodeWithChildren {
 public:
  // Renders the children unless the box lies outside the volume; while a
  // box wholly inside is drawn, the context's all-inside flag is set.
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) final;
  // The box's corners in the node's own space.
  virtual void GetCorners(MM3DVector (&out)[kMM3DBoxCornerCount]) const = 0;
};

class MM3DDisplayTreeNodeCullingBoundingBox : public MM3DDisplayTreeNodeCullingBase {
 public:
  MM3DDisplayTreeNodeCullingBoundingBox();
  MM3DDisplayTreeNodeCullingBoundingBox(const MM3DVector& minimum, const MM3DVector& maximum);

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeCullingBoundingBox; }
  void GetCorners(MM3DVector (&out)[kMM3DBoxCornerCount]) const override;
  // Minimum and maximum corners (4 floats each), the child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  void SetMinimum(const MM3DVector& minimum) { mMinimum = minimum; }
  void SetMaximum(const MM3DVector& maximum) { mMaximum = maximum; }
  const MM3DVector& GetMinimum() const { return mMinimum; }
  const MM3DVector& GetMaximum() const { return mMaximum; }

 private:
  MM3DVector mMinimum;
  MM3DVector mMaximum;
};

class MM3DDisplayTreeNodeOrientedCullingBoundingBox : public MM3DDisplayTreeNodeCullingBase {
 public:
  MM3DDisplayTreeNodeOrientedCullingBoundingBox() = default;
  explicit MM3DDisplayTreeNodeOrientedCullingBoundingBox(const MM3DOrientedBox& box) : mBox(box) {}

  MM3DDisplayTreeNodeKind GetKind() const override { return kMM3DNodeOrientedCullingBoundingBox; }
  void GetCorners(MM3DVector (&out)[kMM3DBoxCornerCount]) const override;
  // The box (16 floats), the child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  const MM3DOrientedBox& GetBox() const { return mBox; }
  void SetBox(const MM3DOrientedBox& box) { mBox = box; }

 private:
  MM3DOrientedBox mBox;
};
