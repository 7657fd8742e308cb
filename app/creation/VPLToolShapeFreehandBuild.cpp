// The freehand tool's construction: the outline filled into cells, the
// cells into one or two surfaces, the surfaces into triangles.
#include "app/creation/VPLToolShapeFreehand.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUOwned.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kCellsPerUnit = 2.0f;
// Cell coordinates of a point that lies on the grid: the small lift keeps
// a float a hair below a whole number on the right cell.
constexpr float kCellLift = 0.25f;
constexpr float kDepthShare = 0.25f;
constexpr float kLeastNormal = 0.00001f;
const MM3DPackedColor kWhite{255, 255, 255, 255};
const MM3DVector kFacing{0.0f, 0.0f, 1.0f, 0.0f};
const MM3DTextureCoordinate kUnplaced{0.0f, 1.0f};
constexpr float kPi = 3.14159265f;

struct Bounds {
  float mMinX;
  float mMinY;
  float mMaxX;
  float mMaxY;
};

Bounds TurnedBounds(const std::vector<MM3DVector>& turned) {
  Bounds b{turned[0].mX, turned[0].mY, turned[0].mX, turned[0].mY};
  for (const MM3DVector& p : turned) {
    b.mMinX = std::min(b.mMinX, p.mX);
    b.mMinY = std::min(b.mMinY, p.mY);
    b.mMaxX = std::max(b.mMaxX, p.mX);
    b.mMaxY = std::max(b.mMaxY, p.mY);
  }
  return b;
}

// The cell count across a span; -1 when it is not a number or too large
// for any grid.
int32_t CellSpan(float span) {
  const float cells = span * kCellsPerUnit + 1.0f + kCellLift;
  if (!(cells >= 0.0f) || cells > static_cast<float>(VPLFreehandCells::kMaxCells)) return -1;
  return static_cast<int32_t>(cells);
}

float CellOffset(int32_t k) { return VPLToolShapeFreehand::kCell * static_cast<float>(k); }

int32_t CellOf(float v, float min) {
  return static_cast<int32_t>((v - min) * kCellsPerUnit + kCellLift);
}

// The outline drawn white on black, border black, into a surface of one
// pixel per cell; the white pixels become filled cells on the plane.
// Answers the white count, or -1 when no surface can be had.
int32_t FillCells(const VPLDrawingPlane& plane, const std::vector<MM3DVector>& turned,
                  const Bounds& b, VPLFreehandGrid& grid) {
  UUOwned<MMSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, grid.mWidth, grid.mHeight), AFPalette()));
  if (!surface) return -1;
  std::vector<UUPoint> polygon;
  polygon.reserve(turned.size() + 1);
  for (const MM3DVector& p : turned) {
    polygon.push_back(UUPoint{CellOf(p.mX, b.mMinX), CellOf(p.mY, b.mMinY)});
  }
  polygon.push_back(polygon.front());
  surface->FillRect(surface->GetRect(), AFColor(AFRGB(0, 0, 0)));
  surface->FillPolygon(polygon.data(), static_cast<int32_t>(polygon.size()),
                       AFColor(AFRGB(255, 255, 255)));
  surface->BeginDraw();
  MMBitmap bitmap;
  int32_t white = 0;
  if (surface->GetImageDescription(bitmap)) {
    for (int32_t i = 0; i < grid.mHeight; ++i) {
      for (int32_t j = 0; j < grid.mWidth; ++j) {
        const uint8_t* pixel = bitmap.GetPixelAddress(j, i);
        if (pixel[0] != 255 || pixel[1] != 255 || pixel[2] != 255) continue;
        ++white;
        const MM3DVector onPlane{b.mMinX + CellOffset(j), b.mMinY + CellOffset(i), 0.0f, 1.0f};
        grid.Set(i, j, plane.TurnBack(onPlane), VPLFreehandGrid::kFilled);
      }
    }
  }
  surface->EndDraw();
  return white;
}

MM3DVector Scaled(const MM3DVector& v, float factor) {
  return {v.mX * factor, v.mY * factor, v.mZ * factor, 0.0f};
}

// 1 - sin(pi / (d + 3)): how far a cell d cells inside its run rises.
float RoundingWeight(int32_t d) { return 1.0f - std::sin(kPi / static_cast<float>(d + 3)); }

