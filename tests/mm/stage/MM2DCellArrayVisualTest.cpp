#include "mm/stage/MM2DCellArrayVisual.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMView.h"
#include "tests/mm/stage/VisualTestSupport.h"

#include <gtest/gtest.h>

namespace {

const AFColor kGrey(AFRGB(50, 50, 50));
const AFColor kRed(AFRGB(200, 0, 0));
const AFColor kNoFill(static_cast<int16_t>(-2));

// Cells whose drawing was asked for.
class RecordingCellArray : public MM2DCellArrayVisual {
 public:
  using MM2DCellArrayVisual::MM2DCellArrayVisual;
  void DrawCell(MMSurface*, int32_t column, int32_t row, const UURect& cell,
                bool selected) override {
    mCells.push_back(cell);
    if (selected) mSelected = UUPoint{column, row};
  }
  std::vector<UURect> mCells;
  UUPoint mSelected{-1, -1};
};

TEST(MM2DCellArrayVisualTest, CellsCoverTheBoxAndTheLastIsCutByTheClip) {
  RecordingCellArray cells(UURect(0, 0, 100, 20), 30, 20, kGrey, kRed, 0);
  EXPECT_EQ(cells.GetColumns(), 4);
  EXPECT_EQ(cells.GetRows(), 1);
  EXPECT_EQ(cells.CellAt(UUPoint{61, 19}), (UUPoint{2, 0}));
  cells.SetSelection(3, 0);
  WinMMOffscreenSurface* surface =
      WinMMCreateOffscreenSurface(32, UURect(0, 0, 100, 20), AFPalette());
  surface->SetClipRect(UURect(0, 0, 100, 20));
  cells.DrawClipped(surface);
  EXPECT_EQ(cells.mCells.size(), 4u);
  EXPECT_EQ(cells.mSelected, (UUPoint{3, 0}));
  MMBitmap bitmap;
  surface->GetImageDescription(bitmap);
  EXPECT_EQ(bitmap.GetPixelAddress(95, 5)[2], 200);  // the cut last cell, selected
  EXPECT_EQ(bitmap.GetPixelAddress(85, 5)[2], 50);
  // A clip over the second cell only asks for that cell.
  cells.mCells.clear();
  surface->SetClipRect(UURect(31, 0, 59, 20));
  cells.DrawClipped(surface);
  EXPECT_EQ(cells.mCells, std::vector<UURect>{UURect(30, 0, 60, 20)});
  surface->Detach();
  delete surface;
}

TEST(MM2DCellArrayVisualTest, SelectingInvalidatesTheOldAndTheNewCellOnly) {
  RecordingViewServices host;
  MM2DPlanarEnclosure enclosure(nullptr);
  MM2DPlanarView view(&host, &enclosure, UURect(0, 0, 800, 600), 0);
  RecordingCellArray cells(10, 10, 3, 2, 5, 5, kNoFill, kRed, 0);
  EXPECT_EQ(cells.GetBounds(), UURect(10, 10, 25, 20));
  enclosure.AddVisual(&cells);
  host.mInvalidated.clear();
  cells.SetSelection(1, 1);
  cells.SetSelection(1, 1);
  cells.SetSelection(2, 0);
  cells.SetSelection(-1, 0);
  EXPECT_EQ(host.mInvalidated,
            (std::vector<UURect>{UURect(15, 15, 20, 20), UURect(15, 15, 20, 20),
                                 UURect(20, 10, 25, 15), UURect(20, 10, 25, 15)}));
  enclosure.RemoveVisual(&cells);
}

}  // namespace
