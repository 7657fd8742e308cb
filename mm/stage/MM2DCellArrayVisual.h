#pragma once

#include "mm/stage/MM2DVisual.h"

// A box divided into equal cells, filled with a background colour, with at
// most one selected cell filled with the selection colour. A colour whose
// palette index is below -1 is not filled. The last column and row may be
// cut by the box.
class MM2DCellArrayVisual : public MM2DOpaqueBoxVisual {
 public:
  MM2DCellArrayVisual(const UURect& box, int32_t cellWidth, int32_t cellHeight,
                      const AFColor& background, const AFColor& selection, int32_t depth);
  MM2DCellArrayVisual(int32_t left, int32_t top, int32_t columns, int32_t rows, int32_t cellWidth,
                      int32_t cellHeight, const AFColor& background, const AFColor& selection,
                      int32_t depth);

  void DrawClipped(MMSurface* surface) override;

  UURect GetCellRect(int32_t column, int32_t row) const;
  // The cell under an enclosure point (which may lie outside the box).
  UUPoint CellAt(UUPoint point) const;
  void SetCellSize(int32_t width, int32_t height);
  // A negative column selects nothing.
  void SetSelection(int32_t column, int32_t row);
  void InvalidateSelection();

  int32_t GetColumns() const { return mColumns; }
  int32_t GetRows() const { return mRows; }
  UUPoint GetSelection() const { return mSelection; }

 protected:
  void StoreBox(const UURect& box) override;
  virtual void StoreSelection(int32_t column, int32_t row) { mSelection = UUPoint{column, row}; }
  // Draws what a cell shows over its fill; the base shows nothing more.
  virtual void DrawCell(MMSurface*, int32_t, int32_t, const UURect&, bool) {}

 private:
  void RecountCells();

  int32_t mColumns = 0;
  int32_t mRows = 0;
  int32_t mCellWidth;
  int32_t mCellHeight;
  UUPoint mSelection{-1, -1};
  AFColor mBackground;
  AFColor mSelectionColor;
};