// One cell of a run in the rounded surface's working grid: an end of the
// run, or a cell an earlier pass held there, stays on the plane.
void RaiseCell(const VPLFreehandGrid& grid, VPLFreehandGrid& working, int32_t row, int32_t column,
               bool end, const MM3DVector& lift) {
  if (end || working.GetFlag(row, column) == VPLFreehandGrid::kOnPlane) {
    working.Set(row, column, grid.GetPosition(row, column), VPLFreehandGrid::kOnPlane);
  } else {
    working.Set(row, column, working.GetPosition(row, column).Sum(lift), VPLFreehandGrid::kFilled);
  }
}

// Every run of filled cells along one line of the working grid; cell(k)
// names the k-th cell of the line, length cells in all.
template <typename Cell>
void RaiseRuns(const VPLFreehandGrid& grid, VPLFreehandGrid& working, int32_t length,
               const MM3DVector& v, Cell cell) {
  int32_t k = 0;
  while (k < length) {
    const auto [startRow, startColumn] = cell(k);
    if (working.GetFlag(startRow, startColumn) < VPLFreehandGrid::kFilled) {
      ++k;
      continue;
    }
    const int32_t first = k;
    while (k + 1 < length) {
      const auto [r, c] = cell(k + 1);
      if (working.GetFlag(r, c) < VPLFreehandGrid::kFilled) break;
      ++k;
    }
    const int32_t last = k;
    for (int32_t d = 0; d <= (last - first) / 2; ++d) {
      const MM3DVector lift = Scaled(v, RoundingWeight(d));
      const auto [ar, ac] = cell(first + d);
      RaiseCell(grid, working, ar, ac, d == 0, lift);
      if (first + d == last - d) continue;
      const auto [br, bc] = cell(last - d);
      RaiseCell(grid, working, br, bc, d == 0, lift);
    }
    ++k;
  }
}

// A vertex of a surface: facing the plane's normal, white, not yet mapped.
// The triangles come later, so no index is appended.
bool AddSurfaceVertex(MM3DIndexedMeshVertexData& block, const MM3DVector& position,
                      VPLFreehandIndexGrid& index, int32_t row, int32_t column) {
  const int32_t vertex = block.GetVertexCount();
  if (vertex >= MM3DIndexedMeshVertexData::kMaxVertexCount) return false;
  block.mPositions.Append(position);
  block.mNormals.Append(kFacing);
  block.mColors.Append(kWhite);
  block.mTextureCoordinates[0].Append(kUnplaced);
  index.SetVertex(row, column, vertex);
  return true;
}

// The corners of a cell square, as the triangulation table names them.
enum Corner : int32_t { kL, kU, kA, kD };

struct CornerTriangles {
  int32_t mMask;
  int32_t mCount;
  Corner mFront[2][3];
  Corner mBack[2][3];
};

// Which triangles a square of present corners makes, per face: the front
// winds one way, the back the other.
constexpr CornerTriangles kTriangles[] = {
    {7, 1, {{kA, kD, kU}}, {{kU, kD, kA}}},
    {11, 1, {{kA, kD, kL}}, {{kL, kD, kA}}},
    {13, 1, {{kD, kU, kL}}, {{kL, kU, kD}}},
    {14, 1, {{kA, kU, kL}}, {{kL, kU, kA}}},
    {15, 2, {{kD, kU, kL}, {kA, kD, kL}}, {{kL, kU, kD}, {kL, kD, kA}}},
};

template <typename T>
void Empty(UUGrowableArray<T>& array) {
  array.EraseRange(0, array.Count());
}

// The shape's own geometry replaces the model's. Both coordinate sets go,
// so that no array outlasts the vertices it described.
void EmptyBlock(MM3DIndexedMeshVertexData& block) {
  Empty(block.mIndices);
  Empty(block.mPositions);
  Empty(block.mNormals);
  Empty(block.mColors);
  for (auto& coordinates : block.mTextureCoordinates) Empty(coordinates);
}

MM3DTextureCoordinate CellCoordinate(int32_t row, int32_t column, int32_t height, int32_t width) {
  return {static_cast<float>(column) / static_cast<float>(width),
          static_cast<float>(row) / static_cast<float>(height)};
}

}  // namespace

