#pragma once
// The file screen's grids of covers: the sketchbooks other than the
// current one, and the picker of the covers no sketchbook uses yet.

#include "app/objects/VPLObjEventGrpCtrlScroll.h"

#include <cstdint>

class VPLSceneFileIO;
class VPLSketchbook;
class VPLSketchbookButton;
class VPLSketchbookIconButton;

class VPLSketchbookGrp : public VPLObjEventGrpCtrlScroll {
 public:
  VPLSketchbookGrp(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model, MMResourceId layout);

  void MakeChild(const MMTaskCallback& callback, MMResourceId definition) override;
  // Item n is the library's sketchbook n, or n + 1 from the current one on.
  void FillCell(int16_t cell, int16_t n) override;
  void CopyItemLook(int16_t from, int16_t to) override;
  void UpdateScrollButtons() override;
  void Reset();
  void Update();
  bool HitsAnyCell(const VPLPickEvent& event) const;
  VPLSketchbookButton* FindCellAt(const VPLPickEvent& event) const;
  // The visible cell showing the sketchbook; null when none does.
  VPLSketchbookButton* FindCellFor(const VPLSketchbook* book) const;
  VPLSketchbookButton* GetCell(int16_t i) const;

  // The library index that item n of the grid shows while book c is current.
  static int32_t LibraryIndexOf(int32_t n, int32_t current) { return n < current ? n : n + 1; }

 private:
  VPLSceneFileIO* mScreen;
};

class VPLSketchbookIconGrp : public VPLObjEventGrpCtrlScroll {
 public:
  VPLSketchbookIconGrp(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model,
                       MMResourceId layout);

  // Cover cells whose click makes a new sketchbook.
  void MakeChild(const MMTaskCallback& callback, MMResourceId definition) override;
  // Item n is the (n + 1)-th cover no sketchbook uses; none hides the cell.
  void FillCell(int16_t cell, int16_t n) override;
  void CopyItemLook(int16_t from, int16_t to) override;
  void UpdateScrollButtons() override;
  void ApplyVisibility(MMVisibility visibility) override;
  void Reset();
  void Update();
  VPLSketchbookIconButton* GetCell(int16_t i) const;
  int16_t CountFreeCovers() const;

 private:
  int16_t FreeCover(int16_t n) const;

  VPLSceneFileIO* mScreen;
};
