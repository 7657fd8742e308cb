#pragma once
// The freehand shape tool: the child drags a closed outline on the upright
// drawing plane that faces the camera, shown as a red ribbon while the
// button is held, every point snapped to a grid of half-unit cells with
// the cells between fast moves filled in. On release the outline is
// closed, filled into cells and turned into a solid that stands on the
// plane: a cushion bulging to both sides (freehand mode 1) or a flat slab
// with walls, as thick as the outline is narrow. Too small an outline, or
// one too large to fill, makes nothing. Stage thread only.

#include "app/creation/VPLDrawingPlane.h"
#include "app/creation/VPLFreehandGrid.h"
#include "app/creation/VPLTool.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM3DDisplayTreeNodeIndexedMesh;
class RU3DPolyLineVisual;
class VPLObjCreationUser;

// One cell of the grid.
struct VPLFreehandCell {
  int32_t mRow;
  int32_t mColumn;
};

class VPLToolShapeFreehand : public VPLTool {
 public:
  static constexpr int32_t kCursor = 17;
  // Row 0 names the model whose first mesh the shape replaces.
  static constexpr MMResourceId kShapeScript = 58;
  static constexpr int16_t kShapeScriptKind = 2;
  static constexpr uint32_t kRoundedMode = 1;
  static constexpr float kCell = 0.5f;
  static constexpr float kStrokeWidth = 0.2f;
  // An outline needs four points to enclose anything.
  static constexpr int16_t kLeastOutline = 4;
  // More white cells than a frame can build into a mesh.
  static constexpr int32_t kMaxFilledCells = 8000;

  VPLToolShapeFreehand(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                       MMResourceId soundScript);
  // A stroke still being drawn leaves the area with the tool.
  ~VPLToolShapeFreehand() override;

  bool OnMouse(const VPLPickEvent& event) override;
  VPLToolEnums GetToolType() const override { return kVPLToolShapeFreehand; }
  void Begin(const VPLSegment& segment, bool alternate) override;
  void Drag(const VPLSegment& segment, bool alternate) override;
  void End(const VPLSegment& segment, bool alternate) override;

  // The construction of the shape, on the grid of the plane the outline
  // was drawn on. The fill grid: every cell whose grid point lies inside
  // the outline, and every outline point's cell; null when the outline
  // spans too many cells to hold or fills more than kMaxFilledCells inside
  // it. Depth receives the shape depth.
  static std::unique_ptr<VPLFreehandGrid> BuildFillGrid(const VPLDrawingPlane& plane,
                                                        const MM3DVector* points, int16_t n,
                                                        float& depth);
  // One surface of every filled cell, moved by v toward its own side as
  // far as the cell lies inside its row and column runs, the outline cells
  // kept on the plane; positions relative to origin. Null for an empty
  // grid.
  static std::unique_ptr<VPLFreehandIndexGrid> RaiseSurface(const VPLFreehandGrid& grid,
                                                            const MM3DVector& v,
                                                            const MM3DVector& origin,
                                                            MM3DIndexedMeshVertexData& block);
  // One surface of every filled cell moved by offset.
  static std::unique_ptr<VPLFreehandIndexGrid> BuildFlatSurface(const VPLFreehandGrid& grid,
                                                                const MM3DVector& offset,
                                                                MM3DIndexedMeshVertexData& block);
  // The triangles between neighbouring cells, facing front (0) or back (1).
  static void Triangulate(const VPLFreehandIndexGrid& grid, int32_t face,
                          MM3DIndexedMeshVertexData& block);
  // Walls from front to back, facing out, along every rim edge of the
  // front's triangles: the slab is closed whatever the outline did.
  static void BuildWalls(const VPLFreehandIndexGrid& front, const VPLFreehandIndexGrid& back,
                         MM3DIndexedMeshVertexData& block);
  // Appends the triangle with its face normal on its corners; false,
  // appending nothing, for a degenerate triangle.
  static bool AddTriangle(MM3DIndexedMeshVertexData& block, int32_t a, int32_t b, int32_t c);
  static void SetTextureCoordinate(MM3DIndexedMeshVertexData& block, int32_t vertex, int32_t row,
                                   int32_t column, int32_t height, int32_t width);

  // Grid snapping: v rounded to the nearest multiple of |cell|, halves away
  // from zero.
  static float Snap(float v, float cell);

  const MM3DVector& GetStartPoint() const { return mStartPoint; }
  const MM3DVector& GetCellSize() const { return mCellSize; }
  float GetShapeDepth() const { return mShapeDepth; }
  RU3DPolyLineVisual* GetStroke() const { return mStroke.get(); }

 private:
  void FaceCamera();
  MM3DVector SnapPoint(const MM3DVector& p) const;
  // The grid points from from along d: floor of its largest step count,
  // capped at the room the stroke has left.
  int32_t FillCount(const MM3DVector& d) const;
  // Into the stroke, making it at the first point; sounds at p.
  void AddStrokePoint(const MM3DVector& q, const MM3DVector& p, bool alternate);
  void CloseStroke(const VPLSegment& segment);
  void BuildShape(const MM3DVector* points, int16_t n);
  // The shape object round the surfaces the builder makes, added to the
  // creation as one undo step; nothing when the model lacks a mesh.
  template <typename Build>
  void BuildShapeObject(Build build);
  void BuildRoundedShape(const VPLFreehandGrid& grid, MM3DIndexedMeshVertexData& block);
  void BuildFlatShape(const VPLFreehandGrid& grid, MM3DIndexedMeshVertexData& block);
  void RemoveStroke();

  VPLDrawingPlane mPlane;
  MM3DVector mStartPoint{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DVector mLastPoint{0.0f, 0.0f, 0.0f, 1.0f};
  float mShapeDepth = 1.0f;
  MM3DVector mCellSize{kCell, kCell, kCell, 0.0f};
  std::unique_ptr<RU3DPolyLineVisual> mStroke;
  MM3DDisplayTreeNodeIndexedMesh* mMeshNode = nullptr;
};