std::unique_ptr<VPLFreehandGrid> VPLToolShapeFreehand::BuildFillGrid(
    const VPLDrawingPlane& plane, const MM3DVector* points, int16_t n,
    std::vector<VPLFreehandCell>& cells, float& depth) {
  if (n < 1) return nullptr;
  std::vector<MM3DVector> turned;
  turned.reserve(static_cast<size_t>(n));
  for (int16_t k = 0; k < n; ++k) {
    turned.push_back(plane.TurnOnto(points[k]));
    // A point off every grid cannot be placed in one.
    if (!std::isfinite(turned.back().mX) || !std::isfinite(turned.back().mY)) return nullptr;
  }
  const Bounds b = TurnedBounds(turned);
  const int32_t width = CellSpan(b.mMaxX - b.mMinX);
  const int32_t height = CellSpan(b.mMaxY - b.mMinY);
  std::unique_ptr<VPLFreehandGrid> grid = VPLFreehandGrid::Create(width, height);
  if (width < 0 || height < 0 || !grid) return nullptr;
  depth = kDepthShare * std::min(b.mMaxX - b.mMinX, b.mMaxY - b.mMinY);
  const int32_t white = FillCells(plane, turned, b, *grid);
  // Without a surface nothing can be filled: no shape rather than a shape
  // without triangles.
  if (white < 0 || white > kMaxFilledCells) return nullptr;
  cells.clear();
  for (int16_t k = 0; k < n; ++k) {
    const VPLFreehandCell cell{CellOf(turned[static_cast<size_t>(k)].mY, b.mMinY),
                               CellOf(turned[static_cast<size_t>(k)].mX, b.mMinX)};
    grid->Set(cell.mRow, cell.mColumn, points[k], VPLFreehandGrid::kFilled);
    cells.push_back(cell);
  }
  return grid;
}

std::unique_ptr<VPLFreehandIndexGrid> VPLToolShapeFreehand::RaiseSurface(
    const VPLFreehandGrid& grid, const MM3DVector& v, const MM3DVector& origin,
    MM3DIndexedMeshVertexData& block) {
  if (grid.mWidth == 0 || grid.mHeight == 0) return nullptr;
  std::unique_ptr<VPLFreehandIndexGrid> index =
      VPLFreehandIndexGrid::Create(grid.mWidth, grid.mHeight);
  std::unique_ptr<VPLFreehandGrid> working = VPLFreehandGrid::Create(grid.mWidth, grid.mHeight);
  if (!index || !working) return nullptr;
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    for (int32_t j = 0; j < grid.mWidth; ++j) {
      if (grid.GetFlag(i, j) != VPLFreehandGrid::kFilled) continue;
      working->Set(i, j, grid.GetPosition(i, j), VPLFreehandGrid::kFilled);
    }
  }
  // Rows first, then columns on what the rows left: the two lifts add up.
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    RaiseRuns(grid, *working, grid.mWidth, v, [i](int32_t k) { return std::pair{i, k}; });
  }
  for (int32_t j = 0; j < grid.mWidth; ++j) {
    RaiseRuns(grid, *working, grid.mHeight, v, [j](int32_t k) { return std::pair{k, j}; });
  }
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    for (int32_t j = 0; j < grid.mWidth; ++j) {
      if (working->GetFlag(i, j) == VPLFreehandGrid::kEmpty) continue;
      const MM3DVector position = working->GetPosition(i, j).Difference(origin);
      if (!AddSurfaceVertex(block, position, *index, i, j)) return index;
    }
  }
  return index;
}

std::unique_ptr<VPLFreehandIndexGrid> VPLToolShapeFreehand::BuildFlatSurface(
    const VPLFreehandGrid& grid, const MM3DVector& offset, MM3DIndexedMeshVertexData& block) {
  std::unique_ptr<VPLFreehandIndexGrid> index =
      VPLFreehandIndexGrid::Create(grid.mWidth, grid.mHeight);
  if (!index) return nullptr;
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    for (int32_t j = 0; j < grid.mWidth; ++j) {
      if (grid.GetFlag(i, j) != VPLFreehandGrid::kFilled) continue;
      const MM3DVector position = grid.GetPosition(i, j).Sum(offset);
      if (!AddSurfaceVertex(block, position, *index, i, j)) return index;
    }
  }
  return index;
}

