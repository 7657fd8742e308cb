// The freehand tool's construction: the outline filled into cells, the
// cells into one or two surfaces, the surfaces into triangles.
#include "app/creation/VPLToolShapeFreehand.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

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

// The cell columns strictly inside the polygon along the row, by the
// even-odd rule. Each cell stands for its own grid point, where the
// polygon's corners lie too, so a cell on an edge is an outline point's
// and is filled apart.
void AddInsideColumns(const std::vector<VPLFreehandCell>& polygon, int32_t row, int32_t width,
                      std::vector<double>& crossings, std::vector<int32_t>& columns) {
  crossings.clear();
  for (size_t k = 0; k + 1 < polygon.size(); ++k) {
    const VPLFreehandCell& p = polygon[k];
    const VPLFreehandCell& q = polygon[k + 1];
    // Each edge counts from its lower end up to just below its upper end,
    // so that a corner on the row is crossed once or not at all.
    if (p.mRow == q.mRow || row < std::min(p.mRow, q.mRow) || row >= std::max(p.mRow, q.mRow)) {
      continue;
    }
    crossings.push_back(p.mColumn + static_cast<double>(row - p.mRow) * (q.mColumn - p.mColumn) /
                                        (q.mRow - p.mRow));
  }
  std::sort(crossings.begin(), crossings.end());
  for (size_t c = 0; c + 1 < crossings.size(); c += 2) {
    const auto first = static_cast<int32_t>(std::max(std::floor(crossings[c]) + 1.0, 0.0));
    const auto last =
        static_cast<int32_t>(std::min(std::ceil(crossings[c + 1]) - 1.0, width - 1.0));
    for (int32_t j = first; j <= last; ++j) columns.push_back(j);
  }
}

// The cells inside the outline become filled cells on the plane; answers
// their count (or a count past kMaxFilledCells once it is certain).
int32_t FillCells(const VPLDrawingPlane& plane, const std::vector<MM3DVector>& turned,
                  const Bounds& b, VPLFreehandGrid& grid) {
  std::vector<VPLFreehandCell> polygon;
  polygon.reserve(turned.size() + 1);
  for (const MM3DVector& p : turned) {
    polygon.push_back({CellOf(p.mY, b.mMinY), CellOf(p.mX, b.mMinX)});
  }
  polygon.push_back(polygon.front());
  std::vector<double> crossings;
  std::vector<int32_t> columns;
  int32_t inside = 0;
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    columns.clear();
    AddInsideColumns(polygon, i, grid.mWidth, crossings, columns);
    for (const int32_t j : columns) {
      const MM3DVector onPlane{b.mMinX + CellOffset(j), b.mMinY + CellOffset(i), 0.0f, 1.0f};
      grid.Set(i, j, plane.TurnBack(onPlane), VPLFreehandGrid::kFilled);
    }
    inside += static_cast<int32_t>(columns.size());
    // Already more than a shape may hold: the rest would be refused too.
    if (inside > VPLToolShapeFreehand::kMaxFilledCells) break;
  }
  return inside;
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

// Every triangle the corner table makes from the present cells, as its
// three cells in the face's winding.
template <typename Visit>
void ForEachSquareTriangle(const VPLFreehandIndexGrid& grid, int32_t face, Visit visit) {
  for (int32_t i = 0; i < grid.mHeight; ++i) {
    for (int32_t j = 0; j < grid.mWidth; ++j) {
      const VPLFreehandCell cells[4] = {{i, j}, {i + 1, j}, {i, j + 1}, {i + 1, j + 1}};
      const int32_t mask = 8 * grid.IsPresent(i, j) + 4 * grid.IsPresent(i + 1, j) +
                           2 * grid.IsPresent(i, j + 1) + grid.IsPresent(i + 1, j + 1);
      const auto* entry =
          std::find_if(std::begin(kTriangles), std::end(kTriangles),
                       [mask](const CornerTriangles& t) { return t.mMask == mask; });
      if (entry == std::end(kTriangles)) continue;
      for (int32_t t = 0; t < entry->mCount; ++t) {
        const Corner* corners = face == 0 ? entry->mFront[t] : entry->mBack[t];
        const VPLFreehandCell triangle[3] = {cells[corners[0]], cells[corners[1]],
                                             cells[corners[2]]};
        visit(triangle);
      }
    }
  }
}

