#pragma once
// The working grids of a freehand shape, alive for one release: the cells
// of the drawing plane that the outline fills, row by row, each with its
// world position, and the map from a cell to its vertex in one surface of
// the mesh. Access outside the grid reads an empty cell and writes
// nothing, so the neighbour tests at the edges need no special case.

#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>
#include <vector>

// The layout both grids share: W columns by H rows, cell (row i, column j)
// at j + i x W.
class VPLFreehandCells {
 public:
  // More cells than any stroke that stays on the grid can span: a larger
  // grid comes from a broken stroke and is refused like a failed
  // allocation.
  static constexpr int64_t kMaxCells = int64_t{1} << 20;

  bool Contains(int32_t row, int32_t column) const {
    return row >= 0 && row < mHeight && column >= 0 && column < mWidth;
  }

  int32_t mWidth = 0;
  int32_t mHeight = 0;

 protected:
  static bool IsAllowedSize(int32_t width, int32_t height) {
    return width >= 0 && height >= 0 && int64_t{width} * int64_t{height} <= kMaxCells;
  }
  size_t Index(int32_t row, int32_t column) const {
    return static_cast<size_t>(column) + static_cast<size_t>(row) * static_cast<size_t>(mWidth);
  }
};

class VPLFreehandGrid : public VPLFreehandCells {
 public:
  static constexpr int32_t kEmpty = 0;
  static constexpr int32_t kFilled = 1;
  // A cell the rounded surface holds on the drawing plane.
  static constexpr int32_t kOnPlane = 2;
  // Every cell empty; null for a negative size, one above kMaxCells, or
  // when the memory cannot be had.
  static std::unique_ptr<VPLFreehandGrid> Create(int32_t width, int32_t height);

  int32_t GetFlag(int32_t row, int32_t column) const;
  MM3DVector GetPosition(int32_t row, int32_t column) const;
  void Set(int32_t row, int32_t column, const MM3DVector& position, int32_t flag);

  std::vector<float> mX;
  std::vector<float> mY;
  std::vector<float> mZ;
  std::vector<int32_t> mFlag;

 private:
  VPLFreehandGrid() = default;
};

class VPLFreehandIndexGrid : public VPLFreehandCells {
 public:
  // Nothing present; null as for the fill grid.
  static std::unique_ptr<VPLFreehandIndexGrid> Create(int32_t width, int32_t height);

  bool IsPresent(int32_t row, int32_t column) const;
  // The vertex of a present cell; -1 for any other.
  int32_t GetVertex(int32_t row, int32_t column) const;
  void SetVertex(int32_t row, int32_t column, int32_t vertex);

  std::vector<int32_t> mVertex;
  std::vector<int32_t> mPresent;

 private:
  VPLFreehandIndexGrid() = default;
};
