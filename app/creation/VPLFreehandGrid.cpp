#include "app/creation/VPLFreehandGrid.h"

#include <new>

std::unique_ptr<VPLFreehandGrid> VPLFreehandGrid::Create(int32_t width, int32_t height) {
  if (!IsAllowedSize(width, height)) return nullptr;
  std::unique_ptr<VPLFreehandGrid> grid(new (std::nothrow) VPLFreehandGrid);
  if (!grid) return nullptr;
  const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
  try {
    grid->mX.assign(cells, 0.0f);
    grid->mY.assign(cells, 0.0f);
    grid->mZ.assign(cells, 0.0f);
    grid->mFlag.assign(cells, kEmpty);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  grid->mWidth = width;
  grid->mHeight = height;
  return grid;
}

int32_t VPLFreehandGrid::GetFlag(int32_t row, int32_t column) const {
  return Contains(row, column) ? mFlag[Index(row, column)] : kEmpty;
}

MM3DVector VPLFreehandGrid::GetPosition(int32_t row, int32_t column) const {
  if (!Contains(row, column)) return {0.0f, 0.0f, 0.0f, 1.0f};
  const size_t i = Index(row, column);
  return {mX[i], mY[i], mZ[i], 1.0f};
}

void VPLFreehandGrid::Set(int32_t row, int32_t column, const MM3DVector& position, int32_t flag) {
  if (!Contains(row, column)) return;
  const size_t i = Index(row, column);
  mX[i] = position.mX;
  mY[i] = position.mY;
  mZ[i] = position.mZ;
  mFlag[i] = flag;
}

std::unique_ptr<VPLFreehandIndexGrid> VPLFreehandIndexGrid::Create(int32_t width, int32_t height) {
  if (!IsAllowedSize(width, height)) return nullptr;
  std::unique_ptr<VPLFreehandIndexGrid> grid(new (std::nothrow) VPLFreehandIndexGrid);
  if (!grid) return nullptr;
  const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
  try {
    grid->mVertex.assign(cells, 0);
    grid->mPresent.assign(cells, 0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  grid->mWidth = width;
  grid->mHeight = height;
  return grid;
}

bool VPLFreehandIndexGrid::IsPresent(int32_t row, int32_t column) const {
  return Contains(row, column) && mPresent[Index(row, column)] != 0;
}

int32_t VPLFreehandIndexGrid::GetVertex(int32_t row, int32_t column) const {
  return IsPresent(row, column) ? mVertex[Index(row, column)] : -1;
}

void VPLFreehandIndexGrid::SetVertex(int32_t row, int32_t column, int32_t vertex) {
  if (!Contains(row, column)) return;
  const size_t i = Index(row, column);
  mVertex[i] = vertex;
  mPresent[i] = 1;
}
