#include "mm/stage/MM2DCellArrayVisual.h"

#include "mm/drawing/MMSurface.h"

namespace {

bool IsFilled(const AFColor& color) { return color.mIndex >= AFColor::kExplicit; }

// Cells needed to cover extent; none for a cell size below 1, which would
// otherwise divide by zero.
int32_t CellsCovering(int32_t extent, int32_t cell) {
  if (cell < 1 || extent < 1) return 0;
  return (extent + cell - 1) / cell;
}

}  // namespace

MM2DCellArrayVisual::MM2DCellArrayVisual(const UURect& box, int32_t cellWidth, int32_t cellHeight,
                                         const AFColor& background, const AFColor& selection,
                                         int32_t depth)
    : MM2DOpaqueBoxVisual(box, depth),
      mCellWidth(cellWidth),
      mCellHeight(cellHeight),
      mBackground(background),
      mSelectionColor(selection) {
  RecountCells();
}

MM2DCellArrayVisual::MM2DCellArrayVisual(int32_t left, int32_t top, int32_t columns, int32_t rows,
                                         int32_t cellWidth, int32_t cellHeight,
                                         const AFColor& background, const AFColor& selection,
                                         int32_t depth)
    : MM2DCellArrayVisual(UURect(left, top, left + columns * cellWidth, top + rows * cellHeight),
                          cellWidth, cellHeight, background, selection, depth) {}

void MM2DCellArrayVisual::RecountCells() {
  const UURect box = GetBounds();
  mColumns = CellsCovering(box.GetWidth(), mCellWidth);
  mRows = CellsCovering(box.GetHeight(), mCellHeight);
}

void MM2DCellArrayVisual::StoreBox(const UURect& box) {
  MM2DOpaqueBoxVisual::StoreBox(box);
  RecountCells();
}

UURect MM2DCellArrayVisual::GetCellRect(int32_t column, int32_t row) const {
  const UURect box = GetBounds();
  UURect cell;
  cell.FromPointAndSize(UUPoint{box.mLeft + column * mCellWidth, box.mTop + row * mCellHeight},
                        mCellWidth, mCellHeight);
  return cell;
}

UUPoint MM2DCellArrayVisual::CellAt(UUPoint point) const {
  if (mCellWidth < 1 || mCellHeight < 1) return UUPoint{-1, -1};
  const UUPoint position = GetPosition();
  return UUPoint{(point.mX - position.mX) / mCellWidth, (point.mY - position.mY) / mCellHeight};
}

void MM2DCellArrayVisual::SetCellSize(int32_t width, int32_t height) {
  mCellWidth = width;
  mCellHeight = height;
  RecountCells();
  InvalidateBounds();
}

void MM2DCellArrayVisual::SetSelection(int32_t column, int32_t row) {
  if (mSelection == (UUPoint{column, row})) return;
  InvalidateSelection();
  StoreSelection(column, row);
  InvalidateSelection();
}

void MM2DCellArrayVisual::InvalidateSelection() {
  if (mSelection.mX >= 0) InvalidateRect(GetCellRect(mSelection.mX, mSelection.mY));
}

void MM2DCellArrayVisual::DrawClipped(MMSurface* surface) {
  if (IsFilled(mBackground)) surface->FillRect(GetBounds(), mBackground);
  const UURect clip = surface->GetClipRect();
  for (int32_t row = 0; row < mRows; ++row) {
    for (int32_t column = 0; column < mColumns; ++column) {
      const UURect cell = GetCellRect(column, row);
      if (!cell.Intersects(clip)) continue;
      const bool selected = mSelection == (UUPoint{column, row});
      if (selected && IsFilled(mSelectionColor)) surface->FillRect(cell, mSelectionColor);
      DrawCell(surface, column, row, cell, selected);
    }
  }
}