void VPLToolShapeFreehand::Triangulate(const VPLFreehandIndexGrid& grid, int32_t face,
                                       MM3DIndexedMeshVertexData& block) {
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    for (int32_t j = 0; j < grid.mWidth; ++j) {
      const int32_t rows[4] = {i, i + 1, i, i + 1};
      const int32_t columns[4] = {j, j, j + 1, j + 1};
      const int32_t mask = 8 * grid.IsPresent(i, j) + 4 * grid.IsPresent(i + 1, j) +
                           2 * grid.IsPresent(i, j + 1) + grid.IsPresent(i + 1, j + 1);
      const auto* entry =
          std::find_if(std::begin(kTriangles), std::end(kTriangles),
                       [mask](const CornerTriangles& t) { return t.mMask == mask; });
      if (entry == std::end(kTriangles)) continue;
      for (int32_t t = 0; t < entry->mCount; ++t) {
        const Corner* corners = face == 0 ? entry->mFront[t] : entry->mBack[t];
        int32_t vertex[3];
        for (int32_t c = 0; c < 3; ++c) {
          vertex[c] = grid.GetVertex(rows[corners[c]], columns[corners[c]]);
        }
        if (!AddTriangle(block, vertex[0], vertex[1], vertex[2])) continue;
        for (int32_t c = 0; c < 3; ++c) {
          SetTextureCoordinate(block, vertex[c], rows[corners[c]], columns[corners[c]],
                               grid.mHeight, grid.mWidth);
        }
      }
    }
  }
}

bool VPLToolShapeFreehand::AddTriangle(MM3DIndexedMeshVertexData& block, int32_t a, int32_t b,
                                       int32_t c) {
  const int32_t count = block.GetVertexCount();
  for (const int32_t v : {a, b, c}) {
    if (v < 0 || v >= count || v >= block.mNormals.Count()) return false;
  }
  const MM3DVector& pa = block.mPositions[a];
  const MM3DVector n = block.mPositions[c].Direction(pa).Cross(block.mPositions[b].Direction(pa));
  const float length = std::sqrt(n.LengthSquared());
  if (!(length >= kLeastNormal)) return false;
  const MM3DVector normal{n.mX / length, n.mY / length, n.mZ / length, 0.0f};
  for (const int32_t v : {a, b, c}) {
    block.mIndices.Append(static_cast<uint16_t>(v));
    block.mNormals[v] = normal;
  }
  return true;
}

void VPLToolShapeFreehand::SetTextureCoordinate(MM3DIndexedMeshVertexData& block, int32_t vertex,
                                                int32_t row, int32_t column, int32_t height,
                                                int32_t width) {
  UUGrowableArray<MM3DTextureCoordinate>& coordinates = block.mTextureCoordinates[0];
  if (vertex < 0 || vertex >= coordinates.Count() || height <= 0 || width <= 0) return;
  coordinates[vertex] = CellCoordinate(row, column, height, width);
}

void VPLToolShapeFreehand::BuildWalls(int16_t n, const std::vector<VPLFreehandCell>& cells,
                                      const VPLFreehandIndexGrid& front,
                                      const VPLFreehandIndexGrid& back,
                                      MM3DIndexedMeshVertexData& block) {
  if (n < 2 || static_cast<size_t>(n) > cells.size()) return;
  for (int32_t k = 0; k <= n - 2; ++k) {
    const VPLFreehandCell& a = cells[static_cast<size_t>(k)];
    // The last point takes no part: the wall from n - 2 closes the outline.
    const VPLFreehandCell& b = cells[k == n - 2 ? 0 : static_cast<size_t>(k + 1)];
    const int32_t corners[4] = {
        front.GetVertex(a.mRow, a.mColumn), back.GetVertex(a.mRow, a.mColumn),
        front.GetVertex(b.mRow, b.mColumn), back.GetVertex(b.mRow, b.mColumn)};
    // A cell without its vertex (a surface cut short) has no wall.
    if (std::find(std::begin(corners), std::end(corners), -1) != std::end(corners)) continue;
    // Two copies of each corner: one set faces out, the other in.
    int32_t copies[2][4];
    for (int32_t side = 0; side < 2; ++side) {
      for (int32_t c = 0; c < 4; ++c) {
        if (!VPLDuplicateVertex(corners[c], block, copies[side][c], 0)) return;
      }
    }
    enum { kFrontA, kBackA, kFrontB, kBackB };
    const int32_t walls[4][3][2] = {{{0, kFrontA}, {0, kBackA}, {0, kFrontB}},
                                    {{1, kFrontB}, {1, kBackA}, {1, kFrontA}},
                                    {{0, kBackA}, {0, kBackB}, {0, kFrontB}},
                                    {{1, kFrontB}, {1, kBackB}, {1, kBackA}}};
    for (const auto& wall : walls) {
      int32_t vertex[3];
      for (int32_t c = 0; c < 3; ++c) vertex[c] = copies[wall[c][0]][wall[c][1]];
      if (!AddTriangle(block, vertex[0], vertex[1], vertex[2])) continue;
      for (int32_t c = 0; c < 3; ++c) {
        const VPLFreehandCell& cell = wall[c][1] == kFrontA || wall[c][1] == kBackA ? a : b;
        SetTextureCoordinate(block, vertex[c], cell.mRow, cell.mColumn, front.mHeight,
                             front.mWidth);
      }
    }
  }
}

