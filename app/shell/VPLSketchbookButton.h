#pragma once
// The covers of the file screen: a cell of the sketchbook grid (a book that
// can be dragged onto the trash or onto the sketch grid, or double-clicked
// to open it), a cell of the cover picker (a free cover that makes a new
// book), and the current book's icon.

#include "app/shell/VPLDragButton.h"

#include <cstdint>

class VPLSketchbook;
class VPLSketchbookLibrary;

// The cover table: row n holds the texture of cover n.
constexpr MMResourceId kVPLCoverTable = 430;
// The number of covers there are.
int16_t VPLCoverCount();

class VPLSketchbookButton : public VPLDragButton {
 public:
  static constexpr MMResourceId kDragImageTable = 380;

  using VPLDragButton::VPLDragButton;

  void OnDoubleClick() override;
  void OnReleaseOutside(const VPLPickEvent& event) override;
  void Refresh() override;
  std::unique_ptr<VPLObj> CreateDragImage() override;
  void OnDragOver(const VPLPickEvent& event) override;
  void OnDragLeave() override;

  void SetItem(VPLSketchbook* book) { mBook = book; }
  VPLSketchbook* GetItem() const { return mBook; }

 private:
  VPLSketchbook* mBook = nullptr;
};

class VPLSketchbookIconButton : public VPLFileIOEventButton {
 public:
  static constexpr int16_t kNoCover = -1;

  using VPLFileIOEventButton::VPLFileIOEventButton;

  void Refresh() override;

  void SetCover(int16_t cover) { mCover = cover; }
  int16_t GetCover() const { return mCover; }

 private:
  int16_t mCover = kNoCover;
};

// The current sketchbook's cover, a little clear.
class VPLCurrentSketchbookIcon : public VPLObj {
 public:
  using VPLObj::VPLObj;

  void Refresh(const VPLSketchbookLibrary& library);
};
