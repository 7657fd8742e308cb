#include "app/shell/VPLSketchGrp.h"

#include "app/objects/VPLScript.h"
#include "app/shell/VPLSceneFileIO.h"
#include "app/shell/VPLSketchButton.h"
#include "app/shell/VPLSketchbook.h"
#include "app/shell/VPLSketchbookLibrary.h"
#include "mm3d/MM3DModelCollection.h"

VPLSketchGrp::VPLSketchGrp(VPLSceneFileIO* screen, const UURefCount<MM3DModel>& model,
                           MMResourceId layout, const UURefCount<MM3DModel>& highlight)
    : VPLObjEventGrpCtrlScroll(screen, model, layout), mScreen(screen) {
  const VPLScript table(layout, kVPLLayoutTable);
  mColumns = table.GetTagInt16(kColumnsTag);
  mRows = table.GetTagInt16(kRowsTag);
  // The current sketch may sit in the last row with empty cells after it.
  SetPartialPages(true);
  if (highlight) {
    mHighlight = std::make_unique<VPLObj>(screen, highlight);
    mHighlight->SetVisibility(kMMHidden);
  }
}

VPLSketchGrp::~VPLSketchGrp() = default;

void VPLSketchGrp::MakeChild(const MMTaskCallback& /*callback*/, MMResourceId definition) {
  const UURefCount<MM3DModel> model = VPLTableModel(definition, kVPLModelTag);
  if (!model) return;
  auto cell = std::make_unique<VPLSketchButton>(mScreen, model, MMTaskCallback(), definition);
  using Clicked = UUClassCallback1Parameter<VPLSketchGrp, void (VPLSketchGrp::*)(VPLSketchButton*),
                                            VPLSketchButton*>;
  cell->SetCallback(MMTaskCallback(mScreen->GetTaskClient(),
                                   new Clicked(this, &VPLSketchGrp::OnSketchClicked, cell.get())));
  AddChild(std::move(cell));
}

VPLSketchButton* VPLSketchGrp::GetCell(int16_t i) const {
  return static_cast<VPLSketchButton*>(GetChild(i));
}

VPLSketchbook* VPLSketchGrp::CurrentBook() const {
  return mScreen->GetLibrary().GetCurrentSketchbook();
}

void VPLSketchGrp::FillCell(int16_t cell, int16_t n) {
  VPLSketchButton* button = GetCell(cell);
  if (button == nullptr) return;
  VPLSketchbook* book = CurrentBook();
  VPLSketch* sketch = book != nullptr && n < GetItemCount() ? book->GetSketchAt(n) : nullptr;
  button->SetItem(sketch);
  if (sketch == nullptr) {
    // An empty cell holds no thumbnail a later refresh of its pair could meet.
    button->ClearPicture();
    button->SetVisibility(kMMHidden);
    return;
  }
  button->SetVisibility(kMMShown);
  button->Refresh();
}

void VPLSketchGrp::CopyItemLook(int16_t from, int16_t to) {
  VPLSketchButton* source = GetCell(from);
  VPLSketchButton* target = GetCell(to);
  if (source == nullptr || target == nullptr) return;
  target->SetItem(source->GetItem());
  target->TakeLookOf(*source);
}

// The mark follows the current sketch to the cell that shows it now.
void VPLSketchGrp::ShiftCells(ScrollDirection direction) {
  VPLObjEventGrpCtrlScroll::ShiftCells(direction);
  UpdateMarker();
}

// Every cell lets go of its thumbnail before any switches to the other id
// of its pair, so no old picture of that id is still held.
void VPLSketchGrp::Refresh() {
  for (int16_t i = 0; i < GetChildCount(); ++i) GetCell(i)->ClearPicture();
  VPLObjEventGrpCtrlScroll::Refresh();
  UpdateMarker();
}