void VPLToolShapeFreehand::BuildShape(const MM3DVector* points, int16_t n) {
  std::vector<VPLFreehandCell> cells;
  std::unique_ptr<VPLFreehandGrid> grid = BuildFillGrid(mPlane, points, n, cells, mShapeDepth);
  if (!grid) return;
  if (mArea->GetFreehandMode() == kRoundedMode) {
    BuildShapeObject([&](MM3DIndexedMeshVertexData& block) { BuildRoundedShape(*grid, block); });
  } else {
    BuildShapeObject(
        [&](MM3DIndexedMeshVertexData& block) { BuildFlatShape(*grid, n, cells, block); });
  }
}

void VPLToolShapeFreehand::BuildRoundedShape(const VPLFreehandGrid& grid,
                                             MM3DIndexedMeshVertexData& block) {
  // Each side bulges half as far as a slab is thick: the two meet at the
  // outline.
  mShapeDepth *= 0.5f;
  const MM3DVector v = Scaled(mPlane.mEyeDirection, mShapeDepth);
  const MM3DVector minusV = Scaled(v, -1.0f);
  const std::unique_ptr<VPLFreehandIndexGrid> front = RaiseSurface(grid, v, mStartPoint, block);
  const std::unique_ptr<VPLFreehandIndexGrid> back = RaiseSurface(grid, minusV, mStartPoint, block);
  if (front) Triangulate(*front, 0, block);
  if (back) Triangulate(*back, 1, block);
}

void VPLToolShapeFreehand::BuildFlatShape(const VPLFreehandGrid& grid, int16_t n,
                                          const std::vector<VPLFreehandCell>& cells,
                                          MM3DIndexedMeshVertexData& block) {
  const MM3DVector v = Scaled(mPlane.mEyeDirection, mShapeDepth);
  const std::unique_ptr<VPLFreehandIndexGrid> front =
      BuildFlatSurface(grid, v.Direction(mStartPoint), block);
  const std::unique_ptr<VPLFreehandIndexGrid> back =
      BuildFlatSurface(grid, Scaled(v, -1.0f).Direction(mStartPoint), block);
  if (!front || !back) return;
  Triangulate(*front, 0, block);
  Triangulate(*back, 1, block);
  BuildWalls(n, cells, *front, *back, block);
}

template <typename Build>
void VPLToolShapeFreehand::BuildShapeObject(Build build) {
  const VPLScript script(kShapeScript, kShapeScriptKind);
  MMStage* stage = mArea->GetStage();
  MM3DDriverTextureMap* map =
      stage != nullptr ? stage->GetTextureMap() : VPLGetServices().mTextureMap;
  const UURefCount<MM3DModel> model =
      MM3DGetModel(static_cast<MMResourceId>(script.GetTagUInt32(0)), map);
  if (!model) return;
  auto object = std::make_unique<VPLObjCreationUser>(mArea, model, mCreation);
  object->SetLocation(mStartPoint);
  if (VPLMaterializer* materializer = mArea->GetMaterializer()) materializer->Apply(object.get());
  MM3DDisplayTreeNode* root = model->GetDisplayTree();
  mMeshNode = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(
      root != nullptr ? root->FindNodeOfKind(kMM3DNodeIndexedMesh, kMM3DVisitDown) : nullptr);
  if (mMeshNode == nullptr || mMeshNode->GetPartCount() == 0 ||
      mMeshNode->GetPart(0).mBlocks.Count() == 0) {
    return;
  }
  MM3DIndexedMeshVertexData& block = *mMeshNode->GetPart(0).mBlocks[0];
  EmptyBlock(block);
  build(block);
  object->SetCreation(mCreation);
  object->SetVisibility(kMMShown);
  object->RefreshBounds();
  MarkChanged();
  VPLObjCreationUser* added = object.release();
  if (!mCreation->AddObject(added)) delete added;
}
