#pragma once
// The file screen's grid of the current sketchbook's sketches: it keeps
// the current sketch in view and marked, and lends its cell to the act's
// animated change between the screens.

#include "app/objects/VPLObjEventGrpCtrlScroll.h"

#include <cstdint>
#include <memory>

class MM3DAnimationPlayer;
class VPLSceneFileIO;
class VPLSketchButton;
class VPLSketchbook;

class VPLSketchGrp : public VPLObjEventGrpCtrlScroll {
 public:
  VPLSketchGrp(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model, MMResourceId layout,
               const UURefCount<MM3DModel>& highlight);
  ~VPLSketchGrp() override;

  // Sketch cells whose click makes their sketch current.
  void MakeChild(const MMTaskCallback& callback, MMResourceId definition) override;
  void FillCell(int16_t cell, int16_t n) override;
  void CopyItemLook(int16_t from, int16_t to) override;
  void ShiftCells(ScrollDirection direction) override;
  void Refresh() override;

  // Follows the library: a changed count scrolls to the current sketch and
  // forgets the mark; then every cell is filled afresh.
  void Update();
  void ScrollAndUpdate();
  void ScrollToCurrent();
  // The visible cell showing the current sketch; null when none does.
  VPLSketchButton* FindCurrentCell() const;
  void UpdateMarker();
  void OnSketchClicked(VPLSketchButton* cell);
  void ShowDropHighlight();
  void HideDropHighlight();
  bool IsDropHighlightShown() const;

  MM3DAnimationPlayer* GetTransitionPlayer();
  void BeginTransition();
  void EndTransition();

  VPLSketchButton* GetCell(int16_t i) const;
  VPLSketchButton* GetMarkedCell() const { return mMarked; }

  // The offset at which the sketch of the index lies in the last row of
  // the columns x rows cells once it is beyond the first page.
  static int16_t OffsetShowing(int32_t index, int16_t columns, int16_t rows);

 private:
  VPLSketchbook* CurrentBook() const;
  void ForgetMark();

  VPLSceneFileIO* mScreen;
  std::unique_ptr<VPLObj> mHighlight;
  VPLSketchButton* mMarked = nullptr;
  int16_t mSketchCount = -1;
  int16_t mColumns;
  int16_t mRows;
};