int16_t VPLSketchGrp::OffsetShowing(int32_t index, int16_t columns, int16_t rows) {
  const int32_t cells = columns * rows;
  // A layout without cells has nothing to scroll.
  if (cells <= 0) return 0;
  const int32_t q = (index + 1) / cells;
  const int32_t r = (index + 1) % cells;
  if (q == 0) return 0;
  const int32_t row = (r + columns - 1) / columns;
  return static_cast<int16_t>((q - 1) * cells + columns * row);
}

void VPLSketchGrp::ScrollToCurrent() {
  const VPLSketchbook* book = CurrentBook();
  if (book == nullptr) return;
  SetOffset(OffsetShowing(book->GetCurrentIndex(), mColumns, mRows));
}

void VPLSketchGrp::Update() {
  VPLSketchbook* book = CurrentBook();
  const int16_t count = book != nullptr ? book->GetSketchCount() : static_cast<int16_t>(0);
  SetItemCount(count);
  if (count != mSketchCount) {
    mSketchCount = count;
    ScrollToCurrent();
    ForgetMark();
  }
  if (GetChildCount() == 0) {
    Build(MMTaskCallback());
  } else {
    Refresh();
  }
}

void VPLSketchGrp::ScrollAndUpdate() {
  SetItemCount(CurrentBook() != nullptr ? CurrentBook()->GetSketchCount() : 0);
  ScrollToCurrent();
  Update();
}

VPLSketchButton* VPLSketchGrp::FindCurrentCell() const {
  const VPLSketchbook* book = CurrentBook();
  const VPLSketch* current = book != nullptr ? book->GetCurrentSketch() : nullptr;
  if (current == nullptr) return nullptr;
  const auto shows = [current](const VPLSketchButton* cell) {
    return cell != nullptr && cell->GetVisibility() == kMMShown && cell->GetItem() == current;
  };
  if (shows(mMarked)) return mMarked;
  for (int16_t i = 0; i < GetChildCount(); ++i) {
    if (shows(GetCell(i))) return GetCell(i);
  }
  return nullptr;
}

void VPLSketchGrp::ForgetMark() {
  if (mMarked != nullptr) mMarked->HideMarker();
  mMarked = nullptr;
}

void VPLSketchGrp::UpdateMarker() {
  VPLSketchButton* current = FindCurrentCell();
  if (mMarked != nullptr && (current != mMarked || mMarked->GetVisibility() == kMMHidden)) {
    ForgetMark();
  }
  if (mMarked == nullptr) mMarked = current;
  if (mMarked != nullptr) mMarked->ShowMarker();
}

void VPLSketchGrp::OnSketchClicked(VPLSketchButton* cell) {
  if (cell->GetItem() != nullptr && mScreen->GetLibrary().SelectSketch(cell->GetItem())) {
    UpdateMarker();
  }
}

void VPLSketchGrp::ShowDropHighlight() {
  if (mHighlight != nullptr) mHighlight->SetVisibility(kMMShown);
}

void VPLSketchGrp::HideDropHighlight() {
  if (mHighlight != nullptr) mHighlight->SetVisibility(kMMHidden);
}

bool VPLSketchGrp::IsDropHighlightShown() const {
  return mHighlight != nullptr && mHighlight->GetVisibility() == kMMShown;
}

MM3DAnimationPlayer* VPLSketchGrp::GetTransitionPlayer() {
  VPLSketchButton* cell = FindCurrentCell();
  if (cell == nullptr) {
    ScrollToCurrent();
    Update();
    cell = FindCurrentCell();
  }
  return cell != nullptr ? cell->GetTransitionPlayer() : nullptr;
}

void VPLSketchGrp::BeginTransition() {
  VPLSketchButton* cell = FindCurrentCell();
  if (cell == nullptr) return;
  cell->ShowTransitionImage();
  cell->SetVisibility(kMMHidden);
  cell->HideMarker();
}

void VPLSketchGrp::EndTransition() {
  if (mMarked == nullptr) return;
  mMarked->DestroyTransitionImage();
  mMarked->SetVisibility(kMMShown);
  mMarked->ShowMarker();
}