// The rim of a surface's front: each edge between two cells that one
// front triangle runs and no other, from the cell it leaves to the cell it
// reaches. Walls along it meet the front and the back edge for edge.
std::vector<std::pair<VPLFreehandCell, VPLFreehandCell>> RimEdges(
    const VPLFreehandIndexGrid& grid) {
  const auto key = [&grid](const VPLFreehandCell& c) {
    return int64_t{c.mRow} * grid.mWidth + c.mColumn;
  };
  struct Use {
    int32_t mCount = 0;
    VPLFreehandCell mFrom;
    VPLFreehandCell mTo;
  };
  std::map<std::pair<int64_t, int64_t>, Use> uses;
  ForEachSquareTriangle(grid, 0, [&](const VPLFreehandCell(&corners)[3]) {
    for (int32_t c = 0; c < 3; ++c) {
      const VPLFreehandCell& from = corners[c];
      const VPLFreehandCell& to = corners[(c + 1) % 3];
      const int64_t one = key(from), other = key(to);
      Use& use = uses[{std::min(one, other), std::max(one, other)}];
      use = {use.mCount + 1, from, to};
    }
  });
  std::vector<std::pair<VPLFreehandCell, VPLFreehandCell>> rim;
  for (const auto& [edge, use] : uses) {
    if (use.mCount == 1) rim.emplace_back(use.mFrom, use.mTo);
  }
  return rim;
}

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

std::unique_ptr<VPLFreehandGrid> VPLToolShapeFreehand::BuildFillGrid(const VPLDrawingPlane& plane,
                                                                     const MM3DVector* points,
                                                                     int16_t n, float& depth) {
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
  if (FillCells(plane, turned, b, *grid) > kMaxFilledCells) return nullptr;
  for (int16_t k = 0; k < n; ++k) {
    const MM3DVector& p = turned[static_cast<size_t>(k)];
    grid->Set(CellOf(p.mY, b.mMinY), CellOf(p.mX, b.mMinX), points[k], VPLFreehandGrid::kFilled);
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
  ForEachSquareTriangle(grid, face, [&](const VPLFreehandCell(&corners)[3]) {
    int32_t vertex[3];
    for (int32_t c = 0; c < 3; ++c) vertex[c] = grid.GetVertex(corners[c].mRow, corners[c].mColumn);
    if (!AddTriangle(block, vertex[0], vertex[1], vertex[2])) return;
    for (int32_t c = 0; c < 3; ++c) {
      SetTextureCoordinate(block, vertex[c], corners[c].mRow, corners[c].mColumn, grid.mHeight,
                           grid.mWidth);
    }
  });
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

void VPLToolShapeFreehand::BuildWalls(const VPLFreehandIndexGrid& front,
                                      const VPLFreehandIndexGrid& back,
                                      MM3DIndexedMeshVertexData& block) {
  for (const auto& [a, b] : RimEdges(front)) {
    const VPLFreehandCell cells[4] = {a, b, a, b};
    const int32_t corners[4] = {
        front.GetVertex(a.mRow, a.mColumn), front.GetVertex(b.mRow, b.mColumn),
        back.GetVertex(a.mRow, a.mColumn), back.GetVertex(b.mRow, b.mColumn)};
    // A cell without its vertex (a surface cut short) has no wall.
    if (std::find(std::begin(corners), std::end(corners), -1) != std::end(corners)) continue;
    // Copies, so that the wall shades by its own normal.
    int32_t copies[4];
    for (int32_t c = 0; c < 4; ++c) {
      if (!VPLDuplicateVertex(corners[c], block, copies[c], 0)) return;
    }
    enum { kFrontA, kFrontB, kBackA, kBackB };
    // The front runs its rim from A to B and the back from B to A: the
    // wall runs both the other way, facing out.
    const int32_t walls[2][3] = {{kFrontB, kFrontA, kBackA}, {kFrontB, kBackA, kBackB}};
    for (const auto& wall : walls) {
      if (!AddTriangle(block, copies[wall[0]], copies[wall[1]], copies[wall[2]])) continue;
      for (const int32_t c : wall) {
        SetTextureCoordinate(block, copies[c], cells[c].mRow, cells[c].mColumn, front.mHeight,
                             front.mWidth);
      }
    }
  }
}

void VPLToolShapeFreehand::BuildShape(const MM3DVector* points, int16_t n) {
  std::unique_ptr<VPLFreehandGrid> grid = BuildFillGrid(mPlane, points, n, mShapeDepth);
  if (!grid) return;
  if (mArea->GetFreehandMode() == kRoundedMode) {
    BuildShapeObject([&](MM3DIndexedMeshVertexData& block) { BuildRoundedShape(*grid, block); });
  } else {
    BuildShapeObject([&](MM3DIndexedMeshVertexData& block) { BuildFlatShape(*grid, block); });
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

void VPLToolShapeFreehand::BuildFlatShape(const VPLFreehandGrid& grid,
                                          MM3DIndexedMeshVertexData& block) {
  const MM3DVector v = Scaled(mPlane.mEyeDirection, mShapeDepth);
  const std::unique_ptr<VPLFreehandIndexGrid> front =
      BuildFlatSurface(grid, v.Direction(mStartPoint), block);
  const std::unique_ptr<VPLFreehandIndexGrid> back =
      BuildFlatSurface(grid, Scaled(v, -1.0f).Direction(mStartPoint), block);
  if (!front || !back) return;
  Triangulate(*front, 0, block);
  Triangulate(*back, 1, block);
  BuildWalls(*front, *back, block);
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
