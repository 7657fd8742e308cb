#include "app/shell/VPLSketchbookGrp.h"

#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketchbookButton.h"
#include "app/shell/VPLSketchbookLibrary.h"

namespace {

// The model of a cell's definition; empty when the definition has none.
template <typename Cell>
std::unique_ptr<Cell> MakeCell(VPLSceneFileIO* screen, const MMTaskCallback& callback,
                               MMResourceId definition) {
  const UURefCount<MM3DModel> model = VPLTableModel(definition, kVPLModelTag);
  if (!model) return nullptr;
  return std::make_unique<Cell>(screen, model, callback, definition);
}

}  // namespace

VPLSketchbookGrp::VPLSketchbookGrp(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model,
                                   MMResourceId layout)
    : VPLObjEventGrpCtrlScroll(screen, model, layout), mScreen(screen) {
  SetSingleStep(true);
}

// Sketchbook cells answer double-clicks and drags, not clicks.
void VPLSketchbookGrp::MakeChild(const MMTaskCallback& /*callback*/, MMResourceId definition) {
  if (auto cell = MakeCell<VPLSketchbookButton>(mScreen, MMTaskCallback(), definition)) {
    AddChild(std::move(cell));
  }
}

VPLSketchbookButton* VPLSketchbookGrp::GetCell(int16_t i) const {
  return static_cast<VPLSketchbookButton*>(GetChild(i));
}

void VPLSketchbookGrp::FillCell(int16_t cell, int16_t n) {
  VPLSketchbookButton* button = GetCell(cell);
  if (button == nullptr) return;
  const VPLSketchbookLibrary& library = mScreen->GetLibrary();
  const int32_t m = LibraryIndexOf(n, library.GetCurrentIndex());
  VPLSketchbook* book = m < library.GetSketchbookCount() ? library.GetSketchbookAt(m) : nullptr;
  button->SetItem(book);
  button->SetVisibility(book != nullptr ? kMMShown : kMMHidden);
  button->Refresh();
}

void VPLSketchbookGrp::CopyItemLook(int16_t from, int16_t to) {
  VPLSketchbookButton* source = GetCell(from);
  VPLSketchbookButton* target = GetCell(to);
  if (source == nullptr || target == nullptr) return;
  target->SetItem(source->GetItem());
  target->TakeLookOf(*source);
}

// The current sketchbook is not among the items.
void VPLSketchbookGrp::UpdateScrollButtons() {
  const int16_t count = GetItemCount();
  SetItemCount(static_cast<int16_t>(count - 1));
  VPLObjEventGrpCtrlScroll::UpdateScrollButtons();
  SetItemCount(count);
}

void VPLSketchbookGrp::Reset() {
  SetOffset(0);
  Update();
}

void VPLSketchbookGrp::Update() {
  SetItemCount(static_cast<int16_t>(mScreen->GetLibrary().GetSketchbookCount()));
  if (GetChildCount() == 0) {
    Build(MMTaskCallback());
  } else {
    Refresh();
  }
}

bool VPLSketchbookGrp::HitsAnyCell(const VPLPickEvent& event) const {
  return FindCellAt(event) != nullptr;
}

VPLSketchbookButton* VPLSketchbookGrp::FindCellAt(const VPLPickEvent& event) const {
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    VPLSketchbookButton* cell = GetCell(i);
    if (cell->GetVisibility() == kMMShown && cell->HitTest(event.mRay)) return cell;
  }
  return nullptr;
}

VPLSketchbookButton* VPLSketchbookGrp::FindCellFor(const VPLSketchbook* book) const {
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    VPLSketchbookButton* cell = GetCell(i);
    if (cell->GetVisibility() == kMMShown && cell->GetItem() == book) return cell;
  }
  return nullptr;
}

VPLSketchbookIconGrp::VPLSketchbookIconGrp(VPLSceneFileIO* screen,
                                           const UURefCount<MM3DModel>& model, MMResourceId layout)
    : VPLObjEventGrpCtrlScroll(screen, model, layout), mScreen(screen) {}

void VPLSketchbookIconGrp::MakeChild(const MMTaskCallback& /*callback*/, MMResourceId definition) {
  auto cell = MakeCell<VPLSketchbookIconButton>(mScreen, MMTaskCallback(), definition);
  if (cell == nullptr) return;
  cell->SetCallback(mScreen->MakeCommand(&VPLSceneFileIO::NewSketchbook, cell.get()));
  AddChild(std::move(cell));
}

VPLSketchbookIconButton* VPLSketchbookIconGrp::GetCell(int16_t i) const {
  return static_cast<VPLSketchbookIconButton*>(GetChild(i));
}

int16_t VPLSketchbookIconGrp::FreeCover(int16_t n) const {
  const VPLSketchbookLibrary& library = mScreen->GetLibrary();
  const int16_t covers = VPLCoverCount();
  for (int16_t cover = 0; cover < covers; ++cover) {
    if (!library.HasCover(cover) && n-- == 0) return cover;
  }
  return VPLSketchbookIconButton::kNoCover;
}

int16_t VPLSketchbookIconGrp::CountFreeCovers() const {
  int16_t free = 0;
  const int16_t covers = VPLCoverCount();
  for (int16_t cover = 0; cover < covers; ++cover) {
    if (!mScreen->GetLibrary().HasCover(cover)) ++free;
  }
  return free;
}

void VPLSketchbookIconGrp::FillCell(int16_t cell, int16_t n) {
  VPLSketchbookIconButton* button = GetCell(cell);
  if (button == nullptr) return;
  const int16_t cover = FreeCover(n);
  button->SetCover(cover);
  const bool shown = cover != VPLSketchbookIconButton::kNoCover && GetVisibility() == kMMShown;
  button->SetVisibility(shown ? kMMShown : kMMHidden);
  button->Refresh();
}

void VPLSketchbookIconGrp::CopyItemLook(int16_t from, int16_t to) {
  VPLSketchbookIconButton* source = GetCell(from);
  VPLSketchbookIconButton* target = GetCell(to);
  if (source == nullptr || target == nullptr) return;
  target->SetCover(source->GetCover());
  target->TakeLookOf(*source);
}

void VPLSketchbookIconGrp::UpdateScrollButtons() {
  const int16_t free = CountFreeCovers();
  const int16_t cells = GetChildCount();
  const bool hidden = free < cells || VPLCoverCount() <= cells || GetVisibility() != kMMShown;
  const bool back = !hidden && GetOffset() != 0;
  const bool forward = !hidden && GetOffset() < free - cells;
  if (GetBackButton() != nullptr) GetBackButton()->SetVisibility(back ? kMMShown : kMMHidden);
  if (GetForwardButton() != nullptr) {
    GetForwardButton()->SetVisibility(forward ? kMMShown : kMMHidden);
  }
}

// An empty cell stays hidden whatever the picker shows.
void VPLSketchbookIconGrp::ApplyVisibility(MMVisibility visibility) {
  VPLObjEventGrpCtrlScroll::ApplyVisibility(visibility);
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    VPLSketchbookIconButton* cell = GetCell(i);
    const bool holds = cell->GetCover() != VPLSketchbookIconButton::kNoCover;
    cell->SetVisibility(holds ? visibility : kMMHidden);
  }
  UpdateScrollButtons();
}

void VPLSketchbookIconGrp::Reset() {
  SetOffset(0);
  Update();
}

void VPLSketchbookIconGrp::Update() {
  SetItemCount(VPLCoverCount());
  if (GetChildCount() == 0) {
    Build(MMTaskCallback());
  } else {
    Refresh();
  }
}
